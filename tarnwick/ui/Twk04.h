#pragma once

#include "ui_Twk04.h"

#include <QTimer>
#include <QWidget>

// The "disabled" notice: shown when the key is pressed while printing is
// switched off; it closes itself two seconds later.
class Twk04 : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCloseAfterMs = 2000;

    explicit Twk04(QWidget* parent = nullptr);

public slots:
    void Timer1_Timer();

private:
    Ui::Twk04 m_ui;
    QTimer m_timer1;
};
