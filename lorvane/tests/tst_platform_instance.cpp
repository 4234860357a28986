#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using lorvane::SingleInstance;

namespace {

// Any user but this one, for what a stranger leaves in shared places.
constexpr uid_t kStranger = 65534;

} // namespace

class TstInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString socketName(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // What a crashed instance leaves: a socket file nobody listens on.
    static void leaveStaleSocket(const QString& path) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray bytes = QFile::encodeName(path);
        qstrncpy(addr.sun_path, bytes.constData(), sizeof addr.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        QCOMPARE(::listen(fd, 1), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(path));
    }

private slots:
    void aSecondStartReachesTheFirst() {
        SingleInstance first(socketName("a"));
        QVERIFY(!first.notifyRunning(200));
        QVERIFY(first.listen());
        QSignalSpy popups(&first, &SingleInstance::popupRequested);

        SingleInstance second(socketName("a"));
        QVERIFY(second.notifyRunning());
        QVERIFY(popups.wait(2000));
        QCOMPARE(popups.count(), 1);

        SingleInstance third(socketName("a"));
        QVERIFY(third.notifyRunning());
        QTRY_COMPARE(popups.count(), 2);
    }

    void aStaleSocketDoesNotBlockTheNextStart() {
        const QString name = socketName("stale");
        leaveStaleSocket(name);
        SingleInstance next(name);
        QVERIFY(!next.notifyRunning(200));
        QVERIFY(next.listen());
        QSignalSpy popups(&next, &SingleInstance::popupRequested);
        SingleInstance later(name);
        QVERIFY(later.notifyRunning());
        QVERIFY(popups.wait(2000));
    }

    void otherTextOnTheSocketIsIgnored() {
        SingleInstance first(socketName("b"));
        QVERIFY(first.listen());
        QSignalSpy popups(&first, &SingleInstance::popupRequested);
        QLocalSocket stranger;
        stranger.connectToServer(socketName("b"));
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write("Popup Somebody Else\n");
        QVERIFY(stranger.waitForBytesWritten(1000));
        stranger.disconnectFromServer();
        QTest::qWait(200);
        QCOMPARE(popups.count(), 0);
    }

    void defaultNameIsPerUser() {
        const QString name = SingleInstance::defaultServerName();
        QVERIFY(name.contains(QLatin1String("Popup Lorvane")));
        QVERIFY(name.startsWith(QLatin1Char('/')));
    }

    void defaultNameIsInAFolderOfTheUser_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("shared");
        QTest::addColumn<QString>("expected");
        QTest::newRow("runtime folder") << "own"
                                        << ""
                                        << "runtime";
        QTest::newRow("no runtime folder") << ""
                                           << ""
                                           << "tmp";
        QTest::newRow("runtime folder of a stranger") << "stranger"
                                                      << ""
                                                      << "tmp";
        QTest::newRow("shared folder taken by a stranger") << ""
                                                           << "stranger"
                                                           << "cache";
        QTest::newRow("shared folder a link") << ""
                                              << "link"
                                              << "cache";
    }

    // What another user leaves in a shared folder is never taken for the socket's folder.
    void defaultNameIsInAFolderOfTheUser() {
        QFETCH(QString, runtime);
        QFETCH(QString, shared);
        QFETCH(QString, expected);
        if ((runtime == "stranger" || shared == "stranger") && ::geteuid() != 0)
            QSKIP("only root can leave a folder of another user");
        QTemporaryDir base(QDir::rootPath() + "tmp/lvn-XXXXXX");
        const QString own = "/lorvane-runtime-" + QString::number(::geteuid());
        const QString folders[] = {base.filePath("run"), base.filePath("tmp") + own,
                                   base.filePath("cache") + own};
        QVERIFY(QDir().mkpath(base.filePath("tmp")));
        const auto plant = [&](const QString& path, const QString& kind) {
            if (kind == "link")
                QVERIFY(QFile::link(base.path(), path));
            else if (!kind.isEmpty())
                QCOMPARE(::mkdir(QFile::encodeName(path).constData(), 0700), 0);
            if (kind == "stranger")
                QCOMPARE(::chown(QFile::encodeName(path).constData(), kStranger, kStranger), 0);
        };
        plant(folders[0], runtime);
        plant(folders[1], shared);
        qputenv("XDG_RUNTIME_DIR",
                runtime.isEmpty() ? QByteArray() : QFile::encodeName(folders[0]));
        qputenv("TMPDIR", QFile::encodeName(base.filePath("tmp")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(base.filePath("cache")));

        const QString name = SingleInstance::defaultServerName();
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        const int index = expected == "runtime" ? 0 : expected == "tmp" ? 1 : 2;
        QCOMPARE(name, folders[index] + "/Popup Lorvane");
        QCOMPARE(QFileInfo(folders[index]).ownerId(), ::geteuid());
    }

    void aStrangersSocketIsNeitherToldNorRemoved() {
        if (::geteuid() != 0)
            QSKIP("only root can leave a socket of another user");
        const QString name = socketName("stranger");
        QLocalServer stranger;
        QVERIFY(stranger.listen(name));
        QCOMPARE(::chown(QFile::encodeName(name).constData(), kStranger, kStranger), 0);
        SingleInstance next(name);
        QVERIFY(!next.notifyRunning(200));
        QVERIFY(!next.listen());
        QTest::qWait(100);
        QVERIFY(!stranger.hasPendingConnections());
        QVERIFY(QFileInfo::exists(name));
    }
};

QTEST_GUILESS_MAIN(TstInstance)
#include "tst_platform_instance.moc"
