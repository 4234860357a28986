// lorvane-bench scan: the file search and the add-from-folder over a synthetic tree.
#include "cli/CommandRegistry.h"

#include "files/FindFiles.h"
#include "store/ArtistStore.h"
#include "store/Scanner.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <ftw.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 3;

void removeTree(const QByteArray& root) {
    ::nftw(
        root.constData(),
        [](const char* path, const struct stat*, int type, struct FTW*) {
            return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
        },
        16, FTW_DEPTH | FTW_PHYS);
}

// 50 folders on three levels (2, 2 x 4, 2 x 4 x 5), the files spread evenly over them.
std::vector<QByteArray> makeTree(const QByteArray& root, int files, int artists) {
    std::vector<QByteArray> folders;
    for (int a = 0; a < 2; ++a) {
        const QByteArray top = root + "top" + QByteArray::number(a) + '/';
        folders.push_back(top);
        for (int b = 0; b < 4; ++b) {
            const QByteArray mid = top + "mid" + QByteArray::number(b) + '/';
            folders.push_back(mid);
            for (int c = 0; c < 5; ++c)
                folders.push_back(mid + "low" + QByteArray::number(c) + '/');
        }
    }
    for (const QByteArray& folder : folders)
        ::mkdir(folder.constData(), 0777);
    for (int i = 0; i < files; ++i) {
        const QByteArray path = folders[size_t(i) % folders.size()] + "Artist " +
                                QByteArray::number(i % artists).rightJustified(3, '0') +
                                " - Song " + QByteArray::number(i).rightJustified(5, '0') + ".mp3";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd >= 0)
            ::close(fd);
    }
    return folders;
}

double medianMs(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> runs;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        runs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[kRuns / 2];
}

void report(const char* name, double ms, int files, const char* mode) {
    std::printf("{\"case\":\"%s\",\"median_ms\":%.1f,\"runs\":%d,\"files\":%d,\"mode\":\"%s\"}\n",
                name, ms, kRuns, files, mode);
    std::fflush(stdout);
}

int scan(const QStringList& args) {
    // --one-by-one files every song with its own AddSong, as the store does for a
    // single song: the figures before the scan learnt to remember.
    const bool oneByOne = args.contains(QStringLiteral("--one-by-one"));
    int files = 20000;
    const qsizetype at = args.indexOf(QStringLiteral("--files"));
    if (at >= 0 && at + 1 < args.size())
        files = args[at + 1].toInt();
    const int artists = 400;

    QTemporaryDir dir;
    const QByteArray base = dir.path().toUtf8();
    const QByteArray root = base + "/music/";
    ::mkdir(root.constData(), 0777);
    makeTree(root, files, artists);
    const lorvane::NamePatterns patterns;
    const lorvane::FindOptions recurse{.recurse = true};
    QByteArrayList found;
    const char* mode = oneByOne ? "one-by-one" : "scan";
    // Each fresh scan gets a database folder of its own: deleting the previous one would
    // burden the file system's inode allocator and measure the deletion, not the scan.
    int fresh = 0;
    auto home = [&] { return base + "/home" + QByteArray::number(fresh); };
    auto addAll = [&] {
        lorvane::ArtistStore store(home());
        if (!oneByOne) {
            lorvane::Scanner(store).AddFromFolder(root, true, patterns, {}, nullptr);
            return;
        }
        for (const QByteArray& path : lorvane::FindFiles(root, "*.mp3", recurse))
            store.AddSong(path, patterns, QByteArray(), true);
    };

    const double walk =
        medianMs([] {}, [&] { found = lorvane::FindFiles(root, "*.mp3", recurse); });
    report("walk", walk, int(found.size()), mode);

    const double freshMs = medianMs(
        [&] {
            ++fresh;
            ::mkdir(home().constData(), 0777);
            lorvane::ArtistStore(home()).createDbFolder();
        },
        addAll);
    report("scan_fresh", freshMs, files, mode);

    const double again = medianMs([] {}, addAll);
    report("scan_again", again, files, mode);

    removeTree(base); // names are plain here, but the tree is large
    return 0;
}

const bool registered = cli::registerCommand(
    "scan", "[--one-by-one] [--files N]  (walk, scan_fresh, scan_again over a synthetic tree)",
    scan);

} // namespace
