#include "building/FileNameParsing.h"

#include <limits>

namespace lorvane {

namespace {

// What the fitting pattern makes of a name; positions below are 0-based byte offsets.
using Cut = ParsedName;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool fitsTrack(const QByteArray& n, Cut& cut) {
    const qsizetype len = n.size();
    const qsizetype d1 = n.indexOf('-');
    if (d1 < 1)
        return false;
    const qsizetype d2 = n.indexOf('-', d1 + 1);
    if (d2 < 0 || d2 <= d1 + 1 || d2 >= len - 1)
        return false;
    const QByteArray track = CleanNamePart(n.left(d1));
    if (!IsWholeNumber(track))
        return false;
    cut.artist = CleanNamePart(n.mid(d1 + 1, d2 - d1 - 1));
    cut.title = track + " - " + CleanNamePart(n.mid(d2 + 1));
    return true;
}

bool fitsPair(const QByteArray& n, char open, char close, Cut& cut) {
    const qsizetype o = n.indexOf(open);
    const qsizetype c = n.indexOf(close);
    if (o < 0 || c < 0 || c <= o + 1 || c >= n.size() - 1)
        return false;
    cut.artist = CleanNamePart(n.mid(o + 1, c - o - 1));
    cut.title = CleanNamePart(n.mid(c + 1));
    return true;
}

bool fitsCustom(const QByteArray& n, const QByteArray& sep, Cut& cut) {
    const qsizetype k = sep.size();
    if (k == 0)
        return false;
    const qsizetype p = n.indexOf(sep);
    if (p < 1 || n.size() - k <= 1 || p + k >= n.size())
        return false;
    cut.artist = CleanNamePart(n.left(p));
    cut.title = CleanNamePart(n.mid(p + k));
    return true;
}

bool fitsDash(const QByteArray& n, Cut& cut) {
    const qsizetype p = n.indexOf('-');
    if (p < 1 || n.size() <= 2 || p >= n.size() - 1)
        return false;
    cut.artist = CleanNamePart(n.left(p));
    cut.title = CleanNamePart(n.mid(p + 1));
    return true;
}

} // namespace

// The patterns are tried in a fixed order; the first that fits decides artist and title.
ParsedName ParseName(const QByteArray& path, const NamePatterns& patterns) {
    const QByteArray n = BaseFileName(path);
    Cut cut;
    if (patterns.track && fitsTrack(n, cut))
        cut.pattern = NamePattern::Track;
    else if (patterns.bracket && (fitsPair(n, '(', ')', cut) || fitsPair(n, '[', ']', cut)))
        cut.pattern = NamePattern::Bracket;
    else if (patterns.custom && fitsCustom(n, patterns.separator, cut))
        cut.pattern = NamePattern::Custom;
    else if (patterns.dash && fitsDash(n, cut))
        cut.pattern = NamePattern::Dash;
    else {
        cut.artist = QByteArray(UnknownArtist);
        cut.title = CleanNamePart(n);
    }
    // The artist names a file: leading dots would hide it in every file manager, and
    // a blank name would make a file called ".lvn".
    if (cut.pattern != NamePattern::None) {
        qsizetype start = 0;
        while (start < cut.artist.size() && (cut.artist[start] == '.' || cut.artist[start] == ' '))
            ++start;
        cut.artist = cut.artist.mid(start);
        if (cut.artist.trimmed().isEmpty())
            cut.artist = QByteArray(UnknownArtist);
    }
    return cut;
}

const char* PatternName(NamePattern pattern) {
    switch (pattern) {
    case NamePattern::Track:
        return "track";
    case NamePattern::Bracket:
        return "bracket";
    case NamePattern::Custom:
        return "custom";
    case NamePattern::Dash:
        return "dash";
    case NamePattern::None:
        break;
    }
    return "none";
}

QByteArray BaseFileName(const QByteArray& path) {
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}

QByteArray CleanNamePart(const QByteArray& s) {
    QByteArray t = s;
    t.replace('_', ' ');
    qsizetype begin = 0;
    qsizetype end = t.size();
    while (begin < end && t[begin] == ' ')
        ++begin;
    while (end > begin && t[end - 1] == ' ')
        --end;
    return t.mid(begin, end - begin);
}

bool IsWholeNumber(const QByteArray& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint32>::max()) + 1
                                   : quint64(std::numeric_limits<qint32>::max());
    quint64 value = 0;
    for (; i < n; ++i) {
        const int digit = base == 16 ? hexValue(text[i])
                                     : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return false;
        value = value * quint64(base) + quint64(digit);
        if (value > limit)
            return false;
    }
    return true;
}

QByteArray ParseArtist(const QByteArray& path, const NamePatterns& patterns) {
    return ParseName(path, patterns).artist;
}

QByteArray ParseSongTitle(const QByteArray& path, const NamePatterns& patterns) {
    return ParseName(path, patterns).title;
}

} // namespace lorvane
