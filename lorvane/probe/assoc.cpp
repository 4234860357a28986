// lorvane-probe assoc: the artist-to-genre association file of the data home.
#include "cli/CommandRegistry.h"

#include "building/FileNameParsing.h"
#include "files/DataHome.h"
#include "store/ArtistStore.h"
#include "store/Associations.h"
#include "store/ListOrder.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstdio>

namespace {

void writeBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// Saves as the "&Genre" menu does: genres in the genre list's order.
int save(const QByteArray& home) {
    const lorvane::ArtistStore store(home);
    QByteArrayList genres = store.genres();
    std::sort(genres.begin(), genres.end(), [](const QByteArray& a, const QByteArray& b) {
        return lorvane::ListLess(lorvane::DisplayText(a), lorvane::DisplayText(b));
    });
    const QList<lorvane::AssociationRow> rows = lorvane::CollectAssociations(store, genres);
    lorvane::SaveAssociationFile(home + "lorvane.gen", rows);
    std::printf("%lld\n", static_cast<long long>(rows.size()));
    return 0;
}

int show(const QByteArray& home) {
    for (const lorvane::AssociationRow& row : lorvane::LoadAssociationFile(home + "lorvane.gen"))
        writeBytes(row.artist + '\t' + row.genre + '\n');
    return 0;
}

int assoc(const QStringList& args) {
    if (args.size() != 1 ||
        (args[0] != QLatin1String("save") && args[0] != QLatin1String("show"))) {
        std::fputs("assoc: give save or show\n", stderr);
        return 2;
    }
    const QByteArray home = lorvane::ProgramFolder();
    try {
        return args[0] == QLatin1String("save") ? save(home) : show(home);
    } catch (const lorvane::StoreError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

const bool registered = cli::registerCommand(
    "assoc",
    "save|show  (save: write lorvane.gen from the database and print the number of rows; "
    "show: its rows in order, artist TAB genre; both under LORVANE_HOME)",
    assoc);

} // namespace
