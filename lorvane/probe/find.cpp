// lorvane-probe find: Find Song as the main window runs it right after start-up (first
// artist focused, its songs listed) over one genre, with the name patterns of the settings.
#include "cli/CommandRegistry.h"

#include "building/FileNameParsing.h"
#include "files/DataHome.h"
#include "platform/SettingsStoreIni.h"
#include "store/ArtistStore.h"
#include "store/ListOrder.h"
#include "store/Settings.h"
#include "store/SongFinder.h"

#include <QFile>

#include <algorithm>
#include <cstdio>

namespace {

void printLine(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
}

// The names in the order the window's lists show them.
QByteArrayList listOrder(QByteArrayList names) {
    std::stable_sort(names.begin(), names.end(), [](const QByteArray& a, const QByteArray& b) {
        return lorvane::ListLess(lorvane::DisplayText(a), lorvane::DisplayText(b));
    });
    return names;
}

int find(const QStringList& args) {
    QByteArray genre;
    QString text;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--genre") && i + 1 < args.size())
            genre = QFile::encodeName(args[++i]);
        else if (text.isEmpty())
            text = args[i];
        else {
            std::fputs("find: give one TEXT\n", stderr);
            return 2;
        }
    }
    if (text.isEmpty()) {
        std::fputs("find: give the TEXT to look for\n", stderr);
        return 2;
    }

    lorvane::SettingsValues settings;
    lorvane::SettingsStoreIni store;
    lorvane::ReadSettings(store, settings);
    lorvane::NamePatterns patterns;
    patterns.track = settings.trackformat;
    patterns.bracket = settings.bracketformat;
    patterns.custom = settings.customformat;
    patterns.dash = settings.dashformat;
    patterns.separator = lorvane::NameBytes(settings.customstring);

    const lorvane::ArtistStore artists(lorvane::ProgramFolder());
    if (genre.isEmpty()) {
        const QByteArrayList genres = listOrder(artists.genres());
        if (genres.isEmpty()) {
            std::fputs("find: the database has no genre\n", stderr);
            return 2;
        }
        genre = genres.first();
    }
    const QByteArrayList names = listOrder(artists.ListArtists(genre));

    // At start-up the first artist is focused and its song list has the focus on its first
    // entry, so the search begins with the second song.
    QByteArrayList titles;
    if (!names.isEmpty()) {
        for (const lorvane::SongEntry& s :
             lorvane::SongsInListOrder(artists, genre, names.first(), patterns))
            titles << s.title;
    }
    const lorvane::FindOutcome found = lorvane::FindSong(artists, genre, patterns, names, 0, titles,
                                                         titles.isEmpty() ? 0 : 1, text.toUtf8());
    if (!found.found) {
        printLine(QStringLiteral("Not Found!"));
        return 1;
    }
    const QByteArray& artist = names[found.artist];
    QByteArray title;
    if (found.reload) {
        title = lorvane::SongsInListOrder(artists, genre, artist, patterns)[found.song].title;
    } else {
        title = titles[found.song];
    }
    printLine(QStringLiteral("Artist: ") + lorvane::DisplayText(artist));
    printLine(QStringLiteral("Title: ") + lorvane::DisplayText(title));
    return 0;
}

const bool registered = cli::registerCommand(
    "find",
    "[--genre GENRE] TEXT  (Find Song from the start-up state over GENRE, else the first "
    "genre; name patterns from the settings)",
    find);

} // namespace
