#include "files/FindFiles.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/Scanner.h"
#include "support/Fixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace lorvane;

namespace {

// The child: files every song of the tree, one AddSong at a time ("single") or as
// scans that write every millisecond ("scan"), again and again until it is killed.
int childMain(const QByteArray& mode, const QByteArray& home, const QByteArray& music, bool once) {
    ArtistStore store(home);
    const QByteArrayList paths = FindFiles(music, "*.mp3", FindOptions{.recurse = true});
    std::fputs("go\n", stdout);
    std::fflush(stdout);
    do {
        if (mode == "single") {
            for (const QByteArray& path : paths)
                store.AddSong(path, NamePatterns(), "", true);
        } else {
            Scanner scanner(store);
            scanner.setFlushInterval(1);
            scanner.AddFromFolder(music, true, NamePatterns(), "", nullptr);
        }
    } while (!once);
    return 0;
}

} // namespace

class TestCrashKill : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWritesLeaveWholeFiles();
    void cleanupTestCase();

private:
    // Starts a child and returns once it is filing songs.
    QProcess* startChild(const QByteArray& mode, bool once);
    // Every artist file holds whole CR LF lines of its own artist's songs, none twice.
    void verifyWhole(QSet<QByteArray>* seenPaths);

    QTemporaryDir m_dir;
    QByteArray m_home;
    QByteArray m_music;
    QSet<QByteArray> m_paths;
};

void TestCrashKill::initTestCase() {
    m_home = m_dir.path().toUtf8() + "/home";
    m_music = m_dir.path().toUtf8() + "/music/";
    for (int i = 0; i < 1200; ++i) {
        const QByteArray path = m_music + "d" + QByteArray::number(i % 4) + "/Artist " +
                                QByteArray::number(i % 40) + " - Song " + QByteArray::number(i) +
                                ".mp3";
        coretest::writeBytes(path);
        m_paths.insert(path);
    }
}

void TestCrashKill::cleanupTestCase() {
    coretest::removeTree(m_dir.path().toUtf8());
}

QProcess* TestCrashKill::startChild(const QByteArray& mode, bool once) {
    auto* child = new QProcess(this);
    QStringList args = {QStringLiteral("--child"), QString::fromUtf8(mode),
                        QString::fromUtf8(m_home), QString::fromUtf8(m_music)};
    if (once)
        args.append(QStringLiteral("--once"));
    child->start(QCoreApplication::applicationFilePath(), args);
    if (!child->waitForReadyRead(30000) || child->readLine() != "go\n")
        qFatal("the child did not start");
    return child;
}

void TestCrashKill::verifyWhole(QSet<QByteArray>* seenPaths) {
    for (const QByteArray& file :
         FindFiles(m_home + "/LVNDB/", "*.lvn", FindOptions{.recurse = true})) {
        const QByteArray content = coretest::readBytes(file);
        QVERIFY2(!content.isEmpty() && content.endsWith("\r\n"), file.constData());
        QByteArrayList lines = content.split('\n');
        lines.removeLast(); // after the final line end
        QSet<QByteArray> inFile;
        for (QByteArray line : lines) {
            QVERIFY2(line.endsWith('\r'), file.constData());
            line.chop(1);
            QVERIFY2(m_paths.contains(line), line.constData());
            QCOMPARE(ArtistFile::nameKey(ParseArtist(line, NamePatterns())),
                     ArtistFile::nameKey(BaseFileName(file)));
            QVERIFY2(!inFile.contains(line), line.constData());
            inFile.insert(line);
            if (seenPaths)
                seenPaths->insert(line);
        }
    }
}

void TestCrashKill::killedWritesLeaveWholeFiles() {
    // How long one complete filing takes decides the window in which the kills land.
    qint64 window[2];
    const QByteArray modes[2] = {"single", "scan"};
    for (int m = 0; m < 2; ++m) {
        coretest::removeTree(m_home);
        coretest::writeBytes(m_home + "/LVNDB/");
        QElapsedTimer timer;
        QProcess* child = startChild(modes[m], true);
        timer.start();
        QVERIFY(child->waitForFinished(120000));
        window[m] = qMax<qint64>(timer.elapsed(), 5);
        delete child;
    }

    for (int kill = 0; kill < 20; ++kill) {
        const int m = kill % 2;
        coretest::removeTree(m_home);
        coretest::writeBytes(m_home + "/LVNDB/");
        QProcess* child = startChild(modes[m], false);
        QThread::msleep(QRandomGenerator::global()->bounded(quint32(window[m])));
        ::kill(pid_t(child->processId()), SIGKILL);
        QVERIFY(child->waitForFinished(30000));
        QCOMPARE(child->exitStatus(), QProcess::CrashExit);
        delete child;
        verifyWhole(nullptr);

        // A rescan completes the set, each song exactly once.
        ArtistStore store(m_home);
        QVERIFY(Scanner(store)
                    .AddFromFolder(m_music, true, NamePatterns(), "", nullptr)
                    .error.isEmpty());
        QSet<QByteArray> seen;
        verifyWhole(&seen);
        QCOMPARE(seen.size(), m_paths.size());
    }
}

int main(int argc, char* argv[]) {
    if (argc >= 5 && std::strcmp(argv[1], "--child") == 0)
        return childMain(argv[2], argv[3], argv[4],
                         argc > 5 && std::strcmp(argv[5], "--once") == 0);
    QCoreApplication app(argc, argv);
    TestCrashKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store_crash_kill.moc"
