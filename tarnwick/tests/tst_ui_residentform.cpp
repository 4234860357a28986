#include "ConfigDialog.h"
#include "DisabledNotice.h"
#include "Program.h"
#include "ResidentForm.h"
#include "TrayIcon.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceFolder.h"
#include "platform/QtEventPump.h"
#include "support/ResidentWorld.h"

#include <QLabel>
#include <QLocalSocket>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(TickResult)

namespace {

QImage screenImage() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestTwk02 : public QObject {
    Q_OBJECT

private slots:
    void menuAsDesigned();
    void tick_data();
    void tick();
    void enableItemSwitchesPrinting();
    void pressDuringPromptWaitIsKept();
    void closeDuringPromptWaitEndsAfterTheTick();
    void pressesDuringAFailureAreDropped();
    void printByCommand_data();
    void printByCommand();
    void commandThroughTheSocket();
    void shutdown_data();
    void shutdown();
};

void TestTwk02::menuAsDesigned() {
    ResidentWorld world;
    Twk02 resident(world.services(), world.shared);

    QMenu* menu = resident.optionsMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("m_options"));
    QStringList texts;
    QStringList names;
    for (const QAction* action : menu->actions()) {
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        names.append(action->objectName());
    }
    QCOMPARE(texts, (QStringList{"&Configure", "&Enable Tarnwick 32", "&Help", "-", "C&lose"}));
    QCOMPARE(names, (QStringList{"m_configure", "m_enable", "m_help", "m_option2", "m_close"}));
    QVERIFY(menu->actions().at(1)->isCheckable());
    QVERIFY(resident.printingEnabled());
    QCOMPARE(resident.windowTitle(), QStringLiteral("Tarnwick32"));
    QVERIFY(!resident.isVisible());
}

void TestTwk02::tick_data() {
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("image");
    QTest::addColumn<TickResult>("result");
    QTest::addColumn<int>("jobs");

    QTest::newRow("no press") << false << false << true << TickResult::Idle << 0;
    QTest::newRow("press") << true << false << true << TickResult::Printed << 1;
    QTest::newRow("press, key still down") << true << true << true << TickResult::Printed << 1;
    // A key held past the tick that printed its press is the same press: one page.
    QTest::newRow("key held") << false << true << true << TickResult::Idle << 0;
    QTest::newRow("text on the clipboard") << true << false << false << TickResult::NoImage << 0;
}

void TestTwk02::tick() {
    QFETCH(bool, pressed);
    QFETCH(bool, held);
    QFETCH(bool, image);
    QFETCH(TickResult, result);
    QFETCH(int, jobs);

    ResidentWorld world;
    world.storeArea();
    if (image)
        world.clipboard.setImage(screenImage());
    Twk02 resident(world.services(), world.shared);
    if (pressed)
        world.trigger.press();
    world.trigger.setDown(held);

    resident.Timer1_Timer();

    QCOMPARE(resident.lastTick(), result);
    QCOMPARE(world.printers.jobs.size(), qsizetype(jobs));
    QCOMPARE(world.trigger.queries(), 1);
    if (result == TickResult::Printed) {
        QVERIFY(world.printers.jobs.at(0).ended);
        QCOMPARE(FormControl<QLabel>(&resident, "Picture1")->size(), QSize(320, 200));
        QCOMPARE(resident.trayIcon()->lastMessage(), QStringLiteral("Printed to Office"));
    } else {
        QVERIFY(resident.trayIcon()->lastMessage().isEmpty());
    }
}

void TestTwk02::enableItemSwitchesPrinting() {
    ResidentWorld world;
    world.storeArea();
    world.clipboard.setImage(screenImage());
    Twk02 resident(world.services(), world.shared);
    QAction* enable = resident.optionsMenu()->actions().at(1);

    enable->trigger();
    QVERIFY(!enable->isChecked());
    world.trigger.press();
    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Disabled);
    QVERIFY(world.printers.jobs.isEmpty());
    QVERIFY(resident.forms().notice());
    QVERIFY(resident.forms().notice()->isVisible());
    QVERIFY(world.clipboard.hasImage());

    enable->trigger();
    QVERIFY(enable->isChecked());
    world.trigger.press();
    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Printed);
    QCOMPARE(world.printers.jobs.size(), 1);
}

void TestTwk02::pressDuringPromptWaitIsKept() {
    ResidentWorld world;
    world.storeArea();
    world.store.set(QStringLiteral("PrintPrompt"), QStringLiteral("1"));
    world.clipboard.setImage(screenImage());
    Twk02 resident(world.services(), world.shared);
    int queriesDuringWait = -1;
    world.events.script = {
        [&] {
            // The next press comes while the prompt waits; its tick must not take it.
            world.trigger.press();
            queriesDuringWait = world.trigger.queries();
            resident.Timer1_Timer();
            QCOMPARE(world.trigger.queries(), queriesDuringWait);
        },
        [&] { FormControl<QPushButton>(resident.forms().prompt(), "cb_option_1")->click(); },
    };
    world.trigger.press();

    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Printed);
    QCOMPARE(world.printers.jobs.size(), 1);

    world.events.script = {
        [&] { FormControl<QPushButton>(resident.forms().prompt(), "cb_option_0")->click(); }};
    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Printed);
    QCOMPARE(world.printers.jobs.size(), 2);
}

void TestTwk02::closeDuringPromptWaitEndsAfterTheTick() {
    ResidentWorld world;
    world.storeArea();
    world.store.set(QStringLiteral("PrintPrompt"), QStringLiteral("1"));
    world.clipboard.setImage(screenImage());
    QPointer<Twk02> resident = new Twk02(world.services(), world.shared);
    resident->setAttribute(Qt::WA_DeleteOnClose);
    world.events.script = {[&] {
        // The program's shutdown while the prompt waits.
        resident->close();
        QVERIFY(resident);
    }};
    world.trigger.press();

    resident->Timer1_Timer();
    QCOMPARE(resident->lastTick(), TickResult::Cancelled);
    processDeferredDeletes();

    QVERIFY(!resident);
    QVERIFY(world.printers.jobs.isEmpty());
}

void TestTwk02::pressesDuringAFailureAreDropped() {
    ResidentWorld world;
    world.clipboard.setImage(screenImage());
    world.printers.schedulerRunning = false;
    Twk02 resident(world.services(), world.shared);
    // Pressed again while the box is up: the tick showing it is still running.
    world.messages.onShow = [&] { world.trigger.press(); };
    world.trigger.press();

    resident.Timer1_Timer();
    resident.Timer1_Timer();
    QCOMPARE(resident.lastTick(), TickResult::Idle);
    QCOMPARE(world.messages.texts.size(), 1);
}

void TestTwk02::printByCommand_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("jobs");
    QTest::addColumn<QStringList>("messages");
    // What whoever gave each command is told.
    QTest::addColumn<QString>("answer");

    const QString refused = QStringLiteral("The portal refused.");
    const QString whole = QStringLiteral("The whole screen instead.");
    const QString rejected = QStringLiteral("The printer Office is not accepting jobs. Nothing "
                                            "was printed.");
    QTest::newRow("two commands, two pages")
        << true << QString() << QString() << 2 << QStringList() << "0 ";
    QTest::newRow("printing off")
        << false << QString() << QString() << 0 << QStringList()
        << "1 Printing is switched off in the tray menu. Nothing was printed.";
    // The clipboard's older picture is not printed in place of the screen.
    QTest::newRow("capture refused")
        << true << refused << QString() << 0
        << QStringList{refused + " Nothing was printed.", refused + " Nothing was printed."}
        << "1 " + refused + " Nothing was printed.";
    QTest::newRow("window noted once")
        << true << QString() << whole << 2 << QStringList{whole} << "0 ";
    QTest::newRow("queue rejects jobs") << true << "rejecting" << QString() << 0
                                        << QStringList{rejected, rejected} << "1 " + rejected;
}

void TestTwk02::printByCommand() {
    QFETCH(bool, enabled);
    QFETCH(QString, failure);
    QFETCH(QString, note);
    QFETCH(int, jobs);
    QFETCH(QStringList, messages);
    QFETCH(QString, answer);

    ResidentWorld world;
    world.storeArea();
    world.clipboard.setImage(screenImage());
    if (failure == QLatin1String("rejecting"))
        world.printers.answers.insert(QStringLiteral("Office"), QueueAnswer::Rejecting);
    else if (!failure.isEmpty())
        world.capture.setImage(QImage());
    world.capture.failureText = failure;
    world.capture.noteText = note;
    Twk02 resident(world.services(), world.shared);
    resident.optionsMenu()->actions().at(1)->setChecked(enabled);
    QStringList answers;
    const auto reply = [&](int status, const QString& text) {
        answers.append(QString::number(status) + u' ' + text);
    };

    resident.printByCommand(CaptureKind::ActiveWindow, reply);
    resident.printByCommand(CaptureKind::ActiveWindow, reply);

    QCOMPARE(std::count_if(world.printers.jobs.begin(), world.printers.jobs.end(),
                           [](const RecordedJob& job) { return job.ended; }),
             jobs);
    QCOMPARE(world.messages.texts, messages);
    QCOMPARE(world.capture.calls().size(), enabled ? 2 : 0);
    QCOMPARE(resident.forms().notice() != nullptr, !enabled);
    QCOMPARE(answers, QStringList(2, answer));
}

void TestTwk02::commandThroughTheSocket() {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ResidentWorld world;
    world.storeArea();
    world.store.set(QStringLiteral("PrintPrompt"), QStringLiteral("1"));
    world.clipboard.setImage(screenImage());
    QtEventPump events;
    Program program({world.store, world.screen, world.clipboard, world.printers, world.messages,
                     events, world.trigger, world.capture},
                    QStringLiteral("tarnwick"));
    program.start(StartStep::LoadResident);
    InstanceChannel channel(QStringLiteral("TwkCommandTest"));
    program.takeCommandsFrom(channel);
    QVERIFY(channel.listen());

    QLocalSocket peer;
    peer.connectToServer(InstanceFilePath(QStringLiteral("TwkCommandTest"), ".socket"));
    QVERIFY(peer.waitForConnected(2000));
    peer.write("print\n");
    QVERIFY(peer.waitForBytesWritten(2000));
    // The peer goes while the prompt waits, and the prompt is answered from the keyboard
    // only after its connection has been taken down inside the prompt's loop.
    int ticksSinceGone = 0;
    QTimer user;
    connect(&user, &QTimer::timeout, &program, [&] {
        Twk03* prompt = program.resident()->forms().prompt();
        if (!prompt || !prompt->isVisible())
            return;
        if (peer.state() == QLocalSocket::ConnectedState)
            peer.disconnectFromServer();
        else if (++ticksSinceGone == 10)
            QTest::keyClick(FormControl<QPushButton>(prompt, "cb_option_0"), Qt::Key_Space);
    });
    user.start(20);

    QTRY_COMPARE(world.printers.jobs.size(), qsizetype(1));
    QVERIFY(ticksSinceGone >= 10);
    QCOMPARE(program.resident()->lastTick(), TickResult::Printed);
    user.stop();
    qunsetenv("XDG_RUNTIME_DIR");
}

void TestTwk02::shutdown_data() {
    QTest::addColumn<bool>("aboutOpen");
    QTest::addColumn<bool>("fromDialog");
    QTest::newRow("menu Close") << false << false;
    QTest::newRow("menu Close with the About box open") << true << false;
    QTest::newRow("dialog Close") << false << true;
}

void TestTwk02::shutdown() {
    QFETCH(bool, aboutOpen);
    QFETCH(bool, fromDialog);

    ResidentWorld world;
    world.storeArea();
    Program program(world.services(), QStringLiteral("tarnwick"));
    QSignalSpy ended(&program, &Program::ended);
    program.start(StartStep::LoadResident);
    QVERIFY(program.resident());
    QVERIFY(!program.configuration());
    // "&Configure" opens the dialog; a second time only brings it forward.
    program.resident()->optionsMenu()->actions().at(0)->trigger();
    Twk01* dialog = program.configuration();
    QVERIFY(dialog);
    program.resident()->optionsMenu()->actions().at(0)->trigger();
    QCOMPARE(program.configuration(), dialog);

    const auto close = [&] {
        if (fromDialog)
            FormControl<QPushButton>(program.configuration(), "cb_close")->click();
        else
            program.resident()->optionsMenu()->actions().at(4)->trigger();
    };
    if (aboutOpen) {
        // The About box runs its own loop; Close comes from inside it.
        QTimer::singleShot(0, &program, close);
        FormControl<QPushButton>(dialog, "cb_about")->click();
    } else {
        close();
    }
    processDeferredDeletes();

    QVERIFY(!program.configuration());
    QVERIFY(!program.resident());
    QCOMPARE(ended.count(), 1);
    QVERIFY(world.store.writtenKeys().isEmpty());
}

QTEST_MAIN(TestTwk02)
#include "tst_ui_residentform.moc"
