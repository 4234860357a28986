// FakePrintForms.h: FakePrintForms, the print prompt and notice as records a test can click.
#pragma once

#include "printing/PrintForms.h"

#include <QList>
#include <QStringList>

class FakePrintForms : public PrintForms {
public:
    void showDisabledNotice() override { ++notices; }
    void openPrompt(const PrintSettings& settings, qint16& promptChoice) override;
    bool promptOpen() const override { return m_open; }
    void showProgress(const QString& deviceName) override { progress.append(deviceName); }
    void closePrompt() override {
        if (m_open)
            ++closes;
        m_open = false;
    }
    void setPromptHidden(bool hidden) override { promptHidden = hidden; }

    // Clicks a button of the open prompt.
    void click(int option) { *m_choice = qint16(option); }
    // Closes the prompt the way a window manager would.
    void closeFromOutside() { m_open = false; }

    int notices = 0;
    int opens = 0;
    int closes = 0;
    QStringList promptDevices; // PrintDevice as the prompt was loaded with it
    QList<qint16> promptFlags;
    QStringList progress;
    bool promptHidden = false;

private:
    bool m_open = false;
    qint16* m_choice = nullptr;
};
