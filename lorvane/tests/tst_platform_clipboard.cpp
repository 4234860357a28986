// The file list that a copy puts on the clipboard: its three formats, and, on a real X
// server, what another program reads from it.
#include "support/WindowRig.h"

#include "TListBox.h"
#include "platform/FileClipboard.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace lorvane;
using namespace windowtest;

namespace {

// What xclip reads from the clipboard for one target; the event loop runs meanwhile,
// because this process owns the clipboard and has to answer.
QByteArray readClipboard(const QString& target) {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), target, QStringLiteral("-o")});
    if (!xclip.waitForStarted(5000))
        return "<xclip did not start>";
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (xclip.state() != QProcess::NotRunning)
        loop.exec();
    if (xclip.state() != QProcess::NotRunning) {
        xclip.kill();
        xclip.waitForFinished(1000);
        return "<xclip did not finish>";
    }
    return xclip.readAllStandardOutput();
}

} // namespace

class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void formats_data() {
        const QByteArray cwd = QFile::encodeName(QDir::currentPath());
        QTest::addColumn<QByteArrayList>("paths");
        QTest::addColumn<QByteArrayList>("uris");
        QTest::newRow("plain names")
            << QByteArrayList{"/music/a.mp3", "/music/b.mp3"}
            << QByteArrayList{"file:///music/a.mp3", "file:///music/b.mp3"};
        QTest::newRow("blanks and signs")
            << QByteArrayList{"/m/Some Band - #1 (50%).mp3"}
            << QByteArrayList{"file:///m/Some%20Band%20-%20%231%20%2850%25%29.mp3"};
        QTest::newRow("UTF-8 and other bytes")
            << QByteArrayList{"/m/Caf\xc3\xa9.mp3", "/m/Caf\xe9.mp3"}
            << QByteArrayList{"file:///m/Caf%C3%A9.mp3", "file:///m/Caf%E9.mp3"};
        QTest::newRow("relative to the current folder")
            << QByteArrayList{"sub/x.mp3"}
            << QByteArrayList{"file://" + cwd.toPercentEncoding("/") + "/sub/x.mp3"};
    }
    void formats() {
        QFETCH(QByteArrayList, paths);
        QFETCH(QByteArrayList, uris);
        const std::unique_ptr<QMimeData> data(FileListMimeData(paths));
        QCOMPARE(data->data(QStringLiteral("text/uri-list")), uris.join("\r\n") + "\r\n");
        QCOMPARE(data->data(QStringLiteral("x-special/gnome-copied-files")),
                 "copy\n" + uris.join('\n'));
        QCOMPARE(data->data(QStringLiteral("text/plain")), paths.join('\n'));
        // Every URI names its file again, byte for byte.
        for (qsizetype i = 0; i < uris.size(); ++i) {
            const QByteArray decoded = QByteArray::fromPercentEncoding(uris[i].mid(7));
            QCOMPARE(decoded.endsWith(paths[i]), true);
        }
    }

    // Three songs copied from the window can be read by another client of the X
    // server, in song-list order.
    void anotherProgramReadsTheCopy() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (the xvfb fixture)");
        if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            QSKIP("xclip is not installed");
        WindowRig rig;
        rig.file("Blues", "Muddy",
                 {"Muddy - Mannish Boy.mp3", "Muddy - Hoochie.mp3", "Muddy - Baby #2.mp3"});
        SystemFileClipboard clipboard;
        rig.build(&clipboard);
        TListBox* songs = rig.list("SongList");
        songs->selectAll();
        rig.part<QAction>("CopyMp3File")->trigger();

        const QByteArrayList targets = readClipboard(QStringLiteral("TARGETS")).split('\n');
        for (const char* wanted : {"text/uri-list", "x-special/gnome-copied-files", "text/plain"})
            QVERIFY2(targets.contains(wanted), targets.join(' ').constData());

        QByteArrayList uris;
        for (const char* title : {"Baby #2", "Hoochie", "Mannish Boy"})
            uris << "file://" +
                        rig.song(QByteArray("Muddy - ") + title + ".mp3").toPercentEncoding("/");
        QCOMPARE(readClipboard(QStringLiteral("text/uri-list")), uris.join("\r\n") + "\r\n");
        QCOMPARE(readClipboard(QStringLiteral("x-special/gnome-copied-files")),
                 "copy\n" + uris.join('\n'));
        QCOMPARE(readClipboard(QStringLiteral("text/plain")),
                 rig.song("Muddy - Baby #2.mp3") + '\n' + rig.song("Muddy - Hoochie.mp3") + '\n' +
                     rig.song("Muddy - Mannish Boy.mp3"));

        // The clipboard keeps its copy after the window has gone.
        rig.form.reset();
        QCOMPARE(readClipboard(QStringLiteral("text/uri-list")), uris.join("\r\n") + "\r\n");
    }
};

QTEST_MAIN(TestClipboard)
#include "tst_platform_clipboard.moc"
