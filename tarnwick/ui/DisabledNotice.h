// DisabledNotice.h: Twk04, the "printing is disabled" notice.
#pragma once

#include <memory>

#include <QTimer>
#include <QWidget>

namespace Ui {
class Twk04;
}

// The "disabled" notice: shown when the key is pressed while printing is
// switched off; it closes itself two seconds later.
class Twk04 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCloseAfterMs = 2000;

    explicit Twk04(QWidget* parent = nullptr);
    ~Twk04() override;

public slots:
    void Timer1_Timer();

private:
    std::unique_ptr<Ui::Twk04> m_ui;
    QTimer m_timer1;
};
