// tarnwick-probe as a user runs it: settings from XDG_CONFIG_HOME, an image file
// for the clipboard, a PDF file for the printer.
#include "platform/QtSettingsStore.h"
#include "printing/PrintSettings.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ProbeRun {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestProbe : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QString m_image;

    // scales: the factors of the screens of support/two_screens.json; none, the platform's own.
    ProbeRun probe(const QStringList& args, const QString& scales = {}) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!scales.isEmpty()) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen:configfile=%1/support/two_screens.json")
                           .arg(qEnvironmentVariable("TARNWICK_TEST_SOURCE_DIR")));
            env.insert(QStringLiteral("QT_SCREEN_SCALE_FACTORS"), scales);
        }
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("TARNWICK_BIN_DIR") + QStringLiteral("/tarnwick-probe"),
                      args);
        ProbeRun run;
        if (!process.waitForFinished(60000))
            return run;
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    // The store the probe reads: XDG_CONFIG_HOME/Tarnwick32/Tarnwick32.conf.
    QtSettingsStore store() {
        return QtSettingsStore(m_config.filePath(QStringLiteral("Tarnwick32/Tarnwick32.conf")));
    }

    void save(const QList<std::pair<const char*, QString>>& values) {
        QFile::remove(m_config.filePath(QStringLiteral("Tarnwick32/Tarnwick32.conf")));
        QtSettingsStore s = store();
        for (const auto& [key, text] : values)
            s.write(kSettingsApplication, kSettingsSection, QLatin1String(key), text);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        m_image = m_config.filePath(QStringLiteral("screen.png"));
        QImage screen(1024, 768, QImage::Format_RGB32);
        screen.fill(Qt::darkCyan);
        QVERIFY(screen.save(m_image));
    }

    // A 2560 x 1600 screen with a 1920 x 1080 one to its right, at several scales: the
    // default area and where pointer positions (Qt's pixels) lie in the picture.
    void settingsWithNothingStored_data() {
        QTest::addColumn<QString>("scales");
        QTest::addColumn<QString>("pointer");
        QTest::addColumn<QString>("picture");
        const auto row = [](const char* name, const char* scales, const char* in, const char* out) {
            QTest::newRow(name) << QString::fromLatin1(scales) << QString::fromLatin1(in)
                                << QString::fromLatin1(out);
        };
        row("platform's screen", "", "", "");
        row("scale 1", "main=1;side=1", "1280,800 2559,1599", "1280,800 2559,1599");
        row("scale 2", "main=2;side=2", "640,400 1279,799", "1280,800 2558,1598");
        // Qt's 1707 pixels (2560 / 1.5) stand for 2560 of the picture.
        row("scale 1.5", "main=1.5;side=1.5", "640,400 3,1", "960,600 4,1");
        // Each monitor's part starts where the monitor starts and counts in its own ratio.
        row("2, then 1", "main=2;side=1", "640,400 4479,1079", "1280,800 4479,1079");
        row("1, then 1.5", "main=1;side=1.5", "2560,0 3839,719", "2560,0 4478,1078");
    }

    void settingsWithNothingStored() {
        QFETCH(QString, scales);
        QFETCH(QString, pointer);
        QFETCH(QString, picture);
        QFile::remove(m_config.filePath(QStringLiteral("Tarnwick32/Tarnwick32.conf")));
        const ProbeRun run = probe({QStringLiteral("settings")}, scales);
        QCOMPARE(run.exitCode, 0);
        QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 13);
        // The primary screen's size in the picture's pixels stands in for width and height.
        QVERIFY(lines[3].startsWith(QLatin1String("W_Coord=")));
        QVERIFY(lines[3].mid(8).toInt() > 0);
        QVERIFY(lines[4].mid(8).toInt() > 0);
        if (!scales.isEmpty()) {
            QCOMPARE(lines[3] + lines[4], QStringLiteral("W_Coord=2560H_Coord=1600"));
            const ProbeRun mapped =
                probe(QStringList{QStringLiteral("pointer")} + pointer.split(u' '), scales);
            QCOMPARE(mapped.out.split(u'\n', Qt::SkipEmptyParts).join(u' '), picture);
        }
        lines.removeAt(4);
        lines.removeAt(3);
        QCOMPARE(lines, (QStringList{"PrintSpecific=0", "X_Coord=0", "Y_Coord=0", "ScaleFactorX=1",
                                     "ScaleFactorY=1", "PrintOrientation=2", "PrintNegative=0",
                                     "PrintPrompt=0", "ScaleToFit=0", "GreyScale=0",
                                     "PrintDevice=<System Printer>"}));
    }

    void settingsAsStored() {
        save({{"PrintSpecific", "1"},
              {"X_Coord", "12.5"},
              {"W_Coord", "400"},
              {"ScaleFactorY", "0.5"},
              {"PrintOrientation", "upright"},
              {"PrintDevice", "Office"}});
        const ProbeRun run = probe({QStringLiteral("settings")});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines[0], QStringLiteral("PrintSpecific=1"));
        QCOMPARE(lines[1], QStringLiteral("X_Coord=12"));
        QCOMPARE(lines[3], QStringLiteral("W_Coord=400"));
        QCOMPARE(lines[6], QStringLiteral("ScaleFactorY=0.5"));
        // Not a number: the field keeps what it held before the load (zero).
        QCOMPARE(lines[7], QStringLiteral("PrintOrientation=0"));
        QCOMPARE(lines[12], QStringLiteral("PrintDevice=Office"));
    }

    void print_data() {
        QTest::addColumn<QStringList>("settings"); // key=value
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("line");
        const QStringList area = {"PrintSpecific=1", "X_Coord=40", "Y_Coord=30", "W_Coord=400",
                                  "H_Coord=300"};
        QTest::newRow("defined area, landscape A4")
            << area << QStringList()
            << "case=B src=600,450,6000,4500 dst=0,0,15866.67,11900 page=16840,11900";
        QTest::newRow("stretched on portrait Letter")
            << (area + QStringList{"ScaleToFit=1", "PrintOrientation=1"})
            << QStringList{"--page", "Letter"}
            << "case=A src=600,450,6000,4500 dst=0,0,12240,15840 page=12240,15840";
        QTest::newRow("whole image, factors")
            << QStringList{"ScaleFactorX=0.5", "ScaleFactorY=0.5", "PrintOrientation=1"}
            << QStringList() << "case=C src=0,0,15360,11520 dst=0,0,5950,4462.5 page=11900,16840";
        QTest::newRow("prompt answered Full Screen")
            << (area + QStringList{"PrintPrompt=1"}) << QStringList{"--choice", "1"}
            << "case=C src=0,0,15360,11520 dst=0,0,15866.67,11900 page=16840,11900";
        QTest::newRow("prompt answered Defined Area")
            << (area + QStringList{"PrintPrompt=1"}) << QStringList{"--choice", "0"}
            << "case=B src=600,450,6000,4500 dst=0,0,15866.67,11900 page=16840,11900";
        QTest::newRow("prompt answered Cancel")
            << (area + QStringList{"PrintPrompt=1"}) << QStringList{"--choice", "2"} << "cancelled";
        QTest::newRow("prompt not answered")
            << (area + QStringList{"PrintPrompt=1"}) << QStringList() << "cancelled";
    }
    void print() {
        QFETCH(QStringList, settings);
        QFETCH(QStringList, options);
        QFETCH(QString, line);
        QList<std::pair<const char*, QString>> values;
        QList<QByteArray> keys;
        for (const QString& pair : settings)
            keys.append(pair.section(u'=', 0, 0).toLatin1());
        for (qsizetype i = 0; i < settings.size(); ++i)
            values.append({keys[i].constData(), settings[i].section(u'=', 1)});
        save(values);
        const QString pdf = m_config.filePath(QStringLiteral("out.pdf"));
        QFile::remove(pdf);
        const ProbeRun run = probe(
            QStringList{QStringLiteral("print"), m_image, QStringLiteral("--out"), pdf} + options);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), line);
        QFile file(pdf);
        if (line == QLatin1String("cancelled")) {
            QVERIFY(!file.exists());
        } else {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.read(5) == "%PDF-");
        }
    }

    void printRefusesBadInput_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no output") << QStringList{"print", "IMAGE"};
        QTest::newRow("unknown page")
            << QStringList{"print", "IMAGE", "--out", "x.pdf", "--page", "A9"};
        QTest::newRow("bad choice")
            << QStringList{"print", "IMAGE", "--out", "x.pdf", "--choice", "3"};
    }
    void printRefusesBadInput() {
        QFETCH(QStringList, args);
        args.replaceInStrings(QStringLiteral("IMAGE"), m_image);
        const ProbeRun run = probe(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QLatin1String("usage")));
    }

    void printFailsInOrder() {
        save({{"PrintSpecific", "1"}, {"W_Coord", "0"}});
        const ProbeRun run = probe({QStringLiteral("print"), m_image, QStringLiteral("--out"),
                                    m_config.filePath(QStringLiteral("none.pdf"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(
            QLatin1String("Tarnwick32: The defined print area has no width or height.")));
        QVERIFY(!QFile::exists(m_config.filePath(QStringLiteral("none.pdf"))));
    }
};

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe_commands.moc"
