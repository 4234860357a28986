#include "fakes/FakeSettingsStore.h"
#include "platform/SettingsStoreIni.h"
#include "store/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lorvane::SettingsValues;

Q_DECLARE_METATYPE(SettingsValues)

class TstSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // A fresh INI file per case: QSettings keeps files it has read in a process-wide cache.
    QString iniFile(const QByteArray& content) {
        const QString name = m_dir.filePath(QStringLiteral("s%1.conf").arg(++m_files));
        if (!content.isNull()) {
            QFile f(name);
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(name));
            f.write(content);
        }
        return name;
    }

    // What the window holds before reading: the designed state, drive and folder of
    // the current folder.
    static SettingsValues before() {
        SettingsValues v;
        v.lastdrive = 2049;
        v.lastdir = QStringLiteral("/home/user");
        return v;
    }

private slots:
    void read_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<SettingsValues>("expected");

        QTest::newRow("first start: no file") << QByteArray() << before();
        QTest::newRow("empty file") << QByteArray("") << before();

        SettingsValues moved = before();
        moved.top = 40;
        moved.left = 75;
        moved.customstring.clear();
        moved.customdir.clear();
        moved.lastdir.clear();
        QTest::newRow("only top and left: window moves, texts empty, options kept")
            << QByteArray("[General]\ntop=40\nleft=75\n") << moved;

        SettingsValues charset = moved;
        charset.id3charset = QStringLiteral("KOI8-R");
        QTest::newRow("the tag character set, absent from older files, is read when there")
            << QByteArray("[General]\ntop=40\nleft=75\nid3charset=KOI8-R\n") << charset;

        SettingsValues five = moved;
        five.top = before().top;
        five.left = before().left;
        five.tray = true;
        five.trackformat = true;
        five.bracketformat = false;
        QTest::newRow("a boolean stored as 5 is on, as 0 off")
            << QByteArray("[General]\ntray=5\ntrackformat=-3\nbracketformat=0\n") << five;

        SettingsValues wrong = moved;
        wrong.top = before().top;
        wrong.left = before().left;
        wrong.width = 800;
        wrong.customstring = QStringLiteral("-=-");
        wrong.customdir.clear();
        QTest::newRow("values of the wrong type keep their state, the next are read")
            << QByteArray("[General]\ntop=abc\nleft=1.5\nwidth=800\nrecurse=yes\n"
                          "dashformat=true\ncustomstring=a, b\ncustomdir=x, y\nlastdrive=C\n")
            << wrong;

        SettingsValues bytes = wrong;
        bytes.width = before().width;
        QTest::newRow("a separator that is not text becomes -=-")
            << QByteArray("[General]\ncustomstring=@ByteArray(xy)\n") << bytes;

        SettingsValues full;
        full.top = -20;
        full.left = -1; // a DWORD of 4294967295 is -1 as a position
        full.width = 1000;
        full.height = 700;
        full.tray = true;
        full.recurse = false;
        full.bracketformat = false;
        full.dashformat = false;
        full.trackformat = true;
        full.customformat = true;
        full.customstring = QStringLiteral("~~");
        full.customdir = QStringLiteral("/music/");
        full.balanced = false;
        full.random = true;
        full.lastdrive = 66306;
        full.lastdir = QStringLiteral("/srv/mp3");
        full.savem3u = QStringLiteral("/srv/lists");
        full.loadm3u = QStringLiteral("/");
        full.useassociations = true;
        QTest::newRow("all nineteen")
            << QByteArray("[General]\ntop=-20\nleft=4294967295\nwidth=1000\nheight=700\n"
                          "tray=1\nrecurse=0\nbracketformat=0\ndashformat=0\ntrackformat=1\n"
                          "customformat=1\ncustomstring=~~\ncustomdir=/music/\nbalanced=0\n"
                          "random=1\nlastdrive=66306\nlastdir=/srv/mp3\nsavem3u=/srv/lists\n"
                          "loadm3u=/\nuseassociations=1\n")
            << full;

        SettingsValues range = moved;
        range.top = before().top;
        range.left = before().left;
        range.customstring = QString();
        QTest::newRow("numbers beyond 32 bits are unreadable")
            << QByteArray("[General]\nheight=4294967296\nwidth=-2147483649\ncustomstring=\n")
            << range;
    }

    void read() {
        QFETCH(QByteArray, ini);
        QFETCH(SettingsValues, expected);
        lorvane::SettingsStoreIni store(iniFile(ini));
        SettingsValues v = before();
        lorvane::ReadSettings(store, v);
        QCOMPARE(v.top, expected.top);
        QCOMPARE(v.left, expected.left);
        QCOMPARE(v.width, expected.width);
        QCOMPARE(v.height, expected.height);
        QCOMPARE(v.customstring, expected.customstring);
        QCOMPARE(v.customdir, expected.customdir);
        QCOMPARE(v.lastdir, expected.lastdir);
        QVERIFY(v == expected);
    }

    void writesInOrderAndSkipsUnchosenPlaylists() {
        lorvane::FakeSettingsStore store;
        SettingsValues v;
        QVERIFY(lorvane::WriteSettings(store, v));
        QCOMPARE(store.writeOrder,
                 QStringList({"top", "left", "width", "height", "tray", "recurse", "bracketformat",
                              "dashformat", "customformat", "trackformat", "customstring",
                              "customdir", "balanced", "random", "lastdrive", "lastdir",
                              "useassociations", "id3charset"}));
        v.savedFolder = QStringLiteral("/srv/lists");
        v.loadedFolder = QStringLiteral("/");
        QVERIFY(lorvane::WriteSettings(store, v));
        QCOMPARE(store.writeOrder.mid(18), QStringList({"savem3u", "loadm3u"}));
        QCOMPARE(store.values.value("savem3u").toString(), QStringLiteral("/srv/lists"));
        QCOMPARE(store.values.value("loadm3u").toString(), QStringLiteral("/"));
    }

    void roundTripThroughTheFile() {
        const QString file = iniFile(QByteArray("[General]\ntray=5\nsavem3u=/keep/me\n"));
        SettingsValues v = before();
        {
            lorvane::SettingsStoreIni store(file);
            lorvane::ReadSettings(store, v);
            QVERIFY(v.tray);
            v.customstring = QStringLiteral("-=-");
            v.customdir = QStringLiteral("rel dir/");
            v.top = -5;
            QVERIFY(lorvane::WriteSettings(store, v));
        }
        lorvane::SettingsStoreIni again(file);
        QCOMPARE(again.value(QStringLiteral("tray"))->toString(), QStringLiteral("1"));
        // Exiting without a playlist leaves the playlist folders as they were.
        QCOMPARE(again.value(QStringLiteral("savem3u"))->toString(), QStringLiteral("/keep/me"));
        QVERIFY(!again.value(QStringLiteral("loadm3u")));
        SettingsValues back = before();
        lorvane::ReadSettings(again, back);
        v.loadm3u.clear(); // absent, so read as empty
        QVERIFY(back == v);
    }

    void aStoreThatCannotBeWrittenKeepsNothing() {
        lorvane::FakeSettingsStore store;
        store.refuseWrites = true;
        QVERIFY(!lorvane::WriteSettings(store, SettingsValues()));
        QVERIFY(!store.exists());
    }

    void enqueueCommandIsReadWhenSet() {
        lorvane::FakeSettingsStore store;
        QCOMPARE(lorvane::ReadEnqueueCommand(store), QString());
        store.values.insert(QStringLiteral("enqueuecommand"), QStringLiteral("player --add %1"));
        QCOMPARE(lorvane::ReadEnqueueCommand(store), QStringLiteral("player --add %1"));
        store.values.insert(QStringLiteral("enqueuecommand"), QStringList{"a", "b"});
        QCOMPARE(lorvane::ReadEnqueueCommand(store), QString());
    }
};

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_store_settings.moc"
