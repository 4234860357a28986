#include "PrintFakes.h"

#include "printing/PrintSettings.h"

namespace {

QString path(const QString& application, const QString& section, const QString& key) {
    return application + u'/' + section + u'/' + key;
}

} // namespace

std::optional<QString> MemorySettingsStore::read(const QString& application, const QString& section,
                                                 const QString& key, const QString& defaultText) {
    if (unreadable.contains(key))
        return std::nullopt;
    return m_values.value(path(application, section, key), defaultText);
}

void MemorySettingsStore::write(const QString& application, const QString& section,
                                const QString& key, const QString& text) {
    m_values.insert(path(application, section, key), text);
    m_writtenKeys.append(key);
}

void MemorySettingsStore::set(const QString& key, const QString& text) {
    m_values.insert(path(kSettingsApplication, kSettingsSection, key), text);
}

RecordingPrinter::RecordingPrinter(RecordingPrintSystem& system, const PrinterIdentity& identity)
    : m_system(system), m_identity(identity), m_jobIndex(system.jobs.size()) {
    system.jobs.append(RecordedJob{identity.deviceName, {}, {}, {}, {}, false, false});
}

RecordedJob& RecordingPrinter::job() {
    return m_system.jobs[m_jobIndex];
}

double RecordingPrinter::pageWidth() const {
    return m_orientation == 2 ? m_system.portraitPage.height() : m_system.portraitPage.width();
}

double RecordingPrinter::pageHeight() const {
    return m_orientation == 2 ? m_system.portraitPage.width() : m_system.portraitPage.height();
}

bool RecordingPrinter::setOrientation(int orientation) {
    job().orientations.append(orientation);
    if (orientation != 1 && orientation != 2)
        return false;
    m_orientation = orientation;
    return true;
}

bool RecordingPrinter::setColorMode(int colorMode) {
    job().colorModes.append(colorMode);
    return colorMode == 1 || colorMode == 2;
}

void RecordingPrinter::setBackColor(QRgb color) {
    job().backColors.append(color);
}

bool RecordingPrinter::drawImage(const QImage& image, const QRectF& sourcePixels,
                                 const QRectF& targetTwips, RasterOp op) {
    if (m_system.failDraw)
        return false;
    job().draws.append({sourcePixels, targetTwips, op, image.size()});
    return true;
}

bool RecordingPrinter::endDoc() {
    if (m_system.failEnd)
        return false;
    job().ended = true;
    return true;
}

void RecordingPrinter::abortDoc() {
    job().aborted = true;
}

std::unique_ptr<Printer> RecordingPrintSystem::openPrinter(const QString& deviceName) {
    opened.append(deviceName);
    if (!schedulerRunning)
        return nullptr;
    const QString name = deviceName.isEmpty() ? defaultName : deviceName;
    for (const PrinterIdentity& printer : printers) {
        if (printer.deviceName == name)
            return std::make_unique<RecordingPrinter>(*this, printer);
    }
    return nullptr;
}

void ScriptedEvents::run() {
    ++passes;
    if (!script.isEmpty()) {
        script.takeFirst()();
        return;
    }
    // A wait that nothing in the script ends would hang the test: stop it loudly.
    if (passes > 1000)
        qFatal("ScriptedEvents: the pipeline is still waiting after the script ran out");
}

void RecordingForms::openPrompt(const PrintSettings& settings, qint16& promptChoice) {
    ++opens;
    m_open = true;
    m_choice = &promptChoice;
    promptDevices.append(settings.PrintDevice);
    promptFlags.append(settings.PrintPrompt);
}
