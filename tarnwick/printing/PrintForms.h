#pragma once

#include <QString>

struct PrintSettings;

// The windows the print shows, as the pipeline sees them: the prompt and
// progress window Twk03 and the "disabled" notice Twk04.
class PrintForms {
public:
    virtual ~PrintForms() = default;

    // Shows the disabled notice modeless; it closes itself.
    virtual void showDisabledNotice() = 0;

    // Loads and shows the prompt modeless. Its buttons write their number into
    // promptChoice, which must outlive the window.
    virtual void openPrompt(const PrintSettings& settings, qint16& promptChoice) = 0;
    // False once the prompt was closed, by the pipeline or by anyone else.
    virtual bool promptOpen() const = 0;
    // "Now Printing" and the receiving printer, painted at once.
    virtual void showProgress(const QString& deviceName) = 0;
    virtual void closePrompt() = 0;
    // Takes the prompt off the screen while a message box is up, and back after it:
    // it stays above other windows and would cover the box.
    virtual void setPromptHidden(bool hidden) = 0;
};
