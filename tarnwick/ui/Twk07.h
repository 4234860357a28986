#pragma once

#include "ui_Twk07.h"

#include <QDialog>

// The help window with the built-in help text; what the user types into the
// box is not kept.
class Twk07 : public QDialog {
    Q_OBJECT

public:
    explicit Twk07(QWidget* parent = nullptr);

    // The help text, 35 lines, each followed by CR LF.
    static QString HelpText();

public slots:
    void cb_close_Click();

private:
    void Form_Load();

    Ui::Twk07 m_ui;
};
