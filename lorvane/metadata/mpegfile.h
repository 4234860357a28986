#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the first usable MPEG audio frame of a file tells about its stream.
// Resetting (TMPEGData{}) sets every field to 0 / false.
struct TMPEGData {
    quint32 Duration = 0;    // play time in whole seconds
    qint64 FileSize = 0;     // the whole file, tags included
    quint8 Version = 0;      // 0 reserved, 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
    quint8 Layer = 0;        // 1 to 3; 0 reserved
    qint32 SampleRate = 0;   // Hz
    qint32 BitRate = 0;      // kbit/s
    bool Protection = false; // the header bit as stored: true = no CRC follows
    bool Padding = false;
    quint32 FrameLength = 0;
    quint8 ChannelMode = 0; // 3 = mono; decides where the "Xing" block stands
    qint64 AudioBytes = 0;  // FileSize less the leading ID3v2 tags and a trailing ID3v1 tag
};

// Where ReadMPEGData takes its bytes from: a file, or memory in tests and fuzzing.
// readAt() fills exactly n bytes or throws InOutError.
class MPEGSource {
public:
    virtual ~MPEGSource() = default;
    virtual qint64 size() const = 0;
    virtual void readAt(qint64 pos, char* buf, qint64 n) = 0;
};

class MemoryMPEGSource : public MPEGSource {
public:
    explicit MemoryMPEGSource(QByteArray data) : m_data(std::move(data)) {}
    qint64 size() const override { return m_data.size(); }
    void readAt(qint64 pos, char* buf, qint64 n) override;

private:
    QByteArray m_data;
};

// 0 when the sample rate is below 1, else trunc(144000 * bitRate / sampleRate + padding).
int CalcFrameLength(int sampleRate, int bitRate, bool padding);
bool IsValidFrame(const TMPEGData& rec);
// Decodes the big-endian header value h into rec; the play time is taken from
// rec.AudioBytes. A value without the eleven sync bits returns false untouched.
bool DecodeHeader(quint32 h, TMPEGData& rec);
// Size of an ID3v2 tag starting at the first of the given bytes (header and
// footer included), 0 when they do not begin a well-formed tag header.
qint64 ID3v2TagSize(const char* head, qint64 available);

// Fills rec from the first accepted frame. 0: frame found (or 5 bytes or less);
// -1: the file does not exist or holds no usable frame. Throws InOutError when
// the file cannot be opened or read.
int ReadMPEGData(TMPEGData& rec, const QByteArray& fileName);
// The same over any source; blockSize only decides how much is read at a time.
int ReadMPEGStream(TMPEGData& rec, MPEGSource& source, qint64 blockSize = 256 * 1024);

// The search of ReadMPEGStream, from byte `from` on. Candidates are four bytes that
// decode as a usable header whose frame fits the file (after a frame that does not fit,
// the search goes on behind its four header bytes). The first candidate confirmed by
// the header one true frame length on (same version, layer and sampling rate), or with
// no room for one before audioEnd, is taken; after an unconfirmed one the search goes
// on at the next byte; with none confirmed, the first candidate stands. rec comes in
// with FileSize and AudioBytes set and leaves with the frame's values, or as it came
// when there is no candidate. Returns the frame's position, or -1.
qint64 FindFirstFrame(TMPEGData& rec, MPEGSource& source, qint64 from, qint64 audioEnd,
                      qint64 blockSize = 256 * 1024);

// The four "File Info:" lines of the song panel.
struct MPEGInfoLines {
    QString BitRate, Bytes, Layer, Seconds;
};
MPEGInfoLines FormatMPEGInfo(const TMPEGData& rec);
// What the lines show when the stream could not be read.
MPEGInfoLines MPEGErrorLines();
