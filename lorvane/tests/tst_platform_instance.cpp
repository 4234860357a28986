#include "platform/SingleInstance.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using lorvane::SingleInstance;

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
};

QTEST_GUILESS_MAIN(TstInstance)
#include "tst_platform_instance.moc"
