// lorvane-bench lists [SONGS] [ARTISTS]: times, offscreen, the main window filling its
// song list from an artist file of SONGS (5000) lines, as clicking the artist does,
// against reading and parsing the same file in the core alone; and the genre click on a
// genre of ARTISTS (6000) artists against listing its folder. One JSON line, medians of
// five runs in milliseconds.
#include "command.h"

#include "TListBox.h"
#include "lorvane_src.h"

#include "building/FileSearch.h"
#include "store/ArtistStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

constexpr int Runs = 5;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <typename Work> double medianMs(Work work) {
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < Runs; ++i) {
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

bool writeArtist(const QString& folder, const QString& artist, int songs) {
    QByteArray lines;
    for (int i = 0; i < songs; ++i)
        lines += QFile::encodeName(
            QStringLiteral("/music/%1/%1 - Song number %2 of the set.mp3\r\n").arg(artist).arg(i));
    QFile f(folder + QLatin1Char('/') + artist + QStringLiteral(".lvn"));
    return f.open(QIODevice::WriteOnly) && f.write(lines) == lines.size();
}

int run(const QStringList& args) {
    const int songs = args.value(0, QStringLiteral("5000")).toInt();
    const int artists = args.value(1, QStringLiteral("6000")).toInt();
    if (songs < 1 || artists < 1) {
        QTextStream(stderr) << "usage: lorvane-bench lists [SONGS] [ARTISTS]\n";
        return 2;
    }
    QTemporaryDir home;
    const QDir db(home.path() + QStringLiteral("/LVNDB"));
    if (!home.isValid() || !db.mkpath(QStringLiteral("Big")) || !db.mkpath(QStringLiteral("Many")))
        return 1;
    if (!writeArtist(db.filePath(QStringLiteral("Big")), QStringLiteral("Band"), songs))
        return 1;
    for (int i = 0; i < artists; ++i) {
        if (!writeArtist(db.filePath(QStringLiteral("Many")), QStringLiteral("Artist %1").arg(i),
                         1))
            return 1;
    }

    const QByteArray programDir = QFile::encodeName(home.path()) + '/';
    TForm1 form(TForm1Services{programDir});
    form.show();
    auto* genreList = form.findChild<TListBox*>(QStringLiteral("GenreList"));
    auto* artistList = form.findChild<TListBox*>(QStringLiteral("ArtistList"));
    auto* songList = form.findChild<TListBox*>(QStringLiteral("SongList"));
    lorvane::ArtistStore store(programDir);
    lorvane::FileSearch search;

    // The start selected "Big", whose only artist is focused.
    // Until the window has drawn the list again, as the user waits for it.
    const double fillMs = medianMs([&] {
        form.ArtistListClick();
        QCoreApplication::processEvents();
    });
    const double readMs = medianMs([&] { store.ListSongs("Big", "Band", form.patterns()); });
    const int listed = songList->count();

    const int many = genreList->rowOfBytes("Many");
    const double genreMs = medianMs([&] {
        genreList->setCurrentRow(many, QItemSelectionModel::ClearAndSelect);
        form.GenreListClick();
        QCoreApplication::processEvents();
    });
    const double listingMs = medianMs([&] { store.ListArtists("Many", search); });

    QTextStream(stdout) << QStringLiteral(
                               "{\"case\":\"lists\",\"songs\":%1,\"fill_ms\":%2,\"read_ms\":%3,"
                               "\"artists\":%4,\"genre_ms\":%5,\"listing_ms\":%6}\n")
                               .arg(listed)
                               .arg(fillMs, 0, 'f', 2)
                               .arg(readMs, 0, 'f', 2)
                               .arg(artistList->count())
                               .arg(genreMs, 0, 'f', 2)
                               .arg(listingMs, 0, 'f', 2);
    return listed == songs && artistList->count() == artists ? 0 : 1;
}

const bool registered = bench::registerCommand("lists", "[SONGS] [ARTISTS]", run, true);

} // namespace
