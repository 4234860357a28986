#include "tst_metadata_mpegfile_data.h"

#include "metadata/InOutError.h"
#include "metadata/mpegfile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <unistd.h>

using namespace mpegdata;

namespace {

// A source that claims more bytes than it holds: a file that shrank after opening.
class ShrunkSource : public MPEGSource {
public:
    ShrunkSource(QByteArray data, qint64 claimed) : m_memory(std::move(data)), m_claimed(claimed) {}
    qint64 size() const override { return m_claimed; }
    void readAt(qint64 pos, char* buf, qint64 n) override { m_memory.readAt(pos, buf, n); }

private:
    MemoryMPEGSource m_memory;
    qint64 m_claimed;
};

// Bytes from one frame to the next as decoders count them.
qint64 trueLength(const TMPEGData& r) {
    if (r.Layer == 1)
        return (12000 * qint64(r.BitRate) / r.SampleRate + r.Padding) * 4;
    if (r.Layer == 3 && r.Version != 1)
        return 72000 * qint64(r.BitRate) / r.SampleRate + r.Padding;
    return 144000 * qint64(r.BitRate) / r.SampleRate + r.Padding;
}

// The search rule taken literally: a four-byte window sliding one byte at a time, four
// fresh bytes after a frame that does not fit; the first candidate that the header one
// true frame length on confirms (or that has no room for one before audioEnd), else
// the first candidate. The block search must agree with it.
qint64 byteWindowSearch(TMPEGData& rec, const QByteArray& data, qint64 from, qint64 audioEnd) {
    const TMPEGData fresh = rec;
    const qint64 size = data.size();
    qint64 firstStart = -1;
    TMPEGData first;
    qint64 pos = from;
    while (size - pos >= 4) {
        quint32 h = 0;
        for (const qint64 end = pos + 4; pos < end; ++pos)
            h = h << 8 | uchar(data[pos]);
        bool found = DecodeHeader(h, rec);
        while (!found && pos < size) {
            h = h << 8 | uchar(data[pos++]);
            found = DecodeHeader(h, rec);
        }
        if (!found)
            break;
        const qint64 start = pos - 4;
        if (size - start - qint64(rec.FrameLength) + 2 * qint64(rec.Protection) <= 0) {
            rec = fresh;
            continue;
        }
        const qint64 next = start + trueLength(rec);
        bool confirmed = next + 4 > audioEnd;
        if (!confirmed) {
            const quint32 n = uchar(data[next]) << 24 | uchar(data[next + 1]) << 16 |
                              uchar(data[next + 2]) << 8 | uchar(data[next + 3]);
            TMPEGData following = rec;
            confirmed = (n & 0xFFE00000u) == 0xFFE00000u && (DecodeHeader(n, following), true) &&
                        following.Version == rec.Version && following.Layer == rec.Layer &&
                        following.SampleRate == rec.SampleRate;
        }
        if (confirmed)
            return start;
        if (firstStart < 0) {
            firstStart = start;
            first = rec;
        }
        rec = fresh;
        pos = start + 1;
    }
    rec = firstStart >= 0 ? first : fresh;
    return firstStart;
}

QString describe(qint64 at, const TMPEGData& r) {
    return QString::asprintf("at %lld: %u s %lld B v%d l%d %d Hz %d kbps p%d%d c%d fl%u ab%lld", at,
                             r.Duration, r.FileSize, r.Version, r.Layer, r.SampleRate, r.BitRate,
                             r.Protection, r.Padding, r.ChannelMode, r.FrameLength, r.AudioBytes);
}

} // namespace

class TstMpegFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void calcFrameLength_data() {
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<bool>("padding");
        QTest::addColumn<int>("length");
        QTest::newRow("128k 44100") << 44100 << 128 << false << 417;
        QTest::newRow("128k 44100 padded") << 44100 << 128 << true << 418;
        QTest::newRow("320k 48000") << 48000 << 320 << false << 960;
        QTest::newRow("no sample rate") << 0 << 128 << true << 0;
    }
    void calcFrameLength() {
        QFETCH(int, sampleRate);
        QFETCH(int, bitRate);
        QFETCH(bool, padding);
        QTEST(CalcFrameLength(sampleRate, bitRate, padding), "length");
    }

    void decodeHeader_data() {
        QTest::addColumn<quint32>("header");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("frameLength");
        QTest::addColumn<bool>("protection");
        QTest::newRow("mpeg1 layer3 128k")
            << V1L3_128 << true << 1 << 3 << 128 << 44100 << 417 << true;
        QTest::newRow("padded, crc")
            << 0xFFFA9200u << true << 1 << 3 << 128 << 44100 << 418 << false;
        QTest::newRow("mpeg2 layer3 64k")
            << V2L3_64 << true << 2 << 3 << 64 << 22050 << 417 << true;
        QTest::newRow("mpeg2.5 layer3 8k 8000")
            << 0xFFE31800u << true << 3 << 3 << 8 << 8000 << 144 << true;
        // Layer I gets the same 144000 factor as Layer III.
        QTest::newRow("mpeg1 layer1 448k")
            << 0xFFFFE000u << true << 1 << 1 << 448 << 44100 << 1462 << true;
        QTest::newRow("mpeg2 layer1 256k 16000")
            << 0xFFF7E800u << true << 2 << 1 << 256 << 16000 << 2304 << true;
        QTest::newRow("mpeg1 layer2 384k 32000")
            << 0xFFFDE800u << true << 1 << 2 << 384 << 32000 << 1728 << true;
        QTest::newRow("bit-rate index 0")
            << 0xFFFB0000u << false << 1 << 3 << 0 << 44100 << 0 << true;
        QTest::newRow("bit-rate index 15")
            << 0xFFFBF000u << false << 1 << 3 << 0 << 44100 << 0 << true;
        QTest::newRow("sampling index 3")
            << 0xFFFB9C00u << false << 1 << 3 << 128 << 0 << 0 << true;
        QTest::newRow("reserved version") << 0xFFEB9000u << false << 0 << 3 << 0 << 0 << 0 << true;
        QTest::newRow("reserved layer")
            << 0xFFF99000u << false << 1 << 0 << 0 << 44100 << 0 << true;
    }
    void decodeHeader() {
        QFETCH(quint32, header);
        TMPEGData rec;
        QTEST(DecodeHeader(header, rec), "valid");
        QTEST(int(rec.Version), "version");
        QTEST(int(rec.Layer), "layer");
        QTEST(rec.BitRate, "bitRate");
        QTEST(rec.SampleRate, "sampleRate");
        QTEST(int(rec.FrameLength), "frameLength");
        QTEST(rec.Protection, "protection");
    }

    void headerWithoutSyncLeavesRecord() {
        TMPEGData rec;
        rec.BitRate = 99;
        QVERIFY(!DecodeHeader(0xFFDB9000u, rec));
        QCOMPARE(rec.BitRate, 99);
    }

    void readFile_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("lines");
        const auto lines = [](const char* bitRate, qint64 bytes, int layer, const char* length) {
            return QStringList{QString::fromLatin1(bitRate), QStringLiteral("Bytes: %1").arg(bytes),
                               QStringLiteral("Layer: %1").arg(layer), QString::fromLatin1(length)};
        };
        const QByteArray cbr = frame(V1L3_128, 4180000);
        QTest::newRow("4,180,000 bytes at 128k")
            << cbr << 0 << lines("Bitrate: 128 kbps, 44100 Hz", 4180000, 3, "Length: 4:21");
        QTest::newRow("65 s") << frame(V1L3_128, 65 * 16000) << 0
                              << lines("Bitrate: 128 kbps, 44100 Hz", 1040000, 3, "Length: 1:05");
        QTest::newRow("3600 s is 60:00")
            << frame(V2L3_8, 3600000) << 0
            << lines("Bitrate: 8 kbps, 22050 Hz", 3600000, 3, "Length: 60:00");
        QTest::newRow("junk, then unusable headers, then a frame")
            << QByteArray("RIFF junk") + be32(0xFFFB0000) + be32(0xFFFBF000) + be32(0xFFFB9C00) +
                   be32(0xFFEB9000) + frame(0xFFFA9200, 100000)
            << 0 << lines("Bitrate: 128 kbps, 44100 Hz", 100025, 3, "Length: 0:06");
        // FF FB 90 inside the tag (as in a picture) would read as a 128k frame.
        QTest::newRow("leading ID3v2 tag skipped, length from the audio")
            << id3v2(1 << 20, be32(0xFFFB9000)) + frame(V2L3_64, 65 * 8000) << 0
            << lines("Bitrate: 64 kbps, 22050 Hz", 10 + (1 << 20) + 520000, 3, "Length: 1:05");
        QTest::newRow("ID3v2 with footer")
            << id3v2(1000, be32(0xFFF38000), true) + frame(V2L3_8, 59995) + id3v1("t") << 0
            << lines("Bitrate: 8 kbps, 22050 Hz", 1020 + 59995 + 128, 3, "Length: 0:59");
        QTest::newRow("utf-16 text in ID3v2")
            << id3v2(4096, QByteArray("\xff\xfeT\0", 4)) + frame(V2L3_8, 60000) << 0
            << lines("Bitrate: 8 kbps, 22050 Hz", 4106 + 60000, 3, "Length: 1:00");
        QTest::newRow("no frame") << QByteArray(5000, 'A') << -1
                                  << lines("Bitrate: 0 kbps, 0 Hz", 5000, 0, "Length: 0:00");
        QTest::newRow("3-byte file") << QByteArray("\xff\xfb\x90", 3) << 0
                                     << lines("Bitrate: 0 kbps, 0 Hz", 0, 0, "Length: 0:00");
        QTest::newRow("frame longer than the file")
            << frame(V1L3_128, 300) << -1 << lines("Bitrate: 0 kbps, 0 Hz", 300, 0, "Length: 0:00");
        // The four bytes after the frame end exactly at the end: values stand, answer -1.
        QTest::newRow("next header ends the file")
            << frame(V1L3_128, 421) << -1
            << lines("Bitrate: 128 kbps, 44100 Hz", 421, 3, "Length: 0:00");
        QTest::newRow("next header cut short")
            << frame(V1L3_128, 419) << -1
            << lines("Bitrate: 128 kbps, 44100 Hz", 419, 3, "Length: 0:00");

        // A sync pattern in junk or in a tag is passed over unless the frame after it,
        // one true frame length on, confirms it; the values are a real decoder's.
        const auto stream = [](quint32 header, int length, int frames) {
            QByteArray s;
            for (int i = 0; i < frames; ++i)
                s += frame(header, length);
            return s;
        };
        const QByteArray fake = be32(0xFFF3D400);    // MPEG-2 Layer III, 144 kbps, 24000 Hz
        const QByteArray damaged = be32(0xFFFF1800); // Layer I, 32 kbps, 32000 Hz
        QTest::newRow("junk with a sync pattern before the frames")
            << "junk" + fake + QByteArray(40, 'j') + stream(0xFFFB5000, 208, 400) << 0
            << lines("Bitrate: 64 kbps, 44100 Hz", 83248, 3, "Length: 0:10");
        QTest::newRow("damaged first frame")
            << frame(0xFFFF1800, 417) + stream(V1L3_128, 417, 150) << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 62967, 3, "Length: 0:03");
        QTest::newRow("ID3v2 tag written twice")
            << id3v2(1000, damaged) + id3v2(2000, damaged) + stream(0xFFFB5000, 208, 100) << 0
            << lines("Bitrate: 64 kbps, 44100 Hz", 23820, 3, "Length: 0:02");
        // The tag's title holds a pattern that confirms itself; the frame before it has
        // no room for another before the tag, which confirms it.
        QTest::newRow("single frame, then an ID3v1 tag")
            << frame(V1L3_128, 417) + id3v1(be32(V2L3_8) + QByteArray(22, 'x') + be32(V2L3_8)) << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 545, 3, "Length: 0:00");
        QTest::newRow("Layer I steps 32 bytes, not FrameLength 104")
            << "junk" + fake + "xx" + stream(0xFFFF1000, 32, 2000) << 0
            << lines("Bitrate: 32 kbps, 44100 Hz", 64010, 1, "Length: 0:16");
        QTest::newRow("MPEG-2 Layer III steps 208 bytes, not FrameLength 417")
            << "junk" + damaged + "xx" + stream(V2L3_64, 208, 300) << 0
            << lines("Bitrate: 64 kbps, 22050 Hz", 62410, 3, "Length: 0:07");

        // Xing: frames × samples per frame give the true play time.
        const QByteArray v1Audio(417 * 999, '\0');
        QTest::newRow("xing 0x0F stereo at 36")
            << xingFrame(V1L3_128, 417, 36, 0x0F, 1000) + v1Audio << 0
            << lines("Bitrate: 127 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        QTest::newRow("xing 0x07 ignored")
            << xingFrame(V1L3_128, 417, 36, 0x07, 1000) + v1Audio << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        QTest::newRow("xing frame count 0 ignored")
            << xingFrame(V1L3_128, 417, 36, 0x0F, 0) + v1Audio << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        QTest::newRow("xing mono mpeg1 at 21")
            << xingFrame(V1L3_128_Mono, 417, 21, 0x0F, 500) + v1Audio << 0
            << lines("Bitrate: 255 kbps, 44100 Hz", 417000, 3, "Length: 0:13");
        QTest::newRow("xing mono mpeg1 not at 36")
            << xingFrame(V1L3_128_Mono, 417, 36, 0x0F, 500) + v1Audio << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        // MPEG-2 Layer III frames hold 576 samples: 72000, not 144000, bytes per kbit/s and Hz.
        QTest::newRow("xing mpeg2 stereo at 21")
            << xingFrame(V2L3_64, 209, 21, 0x0F, 1000) + QByteArray(209 * 1999, '\0') << 0
            << lines("Bitrate: 128 kbps, 22050 Hz", 418000, 3, "Length: 0:26");
        QTest::newRow("xing mpeg2 mono at 13, ID3 tags not counted")
            << id3v2(100000, "x") + xingFrame(V2L3_64_Mono, 209, 13, 0x0F, 1000) +
                   QByteArray(209 * 1999, '\0') + id3v1("t")
            << 0 << lines("Bitrate: 128 kbps, 22050 Hz", 100010 + 418000 + 128, 3, "Length: 0:26");
        QTest::newRow("xing after a CRC at 38")
            << xingFrame(0xFFFA9000, 417, 38, 0x0F, 1000) + v1Audio << 0
            << lines("Bitrate: 127 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        // VBRI stands at 36 for every version and channel mode, and gives what Xing gives.
        QTest::newRow("vbri stereo, as xing")
            << vbriFrame(V1L3_128, 417, 1000) + v1Audio << 0
            << lines("Bitrate: 127 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
        QTest::newRow("vbri mono mpeg1, as xing")
            << vbriFrame(V1L3_128_Mono, 417, 500) + v1Audio << 0
            << lines("Bitrate: 255 kbps, 44100 Hz", 417000, 3, "Length: 0:13");
        QTest::newRow("vbri mpeg2, as xing")
            << vbriFrame(V2L3_64, 209, 1000) + QByteArray(209 * 1999, '\0') << 0
            << lines("Bitrate: 128 kbps, 22050 Hz", 418000, 3, "Length: 0:26");
        QTest::newRow("vbri averaging 233k behind a 160k first frame")
            << vbriFrame(0xFFFBA000, 522, 1000) + QByteArray(761000 - 522, '\0') << 0
            << lines("Bitrate: 233 kbps, 44100 Hz", 761000, 3, "Length: 0:26");
        QTest::newRow("vbri frame count 0 ignored")
            << vbriFrame(V1L3_128, 417, 0) + v1Audio << 0
            << lines("Bitrate: 128 kbps, 44100 Hz", 417000, 3, "Length: 0:26");
    }
    void readFile() {
        QFETCH(QByteArray, data);
        const QString path = m_dir.filePath(QStringLiteral("song.mp3"));
        writeFile(path, data);
        TMPEGData rec;
        QTEST(ReadMPEGData(rec, QFile::encodeName(path)), "result");
        const MPEGInfoLines shown = FormatMPEGInfo(rec);
        QTEST((QStringList{shown.BitRate, shown.Bytes, shown.Layer, shown.Seconds}), "lines");

        // Reading in blocks must not change the answer, wherever the blocks end.
        for (const qint64 block : {4, 5, 7, 417, 4099}) {
            MemoryMPEGSource memory(data);
            TMPEGData small;
            const int result = ReadMPEGStream(small, memory, block);
            QCOMPARE(result, ReadMPEGData(rec, QFile::encodeName(path)));
            QCOMPARE(FormatMPEGInfo(small).Seconds, shown.Seconds);
            QCOMPARE(small.BitRate, rec.BitRate);
            QCOMPARE(small.FrameLength, rec.FrameLength);
        }
    }

    // Every made file and fuzz seed, and mutations of each with more sync bytes in them.
    void blockSearchAgreesWithByteWindow_data() {
        readFile_data();
        const QDir seeds(qEnvironmentVariable("LORVANE_TEST_SOURCE_DIR") +
                         QStringLiteral("/../fuzz/seeds"));
        const QStringList names = seeds.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            QFile f(seeds.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(QStringLiteral("seed ") + name))
                << f.readAll() << 0 << QStringList();
        }
    }
    void blockSearchAgreesWithByteWindow() {
        QFETCH(QByteArray, data);
        std::mt19937 random(quint32(data.size()));
        for (int mutant = 0; mutant <= 24; ++mutant) {
            QByteArray bytes = data;
            for (int k = 0; mutant > 0 && k < 6 && !bytes.isEmpty(); ++k) {
                const qsizetype at =
                    qsizetype(random() % quint32(std::min<qsizetype>(bytes.size(), 3000)));
                bytes[at] = char(random() % 3 ? 0xFF : random());
            }
            const qint64 from =
                std::min<qint64>(ID3v2TagSize(bytes.constData(), bytes.size()), bytes.size());
            const qint64 audioEnd =
                bytes.size() - 128 >= from && bytes.mid(bytes.size() - 128, 3) == "TAG"
                    ? bytes.size() - 128
                    : bytes.size();
            TMPEGData expected{.FileSize = bytes.size(), .AudioBytes = bytes.size()};
            TMPEGData blocks = expected;
            const qint64 want = byteWindowSearch(expected, bytes, from, audioEnd);
            for (const qint64 block : {5, 4096}) {
                MemoryMPEGSource memory(bytes);
                TMPEGData got = blocks;
                const qint64 at = FindFirstFrame(got, memory, from, audioEnd, block);
                QCOMPARE(describe(at, got), describe(want, expected));
            }
        }
    }

    void missingFile() {
        TMPEGData rec;
        QCOMPARE(ReadMPEGData(rec, QFile::encodeName(m_dir.filePath(QStringLiteral("no.mp3")))),
                 -1);
        QCOMPARE(ReadMPEGData(rec, QFile::encodeName(m_dir.path())), -1);
        QCOMPARE(rec.FileSize, 0);
    }

    // Past 268,435,455 bytes the play time overflows 32-bit arithmetic.
    void largeSparseFile() {
        const QString path = m_dir.filePath(QStringLiteral("big.mp3"));
        writeFile(path, be32(V1L3_128));
        QVERIFY(::truncate(QFile::encodeName(path).constData(), 300000000) == 0);
        TMPEGData rec;
        QCOMPARE(ReadMPEGData(rec, QFile::encodeName(path)), 0);
        QCOMPARE(FormatMPEGInfo(rec).Seconds, QStringLiteral("Length: 312:30"));
        QCOMPARE(FormatMPEGInfo(rec).Bytes, QStringLiteral("Bytes: 300000000"));
    }

    void shrunkSourceRaises() {
        ShrunkSource source(frame(V1L3_128, 1000), 2000);
        TMPEGData rec;
        QVERIFY_THROWS_EXCEPTION(InOutError, ReadMPEGStream(rec, source));
    }

    void probePrintsPanelLines() {
        const QString path = m_dir.filePath(QStringLiteral("probe.mp3"));
        writeFile(path, frame(V1L3_128, 65 * 16000) + id3v1("Probe"));
        QProcess probe;
        probe.start(qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe"),
                    {QStringLiteral("info"), path});
        QVERIFY(probe.waitForFinished(30000));
        const QString out = QString::fromUtf8(probe.readAllStandardOutput());
        QVERIFY2(out.contains(QStringLiteral("Bitrate: 128 kbps, 44100 Hz\nBytes: 1040128\n"
                                             "Layer: 3\nLength: 1:05\nTitle: Probe\n")),
                 qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Genre: 12 Other\n")));
    }
};

QTEST_GUILESS_MAIN(TstMpegFile)
#include "tst_metadata_mpegfile.moc"
