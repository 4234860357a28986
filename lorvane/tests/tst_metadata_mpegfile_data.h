#pragma once

// Builders for the small MPEG files the metadata tests write.

#include <QByteArray>
#include <QFile>
#include <QTest>

namespace mpegdata {

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no CRC, stereo: 417 bytes a frame.
constexpr quint32 V1L3_128 = 0xFFFB9000;
// The same in mono (channel mode 3).
constexpr quint32 V1L3_128_Mono = 0xFFFB90C0;
// MPEG-2 Layer III, 64 kbit/s, 22050 Hz, mono.
constexpr quint32 V2L3_64_Mono = 0xFFF380C0;
// MPEG-2 Layer III, 64 kbit/s, 22050 Hz, stereo.
constexpr quint32 V2L3_64 = 0xFFF38000;
// MPEG-2 Layer III, 8 kbit/s, 22050 Hz: 1000 bytes a second.
constexpr quint32 V2L3_8 = 0xFFF31000;

inline QByteArray be32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(v >> (24 - 8 * i));
    return b;
}

// A frame: its header, then zeros.
inline QByteArray frame(quint32 header, int length) {
    return be32(header) + QByteArray(length - 4, '\0');
}

// A first frame carrying a "Xing" block at offset.
inline QByteArray xingFrame(quint32 header, int length, int offset, quint8 flags, quint32 frames) {
    QByteArray f = frame(header, length);
    f.replace(offset, 12, QByteArray("Xing\0\0\0", 7) + char(flags) + be32(frames));
    return f;
}

// A frame with a VBRI block 36 bytes from its start: version 1, delay, quality 75, bytes.
inline QByteArray vbriFrame(quint32 header, int length, quint32 frames) {
    QByteArray f = frame(header, length);
    f.replace(36, 18, QByteArray("VBRI\0\1\x04\x81\0\x4b", 10) + be32(0) + be32(frames));
    return f;
}

// A leading ID3v2 tag of bodySize bytes filled with fill (3 = v2.3, 4 = v2.4).
inline QByteArray id3v2(qint64 bodySize, const QByteArray& fill, bool footer = false) {
    QByteArray t("ID3", 3);
    t += char(footer ? 4 : 3);
    t += '\0';
    t += char(footer ? 0x10 : 0);
    for (int shift = 21; shift >= 0; shift -= 7)
        t += char((bodySize >> shift) & 0x7F);
    QByteArray body;
    while (body.size() < bodySize)
        body += fill;
    t += body.left(bodySize);
    if (footer)
        t += QByteArray("3DI", 3) + t.mid(3, 7);
    return t;
}

// A trailing ID3v1 tag with only a title.
inline QByteArray id3v1(const QByteArray& title) {
    QByteArray t = "TAG" + title.leftJustified(30, ' ', true);
    return t.leftJustified(127, ' ') + char(12);
}

inline void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

} // namespace mpegdata
