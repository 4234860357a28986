#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
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

    // What another user leaves in shared places is neither used nor told anything.
    void aStrangersFilesAreLeftAlone() {
        if (::geteuid() != 0)
            QSKIP("only root can leave files of another user");
        QTemporaryDir base(QDir::rootPath() + "tmp/lvn-XXXXXX");
        const QString own = "/lorvane-runtime-" + QString::number(::geteuid());
        QVERIFY(QDir().mkpath(base.filePath("tmp") + own));
        QCOMPARE(::chown(QFile::encodeName(base.filePath("tmp") + own), kStranger, kStranger), 0);
        qputenv("XDG_RUNTIME_DIR", "");
        qputenv("TMPDIR", QFile::encodeName(base.filePath("tmp")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(base.filePath("cache")));
        const QString name = SingleInstance::defaultServerName();
        for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR", "XDG_CACHE_HOME"})
            qunsetenv(variable);
        QCOMPARE(name, base.filePath("cache") + own + "/Popup Lorvane");

        QLocalServer stranger;
        QVERIFY(stranger.listen(socketName("stranger")));
        QCOMPARE(::chown(QFile::encodeName(socketName("stranger")), kStranger, kStranger), 0);
        SingleInstance next(socketName("stranger"));
        QVERIFY(!next.notifyRunning(200));
        QVERIFY(!next.listen());
        QVERIFY(!stranger.waitForNewConnection(100));
    }
};

QTEST_GUILESS_MAIN(TstInstance)
#include "tst_platform_instance.moc"
