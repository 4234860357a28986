#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

// The character set of ID3v1 text. A tag carries no word about its set: it holds the
// bytes of whatever code page the writing system used, so the user says which one.
namespace id3v1 {

struct CharsetChoice {
    const char* name;  // the settings value ("windows-1251")
    const char* label; // the menu entry ("Cyrillic (Windows-1251)")
};

// The sets the user can choose from, the default first.
const std::vector<CharsetChoice>& charsetChoices();
inline constexpr char DefaultCharset[] = "windows-1252";
bool isKnownCharset(const QByteArray& name);
// The settings value of a set named in any case or spelling ("shift-jis", "cp1251"),
// or empty for a set not among the choices.
QByteArray canonicalCharset(const QByteArray& name);

// Decodes and encodes field text with the system's converters (glibc's iconv).
// Copies share their converters: use one object per thread.
class TagCharset {
public:
    // An unknown name gives the default set.
    explicit TagCharset(const QByteArray& name = DefaultCharset);
    ~TagCharset();
    TagCharset(const TagCharset&);
    TagCharset& operator=(const TagCharset&);

    QByteArray name() const { return m_name; }

    QString decode(const char* bytes, int length) const;
    // At most maxBytes bytes, never a zero byte. A character the set cannot hold becomes
    // '?'; a character whose bytes would not all fit ends the text before it, so a
    // multi-byte character is never cut in half.
    QByteArray encode(const QString& text, int maxBytes) const;
    // The bytes text takes in the set, a character it cannot hold counted as its '?'.
    int byteCount(const QString& text) const;
    // The characters of text the set cannot hold, each once, in the order they come.
    QString unstorable(const QString& text) const;

private:
    struct Converters;
    // Calls take(character, its bytes, whether the set holds it) for each character
    // until take returns false.
    template <typename Take> void eachCharacter(const QString& text, Take take) const;
    QByteArray m_name;
    std::shared_ptr<Converters> m_conv;
};

} // namespace id3v1
