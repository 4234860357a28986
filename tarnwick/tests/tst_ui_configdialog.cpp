#include "AreaPicker.h"
#include "ConfigDialog.h"
#include "Program.h"
#include "ResidentForm.h"
#include "printing/StartRoutine.h"
#include "support/ResidentWorld.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using World = ResidentWorld;

QString storedText(World& world, const char* key) {
    return world.storedText(key);
}

template <typename T> T* child(QWidget* form, const char* name) {
    return FormControl<T>(form, name);
}

QLineEdit* edit(QWidget* form, const char* name) {
    return child<QLineEdit>(form, name);
}
QCheckBox* box(QWidget* form, const char* name) {
    return child<QCheckBox>(form, name);
}
void click(QWidget* form, const char* name) {
    child<QPushButton>(form, name)->click();
}

} // namespace

class TestTwk01 : public QObject {
    Q_OBJECT

private slots:
    void validationMessages_data();
    void validationMessages();
    void coordinateRounding_data();
    void coordinateRounding();
    void scaleFactorsRoundTrip();
    void loadShowsStoredSettings();
    void areaRule();
    void promptBoxWritesMemoryAtOnce();
    void printDuringDialogPutsStoredPromptBack();
    void printerList_data();
    void printerList();
    void helpAndPointerReadout();
    void pickArea_data();
    void pickArea();
    void residentFormAfterOk_data();
    void residentFormAfterOk();
    void cancelAtFirstStartEndsProgram();
};

void TestTwk01::validationMessages_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("area");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* name, const QStringList& fields, const QStringList& texts,
                        bool area, const char* message) {
        QTest::newRow(name) << fields << texts << area << QString::fromLatin1(message);
    };
    row("x", {"sle_x"}, {"abc"}, true, "X Co-ordinate is not a valid value! Please re-enter.");
    row("y", {"sle_y"}, {"1,5"}, true, "Y Co-ordinate is not a valid value! Please re-enter.");
    row("width", {"sle_w"}, {"12px"}, true, "Width is not a valid value! Please re-enter.");
    row("height", {"sle_h"}, {"--3"}, true, "Height is not a valid value! Please re-enter.");
    row("x scale", {"sle_xscale"}, {"."}, true, "X Scale is not a valid value! Please re-enter.");
    row("y scale", {"sle_yscale"}, {"1e"}, true, "Y Scale is not a valid value! Please re-enter.");
    row("first of several", {"sle_y", "sle_xscale"}, {"y", "x"}, true,
        "Y Co-ordinate is not a valid value! Please re-enter.");
    row("empty width while disabled", {"sle_w"}, {""}, false,
        "Width is not a valid value! Please re-enter.");
    row("coordinate beyond 32 bits", {"sle_x"}, {"3e9"}, true,
        "X Co-ordinate is not a valid value! Please re-enter.");
    row("endless scale", {"sle_yscale"}, {"1e400"}, true,
        "Y Scale is not a valid value! Please re-enter.");
    // Every print would refuse it: the picture would reach past what can be printed.
    row("scale past what prints", {"sle_xscale"}, {"1e10"}, true,
        "X Scale is not a valid value! Please re-enter.");
    row("negative scale past what prints", {"sle_yscale"}, {"-5000"}, false,
        "Y Scale is not a valid value! Please re-enter.");
}

void TestTwk01::validationMessages() {
    QFETCH(QStringList, fields);
    QFETCH(QStringList, texts);
    QFETCH(bool, area);
    QFETCH(QString, message);

    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    box(&dialog, "cbx_printarea")->setChecked(area);
    for (qsizetype i = 0; i < fields.size(); ++i)
        edit(&dialog, fields[i].toLatin1().constData())->setText(texts[i]);
    QSignalSpy resident(&dialog, &Twk01::residentRequested);

    click(&dialog, "cb_ok");

    QCOMPARE(world.messages.texts, QStringList{message});
    QCOMPARE(world.messages.titles, QStringList{QStringLiteral("Tarnwick32 Error")});
    QCOMPARE(world.messages.icons.value(0), MessageIcon::Exclamation);
    QVERIFY(world.store.writtenKeys().isEmpty());
    QVERIFY(dialog.isVisible());
    QCOMPARE(resident.count(), 0);
}

void TestTwk01::coordinateRounding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "12"
                           << "12";
    QTest::newRow("blanks around") << " 12 "
                                   << "12";
    QTest::newRow("half to even down") << "12.5"
                                       << "12";
    QTest::newRow("half to even up") << "13.5"
                                     << "14";
    QTest::newRow("small negative") << "-0.4"
                                    << "0";
    QTest::newRow("exponent") << "1e3"
                              << "1000";
    QTest::newRow("negative") << "-20"
                              << "-20";
    QTest::newRow("point without decimals") << "+7."
                                            << "7";
    QTest::newRow("decimals without integer") << ".5"
                                              << "0";
    QTest::newRow("signed exponent") << "25E-1"
                                     << "2";
}

void TestTwk01::coordinateRounding() {
    QFETCH(QString, text);
    QFETCH(QString, stored);

    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    for (const char* name : {"sle_x", "sle_y", "sle_w", "sle_h"})
        edit(&dialog, name)->setText(text);

    click(&dialog, "cb_ok");

    QVERIFY(world.messages.texts.isEmpty());
    for (const char* key : {"X_Coord", "Y_Coord", "W_Coord", "H_Coord"})
        QCOMPARE(storedText(world, key), stored);
    QVERIFY(!dialog.isVisible());
}

void TestTwk01::scaleFactorsRoundTrip() {
    World world;
    world.storeArea();
    world.store.set(QStringLiteral("ScaleFactorX"), QStringLiteral("1"));
    world.store.set(QStringLiteral("ScaleFactorY"), QStringLiteral("0.5"));
    {
        Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
        QCOMPARE(edit(&dialog, "sle_xscale")->text(), QStringLiteral("1.000"));
        QCOMPARE(edit(&dialog, "sle_yscale")->text(), QStringLiteral("0.500"));
        dialog.show();
        edit(&dialog, "sle_xscale")->setText(QStringLiteral("2"));
        edit(&dialog, "sle_yscale")->setText(QStringLiteral(" 1.25 "));
        click(&dialog, "cb_ok");
    }
    QCOMPARE(storedText(world, "ScaleFactorX"), QStringLiteral("2"));
    QCOMPARE(storedText(world, "ScaleFactorY"), QStringLiteral("1.25"));
    Twk01 again(world.services(), world.shared, QStringLiteral("tarnwick"));
    QCOMPARE(edit(&again, "sle_xscale")->text(), QStringLiteral("2.000"));
    QCOMPARE(edit(&again, "sle_yscale")->text(), QStringLiteral("1.250"));
}

void TestTwk01::loadShowsStoredSettings() {
    World world;
    world.storeArea();
    world.store.set(QStringLiteral("PrintOrientation"), QStringLiteral("1"));
    world.store.set(QStringLiteral("PrintNegative"), QStringLiteral("1"));
    world.store.set(QStringLiteral("GreyScale"), QStringLiteral("2"));
    world.store.set(QStringLiteral("ScaleToFit"), QStringLiteral("1"));
    // Something changed in memory and never stored is gone after the load.
    world.shared.settings.PrintNegative = 0;
    world.shared.settings.X_Coord = 999;

    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));

    QVERIFY(box(&dialog, "cbx_printarea")->isChecked());
    QCOMPARE(edit(&dialog, "sle_x")->text(), QStringLiteral("10"));
    QCOMPARE(edit(&dialog, "sle_h")->text(), QStringLiteral("300"));
    QVERIFY(child<QRadioButton>(&dialog, "o_orientation_1")->isChecked());
    QVERIFY(!child<QRadioButton>(&dialog, "o_orientation_0")->isChecked());
    QVERIFY(box(&dialog, "cbx_negative")->isChecked());
    QVERIFY(box(&dialog, "cbx_greyscale")->isChecked());
    QVERIFY(box(&dialog, "cbx_scaletofit")->isChecked());
    QVERIFY(!box(&dialog, "cbx_printprompt")->isChecked());
    QCOMPARE(world.shared.settings.X_Coord, 10);

    // OK stores the flags as 0 or 1 and the orientation as 1 or 2.
    dialog.show();
    click(&dialog, "cb_ok");
    QCOMPARE(storedText(world, "GreyScale"), QStringLiteral("1"));
    QCOMPARE(storedText(world, "PrintOrientation"), QStringLiteral("1"));
    QCOMPARE(world.store.writtenKeys(),
             (QStringList{"PrintSpecific", "X_Coord", "Y_Coord", "W_Coord", "H_Coord",
                          "ScaleFactorX", "ScaleFactorY", "PrintOrientation", "PrintNegative",
                          "PrintPrompt", "ScaleToFit", "GreyScale", "PrintDevice"}));
}

void TestTwk01::areaRule() {
    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    QCheckBox* area = box(&dialog, "cbx_printarea");
    QCheckBox* prompt = box(&dialog, "cbx_printprompt");
    QCheckBox* fit = box(&dialog, "cbx_scaletofit");
    const QList<QWidget*> governed = {edit(&dialog, "sle_x"),
                                      edit(&dialog, "sle_y"),
                                      edit(&dialog, "sle_w"),
                                      edit(&dialog, "sle_h"),
                                      prompt,
                                      fit,
                                      child<QLabel>(&dialog, "st_text_1"),
                                      child<QLabel>(&dialog, "st_text_2"),
                                      child<QLabel>(&dialog, "st_text_3"),
                                      child<QLabel>(&dialog, "st_text_4")};
    const QList<QWidget*> alwaysOn = {edit(&dialog, "sle_xscale"), edit(&dialog, "sle_yscale"),
                                      child<QLabel>(&dialog, "st_text_0"),
                                      child<QLabel>(&dialog, "st_text_5")};
    for (QWidget* w : governed)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));

    prompt->click();
    fit->click();
    QCOMPARE(world.shared.settings.PrintPrompt, qint16(1));
    QCOMPARE(world.shared.settings.ScaleToFit, qint16(1));

    area->click();
    for (QWidget* w : governed)
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget* w : alwaysOn)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!prompt->isChecked());
    QVERIFY(!fit->isChecked());
    QCOMPARE(world.shared.settings.PrintPrompt, qint16(0));
    QCOMPARE(world.shared.settings.ScaleToFit, qint16(0));
    QCOMPARE(edit(&dialog, "sle_x")->text(), QStringLiteral("10"));

    area->click();
    for (QWidget* w : governed)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!prompt->isChecked());
    QVERIFY(!fit->isChecked());
}

void TestTwk01::promptBoxWritesMemoryAtOnce() {
    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    box(&dialog, "cbx_printprompt")->click();
    QCOMPARE(world.shared.settings.PrintPrompt, qint16(1));

    click(&dialog, "cb_cancel");

    QVERIFY(!dialog.isVisible());
    QVERIFY(world.store.writtenKeys().isEmpty());
    // The next print reloads the record and does not prompt.
    LoadPrintSettings(world.shared.settings, world.store, world.screen);
    QCOMPARE(world.shared.settings.PrintPrompt, qint16(0));
}

void TestTwk01::printDuringDialogPutsStoredPromptBack() {
    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    box(&dialog, "cbx_printprompt")->click();

    // A print while the dialog is open reloads the shared record from the store.
    world.trigger.press();
    world.clipboard.setImage(QImage(64, 48, QImage::Format_RGB32));
    Twk02 resident(world.services(), world.shared);
    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Printed);

    click(&dialog, "cb_ok");
    QVERIFY(box(&dialog, "cbx_printprompt")->isChecked());
    QCOMPARE(storedText(world, "PrintPrompt"), QStringLiteral("0"));
    Twk01 again(world.services(), world.shared, QStringLiteral("tarnwick"));
    QVERIFY(!box(&again, "cbx_printprompt")->isChecked());
}

void TestTwk01::printerList_data() {
    QTest::addColumn<bool>("namedJobs");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("selected");

    const QString def = QStringLiteral("<System Default>");
    const QStringList all = {def, QStringLiteral("Office"), QStringLiteral("Colour")};
    QTest::newRow("no choice") << false << "Colour" << QStringList{def} << def;
    QTest::newRow("jobs name their printer") << true << "Office" << all << "Office";
    QTest::newRow("printer gone") << true << "Gone" << all << def;
    QTest::newRow("never stored") << true << "" << all << def;
    QTest::newRow("case differs") << true << "office" << all << def;
    // A name too long for the list: the entry gives way in the middle, the tip and the
    // stored value keep it whole.
    const QString longName = QStringLiteral("Colour_Laser_MFP_Office_2nd_Floor_Room_214");
    QTest::newRow("long queue name")
        << true << longName << (all + QStringList{longName}) << longName;
}

void TestTwk01::printerList() {
    QFETCH(bool, namedJobs);
    QFETCH(QString, stored);
    QFETCH(QStringList, entries);
    QFETCH(QString, selected);

    World world;
    world.storeArea();
    world.printers.namedJobs = namedJobs;
    if (!stored.isEmpty())
        world.store.set(QStringLiteral("PrintDevice"), stored);
    if (entries.size() > 3)
        world.printers.printers.append({entries.last(), QStringLiteral("PDF"), {}});
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    auto* list = child<QComboBox>(&dialog, "ddlb_printer");

    QStringList shown;
    for (int i = 0; i < list->count(); ++i) {
        shown.append(list->itemData(i).toString());
        QVERIFY(list->fontMetrics().horizontalAdvance(list->itemText(i)) < list->width());
        // An entry that gives way keeps the whole name as its tip.
        QCOMPARE(list->itemData(i, Qt::ToolTipRole).toString(),
                 list->itemText(i) == shown.last() ? QString() : shown.last());
    }
    QCOMPARE(shown, entries);
    QVERIFY(entries.size() <= 3 || list->itemText(3).contains(QChar(0x2026)));
    QCOMPARE(list->isEnabled(), entries.size() > 1);
    QCOMPARE(list->currentData().toString(), selected);

    dialog.show();
    click(&dialog, "cb_ok");
    QCOMPARE(storedText(world, "PrintDevice"), selected);
}

void TestTwk01::helpAndPointerReadout() {
    World world;
    world.storeArea();
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    dialog.setPointerSource([] { return QPoint(-20, 5); });

    dialog.Timer1_Timer();
    click(&dialog, "cb_help");

    QCOMPARE(child<QLabel>(&dialog, "st_cursor")->text(), QStringLiteral("-20,5"));
    QCOMPARE(world.messages.texts, QStringList{QStringLiteral("No help is currently available.")});
    QCOMPARE(world.messages.titles, QStringList{QStringLiteral("Tarnwick32")});
    QCOMPARE(world.messages.icons.value(0), MessageIcon::Information);
    QVERIFY(dialog.isVisible());
    QVERIFY(world.store.writtenKeys().isEmpty());
    // No tray on the test's platform: the status line names the way back in.
    QVERIFY(
        child<QLabel>(&dialog, "Label3")->text().contains(QLatin1String("tarnwick --configure")));
}

// The overlay through real mouse and key events, on the layout the test runs on: one
// screen, or (the second run) a screen at scale 2 with one at scale 1 to its right.
void TestTwk01::pickArea_data() {
    QTest::addColumn<int>("screens");
    QTest::addColumn<QString>("gesture"); // steps: press, rpress, move, release X,Y; key NAME
    QTest::addColumn<QString>("taken");   // x,y,w,h in the picture, or empty
    QTest::addColumn<bool>("stillOpen");
    const auto row = [](const char* name, int screens, const char* gesture, const char* taken,
                        bool stillOpen) {
        QTest::newRow(name) << screens << QString::fromLatin1(gesture) << QString::fromLatin1(taken)
                            << stillOpen;
    };
    row("drag", 1, "press 100,50; move 150,80; move 300,250; release 300,250", "100,50,200,200",
        false);
    row("drag up and left", 1, "press 300,250; move 90,40; release 100,50", "100,50,200,200",
        false);
    row("Esc during a drag", 1, "press 100,50; move 300,250; key Escape", "", false);
    row("right click", 1, "move 100,50; rpress 100,50", "", false);
    row("Enter before a drag", 1, "move 100,50; key Return", "", false);
    row("drag under 4 wide", 1, "press 100,50; move 103,90; release 103,90", "", true);
    row("drag under 4 high", 1, "press 100,50; release 200,53", "", true);
    row("scaled screen", 2, "press 100,50; move 300,250; release 300,250", "200,100,400,400",
        false);
    row("unscaled screen", 2, "press 2600,100; release 2800,300", "2600,100,200,200", false);
    row("off the edge", 2, "press 1000,100; move 2000,200; release 2700,300", "2000,200,560,400",
        false);
    // Two of Qt's pixels at scale 2 are 4 of the picture's: the height of 3 is too small.
    row("under 4 on the scaled screen", 2, "press 100,50; release 110,51", "", true);
    row("Esc on the second screen", 2, "press 2600,100; key Escape", "", false);
}

void TestTwk01::pickArea() {
    QFETCH(int, screens);
    QFETCH(QString, gesture);
    QFETCH(QString, taken);
    QFETCH(bool, stillOpen);
    if (QGuiApplication::screens().size() != screens)
        QSKIP("a row of another screen layout");

    World world;
    world.storeArea();
    world.store.set(QStringLiteral("PrintSpecific"), QStringLiteral("0"));
    world.capture.setImage(QImage(4480, 1600, QImage::Format_RGB32));
    Twk01 dialog(world.services(), world.shared, QStringLiteral("tarnwick"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(child<QPushButton>(&dialog, "cb_pickarea"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QTRY_COMPARE(dialog.areaPickers().size(), screens);
    // Steps go to the overlay of the screen where the first one is, in its own pixels.
    const QString first = gesture.section(u' ', 1, 1);
    const QPoint start(first.section(u',', 0, 0).toInt(), first.section(u',', 1).toInt());
    QPointer<AreaPicker> picker;
    for (AreaPicker* p : dialog.areaPickers()) {
        QVERIFY(QTest::qWaitForWindowExposed(p));
        QCOMPARE(p->cursor().shape(), Qt::CrossCursor);
        if (p->pickedScreen()->geometry().contains(start))
            picker = p;
    }
    QVERIFY(picker);
    const QPoint origin = picker->pickedScreen()->geometry().topLeft();

    for (const QString& step : gesture.split(QStringLiteral("; "))) {
        const QString verb = step.section(u' ', 0, 0);
        const QString arg = step.section(u' ', 1);
        const QPoint at =
            QPoint(arg.section(u',', 0, 0).toInt(), arg.section(u',', 1).toInt()) - origin;
        if (verb == QLatin1String("press"))
            QTest::mousePress(picker, Qt::LeftButton, {}, at);
        else if (verb == QLatin1String("rpress"))
            QTest::mousePress(picker, Qt::RightButton, {}, at);
        else if (verb == QLatin1String("move"))
            QTest::mouseMove(picker, at);
        else if (verb == QLatin1String("release"))
            QTest::mouseRelease(picker, Qt::LeftButton, {}, at);
        else
            QTest::keyClick(picker,
                            arg == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(dialog.areaPickers().size(), stillOpen ? screens : 0);
    QCOMPARE(dialog.isVisible(), !stillOpen);
    const QStringList fields = {edit(&dialog, "sle_x")->text(), edit(&dialog, "sle_y")->text(),
                                edit(&dialog, "sle_w")->text(), edit(&dialog, "sle_h")->text()};
    QCOMPARE(fields.join(u','), taken.isEmpty() ? QStringLiteral("10,20,400,300") : taken);
    QCOMPARE(box(&dialog, "cbx_printarea")->isChecked(), !taken.isEmpty());
    // As for typed values, only OK stores them.
    QVERIFY(world.store.writtenKeys().isEmpty());
    QCOMPARE(world.capture.calls(), QList<CaptureKind>{CaptureKind::WholeScreen});
}

void TestTwk01::residentFormAfterOk_data() {
    QTest::addColumn<bool>("firstStart");
    QTest::addColumn<QString>("programName");
    QTest::addColumn<bool>("resident");
    QTest::newRow("first configuration") << true << "tarnwick" << true;
    QTest::newRow("later configuration") << false << "tarnwick" << false;
    QTest::newRow("program named TWK") << false << "TWK" << true;
    QTest::newRow("name compared exactly") << false << "twk" << false;
}

void TestTwk01::residentFormAfterOk() {
    QFETCH(bool, firstStart);
    QFETCH(QString, programName);
    QFETCH(bool, resident);

    World world;
    if (!firstStart)
        world.storeArea();
    const StartStep step = RunStartRoutine(false, world.store);
    QCOMPARE(step == StartStep::OpenConfiguration, firstStart);
    Program program(world.services(), programName);
    QSignalSpy ended(&program, &Program::ended);
    // The dialog alone, as at first start or with the resident form closed.
    program.openConfiguration();
    QVERIFY(program.configuration());
    QVERIFY(!program.resident());

    click(program.configuration(), "cb_ok");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(!program.configuration());
    QCOMPARE(program.resident() != nullptr, resident);
    QCOMPARE(ended.count(), resident ? 0 : 1);
    QVERIFY(!IsFirstStart(world.store));
}

void TestTwk01::cancelAtFirstStartEndsProgram() {
    World world;
    Program program(world.services(), QStringLiteral("tarnwick"));
    QSignalSpy ended(&program, &Program::ended);
    program.start(RunStartRoutine(false, world.store));
    QVERIFY(program.configuration());

    box(program.configuration(), "cbx_printarea")->click();
    click(program.configuration(), "cb_cancel");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QCOMPARE(ended.count(), 1);
    QVERIFY(!program.resident());
    QVERIFY(world.store.writtenKeys().isEmpty());
    QVERIFY(IsFirstStart(world.store));
}

QTEST_MAIN(TestTwk01)
#include "tst_ui_configdialog.moc"
