// lorvane-bench info [COUNT | nosync]: times reading the stream data and the ID3v1
// tag of COUNT (1000) files of 1 MB of audio, every second one behind a 1 MB ID3v2
// tag with a picture, against TagLib reading the same files' audio properties and
// ID3v1 tag. Prints the median time per file of each. Then the nosync case: the
// stream search over a 4 GB sparse file that holds no frame at all (on tmpfs, in
// /dev/shm, where there is one: no disk in the way), beside the time of reading that
// file once with a plain read loop as cat does it (read_ms); each the median of three
// runs taken in turn. "nosync" alone runs only that case.
#include "cli/CommandRegistry.h"

#include "metadata/InOutError.h"
#include "metadata/MP3Info.h"
#include "metadata/mpegfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <taglib/id3v1tag.h>
#include <taglib/mpegfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int AudioBytes = 1 << 20;
constexpr int PictureBytes = 1 << 20;

QByteArray be32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(v >> (24 - 8 * i));
    return b;
}

// 128 kbit/s, 44100 Hz frames (417 bytes, every third one padded).
QByteArray audio() {
    QByteArray a;
    a.reserve(AudioBytes);
    for (int n = 0; a.size() < AudioBytes; ++n) {
        const bool padded = n % 3 == 2;
        a += be32(padded ? 0xFFFB9200 : 0xFFFB9000) + QByteArray(padded ? 414 : 413, '\x55');
    }
    a.truncate(AudioBytes);
    return a;
}

// An ID3v2.3 tag with a UTF-16 title and a picture of random bytes.
QByteArray id3v2() {
    const auto frame = [](const char* id, const QByteArray& body) {
        return QByteArray(id, 4) + be32(quint32(body.size())) + QByteArray(2, '\0') + body;
    };
    QByteArray title("\x01\xff\xfe", 3);
    for (const char c : QByteArray("Benchmark Song"))
        title += QByteArray(1, c) + '\0';
    std::mt19937 random(42);
    QByteArray picture(PictureBytes, '\0');
    for (char& c : picture)
        c = char(random());
    QByteArray body =
        frame("TIT2", title) + frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + picture);
    const qint64 size = body.size();
    QByteArray tag("ID3\x03\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += char((size >> shift) & 0x7F);
    return tag + body;
}

QByteArray id3v1() {
    QByteArray t = "TAG" + QByteArray("Benchmark Song").leftJustified(30, ' ');
    return t.leftJustified(127, ' ') + char(17);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    if (v.empty())
        return 0;
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

constexpr qint64 NoSyncBytes = qint64(4) << 30;

// Milliseconds to read path once from start to end in 128 KB reads into a page-aligned
// buffer, as cat reads; -1 on failure.
double readOnceMs(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    constexpr size_t Block = 128 * 1024;
    void* buffer = std::aligned_alloc(4096, Block);
    QElapsedTimer timer;
    timer.start();
    ssize_t n;
    while ((n = ::read(fd, buffer, Block)) != 0) {
        if (n < 0 && errno != EINTR)
            break;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::free(buffer);
    ::close(fd);
    return n == 0 ? ms : -1;
}

// A file of zero bytes holds no sync byte: the search has to look at every byte.
int noSync(QTextStream& out, const QTemporaryDir& dir) {
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("nosync.mp3")));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, NoSyncBytes) != 0) {
        QTextStream(stderr) << "nosync: cannot make the sparse file\n";
        if (fd >= 0)
            ::close(fd);
        return 1;
    }
    ::close(fd);
    // One read first, so every timing below finds the same cache state.
    readOnceMs(path);
    std::vector<double> reads, searches;
    int result = 0;
    for (int turn = 0; turn < 3; ++turn) {
        reads.push_back(readOnceMs(path));
        QElapsedTimer timer;
        timer.start();
        TMPEGData data;
        try {
            result = ReadMPEGData(data, path);
        } catch (const InOutError&) {
            result = -2;
        }
        searches.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const double readMs = median(reads);
    const double searchMs = median(searches);
    out << QStringLiteral("nosync: 4 GB sparse file without frames in %1: ReadMPEGData %2 ms "
                          "(result %3), read_ms %4, ratio %5\n")
               .arg(QFileInfo(dir.path()).absolutePath())
               .arg(searchMs, 0, 'f', 1)
               .arg(result)
               .arg(readMs, 0, 'f', 1)
               .arg(searchMs / readMs, 0, 'f', 2);
    return result == -1 ? 0 : 1;
}

// The sparse file's folder: tmpfs where the machine has it, else the temporary folder.
int noSync(QTextStream& out) {
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QTemporaryDir dir(shm.isDir() && shm.isWritable()
                                ? QStringLiteral("/dev/shm/lorvane-bench-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/lorvane-bench-XXXXXX"));
    return dir.isValid() ? noSync(out, dir) : 1;
}

int run(const QStringList& args) {
    QTextStream out(stdout);
    const bool onlyNoSync = args.value(0) == QLatin1String("nosync");
    if (onlyNoSync)
        return noSync(out);
    const int count = args.isEmpty() ? 1000 : args.first().toInt();
    if (count < 1) {
        QTextStream(stderr) << "usage: lorvane-bench info [COUNT | nosync]\n";
        return 2;
    }
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    const QByteArray plain = audio() + id3v1();
    const QByteArray tagged = id3v2() + plain;
    std::vector<QByteArray> paths;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("song%1.mp3").arg(i));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(i % 2 ? tagged : plain) < 0)
            return 1;
        paths.push_back(QFile::encodeName(path));
    }

    std::vector<double> ours, theirs;
    int disagree = 0;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        // Alternate who goes first, so neither always finds the other's cache state.
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + i) % 2 == 0) {
                timer.start();
                TMPEGData data;
                TMP3Info info;
                try {
                    ReadMPEGData(data, paths[i]);
                    info.setFilename(paths[i]);
                } catch (const InOutError&) {
                }
                ours.push_back(double(timer.nsecsElapsed()) / 1000.0);
                if (data.Duration != 65 || info.Title() != QLatin1String("Benchmark Song"))
                    ++disagree;
            } else {
                timer.start();
                TagLib::MPEG::File file(paths[i].constData(), true,
                                        TagLib::AudioProperties::Average);
                const TagLib::AudioProperties* props = file.audioProperties();
                const TagLib::ID3v1::Tag* tag = file.ID3v1Tag();
                const int seconds = props ? props->lengthInSeconds() : -1;
                const bool titled = tag && tag->title() == "Benchmark Song";
                theirs.push_back(double(timer.nsecsElapsed()) / 1000.0);
                if (seconds != 65 || !titled)
                    ++disagree;
            }
        }
    }

    out << "info: " << count << " files of 1 MB of audio, " << count / 2
        << " of them behind a 1 MB ID3v2 tag\n";
    out << QStringLiteral("  lorvane (ReadMPEGData + ReadTag): median %1 us per file\n")
               .arg(median(ours), 0, 'f', 1);
    out << QStringLiteral("  TagLib (audio properties + ID3v1): median %1 us per file\n")
               .arg(median(theirs), 0, 'f', 1);
    if (disagree)
        out << "  results differing from the expected length or title: " << disagree << '\n';
    out.flush();
    return noSync(out);
}

const bool registered = cli::registerCommand("info", "[COUNT | nosync]", run);

} // namespace
