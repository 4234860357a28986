#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"
#include "platform/QtSettingsStore.h"
#include "printing/PrintSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

PrintSettings defaults() {
    PrintSettings s;
    s.W_Coord = 1024;
    s.H_Coord = 768;
    s.ScaleFactorX = 1.0;
    s.ScaleFactorY = 1.0;
    s.PrintOrientation = 2;
    s.PrintDevice = kSystemPrinter;
    return s;
}

PrintSettings sample() {
    PrintSettings s;
    s.PrintSpecific = 1;
    s.X_Coord = -20;
    s.Y_Coord = 640;
    s.W_Coord = 400;
    s.H_Coord = 300;
    s.ScaleFactorX = 1.25;
    s.ScaleFactorY = 0.5;
    s.PrintOrientation = 1;
    s.PrintNegative = 1;
    s.PrintPrompt = 1;
    s.ScaleToFit = 0;
    s.GreyScale = 1;
    s.PrintDevice = QStringLiteral("Office, 2nd floor");
    return s;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void nothingStoredGivesDefaults() {
        FakeSettingsStore store;
        FakeScreenInfo screen(1024, 768);
        PrintSettings s;
        LoadPrintSettings(s, store, screen);
        QCOMPARE(s, defaults());
    }

    void screenSizeDefaultsFollowTheScreen() {
        FakeSettingsStore store;
        // 120 DPI: 12 twips per pixel; the defaults stay in pixels.
        FakeScreenInfo screen(1600, 900, 12.0);
        PrintSettings s;
        LoadPrintSettings(s, store, screen);
        QCOMPARE(s.W_Coord, 1600);
        QCOMPARE(s.H_Coord, 900);
    }

    void storedTextConverts_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("12.5 rounds to even") << "X_Coord"
                                             << "12.5"
                                             << "12";
        QTest::newRow("13.5 rounds to even") << "X_Coord"
                                             << "13.5"
                                             << "14";
        QTest::newRow("negative coordinate") << "Y_Coord"
                                             << "-20"
                                             << "-20";
        QTest::newRow("flag as fraction") << "PrintPrompt"
                                          << "0.6"
                                          << "1";
        QTest::newRow("scale factor") << "ScaleFactorX"
                                      << "1.25"
                                      << "1.25";
        QTest::newRow("orientation text") << "PrintOrientation"
                                          << "landscape"
                                          << "2";
        QTest::newRow("flag beyond 16 bits") << "GreyScale"
                                             << "70000"
                                             << "0";
        QTest::newRow("coordinate not a number") << "W_Coord"
                                                 << "wide"
                                                 << "1024";
    }
    void storedTextConverts() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, loaded);
        FakeSettingsStore store;
        store.set(key, text);
        FakeScreenInfo screen;
        // A failed conversion keeps what the record held: here the defaults of a first load.
        PrintSettings s = defaults();
        LoadPrintSettings(s, store, screen);
        const QHash<QString, QString> fields = {
            {"X_Coord", QString::number(s.X_Coord)},
            {"Y_Coord", QString::number(s.Y_Coord)},
            {"W_Coord", QString::number(s.W_Coord)},
            {"PrintPrompt", QString::number(s.PrintPrompt)},
            {"ScaleFactorX", QString::number(s.ScaleFactorX)},
            {"PrintOrientation", QString::number(s.PrintOrientation)},
            {"GreyScale", QString::number(s.GreyScale)},
        };
        QCOMPARE(fields.value(key), loaded);
    }

    void badValueKeepsOldWhileOthersLoad() {
        FakeSettingsStore store;
        SavePrintSettings(sample(), store);
        store.set(QStringLiteral("PrintOrientation"), QStringLiteral("sideways"));
        FakeScreenInfo screen;
        PrintSettings s = defaults(); // landscape in memory
        LoadPrintSettings(s, store, screen);
        PrintSettings expected = sample();
        expected.PrintOrientation = 2;
        QCOMPARE(s, expected);
    }

    void unreadableKeyKeepsOldValue() {
        FakeSettingsStore store;
        SavePrintSettings(sample(), store);
        store.unreadable = {QStringLiteral("PrintDevice")};
        FakeScreenInfo screen;
        PrintSettings s;
        s.PrintDevice = QStringLiteral("Before");
        LoadPrintSettings(s, store, screen);
        QCOMPARE(s.PrintDevice, QStringLiteral("Before"));
        QCOMPARE(s.W_Coord, 400);
    }

    void saveWritesThirteenKeysInOrder() {
        FakeSettingsStore store;
        SavePrintSettings(sample(), store);
        const QStringList order = {
            "PrintSpecific", "X_Coord",      "Y_Coord",          "W_Coord",       "H_Coord",
            "ScaleFactorX",  "ScaleFactorY", "PrintOrientation", "PrintNegative", "PrintPrompt",
            "ScaleToFit",    "GreyScale",    "PrintDevice"};
        QCOMPARE(store.writtenKeys(), order);
        QCOMPARE(store.value(QStringLiteral("Tarnwick32/General/X_Coord")), QStringLiteral("-20"));
        QCOMPARE(store.value(QStringLiteral("Tarnwick32/General/ScaleFactorX")),
                 QStringLiteral("1.25"));
    }

    void firstStartUntilTheFirstSave() {
        FakeSettingsStore store;
        QVERIFY(IsFirstStart(store));
        // Other keys do not end the first start; only a save does.
        store.set(QStringLiteral("PrintDevice"), QStringLiteral("Office"));
        store.set(QStringLiteral("X_Coord"), QStringLiteral("5"));
        QVERIFY(IsFirstStart(store));
        SavePrintSettings(defaults(), store);
        QVERIFY(!IsFirstStart(store));
    }

    // The real store: an INI file with the program's section, values as text.
    void iniStoreRoundTrip_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("point locale") << "en_US";
        QTest::newRow("comma locale") << "de_DE";
    }
    void iniStoreRoundTrip() {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tarnwick32.conf"));
        FakeScreenInfo screen;
        {
            QtSettingsStore store(file);
            QVERIFY(IsFirstStart(store));
            SavePrintSettings(sample(), store);
        }
        QtSettingsStore store(file);
        QVERIFY(!IsFirstStart(store));
        PrintSettings loaded;
        LoadPrintSettings(loaded, store, screen);
        QCOMPARE(loaded, sample());

        QFile ini(file);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY2(text.startsWith("[General]"), text.constData());
        QVERIFY(text.contains("PrintOrientation=1\n"));
    }

    void iniStoreReadsHandWrittenValues() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tarnwick32.conf"));
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nPrintSpecific=1\nX_Coord=12.5\nPrintDevice=Office,2nd floor\n");
        ini.close();
        QtSettingsStore store(file);
        FakeScreenInfo screen;
        PrintSettings s;
        LoadPrintSettings(s, store, screen);
        QCOMPARE(s.PrintSpecific, qint16(1));
        QCOMPARE(s.X_Coord, 12);
        // An unquoted comma makes Qt read a list; the text comes back whole.
        QCOMPARE(s.PrintDevice, QStringLiteral("Office,2nd floor"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_printing_settings.moc"
