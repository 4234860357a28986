// HelpWindow.h: Twk07, the help window.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class Twk07;
}

// The help window with the built-in help text; what the user types into the
// box is not kept.
class Twk07 : public QDialog {
    Q_OBJECT

public:
    explicit Twk07(QWidget* parent = nullptr);
    ~Twk07() override;

    // The help text, 35 lines, each followed by CR LF.
    static QString HelpText();

public slots:
    void cb_close_Click();

private:
    void Form_Load();

    std::unique_ptr<Ui::Twk07> m_ui;
};
