#include "building/NameText.h"

#include <algorithm>
#include <array>
#include <vector>

namespace lorvane {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Windows-1252 differs from Latin-1 only in 0x80 ... 0x9F; 0 marks the five bytes
// it leaves undefined.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t cp1252Char(uchar b) {
    if (b < 0x80 || b >= 0xA0)
        return b;
    const char16_t c = Cp1252High[b - 0x80];
    return c ? char32_t(c) : Replacement;
}

// The Windows-1252 byte of c; -1 when the code page has none.
int cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < int(Cp1252High.size()); ++i) {
        if (Cp1252High[i] && Cp1252High[i] == c)
            return 0x80 + i;
    }
    return -1;
}

// One character of a name and where its bytes lie in the name.
struct Unit {
    char32_t ch;
    qsizetype begin;
    qsizetype size;
};

// Decodes bytes[begin, end) as strict UTF-8 (no overlong forms, no surrogates);
// false, with units untouched, when it is not.
bool decodeUtf8(const QByteArray& bytes, qsizetype begin, qsizetype end, std::vector<Unit>& units) {
    std::vector<Unit> part;
    qsizetype i = begin;
    while (i < end) {
        const uchar lead = uchar(bytes[i]);
        int extra;
        char32_t c;
        char32_t least;
        if (lead < 0x80) {
            part.push_back({lead, i, 1});
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, c = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, c = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, c = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - i <= extra)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const uchar b = uchar(bytes[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (b & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        part.push_back({c, i, extra + 1});
        i += extra + 1;
    }
    units.insert(units.end(), part.begin(), part.end());
    return true;
}

// The characters of a name, part by part between "/".
std::vector<Unit> unitsOf(const QByteArray& bytes) {
    std::vector<Unit> units;
    units.reserve(size_t(bytes.size()));
    qsizetype begin = 0;
    while (begin <= bytes.size()) {
        qsizetype end = bytes.indexOf('/', begin);
        if (end < 0)
            end = bytes.size();
        if (!decodeUtf8(bytes, begin, end, units)) {
            for (qsizetype i = begin; i < end; ++i)
                units.push_back({cp1252Char(uchar(bytes[i])), i, 1});
        }
        if (end < bytes.size())
            units.push_back({U'/', end, 1});
        begin = end + 1;
    }
    return units;
}

void appendUtf8(QByteArray& out, char32_t c) {
    out += QString::fromUcs4(&c, 1).toUtf8();
}

} // namespace

QString DisplayText(const QByteArray& bytes) {
    if (QByteArrayView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    std::vector<char32_t> chars;
    chars.reserve(size_t(bytes.size()));
    for (const Unit& u : unitsOf(bytes))
        chars.push_back(u.ch);
    return QString::fromUcs4(chars.data(), qsizetype(chars.size()));
}

QByteArray NameBytes(const QString& typed) {
    return typed.toUtf8();
}

QByteArray EditedNameBytes(const QByteArray& original, const QString& edited) {
    if (QByteArrayView(original).isValidUtf8())
        return NameBytes(edited); // a character's UTF-8 bytes are its only bytes
    const std::vector<Unit> units = unitsOf(original);
    const QList<uint> typed = edited.toUcs4();
    const size_t n = units.size();
    const size_t m = size_t(typed.size());

    // The characters the edit kept are a longest common subsequence of the shown and
    // the edited text. Names are short; a text too long for the table keeps only its
    // common start and end.
    std::vector<qsizetype> keptFrom(m, -1); // typed index -> unit index
    size_t head = 0;
    while (head < n && head < m && units[head].ch == typed[qsizetype(head)]) {
        keptFrom[head] = qsizetype(head);
        ++head;
    }
    size_t tail = 0;
    while (tail < n - head && tail < m - head &&
           units[n - 1 - tail].ch == typed[qsizetype(m - 1 - tail)]) {
        keptFrom[m - 1 - tail] = qsizetype(n - 1 - tail);
        ++tail;
    }
    const size_t rows = n - head - tail;
    const size_t cols = m - head - tail;
    if (rows > 0 && cols > 0 && rows * cols <= 4'000'000) {
        // lcs[i][j]: longest common subsequence of the middles from i and j on.
        std::vector<quint16> lcs((rows + 1) * (cols + 1), 0);
        auto at = [&](size_t i, size_t j) -> quint16& { return lcs[i * (cols + 1) + j]; };
        for (size_t i = rows; i-- > 0;) {
            for (size_t j = cols; j-- > 0;) {
                at(i, j) = units[head + i].ch == typed[qsizetype(head + j)]
                               ? quint16(at(i + 1, j + 1) + 1)
                               : std::max(at(i + 1, j), at(i, j + 1));
            }
        }
        size_t i = 0, j = 0;
        while (i < rows && j < cols) {
            if (units[head + i].ch == typed[qsizetype(head + j)]) {
                keptFrom[head + j] = qsizetype(head + i);
                ++i, ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    }

    QByteArray out;
    out.reserve(original.size() + qsizetype(m));
    for (size_t j = 0; j < m; ++j) {
        if (keptFrom[j] >= 0) {
            const Unit& u = units[size_t(keptFrom[j])];
            out += original.mid(u.begin, u.size);
            continue;
        }
        // original is not UTF-8: a new character goes in its code page when it has a byte there.
        const char32_t c = typed[qsizetype(j)];
        const int b = cp1252Byte(c);
        if (b >= 0)
            out += char(b);
        else
            appendUtf8(out, c);
    }
    return out;
}

QByteArray TypedNameBytes(const QString& typed, const QByteArrayList& listed) {
    for (const QByteArray& name : listed) {
        if (DisplayText(name) == typed)
            return name;
    }
    return NameBytes(typed);
}

} // namespace lorvane
