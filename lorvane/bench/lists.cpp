// lorvane-bench lists [SONGS] [ARTISTS]: times, offscreen, the main window filling its
// song list from an artist file of SONGS (5000) lines, as clicking the artist does,
// against reading and parsing the same file in the core alone; and the genre click on a
// genre of ARTISTS (6000) artists against listing its folder. One JSON line, medians of
// five runs in milliseconds.
#include "cli/CommandRegistry.h"

#include "MainWindow.h"
#include "TListBox.h"

#include "store/ArtistStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int Runs = 5;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Medians of the elapsed time and of this thread's processor time: on a busy machine the
// second still says what the work costs.
struct Timing {
    double ms;
    double cpuMs;
};

template <typename Work> Timing medianMs(Work work) {
    std::vector<double> times, cpu;
    QElapsedTimer timer;
    for (int i = 0; i < Runs; ++i) {
        const double cpuStart = threadCpuMs();
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    return {median(times), median(cpu)};
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

    // The start selected "Big", whose only artist is focused.
    // Until the window has drawn the list again, as the user waits for it.
    const Timing fill = medianMs([&] {
        form.ArtistListClick();
        QCoreApplication::processEvents();
    });
    const Timing read = medianMs([&] { store.ListSongs("Big", "Band", form.patterns()); });
    const int listed = songList->count();

    const int many = genreList->rowOfBytes("Many");
    const Timing genre = medianMs([&] {
        genreList->setCurrentRow(many, QItemSelectionModel::ClearAndSelect);
        form.GenreListClick();
        QCoreApplication::processEvents();
    });
    const Timing listing = medianMs([&] { store.ListArtists("Many"); });

    const auto ms = [](double v) { return QString::number(v, 'f', 2); };
    QTextStream(stdout) << "{\"case\":\"lists\",\"songs\":" << listed
                        << ",\"fill_ms\":" << ms(fill.ms) << ",\"read_ms\":" << ms(read.ms)
                        << ",\"artists\":" << artistList->count()
                        << ",\"genre_ms\":" << ms(genre.ms) << ",\"listing_ms\":" << ms(listing.ms)
                        << ",\"fill_cpu_ms\":" << ms(fill.cpuMs)
                        << ",\"read_cpu_ms\":" << ms(read.cpuMs)
                        << ",\"genre_cpu_ms\":" << ms(genre.cpuMs)
                        << ",\"listing_cpu_ms\":" << ms(listing.cpuMs) << "}\n";
    return listed == songs && artistList->count() == artists ? 0 : 1;
}

const bool registered = cli::registerCommand("lists", "[SONGS] [ARTISTS]", run, true);

} // namespace
