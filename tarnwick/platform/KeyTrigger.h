#pragma once

#include <QObject>

// What a press of Print Screen asks for: Alt held down means the active window.
enum class CaptureKind { WholeScreen, ActiveWindow };

// The Print Screen key as the resident timer sees it. The key is not grabbed; the
// implementation only watches it and keeps a latch that the one-second tick reads.
class KeyTrigger : public QObject {
    Q_OBJECT
public:
    // Bits of keyState(), laid out like the key-state word the timer logic was made for.
    static constexpr quint16 KeyDown = 0x8000;
    static constexpr quint16 PressedSinceLastQuery = 0x0001;

    using QObject::QObject;

    // False when the key cannot be watched at all (no X11 display); the program then
    // never prints and says so once at start.
    virtual bool isAvailable() const = 0;

    // KeyDown while the key is held, PressedSinceLastQuery when it went down since the
    // previous call (that bit is cleared by the call). 0: nothing happened.
    virtual quint16 keyState() = 0;

signals:
    // Sent at the moment the key goes down, before any tick can read the latch.
    void printPressed(CaptureKind kind);
};
