#include "mpegfile.h"

#include "InOutError.h"
#include "RawFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace {

// Indexed by Version (1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5) and the sampling-rate index.
constexpr std::array<std::array<int, 4>, 4> SampleRates{{
    {0, 0, 0, 0},
    {44100, 48000, 32000, 0},
    {22050, 24000, 16000, 0},
    {11025, 12000, 8000, 0},
}};

// kbit/s by the bit-rate index; index 0 (free format) and 15 (forbidden) are 0.
// MPEG-1 has a row per layer; MPEG-2 and 2.5 share a Layer I row and a Layer II/III row.
constexpr std::array<std::array<int, 16>, 3> BitRatesV1{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
}};
constexpr std::array<std::array<int, 16>, 2> BitRatesV2{{
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
}};

// The two version bits 00, 01, 10, 11 stand for MPEG-2.5, reserved, MPEG-2, MPEG-1.
constexpr std::array<quint8, 4> VersionOfBits{3, 0, 2, 1};

constexpr quint32 SyncMask = 0xFFE00000u;
constexpr quint8 Mono = 3;

quint32 bigEndian32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | quint32(u[3]);
}

quint32 clampU32(qint64 v) {
    return quint32(std::clamp<qint64>(v, 0, std::numeric_limits<quint32>::max()));
}

quint32 playSeconds(qint64 audioBytes, qint64 bitRate) {
    // 64-bit arithmetic: a 32-bit product overflows past 268,435,455 bytes.
    return bitRate > 0 ? clampU32(audioBytes * 8 / (bitRate * 1000)) : 0;
}

// Bytes a frame takes per kbit/s and Hz: Layer I counts 4-byte slots of 12 samples per
// frame, and MPEG-2/2.5 Layer III frames hold half the samples of MPEG-1 ones.
int frameSizeFactor(const TMPEGData& rec) {
    if (rec.Layer == 1)
        return 48000;
    if (rec.Layer == 3 && rec.Version != 1)
        return 72000;
    return 144000;
}

class FileSource : public MPEGSource {
public:
    explicit FileSource(const QByteArray& path) : m_file(path, RawFile::ReadOnly) {
        m_size = m_file.size();
    }
    qint64 size() const override { return m_size; }
    void readAt(qint64 pos, char* buf, qint64 n) override { m_file.readAt(pos, buf, n); }

private:
    RawFile m_file;
    qint64 m_size = 0;
};

// Serves the byte-wise search from large reads of the source.
class BlockReader {
public:
    // Reads start small, as the first frame usually stands at the start, and double
    // up to blockSize for a long search.
    BlockReader(MPEGSource& source, qint64 size, qint64 blockSize)
        : m_source(source), m_size(size), m_maxBlock(std::max<qint64>(blockSize, 4)),
          m_block(std::min<qint64>(m_maxBlock, 4096)) {}

    // The buffered bytes from pos on (pos < size), filling the buffer when needed.
    const unsigned char* span(qint64 pos, qint64& count) {
        if (pos < m_start || pos >= m_start + m_length) {
            m_length = std::min(m_block, m_size - pos);
            m_block = std::min(m_block * 2, m_maxBlock);
            if (m_length > m_capacity) {
                m_buffer.reset(static_cast<char*>(
                    ::operator new[](size_t(m_length), std::align_val_t(BufferAlignment))));
                m_capacity = m_length;
            }
            m_source.readAt(pos, m_buffer.get(), m_length);
            m_start = pos;
        }
        count = m_start + m_length - pos;
        return reinterpret_cast<const unsigned char*>(m_buffer.get()) + (pos - m_start);
    }

    // The four bytes at pos (pos + 4 <= size) as a big-endian value; a look ahead past
    // the buffer reads them alone, so the buffer stays where the search is.
    quint32 word(qint64 pos) {
        if (pos >= m_start && pos + 4 <= m_start + m_length)
            return bigEndian32(m_buffer.get() + (pos - m_start));
        char bytes[4];
        m_source.readAt(pos, bytes, 4);
        return bigEndian32(bytes);
    }

private:
    MPEGSource& m_source;
    qint64 m_size;
    qint64 m_maxBlock;
    qint64 m_block;
    // The kernel copies into a buffer that starts off a cache line at a fraction of its
    // speed on some processors (a large allocation starts 16 bytes into its pages).
    static constexpr size_t BufferAlignment = 64;
    struct AlignedDelete {
        void operator()(char* p) const {
            ::operator delete[](p, std::align_val_t(BufferAlignment));
        }
    };
    std::unique_ptr<char[], AlignedDelete> m_buffer;
    qint64 m_capacity = 0;
    qint64 m_start = 0;
    qint64 m_length = 0;
};

// A variable-bit-rate header gives the stream's frame count: the average frame, and with
// it the bit rate and play time, follow from the audio bytes. A count of 0 leaves the
// first frame's values.
void applyFrameCount(TMPEGData& rec, quint32 frames) {
    if (frames == 0)
        return;
    const qint64 frameLength = rec.AudioBytes / frames;
    const qint64 bitRate =
        qint64(double(frameLength) * rec.SampleRate / frameSizeFactor(rec)) - rec.Padding;
    if (bitRate <= 0)
        return;
    rec.FrameLength = clampU32(frameLength);
    rec.BitRate = qint32(std::min<qint64>(bitRate, std::numeric_limits<qint32>::max()));
    rec.Duration = playSeconds(rec.AudioBytes, rec.BitRate);
}

// The "Xing" block stands right after the side information, whose size depends on
// the version and on mono; a CRC, when present, comes before the side information.
// Returns whether a Xing block was found (used or not).
bool applyXing(TMPEGData& rec, MPEGSource& source, qint64 frameStart) {
    const bool mono = rec.ChannelMode == Mono;
    const qint64 sideInfoEnd = rec.Version == 1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    std::array<qint64, 2> offsets{sideInfoEnd, -1};
    if (!rec.Protection)
        offsets = {sideInfoEnd + 2, sideInfoEnd};
    for (const qint64 offset : offsets) {
        if (offset < 0)
            break;
        const qint64 at = frameStart + offset;
        char block[12];
        if (at + qint64(sizeof block) > source.size())
            continue;
        source.readAt(at, block, sizeof block);
        if (std::memcmp(block, "Xing", 4) != 0)
            continue;
        // Only a block with all four fields (frames, bytes, TOC, quality) counts.
        if (static_cast<unsigned char>(block[7]) == 0x0F)
            applyFrameCount(rec, bigEndian32(block + 8));
        return true;
    }
    return false;
}

// Fraunhofer's encoders write a "VBRI" block 32 bytes after the header, whatever the
// version and channels: tag, version, delay and quality (2 bytes each but the tag), the
// byte count and the frame count, big-endian.
void applyVbri(TMPEGData& rec, MPEGSource& source, qint64 frameStart) {
    constexpr qint64 Offset = 36;
    char block[18];
    const qint64 at = frameStart + Offset;
    if (at + qint64(sizeof block) > source.size())
        return;
    source.readAt(at, block, sizeof block);
    if (std::memcmp(block, "VBRI", 4) == 0)
        applyFrameCount(rec, bigEndian32(block + 14));
}

} // namespace

void MemoryMPEGSource::readAt(qint64 pos, char* buf, qint64 n) {
    if (pos < 0 || n < 0 || pos > m_data.size() - n)
        throw InOutError("read beyond end of data");
    std::memcpy(buf, m_data.constData() + pos, size_t(n));
}

int CalcFrameLength(int sampleRate, int bitRate, bool padding) {
    if (sampleRate < 1)
        return 0;
    return int(144000.0 * bitRate / sampleRate + (padding ? 1 : 0));
}

bool IsValidFrame(const TMPEGData& rec) {
    return rec.Version > 0 && rec.Layer > 0 && rec.SampleRate > 0 && rec.BitRate > 0;
}

bool DecodeHeader(quint32 h, TMPEGData& rec) {
    if ((h & SyncMask) != SyncMask)
        return false;
    rec.Version = VersionOfBits[(h >> 19) & 3];
    const quint32 layerBits = (h >> 17) & 3;
    rec.Layer = layerBits ? quint8(4 - layerBits) : 0;
    rec.Protection = (h >> 16) & 1;
    const quint32 bitRateIndex = (h >> 12) & 0xF;
    const quint32 sampleRateIndex = (h >> 10) & 3;
    rec.Padding = (h >> 9) & 1;
    rec.ChannelMode = quint8((h >> 6) & 3);
    rec.SampleRate = SampleRates[rec.Version][sampleRateIndex];
    if (rec.Version >= 1 && rec.Version <= 3 && rec.Layer >= 1 && rec.Layer <= 3) {
        rec.BitRate = rec.Version == 1 ? BitRatesV1[rec.Layer - 1][bitRateIndex]
                                       : BitRatesV2[rec.Layer == 1 ? 0 : 1][bitRateIndex];
    } else {
        rec.BitRate = 0;
    }
    rec.Duration = playSeconds(rec.AudioBytes, rec.BitRate);
    rec.FrameLength = quint32(CalcFrameLength(rec.SampleRate, rec.BitRate, rec.Padding));
    return IsValidFrame(rec);
}

qint64 ID3v2TagSize(const char* head, qint64 available) {
    if (available < 10 || std::memcmp(head, "ID3", 3) != 0)
        return 0;
    const auto* u = reinterpret_cast<const unsigned char*>(head);
    // Version bytes are never 0xFF; the size is four 7-bit ("synchsafe") bytes.
    if (u[3] == 0xFF || u[4] == 0xFF)
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i) {
        if (u[i] & 0x80)
            return 0;
        size = size << 7 | u[i];
    }
    const bool footer = u[5] & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

namespace {

// The first position from `from` on whose four bytes decode as a usable header, or -1.
// A header starts with a 0xFF byte, so whole blocks are scanned for that byte alone:
// a file without frames costs little more than reading it once.
qint64 findHeader(BlockReader& reader, qint64 from, qint64 size, TMPEGData& rec) {
    qint64 pos = from;
    while (size - pos >= 4) {
        qint64 count = 0;
        const unsigned char* bytes = reader.span(pos, count);
        const void* hit = std::memchr(bytes, 0xFF, size_t(count));
        if (!hit) {
            pos += count;
            continue;
        }
        const qint64 at = pos + (static_cast<const unsigned char*>(hit) - bytes);
        if (size - at < 4)
            return -1;
        if (DecodeHeader(reader.word(at), rec))
            return at;
        pos = at + 1;
    }
    return -1;
}

// The bytes from one frame to the next as decoders count them: Layer I counts 4-byte
// slots, MPEG-2/2.5 Layer III frames hold half the samples. (FrameLength, shown and used
// for the play-time steps, keeps its single 144000 rule.)
qint64 trueFrameLength(const TMPEGData& rec) {
    const qint64 bitRate = rec.BitRate;
    const qint64 sampleRate = rec.SampleRate;
    if (rec.Layer == 1)
        return (12000 * bitRate / sampleRate + rec.Padding) * 4;
    if (rec.Layer == 3 && rec.Version != 1)
        return 72000 * bitRate / sampleRate + rec.Padding;
    return 144000 * bitRate / sampleRate + rec.Padding;
}

// A sync pattern inside junk or inside a tag decodes as a header now and then; a real
// frame is followed by another of the same version, layer and sampling rate. A frame
// with no room for a further header before the end of the audio stands on its own.
bool confirmedByNext(BlockReader& reader, const TMPEGData& rec, qint64 start, qint64 audioEnd) {
    const qint64 next = start + trueFrameLength(rec);
    if (next + 4 > audioEnd)
        return true;
    const quint32 h = reader.word(next);
    if ((h & SyncMask) != SyncMask)
        return false;
    TMPEGData following = rec;
    DecodeHeader(h, following);
    return following.Version == rec.Version && following.Layer == rec.Layer &&
           following.SampleRate == rec.SampleRate;
}

} // namespace

qint64 FindFirstFrame(TMPEGData& rec, MPEGSource& source, qint64 from, qint64 audioEnd,
                      qint64 blockSize) {
    const TMPEGData fresh = rec;
    const qint64 size = source.size();
    BlockReader reader(source, size, blockSize);
    qint64 firstStart = -1;
    TMPEGData first;
    qint64 pos = from;
    while (size - pos >= 4) {
        const qint64 start = findHeader(reader, pos, size, rec);
        if (start < 0)
            break;
        const qint64 remain = size - start - qint64(rec.FrameLength) + 2 * qint64(rec.Protection);
        if (remain <= 0) {
            // A frame that runs past the end is passed over with its four header bytes.
            rec = fresh;
            pos = start + 4;
            continue;
        }
        if (confirmedByNext(reader, rec, start, audioEnd))
            return start;
        if (firstStart < 0) {
            firstStart = start;
            first = rec;
        }
        rec = fresh;
        pos = start + 1;
    }
    // With no frame confirmed anywhere (a single frame, frames only by themselves) the
    // first usable one stands.
    rec = firstStart >= 0 ? first : fresh;
    return firstStart;
}

int ReadMPEGStream(TMPEGData& rec, MPEGSource& source, qint64 blockSize) {
    rec = TMPEGData{};
    const qint64 size = source.size();
    if (size <= 5)
        return 0;

    // The search starts behind a leading ID3v2 tag: its text and pictures would
    // otherwise read as false frame headers. Play time counts the audio bytes only.
    // A tag written twice stands right behind the first; every such tag is skipped.
    qint64 searchStart = 0;
    for (;;) {
        char head[10];
        const qint64 headLength = std::min<qint64>(size - searchStart, sizeof head);
        if (headLength <= 0)
            break;
        source.readAt(searchStart, head, headLength);
        const qint64 tagSize = ID3v2TagSize(head, headLength);
        if (tagSize == 0)
            break;
        searchStart = std::min(size, searchStart + tagSize);
    }
    qint64 audioEnd = size;
    if (size - 128 >= searchStart) {
        char tag[3];
        source.readAt(size - 128, tag, 3);
        if (std::memcmp(tag, "TAG", 3) == 0)
            audioEnd = size - 128;
    }
    const TMPEGData fresh{.FileSize = size, .AudioBytes = audioEnd - searchStart};
    rec = fresh;

    const qint64 frameStart = FindFirstFrame(rec, source, searchStart, audioEnd, blockSize);
    if (frameStart < 0)
        return -1;

    // The four bytes after the frame are read but never looked at; when they end at
    // (or would run past) the end of the file the values stand and the answer is -1.
    const qint64 next = frameStart + qint64(rec.FrameLength);
    if (next + 4 >= size)
        return -1;

    if (!applyXing(rec, source, frameStart))
        applyVbri(rec, source, frameStart);
    return 0;
}

int ReadMPEGData(TMPEGData& rec, const QByteArray& fileName) {
    rec = TMPEGData{};
    if (!RawFile::exists(fileName))
        return -1;
    FileSource source(fileName);
    return ReadMPEGStream(rec, source);
}

MPEGInfoLines FormatMPEGInfo(const TMPEGData& rec) {
    MPEGInfoLines lines;
    lines.BitRate = QStringLiteral("Bitrate: %1 kbps, %2 Hz").arg(rec.BitRate).arg(rec.SampleRate);
    lines.Bytes = QStringLiteral("Bytes: %1").arg(rec.FileSize);
    lines.Layer = QStringLiteral("Layer: %1").arg(rec.Layer);
    // Minutes are not split into hours: an hour shows as 60:00.
    lines.Seconds = QStringLiteral("Length: %1:%2")
                        .arg(rec.Duration / 60)
                        .arg(rec.Duration % 60, 2, 10, QLatin1Char('0'));
    return lines;
}

MPEGInfoLines MPEGErrorLines() {
    return {QStringLiteral("Bitrate:"), QStringLiteral("Bytes:"), QStringLiteral("Layer: 0"),
            QStringLiteral("Length: 0:00")};
}
