// lorvane-probe count: the number of songs (lines of all artist files) in the database.
#include "cli/CommandRegistry.h"

#include "files/DataHome.h"
#include "files/FindFiles.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/StoreError.h"

#include <cstdio>

namespace {

int count(const QStringList& args) {
    if (!args.isEmpty()) {
        std::fputs("count: takes no arguments\n", stderr);
        return 2;
    }
    const lorvane::ArtistStore store(lorvane::ProgramFolder());
    const QByteArrayList files = lorvane::FindFiles(store.dbFolder(), QByteArrayLiteral("*.lvn"),
                                                    lorvane::FindOptions{.recurse = true});
    qint64 songs = 0;
    try {
        for (const QByteArray& file : files)
            songs += lorvane::ArtistFile::read(file).size();
    } catch (const lorvane::StoreError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(songs));
    return 0;
}

const bool registered =
    cli::registerCommand("count", " (songs in the database under LORVANE_HOME)", count);

} // namespace
