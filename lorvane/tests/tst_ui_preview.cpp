// The preview of the name patterns, the report after a scan and the choice of the tag
// character set, in the main window.
#include "support/Collection.h"
#include "support/WindowRig.h"

#include "MainWindow.h"
#include "NamePreviewPanel.h"
#include "SongDetailsPanel.h"
#include "TListBox.h"
#include "building/NamePreview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace lorvane;

namespace {

template <typename T> T* part(const QObject* form, const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no component %s", name);
    return found;
}

QStringList patternsShown(const NamePreviewPanel* panel) {
    QStringList shown;
    for (const PreviewRow& row : panel->shown().rows)
        shown << QString::fromUtf8(BaseFileName(row.path) + '=' + row.name.artist + '/' +
                                   PatternName(row.name.pattern));
    return shown;
}

} // namespace

class TstPreview : public QObject {
    Q_OBJECT

    QTemporaryDir m_music;

private slots:
    void initTestCase() {
        for (const char* name : {"Band - Song.mp3", "(Group) Tune.mp3", "01 - Solo - Track.mp3",
                                 "noname.mp3", "sub/Duo - Two.mp3", "notes.txt"})
            wintest::touch(m_music.filePath(QString::fromLatin1(name)));
    }

    void summaryCountsAllAndListsTheFirst_data() {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("unnamed");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("summary");
        QTest::newRow("one") << 1 << 0 << 1 << "1 file: 1 named, 0 with no pattern";
        QTest::newRow("beyond the limit")
            << 2314 << 213 << 1000 << "2,314 files: 2,101 named, 213 with no pattern";
    }
    void summaryCountsAllAndListsTheFirst() {
        QFETCH(int, files);
        QFETCH(int, unnamed);
        QByteArrayList paths;
        for (int i = 0; i < files; ++i)
            paths << (i < unnamed ? QByteArray("/m/song.mp3") : QByteArray("/m/A - B.mp3"));
        const NamePreview preview = PreviewNames(paths, NamePatterns());
        QTEST(int(preview.rows.size()), "listed");
        QTEST(PreviewSummary(preview), "summary");
    }

    void aStoppedSearchEndsWithWhatItFound() {
        const std::atomic<bool> stop{true};
        QCOMPARE(PreviewFiles(QFile::encodeName(m_music.path()), true, false, &stop),
                 QByteArrayList());
        QCOMPARE(PreviewFiles(QFile::encodeName(m_music.path()), false, false).size(), 4);
    }

    void probePreviewPrintsWhatTheScanWouldFile() {
        QProcess probe;
        probe.start(qEnvironmentVariable("LORVANE_BIN_DIR") + QStringLiteral("/lorvane-probe"),
                    {"preview", "--dash", "--no-recurse", "--limit", "1", m_music.path()});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        const QList<QByteArray> lines = probe.readAllStandardOutput().split('\n');
        QCOMPARE(lines.size(), 3); // one file, the summary, the end of the last line
        QCOMPARE(lines[0].count('\t'), 3);
        QVERIFY(lines[0].startsWith(QFile::encodeName(m_music.path()) + '/'));
        QCOMPARE(lines[1], QByteArray("4 files: 2 named, 2 with no pattern"));
    }

    // Mouse clicks on the toggle and the switches; the database stays as it was.
    void previewFollowsTheSwitches() {
        windowtest::WindowRig rig;
        TForm1* form = &rig.build();
        part<QLineEdit>(form, "CustomDir")->setText(m_music.path());
        QTest::mouseClick(part<QPushButton>(form, "AddMP3s"), Qt::LeftButton);
        auto* panel = form->Preview();
        part<QComboBox>(panel, "PreviewRoot")->setCurrentIndex(NamePreviewPanel::SpecificDir);
        QTest::mouseClick(form->Adding().previewButton(), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        auto* summary = part<QLabel>(panel, "PreviewSummary");
        QTRY_COMPARE(summary->text(), QStringLiteral("5 files: 4 named, 1 with no pattern"));
        QVERIFY(patternsShown(panel).contains("01 - Solo - Track=01/dash"));

        QTest::mouseClick(part<QCheckBox>(form, "TrackFormat"), Qt::LeftButton);
        QTRY_VERIFY(patternsShown(panel).contains("01 - Solo - Track=Solo/track"));
        QCOMPARE(patternsShown(panel).filter("/bracket"),
                 QStringList({"(Group) Tune=Group/bracket"}));
        QTest::mouseClick(part<QCheckBox>(form, "Recurse"), Qt::LeftButton);
        QTRY_COMPARE(summary->text(), QStringLiteral("4 files: 3 named, 1 with no pattern"));

        QTest::mouseClick(form->Adding().previewButton(), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(QDir(rig.homeDir() + "/LVNDB").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void theScanReportSelectsTheUnnamedSongs() {
        windowtest::WindowRig rig;
        TForm1* form = &rig.build();
        part<QLineEdit>(form, "CustomDir")->setText(m_music.path());
        QTest::mouseClick(part<QPushButton>(form, "AddMP3s"), Qt::LeftButton);
        QTest::mouseClick(part<QPushButton>(form, "BitBtn1"), Qt::LeftButton);
        QPushButton* report = form->Adding().scanReport();
        QVERIFY(report->isVisible());
        QCOMPARE(report->text(), QStringLiteral("Last scan: 5 added, 0 already filed, 1 with no "
                                                "pattern (click to see ! Unknown Artist !)"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Lorvane"));
        QTest::mouseClick(report, Qt::LeftButton);
        auto* artists = part<TListBox>(form, "ArtistList");
        QCOMPARE(artists->textAt(artists->itemIndex()), QStringLiteral("! Unknown Artist !"));
        auto* songs = part<TListBox>(form, "SongList");
        QCOMPARE(songs->count(), 1);
        QCOMPARE(songs->textAt(0), QStringLiteral("noname"));

        QTest::mouseClick(part<QPushButton>(form, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(report->text(),
                 QStringLiteral("Last scan: 0 added, 5 already filed, 0 with no pattern"));
    }

    // The shown song is read again in the chosen set, and the choice is kept.
    void switchingTheCharsetRereadsTheSong() {
        QByteArray tag(128, ' ');
        tag.replace(0, 3, "TAG");
        tag.replace(3, 4, "\xca\xe8\xed\xee");
        const QString song = m_music.filePath(QStringLiteral("Kino - Gruppa.mp3"));
        wintest::touch(song, QByteArray(500, 'a') + tag);
        windowtest::WindowRig rig;
        wintest::writeArtist(rig.homeDir(), "Rock", "Kino", {song});
        TForm1* form = &rig.build();
        auto* title = part<QLineEdit>(form->DetailsPanel(), "Title");
        auto* songs = part<TListBox>(form, "SongList");
        QTest::mouseClick(songs->viewport(), Qt::LeftButton, {},
                          songs->visualItemRect(songs->item(0)).center());
        QCOMPARE(title->text(), QStringLiteral(u"\u00CA\u00E8\u00ED\u00EE"));
        const QList<QAction*> sets = part<QMenu>(form, "Id3Charset")->actions();
        sets.at(2)->trigger(); // Cyrillic (Windows-1251)
        QCOMPARE(title->text(), QStringLiteral(u"\u041A\u0438\u043D\u043E"));
        form->WriteSettings();
        QCOMPARE(rig.settings.values.value("id3charset").toString(),
                 QStringLiteral("windows-1251"));
    }
};

QTEST_MAIN(TstPreview)
#include "tst_ui_preview.moc"
