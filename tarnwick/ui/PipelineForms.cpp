#include "PipelineForms.h"

#include "DisabledNotice.h"
#include "PrintPrompt.h"

PipelineForms::~PipelineForms() {
    delete m_prompt;
    delete m_notice;
}

void PipelineForms::showDisabledNotice() {
    if (!m_notice) {
        m_notice = new Twk04;
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_notice->show();
    m_notice->raise();
}

void PipelineForms::openPrompt(const PrintSettings& settings, qint16& promptChoice) {
    // A prompt left over from an earlier print goes; every print loads it anew.
    closePrompt();
    m_prompt = new Twk03(settings, promptChoice);
    m_prompt->setAttribute(Qt::WA_DeleteOnClose);
    m_prompt->show();
    m_prompt->raise();
    m_prompt->activateWindow();
}

bool PipelineForms::promptOpen() const {
    return m_prompt && m_prompt->isVisible();
}

void PipelineForms::showProgress(const QString& deviceName) {
    if (m_prompt)
        m_prompt->showProgress(deviceName);
}

void PipelineForms::closePrompt() {
    if (!m_prompt)
        return;
    Twk03* prompt = m_prompt;
    m_prompt = nullptr;
    prompt->close();
}

void PipelineForms::setPromptHidden(bool hidden) {
    if (m_prompt)
        m_prompt->setVisible(!hidden);
}
