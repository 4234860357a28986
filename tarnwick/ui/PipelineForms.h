#pragma once

#include "printing/PrintForms.h"

#include <QPointer>

class Twk03;
class Twk04;

// The print's windows as real forms: Twk03 for the prompt and progress, Twk04
// for the disabled notice. Each is a single window: showing a loaded one only
// brings it forward; closing one frees it.
class PipelineForms : public PrintForms {
public:
    ~PipelineForms() override;

    void showDisabledNotice() override;
    void openPrompt(const PrintSettings& settings, qint16& promptChoice) override;
    bool promptOpen() const override;
    void showProgress(const QString& deviceName) override;
    void closePrompt() override;
    void setPromptHidden(bool hidden) override;

    Twk03* prompt() const { return m_prompt; }
    Twk04* notice() const { return m_notice; }

private:
    QPointer<Twk03> m_prompt;
    QPointer<Twk04> m_notice;
};
