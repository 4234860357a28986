#include "tst_metadata_mpegfile_data.h"

#include "SongDetailsPanel.h"
#include "metadata/MP3Info.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace mpegdata;

class TstDetails : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QByteArray write(const char* name, const QByteArray& data) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        writeFile(path, data);
        return QFile::encodeName(path);
    }
    template <typename T> static T* child(SongDetailsPanel& panel, const char* name) {
        T* w = panel.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    static QStringList edits(SongDetailsPanel& p) {
        QStringList texts;
        for (const char* name : {"Title", "Artist", "Album", "Year", "Comment"})
            texts << child<QLineEdit>(p, name)->text();
        return texts;
    }
    static QStringList streamLines(SongDetailsPanel& p) {
        QStringList texts;
        for (const char* name : {"BitRate", "Bytes", "Layer", "Seconds"})
            texts << child<QLabel>(p, name)->text();
        return texts;
    }
    static QString errorShown(SongDetailsPanel& p) {
        QLabel* label = child<QLabel>(p, "ErrorMsg");
        return label->isVisibleTo(&p) ? label->text() : QString();
    }
    // Presses the button and returns the text of the message box it opens, if any.
    static QString pressAndReadMessage(QPushButton* button) {
        QString text;
        // Owned here, so a timer left over when no box opened dies with the call.
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [&text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                box->accept();
            }
        });
        closer.start(0);
        button->click();
        return text;
    }

    static QByteArray tag(const QByteArray& title, quint8 genre) {
        QByteArray t = mpegdata::id3v1(title);
        t.replace(33, 6, "Artist");
        t.replace(93, 4, "1999");
        t[127] = char(genre);
        return t;
    }

private slots:
    void genreListSortedWithIndexes() {
        SongDetailsPanel panel;
        QComboBox* genre = child<QComboBox>(panel, "Genre");
        QCOMPARE(genre->count(), 116);
        QCOMPARE(genre->maxVisibleItems(), 5);
        for (int i = 1; i < genre->count(); ++i)
            QVERIFY(genre->itemText(i - 1).compare(genre->itemText(i), Qt::CaseInsensitive) <= 0);
        QCOMPARE(genre->itemText(genre->findData(14)), QStringLiteral("R&B"));
        QCOMPARE(genre->itemText(genre->findData(115)), QStringLiteral("Folklore"));
    }

    void showSong_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        const QStringList tagLines{"Bitrate: 128 kbps, 44100 Hz", "Bytes: 1040128", "Layer: 3",
                                   "Length: 1:05"};
        QTest::newRow("tagged") << frame(V1L3_128, 1040000) + tag("Song", 115)
                                << QStringList{"Song", "Artist", "", "1999", ""} << "Folklore"
                                << tagLines << QString();
        QTest::newRow("untagged") << frame(V1L3_128, 1040128) << QStringList{"", "", "", "", ""}
                                  << "Other" << tagLines << QString();
        QTest::newRow("under 128 bytes")
            << QByteArray(100, 'x') << QStringList{"", "", "", "", ""} << "Other"
            << QStringList{"Bitrate: 0 kbps, 0 Hz", "Bytes: 100", "Layer: 0", "Length: 0:00"}
            << "Error getting ID3 tag.";
    }
    void showSong() {
        QFETCH(QByteArray, data);
        SongDetailsPanel panel;
        // What the previous song left in the fields must go.
        panel.showSong(write("before.mp3", frame(V1L3_128, 2000) + tag("Before", 1)));
        QCOMPARE(child<QLineEdit>(panel, "Title")->text(), QStringLiteral("Before"));
        QSignalSpy caption(&panel, &SongDetailsPanel::captionChanged);
        const QByteArray path = write("song.mp3", data);
        panel.showSong(path);
        QCOMPARE(caption.count(), 1);
        QCOMPARE(caption.at(0).at(0).toString(), QFile::decodeName(path));
        QTEST(edits(panel), "fields");
        QTEST(streamLines(panel), "lines");
        QTEST(errorShown(panel), "error");
        if (panel.mp3Info()->Valid())
            QTEST(child<QComboBox>(panel, "Genre")->currentText(), "genre");
        else // the previous song's genre is not offered for saving
            QCOMPARE(child<QComboBox>(panel, "Genre")->currentIndex(), -1);
    }

    void missingFileKeepsStreamLines_data() {
        QTest::addColumn<QByteArray>("missing");
        QTest::newRow("no such file") << QByteArray("missing.mp3");
        // An entry that resolved to no line, beside a tagged file called "null".
        QTest::newRow("unresolved entry") << QByteArray("null");
    }
    void missingFileKeepsStreamLines() {
        QFETCH(QByteArray, missing);
        const QByteArray decoy = frame(V1L3_128, 2000) + tag("Decoy", 3);
        write("null", decoy);
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        SongDetailsPanel panel;
        panel.showSong(write("song.mp3", frame(V1L3_128, 1040000) + tag("Song", 3)));
        const QStringList before = streamLines(panel);
        panel.showSong(missing);
        QCOMPARE(errorShown(panel), QStringLiteral("File doesn't exist!"));
        QCOMPARE(edits(panel), (QStringList{"", "", "", "", ""}));
        QCOMPARE(streamLines(panel), before);
        child<QLineEdit>(panel, "Title")->setText(QStringLiteral("Saved"));
        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button2")), QString());
        QDir::setCurrent(cwd);
        QFile kept(m_dir.filePath(QStringLiteral("null")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), decoy);
        panel.showSong(write("again.mp3", frame(V1L3_128, 2000)));
        QCOMPARE(errorShown(panel), QString());
    }

    // A file whose size promises more than it holds (as one that shrinks while read).
    void streamReadFailure() {
        const QByteArray path("/sys/kernel/mm/transparent_hugepage/enabled");
        if (!QFile::exists(QString::fromLatin1(path)))
            QSKIP("no sysfs file that promises more than it holds");
        SongDetailsPanel panel;
        panel.showSong(path);
        QCOMPARE(streamLines(panel),
                 (QStringList{"Bitrate:", "Bytes:", "Layer: 0", "Length: 0:00"}));
        QVERIFY(!errorShown(panel).isEmpty());
    }

    void saveAndRemove() {
        const QByteArray audio = frame(V1L3_128, 5000);
        const QByteArray path = write("edit.mp3", audio);
        SongDetailsPanel panel;
        panel.showSong(path);
        // Typing stops where the field is full.
        QTest::keyClicks(child<QLineEdit>(panel, "Title"), QString(35, 'T'));
        QTest::keyClicks(child<QLineEdit>(panel, "Year"), QStringLiteral("199999"));
        QComboBox* genre = child<QComboBox>(panel, "Genre");
        genre->setCurrentIndex(genre->findData(17));
        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button2")), QString());
        QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), audio.size() + 128);

        TMP3Info check;
        check.setFilename(path);
        QCOMPARE(check.Title(), QString(30, 'T'));
        QCOMPARE(check.Year(), QStringLiteral("1999"));
        QCOMPARE(check.Genre(), QStringLiteral("Rock"));

        genre->setCurrentIndex(-1);
        child<QPushButton>(panel, "Button2")->click();
        check.setFilename(path);
        QCOMPARE(check.GenreID(), 12);
        QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), audio.size() + 128);

        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button3")), QString());
        QCOMPARE(QFileInfo(QFile::decodeName(path)).size(), audio.size());
        // The panel shows the file as it is now.
        QCOMPARE(edits(panel), (QStringList{"", "", "", "", ""}));
        QCOMPARE(streamLines(panel).at(1), QStringLiteral("Bytes: %1").arg(audio.size()));
    }

    // Nothing is written when a value does not fit the tag; a genre left alone keeps
    // its stored byte.
    void saveRefusesWhatTheTagCannotHold_data() {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("outside the set")
            << QByteArray("windows-1252") << QStringLiteral(u"\u03A9mega \u65E5\u672C")
            << QStringLiteral(u"Western (Windows-1252) cannot store these characters: "
                              u"\u03A9\u65E5\u672C\nThe tag was not changed.");
        QTest::newRow("fits") << QByteArray("UTF-8") << QString(15, QChar(0x00E9)) << QString();
    }
    void saveRefusesWhatTheTagCannotHold() {
        QFETCH(QByteArray, charset);
        QFETCH(QString, title);
        QFETCH(QString, message);
        const QByteArray path = write("refuse.mp3", frame(V1L3_128, 5000) + tag("Old", 255));
        SongDetailsPanel panel;
        panel.setCharset(charset);
        panel.showSong(path);
        child<QLineEdit>(panel, "Title")->setText(title); // pasted, past the fields' check
        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button2")), message);
        TMP3Info check;
        check.setCharset(charset);
        check.setFilename(path);
        QCOMPARE(check.Title(), message.isEmpty() ? title : QStringLiteral("Old"));
        QCOMPARE(check.genreByte(), quint8(255));
    }

    void writeFailuresShowMessages() {
        const QByteArray path = write("shrinks.mp3", frame(V1L3_128, 5000) + tag("S", 0));
        SongDetailsPanel panel;
        panel.showSong(path);
        write("shrinks.mp3", "tiny");
        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button2")),
                 QStringLiteral("Error saving ID3 tag."));
        QCOMPARE(pressAndReadMessage(child<QPushButton>(panel, "Button3")),
                 QStringLiteral("Error removing ID3 tag."));
    }
};

QTEST_MAIN(TstDetails)
#include "tst_ui_details.moc"
