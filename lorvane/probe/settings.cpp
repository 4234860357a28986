// lorvane-probe settings: the 19 stored options as the main window applies them at start-up.
#include "command.h"

#include "platform/SettingsStoreIni.h"
#include "store/Settings.h"

#include <QDir>
#include <QFile>

#include <cstdio>

#include <sys/stat.h>

namespace {

int settings(const QStringList& args) {
    if (!args.isEmpty()) {
        std::fputs("settings: takes no arguments\n", stderr);
        return 2;
    }
    // Before reading, the drive and folder are those of the current folder, as in the window.
    lorvane::SettingsValues v;
    struct stat st {};
    if (::stat(".", &st) == 0)
        v.lastdrive = int(quint32(st.st_dev));
    v.lastdir = QDir::currentPath();

    lorvane::SettingsStoreIni store;
    lorvane::ReadSettings(store, v);

    auto flag = [](bool on) { return on ? 1 : 0; };
    const QStringList lines = {
        QStringLiteral("top=%1").arg(v.top),
        QStringLiteral("left=%1").arg(v.left),
        QStringLiteral("width=%1").arg(v.width),
        QStringLiteral("height=%1").arg(v.height),
        QStringLiteral("tray=%1").arg(flag(v.tray)),
        QStringLiteral("recurse=%1").arg(flag(v.recurse)),
        QStringLiteral("bracketformat=%1").arg(flag(v.bracketformat)),
        QStringLiteral("dashformat=%1").arg(flag(v.dashformat)),
        QStringLiteral("trackformat=%1").arg(flag(v.trackformat)),
        QStringLiteral("customformat=%1").arg(flag(v.customformat)),
        QStringLiteral("customstring=%1").arg(v.customstring),
        QStringLiteral("customdir=%1").arg(v.customdir),
        QStringLiteral("balanced=%1").arg(flag(v.balanced)),
        QStringLiteral("random=%1").arg(flag(v.random)),
        QStringLiteral("lastdrive=%1").arg(v.lastdrive),
        QStringLiteral("lastdir=%1").arg(v.lastdir),
        QStringLiteral("savem3u=%1").arg(v.savem3u),
        QStringLiteral("loadm3u=%1").arg(v.loadm3u),
        QStringLiteral("useassociations=%1").arg(flag(v.useassociations)),
        QStringLiteral("id3charset=%1").arg(v.id3charset),
    };
    for (const QString& line : lines) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    }
    if (!store.exists())
        std::fprintf(stderr, "(nothing stored in %s: the designed state)\n",
                     QFile::encodeName(store.fileName()).constData());
    return 0;
}

const bool registered = probe::registerCommand(
    "settings", "(the options as the window applies them at start-up)", settings);

} // namespace
