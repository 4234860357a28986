#pragma once

#include <QByteArray>
#include <QtGlobal>

// A file opened by its exact path bytes, with the few positioned operations the
// tag and stream readers need. Every failure, and every read that finds fewer
// bytes than asked for (a file that shrank while open), throws InOutError.
class RawFile {
public:
    enum Mode { ReadOnly, ReadWrite };

    RawFile(const QByteArray& path, Mode mode);
    ~RawFile();
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    // Size at the moment of the call.
    qint64 size() const;
    void readAt(qint64 pos, char* buf, qint64 n) const;
    void writeAt(qint64 pos, const char* buf, qint64 n);
    void truncate(qint64 length);
    void close();

    // A regular file or a link to one. Folders are not files, and neither are pipes
    // or devices, whose opening or reading could block the window.
    static bool exists(const QByteArray& path);
    // The owner-write bit stands in for the read-only attribute.
    static bool isReadOnly(const QByteArray& path);
    // This process may open the file for writing.
    static bool isWritable(const QByteArray& path);

private:
    int m_fd = -1;
};
