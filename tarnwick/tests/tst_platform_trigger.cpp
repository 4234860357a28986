// The Print Screen trigger and the screen capture against a real X server, with key
// presses made by xdotool through the XTEST extension.
#include "platform/KeyTriggerXInput.h"
#include "platform/ScreenCaptureX11.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

Q_DECLARE_METATYPE(CaptureKind)

namespace {

void xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY2(process.waitForFinished(10000), "xdotool did not finish");
    QCOMPARE(process.exitCode(), 0);
}

// Waits until the trigger's latch shows the bits wanted, reading it the way the tick does.
quint16 waitForState(KeyTrigger& trigger, quint16 wanted) {
    quint16 state = 0;
    for (int i = 0; i < 100 && (state & wanted) != wanted; ++i) {
        QTest::qWait(50);
        state |= trigger.keyState();
    }
    return state;
}

class Swatch : public QWidget {
public:
    explicit Swatch(QColor colour) : m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

} // namespace

class TestTrigger : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pressesAreLatched_data();
    void pressesAreLatched();
    void otherKeysLeaveTheLatch();
    void heldKeyReportsDown();
    void wholeScreenCapture();
    void activeWindowCapture();

private:
    KeyTriggerXInput* m_trigger = nullptr;
};

void TestTrigger::initTestCase() {
    qRegisterMetaType<CaptureKind>();
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    m_trigger = new KeyTriggerXInput(this);
    QVERIFY(m_trigger->isAvailable());
    m_trigger->keyState();
}

void TestTrigger::pressesAreLatched_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<CaptureKind>("kind");
    QTest::newRow("Print") << "Print" << CaptureKind::WholeScreen;
    QTest::newRow("Alt+Print") << "alt+Print" << CaptureKind::ActiveWindow;
    QTest::newRow("right Alt+Print") << "Alt_R+Print" << CaptureKind::ActiveWindow;
    // The Alt of the previous row was released: Print alone is the whole screen again.
    QTest::newRow("Print after Alt") << "Print" << CaptureKind::WholeScreen;
}

void TestTrigger::pressesAreLatched() {
    QFETCH(QString, keys);
    QFETCH(CaptureKind, kind);
    QSignalSpy pressed(m_trigger, &KeyTrigger::printPressed);

    xdotool({QStringLiteral("key"), keys});

    QVERIFY(pressed.wait(5000) || pressed.count() == 1);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).value<CaptureKind>(), kind);
    // Pressed and released before the tick: only the "pressed since" bit, and only once.
    QCOMPARE(waitForState(*m_trigger, KeyTrigger::PressedSinceLastQuery),
             KeyTrigger::PressedSinceLastQuery);
    QCOMPARE(m_trigger->keyState(), quint16(0));
}

void TestTrigger::otherKeysLeaveTheLatch() {
    QSignalSpy pressed(m_trigger, &KeyTrigger::printPressed);
    // Events arrive in order, so once the Print of the end is seen, the others were too.
    xdotool({QStringLiteral("key"), QStringLiteral("a"), QStringLiteral("shift+F12"),
             QStringLiteral("Alt_L"), QStringLiteral("Print")});
    QVERIFY(pressed.wait(5000) || pressed.count() == 1);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.at(0).at(0).value<CaptureKind>(), CaptureKind::WholeScreen);
    QCOMPARE(waitForState(*m_trigger, KeyTrigger::PressedSinceLastQuery),
             KeyTrigger::PressedSinceLastQuery);
}

void TestTrigger::heldKeyReportsDown() {
    QSignalSpy pressed(m_trigger, &KeyTrigger::printPressed);
    xdotool({QStringLiteral("keydown"), QStringLiteral("Print")});
    QVERIFY(pressed.wait(5000) || pressed.count() == 1);
    QCOMPARE(waitForState(*m_trigger, KeyTrigger::KeyDown | KeyTrigger::PressedSinceLastQuery),
             quint16(KeyTrigger::KeyDown | KeyTrigger::PressedSinceLastQuery));
    // Held past the keyboard's repeat delay: the repeats the server makes meanwhile are
    // the same press, so the ticks see the key down and no new press.
    int newPresses = 0;
    for (int i = 0; i < 15; ++i) {
        QTest::qWait(100);
        const quint16 state = m_trigger->keyState();
        QCOMPARE(state & KeyTrigger::KeyDown, KeyTrigger::KeyDown);
        if (state & KeyTrigger::PressedSinceLastQuery)
            ++newPresses;
    }
    QCOMPARE(newPresses, 0);

    xdotool({QStringLiteral("keyup"), QStringLiteral("Print")});
    quint16 state = KeyTrigger::KeyDown;
    for (int i = 0; i < 100 && state != 0; ++i) {
        QTest::qWait(50);
        state = m_trigger->keyState();
    }
    QCOMPARE(state, quint16(0));
    QCOMPARE(pressed.count(), 1);
}

void TestTrigger::wholeScreenCapture() {
    ScreenCaptureX11 capture;
    QVERIFY(capture.isAvailable());
    Swatch swatch(QColor(200, 30, 40));
    swatch.setGeometry(100, 120, 64, 48);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    QTest::qWait(200);

    capture.captureToClipboard(CaptureKind::WholeScreen);

    const QImage image = QGuiApplication::clipboard()->image();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(image.size(), screen);
    const QPoint inside = swatch.mapToGlobal(QPoint(10, 10));
    QCOMPARE(QColor(image.pixel(inside)), QColor(200, 30, 40));
}

void TestTrigger::activeWindowCapture() {
    ScreenCaptureX11 capture;
    Swatch swatch(QColor(20, 160, 90));
    swatch.setGeometry(300, 200, 80, 60);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    swatch.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&swatch));
    QTest::qWait(200);

    const QImage image = capture.capture(CaptureKind::ActiveWindow);

    // With a window manager the frame it draws is part of the window; without, there is none.
    const QRect frame = swatch.frameGeometry();
    QCOMPARE(image.size(), frame.size());
    const QPoint centre = swatch.geometry().center() - frame.topLeft();
    QCOMPARE(QColor(image.pixel(centre)), QColor(20, 160, 90));
}

QTEST_MAIN(TestTrigger)
#include "tst_platform_trigger.moc"
