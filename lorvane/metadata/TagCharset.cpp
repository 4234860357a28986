#include "TagCharset.h"

#include <cerrno>
#include <cstring>

#include <iconv.h>

namespace id3v1 {

namespace {

struct Known {
    CharsetChoice choice;
    const char* iconvName;
    bool singleByte;
};

// The Asian sets are taken in the Windows code pages that extend them (932, 949),
// since that is what the tags were written with; plain EUC-KR and Shift-JIS text reads
// the same.
const std::vector<Known>& known() {
    static const std::vector<Known> all = {
        {{"windows-1252", "Western (Windows-1252)"}, "CP1252", true},
        {{"windows-1250", "Central European (Windows-1250)"}, "CP1250", true},
        {{"windows-1251", "Cyrillic (Windows-1251)"}, "CP1251", true},
        {{"KOI8-R", "Cyrillic (KOI8-R)"}, "KOI8-R", true},
        {{"windows-1253", "Greek (Windows-1253)"}, "CP1253", true},
        {{"windows-1254", "Turkish (Windows-1254)"}, "CP1254", true},
        {{"windows-1257", "Baltic (Windows-1257)"}, "CP1257", true},
        {{"Shift_JIS", "Japanese (Shift-JIS)"}, "CP932", false},
        {{"GBK", "Chinese Simplified (GBK)"}, "GBK", false},
        {{"Big5", "Chinese Traditional (Big5)"}, "BIG5", false},
        {{"EUC-KR", "Korean (EUC-KR)"}, "CP949", false},
        {{"UTF-8", "UTF-8"}, "UTF-8", false},
    };
    return all;
}

// Character-set names are case-insensitive, and people write them with "-", "_" or
// neither ("Shift_JIS", "shift-jis", "UTF8"); the Windows code pages go by "cp1251" too.
QByteArray folded(const QByteArray& name) {
    QByteArray f = name.toLower();
    f.removeIf([](char c) { return c == '-' || c == '_'; });
    if (f.startsWith("cp125") && f.size() == 6)
        f = "windows" + f.mid(2);
    return f;
}

const Known* find(const QByteArray& name) {
    const QByteArray wanted = folded(name);
    for (const Known& k : known()) {
        if (!wanted.isEmpty() && wanted == folded(k.choice.name))
            return &k;
    }
    return nullptr;
}

const Known& lookUp(const QByteArray& name) {
    const Known* k = find(name);
    return k ? *k : known().front();
}

// Runs one whole conversion; false when the input holds something the set cannot take.
bool convert(iconv_t cd, const QByteArray& in, QByteArray& out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = size_t(in.size());
    char buffer[16];
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
        return false;
    out = QByteArray(buffer, qsizetype(sizeof buffer - outLeft));
    return true;
}

} // namespace

struct TagCharset::Converters {
    iconv_t toUtf8 = iconv_t(-1);
    iconv_t fromUtf8 = iconv_t(-1);
    bool singleByte = true;
    ~Converters() {
        if (toUtf8 != iconv_t(-1))
            iconv_close(toUtf8);
        if (fromUtf8 != iconv_t(-1))
            iconv_close(fromUtf8);
    }
};

const std::vector<CharsetChoice>& charsetChoices() {
    static const std::vector<CharsetChoice> choices = [] {
        std::vector<CharsetChoice> c;
        for (const Known& k : known())
            c.push_back(k.choice);
        return c;
    }();
    return choices;
}

QByteArray canonicalCharset(const QByteArray& name) {
    const Known* k = find(name);
    return k ? QByteArray(k->choice.name) : QByteArray();
}

bool isKnownCharset(const QByteArray& name) {
    return find(name) != nullptr;
}

TagCharset::TagCharset(const QByteArray& name) : m_conv(std::make_shared<Converters>()) {
    const Known& k = lookUp(name);
    m_name = k.choice.name;
    m_conv->singleByte = k.singleByte;
    m_conv->toUtf8 = iconv_open("UTF-8", k.iconvName);
    m_conv->fromUtf8 = iconv_open(k.iconvName, "UTF-8");
}

TagCharset::~TagCharset() = default;
TagCharset::TagCharset(const TagCharset&) = default;
TagCharset& TagCharset::operator=(const TagCharset&) = default;

QString TagCharset::decode(const char* bytes, int length) const {
    QByteArray utf8;
    iconv_t cd = m_conv->toUtf8;
    int at = 0;
    while (at < length) {
        if (cd == iconv_t(-1)) {
            utf8 += QString::fromLatin1(bytes + at, length - at).toUtf8();
            break;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(bytes + at);
        size_t inLeft = size_t(length - at);
        char buffer[256];
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        utf8.append(buffer, qsizetype(sizeof buffer - outLeft));
        at = length - int(inLeft);
        if (done != size_t(-1) || errno == E2BIG)
            continue;
        // A byte the set does not define, or a character cut off by the field's end.
        // Undefined bytes of the single-byte sets keep the meaning Latin-1 gave them, so
        // an old tag saved again keeps its bytes.
        const uchar b = uchar(bytes[at]);
        if (m_conv->singleByte && b >= 0x80 && b < 0xA0)
            utf8 += QString(QChar(b)).toUtf8();
        else
            utf8 += "\xEF\xBF\xBD";
        ++at;
    }
    return QString::fromUtf8(utf8);
}

template <typename Take> void TagCharset::eachCharacter(const QString& text, Take take) const {
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        qsizetype units = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            units = 2;
        const QString one = text.mid(i, units);
        i += units - 1;
        const bool lone = c.isSurrogate() && units == 1;
        bool held = true;
        if (c.unicode() == 0 || lone || m_conv->fromUtf8 == iconv_t(-1) ||
            !convert(m_conv->fromUtf8, one.toUtf8(), bytes)) {
            const char16_t u = c.unicode();
            QByteArray unused;
            if (m_conv->singleByte && units == 1 && u >= 0x80 && u < 0xA0 &&
                !convert(m_conv->toUtf8, QByteArray(1, char(u)), unused)) {
                bytes = QByteArray(1, char(u)); // the reverse of decode's undefined bytes
            } else {
                bytes = QByteArrayLiteral("?");
                held = false;
            }
        }
        if (!take(one, bytes, held))
            return;
    }
}

QByteArray TagCharset::encode(const QString& text, int maxBytes) const {
    QByteArray out;
    eachCharacter(text, [&out, maxBytes](const QString&, const QByteArray& bytes, bool) {
        if (out.size() + bytes.size() > maxBytes)
            return false;
        out += bytes;
        return true;
    });
    return out;
}

int TagCharset::byteCount(const QString& text) const {
    qsizetype count = 0;
    eachCharacter(text, [&count](const QString&, const QByteArray& bytes, bool) {
        count += bytes.size();
        return true;
    });
    return int(count);
}

QString TagCharset::unstorable(const QString& text) const {
    QString refused;
    eachCharacter(text, [&refused](const QString& one, const QByteArray&, bool held) {
        if (!held && !refused.contains(one))
            refused += one;
        return true;
    });
    return refused;
}

} // namespace id3v1
