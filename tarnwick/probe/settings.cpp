// tarnwick-probe settings: the print settings as a print would load them.
#include "command.h"

#include "platform/QtScreenInfo.h"
#include "platform/QtSettingsStore.h"
#include "printing/PrintSettings.h"

#include <QTextStream>

namespace {

int run(const QStringList& args) {
    if (!args.isEmpty()) {
        QTextStream(stderr) << "usage: tarnwick-probe settings\n";
        return 2;
    }
    QtSettingsStore store;
    QtScreenInfo screen;
    PrintSettings s;
    LoadPrintSettings(s, store, screen);
    QTextStream out(stdout);
    const auto number = [](double v) { return QString::number(v, 'g', 15); };
    for (const auto& [key, text] : PrintSettingsTexts(s, number))
        out << key << '=' << text << '\n';
    return 0;
}

const bool registered = probe::registerCommand(
    "settings", "                  the 13 print settings as loaded, key=value a line", run);

} // namespace
