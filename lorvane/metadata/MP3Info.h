#pragma once

#include "TagCharset.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

// The 128-byte ID3v1 record at the very end of a file, decoded from and encoded
// to its bytes without touching a file.
namespace id3v1 {

constexpr int TagSize = 128;
constexpr int TextLength = 30; // title, artist, album, comment
constexpr int YearLength = 4;
constexpr int DefaultGenre = 12; // "Other"

struct Fields {
    QByteArray identifier; // the first three bytes, "TAG" when a tag is there
    QString title, artist, album, year, comment;
    quint8 genre = DefaultGenre;
};

// tag points at TagSize bytes.
Fields decode(const char* tag, const TagCharset& charset = TagCharset());
// All blanks, "TAG", each value's bytes in charset at the start of its field (field
// lengths are bytes).
QByteArray encode(const Fields& fields, const TagCharset& charset = TagCharset());
// A field's text: up to its first zero byte, trailing blanks (0x20 only) removed.
QString fieldText(const char* bytes, int length, const TagCharset& charset = TagCharset());
// At most maxChars characters, never splitting a character in two.
QString leftChars(const QString& s, int maxChars);

// The 116 genre names, index = genre byte.
const QStringList& genreNames();

} // namespace id3v1

// Reads, writes and removes the ID3v1 tag of one file. Assigning Filename reads the
// tag. Failures the user can meet (no file, no tag, read-only) set Error and emit
// onError; failures of the file operations themselves throw InOutError.
class TMP3Info : public QObject {
    Q_OBJECT
    Q_PROPERTY(QByteArray Filename READ Filename WRITE setFilename)
    Q_PROPERTY(QString Artist READ Artist WRITE setArtist)
    Q_PROPERTY(QString Title READ Title WRITE setTitle)
    Q_PROPERTY(QString Album READ Album WRITE setAlbum)
    Q_PROPERTY(QString Year READ Year WRITE setYear)
    Q_PROPERTY(QString Comment READ Comment WRITE setComment)
    Q_PROPERTY(QString Genre READ Genre)
    Q_PROPERTY(int GenreID READ GenreID WRITE setGenreID)
    Q_PROPERTY(bool Valid READ Valid)
    Q_PROPERTY(bool Saved READ Saved)
    Q_PROPERTY(QString Error READ Error)

public:
    explicit TMP3Info(QObject* owner = nullptr);

    QByteArray Filename() const { return m_filename; }
    void setFilename(const QByteArray& path);

    QString identifier() const { return QString::fromLatin1(m_identifier); }
    QString Artist() const { return m_artist; }
    QString Title() const { return m_title; }
    QString Album() const { return m_album; }
    QString Year() const { return m_year; }
    QString Comment() const { return m_comment; }
    QString Genre() const { return m_genre; }
    int GenreID() const { return m_genreId; }
    bool Valid() const { return m_valid; }
    bool Saved() const { return m_saved; }
    QString Error() const { return m_error; }
    // The last Save or RemoveID3 found the file write protected and left it alone.
    bool WriteProtected() const { return m_writeProtected; }
    // The genre byte Save writes: as read (even beyond the list) until GenreID is set.
    quint8 genreByte() const { return m_genreByte; }
    const QStringList& Genres() const { return m_genres; }
    // The character set of the tag's text; the next read and save use it.
    QByteArray Charset() const { return m_charset.name(); }
    void setCharset(const QByteArray& name) { m_charset = id3v1::TagCharset(name); }

    void setArtist(const QString& s);
    void setTitle(const QString& s);
    void setAlbum(const QString& s);
    void setYear(const QString& s);
    void setComment(const QString& s);
    // Anything beyond the last genre index (or below 0) becomes 12, "Other".
    void setGenreID(int id);

    // Writes the current values as the file's tag: over the known tag, else appended.
    Q_INVOKABLE void Save();
    // Cuts the known tag off the file.
    Q_INVOKABLE void RemoveID3();

signals:
    void onChangeFile(TMP3Info* sender);
    void onChange(TMP3Info* sender);
    void onError(TMP3Info* sender);

private:
    void ReadTag();
    void setTextField(QString& field, const QString& s, int maxChars);
    void reportError(const QString& text);
    // False, with the message, when the user has not made the file writable; a file's
    // mode is the user's to change, never ours.
    bool checkWritable();

    QByteArray m_filename;
    QByteArray m_identifier;
    QString m_artist, m_title, m_album, m_comment, m_year;
    QString m_genre;
    QString m_error;
    quint8 m_genreId = id3v1::DefaultGenre;
    quint8 m_genreByte = id3v1::DefaultGenre;
    bool m_writeProtected = false;
    bool m_valid = false;
    bool m_saved = false;
    QStringList m_genres;
    id3v1::TagCharset m_charset;
};
