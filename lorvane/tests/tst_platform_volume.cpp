// The default output's volume against a real sound server with null sinks, read
// back with pactl.
#include "platform/PulseVolume.h"
#include "support/Pactl.h"

#include <QtTest>

#include <pulse/volume.h>

using namespace lorvane;
using namespace lorvane::test;

class TestVolume : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void positionsRoundTripThroughTheServerScale();
    void serverScale_data();
    void serverScale();
    void readsTheDefaultSink_data();
    void readsTheDefaultSink();
    void writesTheFrontPair_data();
    void writesTheFrontPair();
    void otherChannelsKeepTheirLevel();
    void monoSinkTakesTheLouderSide();
    void noServerAnswersNothing();

private:
    // Loads a null sink and makes it the default for one test.
    struct ScopedSink {
        explicit ScopedSink(const QStringList& options);
        ~ScopedSink();
        QString module;
        QString previous;
    };
};

TestVolume::ScopedSink::ScopedSink(const QStringList& options) {
    previous = pactl({QStringLiteral("get-default-sink")}).value_or(QString()).trimmed();
    module = pactl(QStringList{QStringLiteral("load-module"), QStringLiteral("module-null-sink")} +
                   options)
                 .value_or(QString())
                 .trimmed();
    const QString name = options.filter(QStringLiteral("sink_name=")).value(0).mid(10);
    pactl({QStringLiteral("set-default-sink"), name});
}

TestVolume::ScopedSink::~ScopedSink() {
    if (!previous.isEmpty())
        pactl({QStringLiteral("set-default-sink"), previous});
    if (!module.isEmpty())
        pactl({QStringLiteral("unload-module"), module});
}

void TestVolume::initTestCase() {
    QVERIFY2(pactl({QStringLiteral("info")}).has_value(), "no sound server at $PULSE_SERVER");
}

void TestVolume::positionsRoundTripThroughTheServerScale() {
    // Every position the bars can hold comes back from the server as it was written.
    for (int p = 0; p <= 65535; ++p) {
        if (PulseVolume::toPosition(PulseVolume::toServerVolume(p)) != p)
            QFAIL(qPrintable(QStringLiteral("position %1 comes back changed").arg(p)));
    }
}

void TestVolume::serverScale_data() {
    QTest::addColumn<unsigned>("server");
    QTest::addColumn<int>("position");
    QTest::newRow("silent") << 0u << 0;
    QTest::newRow("half") << unsigned(PA_VOLUME_NORM / 2) << 32768;
    QTest::newRow("full") << unsigned(PA_VOLUME_NORM) << 65535;
    QTest::newRow("louder than full") << unsigned(PA_VOLUME_NORM * 3 / 2) << 65535;
    QTest::newRow("the server's maximum") << unsigned(PA_VOLUME_MAX) << 65535;
}

void TestVolume::serverScale() {
    QFETCH(unsigned, server);
    QTEST(PulseVolume::toPosition(server), "position");
}

void TestVolume::readsTheDefaultSink_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("30 and 60 percent") << 19661 << 39322;
    QTest::newRow("silent left") << 0 << 65536;
    QTest::newRow("above full") << 98304 << 32768;
}

void TestVolume::readsTheDefaultSink() {
    QFETCH(int, left);
    QFETCH(int, right);
    QVERIFY(setDefaultSinkVolume({left, right}));
    PulseVolume volume;
    const auto v = volume.read();
    QVERIFY(v.has_value());
    QCOMPARE(v->left, PulseVolume::toPosition(unsigned(left)));
    QCOMPARE(v->right, PulseVolume::toPosition(unsigned(right)));
}

void TestVolume::writesTheFrontPair_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::newRow("half and full") << 32768 << 65535;
    QTest::newRow("silent and a little") << 0 << 655;
    QTest::newRow("equal") << 40000 << 40000;
}

void TestVolume::writesTheFrontPair() {
    QFETCH(int, left);
    QFETCH(int, right);
    QVERIFY(setDefaultSinkVolume({1000, 1000}));
    PulseVolume volume;
    QVERIFY(volume.write({left, right}));
    const auto sink = defaultSinkVolume();
    QVERIFY(sink.has_value());
    QCOMPARE(sink->frontLeft, int(PulseVolume::toServerVolume(left)));
    QCOMPARE(sink->frontRight, int(PulseVolume::toServerVolume(right)));
    // The same connection reads back what it wrote.
    QCOMPARE(volume.read(), std::optional<StereoVolume>(StereoVolume{left, right}));
}

void TestVolume::otherChannelsKeepTheirLevel() {
    ScopedSink sink({QStringLiteral("sink_name=lorvane_surround"), QStringLiteral("channels=6"),
                     QStringLiteral("channel_map=surround-51")});
    QVERIFY(setDefaultSinkVolume({1000, 2000, 3000, 4000, 5000, 6000}));
    PulseVolume volume;
    QCOMPARE(volume.read(), std::optional<StereoVolume>(StereoVolume{1000, 2000}));
    QVERIFY(volume.write({20000, 30000}));
    const auto after = defaultSinkVolume();
    QVERIFY(after.has_value());
    QCOMPARE(after->all,
             (QList<int>{int(PulseVolume::toServerVolume(20000)),
                         int(PulseVolume::toServerVolume(30000)), 3000, 4000, 5000, 6000}));
}

void TestVolume::monoSinkTakesTheLouderSide() {
    ScopedSink sink({QStringLiteral("sink_name=lorvane_mono"), QStringLiteral("channels=1"),
                     QStringLiteral("channel_map=mono")});
    QVERIFY(setDefaultSinkVolume({26214}));
    PulseVolume volume;
    const auto v = volume.read();
    QVERIFY(v.has_value());
    QCOMPARE(v->left, PulseVolume::toPosition(26214));
    QCOMPARE(v->right, v->left);
    QVERIFY(volume.write({10000, 30000}));
    QCOMPARE(defaultSinkVolume()->all, QList<int>{int(PulseVolume::toServerVolume(30000))});
}

void TestVolume::noServerAnswersNothing() {
    const QByteArray saved = qgetenv("PULSE_SERVER");
    QTemporaryDir dir;
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(dir.path()) + "/no-server");
    PulseVolume volume;
    const auto v = volume.read();
    const bool written = volume.write({100, 100});
    qputenv("PULSE_SERVER", saved);
    QVERIFY(!v.has_value());
    QVERIFY(!written);
}

QTEST_GUILESS_MAIN(TestVolume)
#include "tst_platform_volume.moc"
