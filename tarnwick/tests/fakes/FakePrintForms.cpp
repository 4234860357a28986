#include "FakePrintForms.h"

#include "printing/PrintSettings.h"

void FakePrintForms::openPrompt(const PrintSettings& settings, qint16& promptChoice) {
    ++opens;
    m_open = true;
    m_choice = &promptChoice;
    promptDevices.append(settings.PrintDevice);
    promptFlags.append(settings.PrintPrompt);
}
