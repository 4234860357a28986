#include "MP3Info.h"

#include "InOutError.h"
#include "RawFile.h"

#include <cstring>

namespace id3v1 {

namespace {

// Offsets of the fields inside the record.
constexpr int TitleAt = 3;
constexpr int ArtistAt = 33;
constexpr int AlbumAt = 63;
constexpr int YearAt = 93;
constexpr int CommentAt = 97;
constexpr int GenreAt = 127;

// The published list with its extensions, as one literal; this program spells
// 67 "Psychedelic" and 81 "Folk/Rock".
constexpr const char* GenreLiteral =
    R"("Blues","Classic Rock","Country","Dance","Disco","Funk","Grunge","Hip-Hop","Jazz",)"
    R"("Metal","New Age","Oldies","Other","Pop","R&B","Rap","Reggae","Rock","Techno",)"
    R"("Industrial","Alternative","Ska","Death Metal","Pranks","Soundtrack","Euro-Techno",)"
    R"("Ambient","Trip-Hop","Vocal","Jazz+Funk","Fusion","Trance","Classical","Instrumental",)"
    R"("Acid","House","Game","Sound Clip","Gospel","Noise","AlternRock","Bass","Soul","Punk",)"
    R"("Space","Meditative","Instrumental Pop","Instrumental Rock","Ethnic","Gothic",)"
    R"("Darkwave","Techno-Industrial","Electronic","Pop-Folk","Eurodance","Dream",)"
    R"("Southern Rock","Comedy","Cult","Gangsta","Top 40","Christian Rap","Pop/Funk","Jungle",)"
    R"("Native American","Cabaret","New Wave","Psychedelic","Rave","Showtunes","Trailer",)"
    R"("Lo-Fi","Tribal","Acid Punk","Acid Jazz","Polka","Retro","Musical","Rock & Roll",)"
    R"("Hard Rock","Folk","Folk/Rock","National Folk","Swing","Fast Fusion","Bebob","Latin",)"
    R"("Revival","Celtic","Bluegrass","Avantgarde","Gothic Rock","Progressive Rock",)"
    R"("Psychedelic Rock","Symphonic Rock","Slow Rock","Big Band","Chorus","Easy Listening",)"
    R"("Acoustic","Humour","Speech","Chanson","Opera","Chamber Music","Sonata","Symphony",)"
    R"("Booty Bass","Primus","Porn Groove","Satire","Slow Jam","Club","Tango","Samba",)"
    R"("Folklore")";

QStringList parseGenreLiteral() {
    QStringList names;
    const QString all = QString::fromLatin1(GenreLiteral);
    for (const QString& quoted : all.split(QLatin1Char(',')))
        names.append(quoted.mid(1, quoted.size() - 2));
    return names;
}

void put(QByteArray& tag, int at, const QString& value, int maxBytes, const TagCharset& charset) {
    const QByteArray bytes = charset.encode(value, maxBytes);
    std::memcpy(tag.data() + at, bytes.constData(), size_t(bytes.size()));
}

} // namespace

QString fieldText(const char* bytes, int length, const TagCharset& charset) {
    const void* zero = std::memchr(bytes, 0, size_t(length));
    if (zero)
        length = int(static_cast<const char*>(zero) - bytes);
    while (length > 0 && bytes[length - 1] == ' ')
        --length;
    // Neither 0x00 nor 0x20 is ever the second byte of a character in the sets offered,
    // so both cuts above are safe on the bytes.
    return charset.decode(bytes, length);
}

Fields decode(const char* tag, const TagCharset& charset) {
    Fields f;
    f.identifier = QByteArray(tag, 3);
    f.title = fieldText(tag + TitleAt, TextLength, charset);
    f.artist = fieldText(tag + ArtistAt, TextLength, charset);
    f.album = fieldText(tag + AlbumAt, TextLength, charset);
    f.year = fieldText(tag + YearAt, YearLength, charset);
    f.comment = fieldText(tag + CommentAt, TextLength, charset);
    f.genre = static_cast<quint8>(tag[GenreAt]);
    return f;
}

QByteArray encode(const Fields& fields, const TagCharset& charset) {
    QByteArray tag(TagSize, ' ');
    std::memcpy(tag.data(), "TAG", 3);
    put(tag, TitleAt, fields.title, TextLength, charset);
    put(tag, ArtistAt, fields.artist, TextLength, charset);
    put(tag, AlbumAt, fields.album, TextLength, charset);
    put(tag, CommentAt, fields.comment, TextLength, charset);
    put(tag, YearAt, fields.year, YearLength, charset);
    tag[GenreAt] = char(fields.genre);
    return tag;
}

QString leftChars(const QString& s, int maxChars) {
    int units = 0;
    for (int chars = 0; chars < maxChars && units < s.size(); ++chars) {
        const bool pair = s.at(units).isHighSurrogate() && units + 1 < s.size() &&
                          s.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return s.left(units);
}

const QStringList& genreNames() {
    static const QStringList names = parseGenreLiteral();
    return names;
}

} // namespace id3v1

TMP3Info::TMP3Info(QObject* owner) : QObject(owner), m_genres(id3v1::genreNames()) {
    m_genre = m_genres.value(m_genreId);
}

void TMP3Info::setFilename(const QByteArray& path) {
    m_filename = path;
    ReadTag();
}

void TMP3Info::setTextField(QString& field, const QString& s, int maxChars) {
    field = id3v1::leftChars(s, maxChars);
    emit onChange(this);
}

void TMP3Info::setArtist(const QString& s) {
    setTextField(m_artist, s, id3v1::TextLength);
}
void TMP3Info::setTitle(const QString& s) {
    setTextField(m_title, s, id3v1::TextLength);
}
void TMP3Info::setAlbum(const QString& s) {
    setTextField(m_album, s, id3v1::TextLength);
}
void TMP3Info::setComment(const QString& s) {
    setTextField(m_comment, s, id3v1::TextLength);
}
void TMP3Info::setYear(const QString& s) {
    setTextField(m_year, s, id3v1::YearLength);
}

void TMP3Info::setGenreID(int id) {
    if (id < 0 || id >= m_genres.size())
        id = id3v1::DefaultGenre;
    m_genreId = quint8(id);
    m_genreByte = m_genreId;
    m_genre = m_genres.at(id);
    emit onChange(this);
}

void TMP3Info::reportError(const QString& text) {
    m_error = text;
    emit onError(this);
}

void TMP3Info::ReadTag() {
    m_saved = false;
    if (!RawFile::exists(m_filename)) {
        m_valid = false;
        reportError(QStringLiteral("File doesn`t exist !"));
        return;
    }

    char tag[id3v1::TagSize];
    m_valid = false;
    {
        RawFile file(m_filename, RawFile::ReadOnly);
        // A file shorter than a tag makes the position negative: an I/O error.
        file.readAt(file.size() - id3v1::TagSize, tag, id3v1::TagSize);
    }

    const id3v1::Fields f = id3v1::decode(tag, m_charset);
    m_identifier = f.identifier;
    if (f.identifier != "TAG") {
        m_title.clear();
        m_artist.clear();
        m_album.clear();
        m_comment.clear();
        m_year.clear();
        m_genreId = id3v1::DefaultGenre;
        m_genreByte = m_genreId;
        m_genre = m_genres.at(m_genreId);
        reportError(QStringLiteral("Wrong file format or no ID3 Tag !"));
        return;
    }
    m_title = f.title;
    m_artist = f.artist;
    m_album = f.album;
    m_comment = f.comment;
    m_year = f.year;
    m_genreId = f.genre < m_genres.size() ? f.genre : quint8(id3v1::DefaultGenre);
    m_genreByte = f.genre;
    m_genre = m_genres.at(m_genreId);
    m_valid = true;
    emit onChangeFile(this);
}

bool TMP3Info::checkWritable() {
    m_writeProtected = RawFile::isReadOnly(m_filename) || !RawFile::isWritable(m_filename);
    if (m_writeProtected) {
        const QByteArray name = m_filename.mid(m_filename.lastIndexOf('/') + 1);
        reportError(QStringLiteral("The file %1 is write protected. The tag was not changed.")
                        .arg(QString::fromLocal8Bit(name)));
    }
    return !m_writeProtected;
}

void TMP3Info::Save() {
    m_saved = true;
    m_writeProtected = false;
    if (!RawFile::exists(m_filename)) {
        m_valid = false;
        m_saved = false;
        reportError(QStringLiteral("File doesn`t exist or is not valid !"));
        return;
    }

    id3v1::Fields f;
    f.title = m_title;
    f.artist = m_artist;
    f.album = m_album;
    f.comment = m_comment;
    f.year = m_year;
    f.genre = m_genreByte;
    const QByteArray tag = id3v1::encode(f, m_charset);

    if (!checkWritable()) {
        m_saved = false;
        return;
    }
    try {
        RawFile file(m_filename, RawFile::ReadWrite);
        const qint64 size = file.size();
        // Over the known tag, else after the last byte.
        const qint64 at = m_valid ? size - id3v1::TagSize : size;
        QByteArray before;
        if (m_valid) {
            before.resize(id3v1::TagSize);
            file.readAt(at, before.data(), before.size());
        }
        try {
            file.writeAt(at, tag.constData(), tag.size());
        } catch (const InOutError&) {
            // A write cut short (a full disk) must not leave part of a tag: the file
            // goes back to its old length, or gets its old tag bytes back.
            try {
                if (m_valid)
                    file.writeAt(at, before.constData(), before.size());
                else
                    file.truncate(size);
            } catch (const InOutError&) {
            }
            throw;
        }
        file.close();
    } catch (...) {
        m_saved = false;
        throw;
    }
    // After an append the file has a tag: the next Save overwrites it.
    m_valid = true;
}

void TMP3Info::RemoveID3() {
    m_writeProtected = false;
    if (!RawFile::exists(m_filename)) {
        reportError(QStringLiteral("File doesn`t exist !"));
        return;
    }
    if (!m_valid) {
        reportError(QStringLiteral("File is already untagged !"));
        return;
    }
    if (!checkWritable())
        return;
    RawFile file(m_filename, RawFile::ReadWrite);
    file.truncate(file.size() - id3v1::TagSize);
    file.close();
    m_valid = false;
}
