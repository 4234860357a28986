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
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList wordsFrom(QSignalSpy& spy) {
    QStringList words;
    for (const QList<QVariant>& call : spy)
        words.append(call.at(0).toString());
    return words;
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
    void init() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path())); }

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
    }

    void listensAgainAfterAFlood() {
        InstanceChannel channel(QStringLiteral("Flood"));
        QVERIFY(channel.listen());
        QSignalSpy received(&channel, &InstanceChannel::actionReceived);
        std::vector<std::unique_ptr<QLocalSocket>> flood(20);
        for (auto& peer : flood) {
            peer = std::make_unique<QLocalSocket>();
            peer->connectToServer(InstanceFilePath(QStringLiteral("Flood"), ".socket"));
        }
        // The server runs out of files while it takes the connections in.
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const rlimit saved = limit;
        limit.rlim_cur = rlim_t(flood.back()->socketDescriptor() + 1);
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QTRY_VERIFY(!channel.isListening());
        flood.clear();
        ::setrlimit(RLIMIT_NOFILE, &saved);
        QTRY_VERIFY(channel.isListening());
        QVERIFY(sendAway("quit", "Flood"));
        QCOMPARE(wordsFrom(received), QStringList{"quit"});
    }

    // What is not the user's own in a shared place is not used: the folder then is the
    // next one of the user's.
    void folder_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("tmp");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the user's runtime folder") << "own"
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
        QTest::newRow("shared folder open to all") << ""
                                                   << "open"
                                                   << "cache";
    }
    void folder() {
        QFETCH(QString, runtime);
        QFETCH(QString, tmp);
        QFETCH(QString, expected);
        if ((runtime + tmp).contains("stranger") && ::geteuid() != 0)
            QSKIP("only root can leave a folder of another user");
        QTemporaryDir base(QDir::rootPath() + "tmp/twk-XXXXXX");
        const QString own = "/tarnwick-runtime-" + QString::number(::geteuid());
        const QString folders[] = {base.filePath("run"), base.filePath("tmp") + own,
                                   base.filePath("cache") + own};
        QVERIFY(QDir().mkpath(base.filePath("tmp")));
        for (const auto& [path, kind] : {std::pair{folders[0], runtime}, {folders[1], tmp}}) {
            if (kind == "link")
                QVERIFY(QFile::link(base.path(), path));
            else if (!kind.isEmpty())
                QCOMPARE(::mkdir(QFile::encodeName(path), kind == "open" ? 0777 : 0700), 0);
            if (kind == "stranger")
                QCOMPARE(::chown(QFile::encodeName(path), 65534, 65534), 0);
        }
        qputenv("XDG_RUNTIME_DIR", runtime.isEmpty() ? "" : QFile::encodeName(folders[0]));
        qputenv("TMPDIR", QFile::encodeName(base.filePath("tmp")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(base.filePath("cache")));
        const QString folder = InstanceFolder();
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(folder, folders[expected == "runtime" ? 0 : expected == "tmp" ? 1 : 2]);
        QVERIFY(IsPrivateFolder(folder, expected != "runtime"));
    }

    void aStrangersSocketIsNotTold() {
        if (::geteuid() != 0)
            QSKIP("only root can leave a socket of another user");
        const QString path = InstanceFilePath(QStringLiteral("Stranger"), ".socket");
        QLocalServer stranger;
        QVERIFY(stranger.listen(path));
        QCOMPARE(::chown(QFile::encodeName(path), 65534, 65534), 0);
        QVERIFY(!InstanceChannel::send(QStringLiteral("print"), QStringLiteral("Stranger")));
        QVERIFY(!stranger.waitForNewConnection(100));
    }
};

QTEST_GUILESS_MAIN(TestChannel)
#include "tst_platform_channel.moc"
