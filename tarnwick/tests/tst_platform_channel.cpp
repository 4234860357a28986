#include "platform/InstanceChannel.h"
#include "platform/InstanceFolder.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <future>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Any user but this one, for what a stranger leaves in shared places.
constexpr uid_t kStranger = 65534;

QStringList wordsFrom(QSignalSpy& spy) {
    QStringList words;
    for (const QList<QVariant>& call : spy)
        words.append(call.at(0).toString());
    return words;
}

// A raw connection, as a flood makes them: connected, and left open.
int rawConnection(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A later start's command, from a thread of its own: it waits for the answer, which
// this thread's events bring.
std::optional<InstanceChannel::Answer> sendAway(const char* word, const char* name) {
    auto sent = std::async(std::launch::async, [=] {
        return InstanceChannel::send(QLatin1String(word), QLatin1String(name));
    });
    while (sent.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QTest::qWait(10);
    return sent.get();
}

} // namespace

class TestChannel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
        qputenv("TMPDIR", QFile::encodeName(m_dir.path()));
    }

    void lines_data() {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QStringList>("words");
        const QByteArray junk(63, 'x');
        const QByteArray full(InstanceChannel::kLongestLine, 'y');
        QTest::newRow("two lines") << QByteArray("print\nquit\n") << QStringList{"print", "quit"};
        QTest::newRow("a command after 63 bytes is no command")
            << junk + "print\n"
            << QStringList{QString::fromLatin1(junk + "print")};
        QTest::newRow("4 KB is one line") << full + "\nquit\n" << QStringList{full, "quit"};
        QTest::newRow("a longer line is dropped whole") << full + "print\nquit\n"
                                                        << QStringList{"quit"};
        QTest::newRow("no line end, no say") << QByteArray("print") << QStringList();
    }

    void lines() {
        QFETCH(QByteArray, sent);
        QFETCH(QStringList, words);
        InstanceChannel channel(QStringLiteral("Lines"));
        QVERIFY(channel.listen());
        QSignalSpy received(&channel, &InstanceChannel::actionReceived);
        QLocalSocket peer;
        peer.connectToServer(InstanceFilePath(QStringLiteral("Lines"), ".socket"));
        QVERIFY(peer.waitForConnected(2000));
        peer.write(sent);
        QVERIFY(peer.waitForBytesWritten(2000));
        peer.disconnectFromServer();
        QVERIFY(sendAway("end", "Lines"));
        QTRY_VERIFY(wordsFrom(received).contains(QStringLiteral("end")));
        QCOMPARE(wordsFrom(received), words + QStringList{"end"});
    }

    // The peer is answered when the action is done, which may be long after its line.
    void theActionAnswers() {
        InstanceChannel channel(QStringLiteral("Answers"));
        QVERIFY(channel.listen());
        connect(&channel, &InstanceChannel::actionReceived, this, [&](const QString& word) {
            if (word == QLatin1String("print")) {
                const InstanceChannel::Reply reply = channel.currentReply();
                QTimer::singleShot(200, this, [reply] { reply(1, "Nothing was printed."); });
            }
        });
        const std::optional<InstanceChannel::Answer> printed = sendAway("print", "Answers");
        const std::optional<InstanceChannel::Answer> configured = sendAway("configure", "Answers");
        QVERIFY(printed && configured);
        QCOMPARE(printed->status, 1);
        QCOMPARE(printed->text, QStringLiteral("Nothing was printed."));
        QCOMPARE(configured->status, 0);
        QVERIFY(configured->text.isEmpty());
    }

    void listensAgainAfterAFlood() {
        InstanceChannel channel(QStringLiteral("Flood"));
        QVERIFY(channel.listen());
        QSignalSpy received(&channel, &InstanceChannel::actionReceived);
        const QString path = InstanceFilePath(QStringLiteral("Flood"), ".socket");
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit saved = limit;
        QList<int> flood;
        while (flood.size() < 20) {
            const int fd = rawConnection(path);
            QVERIFY(fd >= 0);
            flood.append(fd);
        }
        // The server runs out of files while it takes the connections in.
        limit.rlim_cur = rlim_t(flood.last() + 1);
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QTRY_VERIFY(!channel.isListening());
        for (int fd : flood)
            ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &saved);

        QTRY_VERIFY(channel.isListening());
        QVERIFY(sendAway("quit", "Flood"));
        QTRY_COMPARE(wordsFrom(received), QStringList{"quit"});
    }

    void folder_data() {
        QTest::addColumn<QString>("runtimeOwner");
        QTest::addColumn<QString>("tmpOwner");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the user's runtime folder") << "me"
                                                   << ""
                                                   << "runtime";
        QTest::newRow("no runtime folder") << ""
                                           << ""
                                           << "tmp";
        QTest::newRow("runtime folder of a stranger") << "stranger"
                                                      << ""
                                                      << "tmp";
        QTest::newRow("runtime folder a link") << "link"
                                               << ""
                                               << "tmp";
        QTest::newRow("shared folder taken by a stranger") << ""
                                                           << "stranger"
                                                           << "cache";
        QTest::newRow("shared folder a link") << ""
                                              << "link"
                                              << "cache";
        QTest::newRow("shared folder open to all") << ""
                                                   << "open"
                                                   << "cache";
    }

    // A folder that is not the user's own is never used for the lock or the socket.
    void folder() {
        QFETCH(QString, runtimeOwner);
        QFETCH(QString, tmpOwner);
        QFETCH(QString, expected);
        if ((runtimeOwner == "stranger" || tmpOwner == "stranger") && ::geteuid() != 0)
            QSKIP("only root can leave a folder of another user");
        QTemporaryDir base(QDir::rootPath() + "tmp/twk-XXXXXX");
        const QString runtime = base.filePath("runtime");
        const QString tmp = base.filePath("tmp");
        const QString own = "/tarnwick-runtime-" + QString::number(::geteuid());
        QVERIFY(QDir().mkpath(tmp));
        const auto plant = [&](const QString& path, const QString& owner) {
            if (owner == "link") {
                QVERIFY(QDir().mkpath(base.filePath("elsewhere")));
                QVERIFY(QFile::link(base.filePath("elsewhere"), path));
            } else if (!owner.isEmpty()) {
                QVERIFY(QDir().mkpath(path));
                QFile::setPermissions(path, owner == "open" ? QFileDevice::Permissions(0x7777)
                                                            : QFileDevice::Permissions(0x7700));
                if (owner == "stranger")
                    QCOMPARE(::chown(QFile::encodeName(path).constData(), kStranger, kStranger), 0);
            }
        };
        plant(runtime, runtimeOwner);
        plant(tmp + own, tmpOwner);
        qputenv("XDG_RUNTIME_DIR",
                runtimeOwner.isEmpty() ? QByteArray() : QFile::encodeName(runtime));
        qputenv("TMPDIR", QFile::encodeName(tmp));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(base.filePath("cache")));

        const QString folder = InstanceFolder();
        const QString wanted = expected == "runtime" ? runtime
                               : expected == "tmp"   ? tmp + own
                                                     : base.filePath("cache") + own;
        QCOMPARE(folder, wanted);
        QVERIFY(IsPrivateFolder(folder, expected != "runtime"));
        qunsetenv("XDG_CACHE_HOME");
    }

    void aStrangersSocketIsNotTold() {
        if (::geteuid() != 0)
            QSKIP("only root can leave a socket of another user");
        const QString path = InstanceFilePath(QStringLiteral("Stranger"), ".socket");
        QLocalServer stranger;
        QVERIFY(stranger.listen(path));
        QCOMPARE(::chown(QFile::encodeName(path).constData(), kStranger, kStranger), 0);
        QVERIFY(!InstanceChannel::send(QStringLiteral("print"), QStringLiteral("Stranger")));
        QTest::qWait(100);
        QVERIFY(!stranger.hasPendingConnections());
    }
};

QTEST_GUILESS_MAIN(TestChannel)
#include "tst_platform_channel.moc"
