#pragma once

#include "KeyTrigger.h"

#include <QSet>

class QSocketNotifier;
struct _XDisplay;

// Watches Print Screen through XInput2 raw key events on the root window of the X
// display. Raw events reach us without a grab, so the desktop's own screenshot tool
// keeps its key, and with XI 2.2 they arrive even while another client grabs Print.
// The events come through a connection of our own, watched by a socket notifier, so
// an idle program does no work between presses.
class KeyTriggerXInput : public KeyTrigger {
    Q_OBJECT
public:
    // Opens $DISPLAY; without an X11 display the trigger is simply not available, nor
    // when it is told not to watch.
    explicit KeyTriggerXInput(QObject* parent = nullptr, bool watch = true);
    ~KeyTriggerXInput() override;

    bool isAvailable() const override { return m_display != nullptr; }
    quint16 keyState() override;

private:
    void readEvents();
    void readKeyMapping();
    void handleKey(bool press, int keycode, bool repeat);

    _XDisplay* m_display = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    int m_opcode = 0;
    QSet<int> m_printKeys;
    QSet<int> m_altKeys;
    // Raw events carry no modifier state, so the Alt keys held down are tracked here.
    QSet<int> m_altDown;
    bool m_down = false;
    bool m_pressed = false;
};
