#include "fakes/FakeClipboard.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakePrintForms.h"
#include "fakes/FakePrintSystem.h"
#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"
#include "printing/PrintPipeline.h"
#include "printing/PrintSettings.h"

#include <QTest>

namespace {

// One program's worth of print services, all recording.
struct Rig {
    FakeSettingsStore store;
    FakeScreenInfo screen{1024, 768};
    FakeClipboard clipboard;
    FakePrintSystem printers;
    FakeMessageBoxes messages;
    FakeEventPump events;
    FakePrintForms forms;
    PrintSettings settings;
    qint16 promptChoice = -1;
    PrintPipeline pipeline{
        {store, screen, clipboard, printers, messages, events, forms}, settings, promptChoice};

    explicit Rig(QSize image = QSize(1024, 768)) {
        QImage picture(image, QImage::Format_RGB32);
        picture.fill(Qt::white);
        clipboard.setImage(picture);
    }
    void set(const char* key, const QString& text) { store.set(QLatin1String(key), text); }
    void set(const char* key, int value) { set(key, QString::number(value)); }
    void set(const char* key, double value) { set(key, QString::number(value, 'g', 17)); }

    const RecordedDraw& onlyDraw() const { return printers.jobs.constFirst().draws.constFirst(); }
};

const QString kTitle = QStringLiteral("Tarnwick32");

} // namespace

class TestPipeline : public QObject {
    Q_OBJECT

private slots:
    // The worked cases: what is printed and where, in twips.
    void drawing_data() {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSizeF>("portraitPage");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("specific");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<double>("sx");
        QTest::addColumn<double>("sy");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<int>("prompt");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QRectF>("source");
        QTest::addColumn<QSizeF>("target");

        const QSize screen(1024, 768);
        const QSizeF letterish(11000, 15000);
        const QSizeF wide(10000, 15000); // landscape: 15000 x 10000
        const QRect area(40, 30, 400, 300);
        const QRectF whole(0, 0, 1024, 768);
        QTest::newRow("whole image on portrait, width limits")
            << screen << letterish << 1 << 0 << area << 1.0 << 1.0 << 0 << 0 << -1 << whole
            << QSizeF(11000, 8250);
        QTest::newRow("whole image on landscape, height limits")
            << screen << wide << 2 << 0 << area << 1.0 << 1.0 << 0 << 0 << -1 << whole
            << QSizeF(13333.333333333334, 10000);
        QTest::newRow("whole image, factors 0.5 0.5")
            << screen << letterish << 1 << 0 << area << 0.5 << 0.5 << 0 << 0 << -1 << whole
            << QSizeF(5500, 4125);
        QTest::newRow("whole image, factors 2 1")
            << screen << letterish << 1 << 0 << area << 2.0 << 1.0 << 0 << 0 << -1 << whole
            << QSizeF(22000, 8250);
        QTest::newRow("whole image ignores stretch")
            << screen << letterish << 1 << 0 << area << 1.0 << 1.0 << 1 << 0 << -1 << whole
            << QSizeF(11000, 8250);
        QTest::newRow("area fitted on landscape, height limits")
            << screen << wide << 2 << 1 << area << 1.0 << 1.0 << 0 << 0 << -1
            << QRectF(40, 30, 400, 300) << QSizeF(13333.333333333334, 10000);
        QTest::newRow("area stretched over landscape")
            << screen << wide << 2 << 1 << area << 1.0 << 1.0 << 1 << 0 << -1
            << QRectF(40, 30, 400, 300) << QSizeF(15000, 10000);
        QTest::newRow("stretch ignores factors")
            << screen << wide << 2 << 1 << area << 0.5 << 3.0 << 1 << 0 << -1
            << QRectF(40, 30, 400, 300) << QSizeF(15000, 10000);
        QTest::newRow("area fitted, factors 0.5 0.5")
            << screen << wide << 2 << 1 << area << 0.5 << 0.5 << 0 << 0 << -1
            << QRectF(40, 30, 400, 300) << QSizeF(6666.666666666667, 5000);
        QTest::newRow("area fitted, factors 2 1")
            << screen << wide << 2 << 1 << area << 2.0 << 1.0 << 0 << 0 << -1
            << QRectF(40, 30, 400, 300) << QSizeF(26666.666666666668, 10000);
        QTest::newRow("flat area, width limits")
            << screen << wide << 2 << 1 << QRect(0, 0, 400, 100) << 1.0 << 1.0 << 0 << 0 << -1
            << QRectF(0, 0, 400, 100) << QSizeF(15000, 3750);
        QTest::newRow("area past the image edge")
            << screen << wide << 2 << 1 << QRect(900, 700, 400, 300) << 1.0 << 1.0 << 0 << 0 << -1
            << QRectF(900, 700, 400, 300) << QSizeF(13333.333333333334, 10000);
        QTest::newRow("prompt answered Full Screen over a defined area")
            << screen << wide << 2 << 1 << area << 1.0 << 1.0 << 1 << 1 << 1 << whole
            << QSizeF(13333.333333333334, 10000);
        QTest::newRow("prompt answered Defined Area")
            << screen << wide << 2 << 1 << area << 1.0 << 1.0 << 0 << 1 << 0
            << QRectF(40, 30, 400, 300) << QSizeF(13333.333333333334, 10000);
        // The page ratio is a hair smaller in height, equal in single precision: the
        // width branch decides.
        QTest::newRow("ratios equal in single precision")
            << QSize(1000, 1000) << QSizeF(15000, 14999.99999) << 1 << 0 << area << 1.0 << 1.0 << 0
            << 0 << -1 << QRectF(0, 0, 1000, 1000) << QSizeF(15000, 15000);
    }
    void drawing() {
        QFETCH(QSize, image);
        QFETCH(QSizeF, portraitPage);
        QFETCH(int, orientation);
        QFETCH(int, specific);
        QFETCH(QRect, area);
        QFETCH(double, sx);
        QFETCH(double, sy);
        QFETCH(int, stretch);
        QFETCH(int, prompt);
        QFETCH(int, answer);
        QFETCH(QRectF, source);
        QFETCH(QSizeF, target);

        Rig rig(image);
        rig.printers.portraitPage = portraitPage;
        rig.set("PrintOrientation", orientation);
        rig.set("PrintSpecific", specific);
        rig.set("X_Coord", area.x());
        rig.set("Y_Coord", area.y());
        rig.set("W_Coord", area.width());
        rig.set("H_Coord", area.height());
        rig.set("ScaleFactorX", sx);
        rig.set("ScaleFactorY", sy);
        rig.set("ScaleToFit", stretch);
        rig.set("PrintPrompt", prompt);
        if (prompt)
            rig.events.script = {[&] { rig.forms.click(answer); }};

        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.printers.jobs.size(), 1);
        const RecordedDraw& draw = rig.onlyDraw();
        QCOMPARE(draw.sourcePixels, source);
        QCOMPARE(draw.target.topLeft(), QPointF(0, 0));
        QCOMPARE(draw.target.width(), target.width());
        QCOMPARE(draw.target.height(), target.height());
        QCOMPARE(rig.printers.jobs.first().orientations, QList<int>{orientation});
        QVERIFY(rig.printers.jobs.first().ended);
        QCOMPARE(rig.promptChoice, qint16(answer));
    }

    void jobSettings_data() {
        QTest::addColumn<int>("negative");
        QTest::addColumn<int>("grey");
        QTest::addColumn<RasterOp>("op");
        QTest::addColumn<int>("colorMode");
        QTest::newRow("plain colour") << 0 << 0 << RasterOp::SrcCopy << 2;
        QTest::newRow("negative") << 1 << 0 << RasterOp::NotSrcCopy << 2;
        QTest::newRow("greyscale") << 0 << 1 << RasterOp::SrcCopy << 1;
        QTest::newRow("flags tested for nonzero") << 5 << 7 << RasterOp::NotSrcCopy << 1;
    }
    void jobSettings() {
        QFETCH(int, negative);
        QFETCH(int, grey);
        QFETCH(RasterOp, op);
        QFETCH(int, colorMode);
        Rig rig;
        rig.set("PrintNegative", negative);
        rig.set("GreyScale", grey);
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        const RecordedJob& job = rig.printers.jobs.first();
        QCOMPARE(job.colorModes, QList<int>{colorMode});
        QCOMPARE(job.backColors, QList<QRgb>{0x00FFFFFF});
        QCOMPARE(rig.onlyDraw().op, op);
    }

    void noPressNoWork() {
        Rig rig;
        rig.set("PrintPrompt", 1);
        QCOMPARE(rig.pipeline.tick(false, true), TickResult::Idle);
        QCOMPARE(rig.pipeline.tick(false, false), TickResult::Idle);
        QCOMPARE(rig.forms.opens + rig.forms.notices, 0);
        QCOMPARE(rig.settings.PrintPrompt, qint16(0)); // not even reloaded
    }

    void disabledShowsNoticeOnly() {
        Rig rig;
        QCOMPARE(rig.pipeline.tick(true, false), TickResult::Disabled);
        QCOMPARE(rig.forms.notices, 1);
        QCOMPARE(rig.forms.opens, 0);
        QVERIFY(rig.printers.jobs.isEmpty());
        QVERIFY(rig.clipboard.hasImage());
    }

    void textOnClipboardPrintsNothing() {
        Rig rig;
        rig.clipboard.setText();
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::NoImage);
        QCOMPARE(rig.forms.opens, 0);
        QVERIFY(rig.printers.opened.isEmpty());
        QVERIFY(rig.messages.texts.isEmpty());
    }

    void promptWaitsWhileEventsRun() {
        Rig rig;
        rig.set("PrintPrompt", 1);
        rig.set("PrintDevice", kSystemDefault);
        rig.events.script = {[] {}, [] {}, [&] { rig.forms.click(0); }};
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.events.passes, 3);
        QCOMPARE(rig.forms.promptFlags, QList<qint16>{1});
        QCOMPARE(rig.forms.promptDevices, QStringList{kSystemDefault});
        QCOMPARE(rig.forms.progress, QStringList{QStringLiteral("Office")});
        QCOMPARE(rig.forms.closes, 1);
        QVERIFY(!rig.forms.promptOpen());
    }

    void promptOffDoesNotWait() {
        Rig rig;
        rig.set("PrintSpecific", 1);
        rig.set("W_Coord", 100);
        rig.set("H_Coord", 100);
        rig.promptChoice = 2; // an old answer is reset, not used
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.events.passes, 0);
        QCOMPARE(rig.promptChoice, qint16(-1));
        QCOMPARE(rig.onlyDraw().sourcePixels, QRectF(0, 0, 100, 100));
        QCOMPARE(rig.forms.opens, 1);
        QCOMPARE(rig.forms.closes, 1);
    }

    void cancelPrintsNothing_data() {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Cancel button") << true;
        QTest::newRow("window closed from outside") << false;
    }
    void cancelPrintsNothing() {
        QFETCH(bool, byButton);
        Rig rig;
        rig.set("PrintPrompt", 1);
        rig.events.script = {[&] {
            if (byButton)
                rig.forms.click(2);
            else
                rig.forms.closeFromOutside();
        }};
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Cancelled);
        QVERIFY(rig.printers.opened.isEmpty());
        QVERIFY(!rig.forms.promptOpen());
        QVERIFY(rig.messages.texts.isEmpty());
    }

    // A setting changed in memory during the wait (the dialog's OK) applies to this print.
    void changeDuringPromptApplies() {
        Rig rig;
        rig.set("PrintPrompt", 1);
        rig.events.script = {[&] {
            rig.settings.PrintOrientation = 1;
            rig.settings.GreyScale = 1;
            rig.forms.click(0);
        }};
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.printers.jobs.first().orientations, QList<int>{1});
        QCOMPARE(rig.printers.jobs.first().colorModes, QList<int>{1});
    }

    void tickDuringPrintStartsNothing() {
        Rig rig;
        rig.set("PrintPrompt", 1);
        QList<TickResult> nested;
        rig.events.script = {[&] { nested.append(rig.pipeline.tick(true, true)); },
                             [&] { nested.append(rig.pipeline.tick(true, false)); },
                             [&] { rig.forms.click(1); }};
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(nested, (QList<TickResult>{TickResult::Busy, TickResult::Busy}));
        QCOMPARE(rig.forms.opens, 1);
        QCOMPARE(rig.forms.notices, 0);
        QCOMPARE(rig.printers.jobs.size(), 1);
        QVERIFY(!rig.pipeline.busy());
        // The next tick prints again.
        rig.events.script = {[&] { rig.forms.click(1); }};
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.printers.jobs.size(), 2);
    }

    void printerChoice_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("namedJobs");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("printedOn");
        QTest::addColumn<bool>("message");
        QTest::newRow("system printer") << "<System Printer>" << true << ""
                                        << "Office" << false;
        QTest::newRow("system default") << "<System Default>" << true << ""
                                        << "Office" << false;
        QTest::newRow("the default by name") << "Office" << true << ""
                                             << "Office" << false;
        QTest::newRow("another printer, this job only") << "Colour" << true << "Colour"
                                                        << "Colour" << false;
        QTest::newRow("removed printer") << "Gone" << true << ""
                                         << "Office" << true;
        QTest::newRow("names compare case-sensitively") << "colour" << true << ""
                                                        << "Office" << true;
        QTest::newRow("no named jobs: name ignored") << "Colour" << false << ""
                                                     << "Office" << false;
        QTest::newRow("no named jobs: removed printer ignored") << "Gone" << false << ""
                                                                << "Office" << false;
    }
    void printerChoice() {
        QFETCH(QString, device);
        QFETCH(bool, namedJobs);
        QFETCH(QString, opened);
        QFETCH(QString, printedOn);
        QFETCH(bool, message);
        Rig rig;
        PrintPipeline pipeline({rig.store, rig.screen, rig.clipboard, rig.printers, rig.messages,
                                rig.events, rig.forms},
                               rig.settings, rig.promptChoice);
        rig.printers.namedJobs = namedJobs;
        rig.set("PrintDevice", device);
        // The progress notice stays above other windows: it is off the screen while the
        // message is up, and back after it.
        rig.messages.onShow = [&] { QVERIFY(rig.forms.promptHidden); };
        QCOMPARE(pipeline.tick(true, true), TickResult::Printed);
        QVERIFY(!rig.forms.promptHidden);
        QCOMPARE(rig.printers.opened, QStringList{opened});
        QCOMPARE(rig.printers.jobs.first().deviceName, printedOn);
        QCOMPARE(rig.forms.progress, QStringList{printedOn});
        QCOMPARE(rig.printers.defaultName, QStringLiteral("Office"));
        if (message) {
            QCOMPARE(
                rig.messages.texts,
                QStringList{QStringLiteral("Printer ") + device +
                            QStringLiteral("No Longer Exists. Using System Default Printer.")});
            QCOMPARE(rig.messages.icons, QList<MessageIcon>{MessageIcon::Exclamation});
            QCOMPARE(rig.messages.titles, QStringList{kTitle});
        } else {
            QVERIFY(rig.messages.texts.isEmpty());
        }
    }

    // Every failure ends in order: no job sent, the prompt closed, the user told.
    void failuresEndInOrder_data() {
        const QString areaOff = QStringLiteral("The defined print area (X %1, Y %2, width 400, "
                                               "height 300) lies outside the captured picture "
                                               "of 1024 x 768 pixels. Nothing was printed.");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("promptShown");
        QTest::newRow("no printer") << "noprinter"
                                    << "No printer is installed. Nothing was printed." << true;
        QTest::newRow("zero width") << "zerowidth"
                                    << "The defined print area has no width or height. "
                                       "Nothing was printed."
                                    << true;
        QTest::newRow("negative height") << "negativeheight"
                                         << "The defined print area has no width or height. "
                                            "Nothing was printed."
                                         << true;
        QTest::newRow("zero width stretched") << "zerowidthstretched"
                                              << "The defined print area has no width or "
                                                 "height. Nothing was printed."
                                              << true;
        QTest::newRow("empty image") << "emptyimage"
                                     << "The image on the clipboard is empty. Nothing was "
                                        "printed."
                                     << false;
        QTest::newRow("bad orientation") << "orientation"
                                         << "The page orientation 3 is not valid. Nothing was "
                                            "printed."
                                         << true;
        QTest::newRow("page without size") << "nopage"
                                           << "The printer reports a page without size. "
                                              "Nothing was printed."
                                           << true;
        QTest::newRow("device refuses the page") << "draw"
                                                 << "The printer could not take the page. "
                                                    "Nothing was printed."
                                                 << true;
        QTest::newRow("device error at the end")
            << "end"
            << "The printer reported an error while printing." << true;
        // A stopped scheduler lists no printers: one message that says so, not a removed
        // printer's message first.
        QTest::newRow("print system stopped")
            << "stopped"
            << "The print system is not running. Nothing was printed." << true;
        QTest::newRow("scale beyond a double's digits")
            << "scale:1e308"
            << "The scale 1e+308 x 1 makes the picture too large to print. "
               "Nothing was printed."
            << true;
        QTest::newRow("scale past the print system's reach")
            << "scale:1e10"
            << "The scale 10000000000 x 1 makes the picture too large to print. "
               "Nothing was printed."
            << true;
        const QString unusable = QStringLiteral("The scale %1 x 1 is not one the picture can be "
                                                "printed at. Nothing was printed.");
        // Stored text that is no finite number reads as 0, and is refused as 0.
        for (const auto& [stored, read] :
             {std::pair{"0", "0"}, {"-1", "-1"}, {"nan", "0"}, {"inf", "0"}, {"-1e400", "0"}}) {
            QTest::addRow("scale %s", stored)
                << QStringLiteral("scale:") + stored << unusable.arg(read) << true;
        }
        // A screen since made smaller: an area beside the picture prints a blank page.
        QTest::newRow("area right of the picture")
            << "area:2000:0" << areaOff.arg(2000).arg(0) << true;
        QTest::newRow("area above the picture")
            << "area:0:-400" << areaOff.arg(0).arg(-400) << true;
        QTest::newRow("queue rejects jobs")
            << "rejecting"
            << "The printer Office is not accepting jobs. Nothing was printed." << true;
        QTest::newRow("queue rejects the job sent")
            << "rejectedjob"
            << "The printer Office is not accepting jobs. Nothing was printed." << true;
        QTest::newRow("print system silent")
            << "silent"
            << "The print system does not answer. Nothing was printed." << true;
        QTest::newRow("print system silent when the job is sent")
            << "silentjob"
            << "The print system does not answer. Nothing was printed." << true;
    }
    void failuresEndInOrder() {
        QFETCH(QString, what);
        QFETCH(QString, text);
        QFETCH(bool, promptShown);
        Rig rig;
        if (what == QLatin1String("noprinter")) {
            rig.printers.printers.clear();
            rig.printers.defaultName.clear();
        } else if (what.startsWith(QLatin1String("zerowidth"))) {
            rig.set("PrintSpecific", 1);
            rig.set("W_Coord", 0);
            rig.set("ScaleToFit", what.endsWith(QLatin1String("stretched")) ? 1 : 0);
        } else if (what == QLatin1String("negativeheight")) {
            rig.set("PrintSpecific", 1);
            rig.set("H_Coord", -5);
        } else if (what == QLatin1String("emptyimage")) {
            rig.clipboard.setImage(QImage());
        } else if (what == QLatin1String("orientation")) {
            rig.set("PrintOrientation", 3);
        } else if (what == QLatin1String("nopage")) {
            rig.printers.portraitPage = QSizeF(0, 0);
        } else if (what == QLatin1String("draw")) {
            rig.printers.failDraw = true;
        } else if (what == QLatin1String("end")) {
            rig.printers.failEnd = true;
        } else if (what == QLatin1String("stopped")) {
            rig.printers.schedulerRunning = false;
            rig.set("PrintDevice", QStringLiteral("Colour"));
        } else if (what.startsWith(QLatin1String("scale:"))) {
            rig.set("ScaleFactorX", what.section(u':', 1));
        } else if (what.startsWith(QLatin1String("area:"))) {
            rig.set("PrintSpecific", 1);
            rig.set("X_Coord", what.section(u':', 1, 1).toInt());
            rig.set("Y_Coord", what.section(u':', 2, 2).toInt());
            rig.set("W_Coord", 400);
            rig.set("H_Coord", 300);
        } else if (what == QLatin1String("rejecting")) {
            rig.printers.answers.insert(QStringLiteral("Office"), QueueAnswer::Rejecting);
        } else if (what == QLatin1String("silent")) {
            rig.printers.answers.insert(QString(), QueueAnswer::Silent);
        } else if (what.endsWith(QLatin1String("job"))) {
            rig.printers.failEnd = true;
            rig.printers.endAnswer =
                what == QLatin1String("silentjob") ? QueueAnswer::Silent : QueueAnswer::Rejecting;
        }
        rig.messages.onShow = [&] { QVERIFY(!rig.forms.promptOpen()); };
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Failed);
        QCOMPARE(rig.messages.texts, QStringList{text});
        QCOMPARE(rig.messages.titles, QStringList{kTitle});
        QCOMPARE(rig.forms.opens, promptShown ? 1 : 0);
        QVERIFY(!rig.forms.promptOpen());
        QVERIFY(!rig.pipeline.busy());
        for (const RecordedJob& job : rig.printers.jobs)
            QVERIFY(!job.ended);
        if (what == QLatin1String("draw"))
            QVERIFY(rig.printers.jobs.first().aborted);
    }

    void pictureStaysAfterPrint() {
        Rig rig(QSize(320, 200));
        QCOMPARE(rig.pipeline.tick(true, true), TickResult::Printed);
        QCOMPARE(rig.pipeline.picture().size(), QSize(320, 200));
        QCOMPARE(rig.onlyDraw().imageSize, QSize(320, 200));
    }
};

QTEST_GUILESS_MAIN(TestPipeline)
#include "tst_printing_pipeline.moc"
