#include "building/FileNameParsing.h"
#include "building/NameText.h"

#include <QTest>

using namespace lorvane;

class TestParseNames : public QObject {
    Q_OBJECT

private slots:
    void baseFileName_data();
    void baseFileName();
    void cleanNamePart_data();
    void cleanNamePart();
    void wholeNumber_data();
    void wholeNumber();
    void patterns_data();
    void patterns();
    void editedNames_data();
    void editedNames();
};

void TestParseNames::baseFileName_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("base");
    QTest::newRow("plain") << QByteArray("/m/Band - Song.mp3") << QByteArray("Band - Song");
    QTest::newRow("several dots") << QByteArray("/m/a.b.mp3") << QByteArray("a.b");
    QTest::newRow("no dot") << QByteArray("/m/name") << QByteArray("name");
    QTest::newRow("only leading dot") << QByteArray("/m/.mp3") << QByteArray("");
    QTest::newRow("folder only") << QByteArray("/m/") << QByteArray("");
    QTest::newRow("dot in folder") << QByteArray("/m.x/name") << QByteArray("name");
    QTest::newRow("colon is a plain character") << QByteArray("/m/a:b.mp3") << QByteArray("a:b");
    QTest::newRow("no folder") << QByteArray("x.lvn") << QByteArray("x");
}

void TestParseNames::baseFileName() {
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, base);
    QCOMPARE(BaseFileName(path), base);
}

void TestParseNames::cleanNamePart_data() {
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("underscores") << QByteArray("_Some_Band_") << QByteArray("Some Band");
    QTest::newRow("blanks only") << QByteArray(" _ _ ") << QByteArray("");
    QTest::newRow("tabs stay") << QByteArray("\tx\t ") << QByteArray("\tx\t");
    QTest::newRow("inner blanks stay") << QByteArray("  a   b ") << QByteArray("a   b");
}

void TestParseNames::cleanNamePart() {
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QCOMPARE(CleanNamePart(in), out);
}

void TestParseNames::wholeNumber_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("whole");
    const struct {
        const char* text;
        bool whole;
    } rows[] = {
        {"03", true},        {"+7", true},          {"-7", true},           {"  12", true},
        {"$1F", true},       {"0x1F", true},        {"0X1f", true},         {"x1F", true},
        {"X1F", true},       {"-$10", true},        {"2147483647", true},   {"-2147483648", true},
        {"$7FFFFFFF", true}, {"2147483648", false}, {"-2147483649", false}, {"$80000000", false},
        {"1a", false},       {"", false},           {"$", false},           {"0x", false},
        {"12 ", false},      {"1\t", false},        {"+", false},           {"1.5", false},
        {"0x0x1", false},    {"00x1", false}};
    for (const auto& row : rows)
        QTest::newRow(row.text[0] ? row.text : "(empty)") << QByteArray(row.text) << row.whole;
}

void TestParseNames::wholeNumber() {
    QFETCH(QByteArray, text);
    QFETCH(bool, whole);
    QCOMPARE(IsWholeNumber(text), whole);
}

void TestParseNames::patterns_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("switches"); // t b c d, in that order; '-' for off
    QTest::addColumn<QByteArray>("separator");
    QTest::addColumn<QByteArray>("artist");
    QTest::addColumn<QByteArray>("title");
    const QByteArray x = "-=-";
    const QByteArray unknown = UnknownArtist;
    auto row = [&](const char* name, const char* path, const char* sw, const QByteArray& sep,
                   const QByteArray& artist, const QByteArray& title) {
        QTest::newRow(name) << QByteArray(path) << QString::fromLatin1(sw) << sep << artist
                            << title;
    };
    // The worked examples.
    row("track", "/m/03 - Some Band - First Song.mp3", "tbcd", x, "Some Band", "03 - First Song");
    row("track falls to dash", "Intro - Some Band - Live.mp3", "tbcd", x, "Intro",
        "Some Band - Live");
    row("parentheses", "(Some Band) First_Song.mp3", "tbcd", x, "Some Band", "First Song");
    row("square brackets", "First Song [Some Band] Live.mp3", "tbcd", x, "Some Band", "Live");
    row("custom", "Some Band -=- First Song.mp3", "tbcd", x, "Some Band", "First Song");
    row("custom off", "Some Band -=- First Song.mp3", "tb-d", x, "Some Band", "=- First Song");
    row("underscores", "Some_Band-First_Song.mp3", "tbcd", x, "Some Band", "First Song");
    row("no pattern", "song.mp3", "tbcd", x, unknown, "song");
    // Boundaries of the dash pattern.
    row("leading dash", "-Song.mp3", "tbcd", x, unknown, "-Song");
    row("trailing dash", "Artist-.mp3", "tbcd", x, unknown, "Artist-");
    row("shortest dash", "A-B.mp3", "---d", x, "A", "B");
    row("two characters", "A-.mp3", "---d", x, unknown, "A-");
    row("dash off", "A - B.mp3", "tbc-", x, unknown, "A - B");
    // Boundaries of the bracket pattern.
    row("bracket last", "Song (Band).mp3", "-b-d", x, unknown, "Song (Band)");
    row("bracket last then dash", "S-ong (Band).mp3", "-b-d", x, "S", "ong (Band)");
    row("close before open", "Band) (Live) Song.mp3", "-b--", x, unknown, "Band) (Live) Song");
    row("stray close, squares fit", "Band) [Live] Song.mp3", "-b--", x, "Live", "Song");
    row("empty brackets", "() Song.mp3", "-b--", x, unknown, "() Song");
    row("parentheses before squares", "[A] (B) C.mp3", "-b--", x, "B", "C");
    // Track pattern details.
    row("hex track $", "$1F - A - B.mp3", "t---", x, "A", "$1F - B");
    row("hex track 0x", "0x1F-A-B.mp3", "t---", x, "A", "0x1F - B");
    row("not a number", "1a - A - B.mp3", "t---", x, unknown, "1a - A - B");
    row("empty track part", " - A - B.mp3", "t---", x, unknown, "- A - B");
    row("nothing between dashes", "01--B.mp3", "t--d", x, "01", "-B");
    row("nothing after second dash", "01-A-.mp3", "t--d", x, "01", "A-");
    // Custom separator details.
    row("empty separator", "A-=-B.mp3", "--c-", "", unknown, "A-=-B");
    row("separator at start", "-=-B.mp3", "--c-", x, unknown, "-=-B");
    row("separator at end", "A-=-.mp3", "--c-", x, unknown, "A-=-");
    row("long separator", "A by B.mp3", "--c-", " by ", "A", "B");
    // Names are cut as given: blank parts, folders, several dots, case.
    row("blank artist", "_ _-Song.mp3", "---d", x, unknown, "Song");
    row("no artist", " - Song.mp3", "---d", x, unknown, "Song");
    row("hidden artist", ".Band - Song.mp3", "---d", x, "Band", "Song");
    row("dots only", ". . - Song.mp3", "---d", x, unknown, "Song");
    row("folder with dashes", "/a-b/(c)/song.mp3", "tbcd", x, unknown, "song");
    row("several dots", "Band - Song.live.mp3", "---d", x, "Band", "Song.live");
    row("case kept", "sOmE bAnD - TiTlE.mp3", "---d", x, "sOmE bAnD", "TiTlE");
    row("not UTF-8", "/m/\xff\xfe - T\xe9.mp3", "---d", x, "\xff\xfe", "T\xe9");
}

void TestParseNames::patterns() {
    QFETCH(QByteArray, path);
    QFETCH(QString, switches);
    QFETCH(QByteArray, separator);
    QFETCH(QByteArray, artist);
    QFETCH(QByteArray, title);
    NamePatterns p;
    p.track = switches[0] == u't';
    p.bracket = switches[1] == u'b';
    p.custom = switches[2] == u'c';
    p.dash = switches[3] == u'd';
    p.separator = separator;
    QCOMPARE(ParseArtist(path, p), artist);
    QCOMPARE(ParseSongTitle(path, p), title);
}

// A name reads as UTF-8, else as Windows-1252; an edit keeps the bytes of every
// character it left alone, and new ones go in the name's code page where they can.
void TestParseNames::editedNames_data() {
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Latin-1, new characters in and beyond the code page")
        << QByteArray("Cr\xe8me") << QStringLiteral("Crème") << QStringLiteral("Crème brûlée 日")
        << QByteArray("Cr\xe8me br\xfbl\xe9"
                      "e \xe6\x97\xa5");
    QTest::newRow("Latin-1, edits in three places")
        << QByteArray("Caf\xe9 de Fl\xf4re") << QStringLiteral("Café de Flôre")
        << QStringLiteral("Café du Flore 1") << QByteArray("Caf\xe9 du Flore 1");
    QTest::newRow("Windows-1252 punctuation")
        << QByteArray("\x93Quote\x94 \x80") << QStringLiteral("“Quote” €")
        << QStringLiteral("“Quote” € Ÿ") << QByteArray("\x93Quote\x94 \x80 \x9f");
    QTest::newRow("bytes neither UTF-8 nor Windows-1252")
        << QByteArray("A\x81"
                      "B\x8d\x8f\x90\x9d")
        << QStringLiteral("A\uFFFDB\uFFFD\uFFFD\uFFFD\uFFFD")
        << QStringLiteral("xA\uFFFDC\uFFFD\uFFFD\uFFFD\uFFFD")
        << QByteArray("xA\x81"
                      "C\x8d\x8f\x90\x9d");
    QTest::newRow("each part of a path reads on its own")
        << QByteArray("/m\xc3\xbcsik/Caf\xe9.mp3") << QStringLiteral("/müsik/Café.mp3")
        << QStringLiteral("/müsik/Café 2.mp3") << QByteArray("/m\xc3\xbcsik/Caf\xe9 2.mp3");
}

void TestParseNames::editedNames() {
    QFETCH(QByteArray, original);
    QFETCH(QString, edited);
    QTEST(DisplayText(original), "shown");
    QCOMPARE(EditedNameBytes(original, DisplayText(original)), original);
    QTEST(EditedNameBytes(original, edited), "bytes");
    // A typed name that reads as a listed entry names that entry.
    QCOMPARE(TypedNameBytes(DisplayText(original), {"x", original}), original);
}

QTEST_APPLESS_MAIN(TestParseNames)
#include "tst_building_parse_names.moc"
