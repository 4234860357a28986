// lorvane-probe settings: all stored options, as the main window applies them at start-up.
#include "cli/CommandRegistry.h"

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

    for (const auto& [name, value] : lorvane::SettingsInReadingOrder(v)) {
        const QByteArray bytes = (name + u'=' + value.toString()).toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    }
    if (!store.exists())
        std::fprintf(stderr, "(nothing stored in %s: the designed state)\n",
                     QFile::encodeName(store.fileName()).constData());
    return 0;
}

const bool registered = cli::registerCommand(
    "settings", "(the options as the window applies them at start-up)", settings);

} // namespace
