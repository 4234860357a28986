// FakeKeyTrigger.h: FakeKeyTrigger, a Print Screen key the test presses.
#pragma once

#include "platform/KeyTrigger.h"

// A trigger driven by the test: press() behaves like a real press and release.
class FakeKeyTrigger : public KeyTrigger {
    Q_OBJECT
public:
    using KeyTrigger::KeyTrigger;

    bool isAvailable() const override { return m_available; }
    void setAvailable(bool available) { m_available = available; }

    quint16 keyState() override {
        const quint16 state = (m_down ? KeyDown : 0) | (m_pressed ? PressedSinceLastQuery : 0);
        m_pressed = false;
        ++m_queries;
        return state;
    }

    void press(CaptureKind kind = CaptureKind::WholeScreen) {
        m_pressed = true;
        emit printPressed(kind);
    }
    void setDown(bool down) { m_down = down; }
    int queries() const { return m_queries; }

private:
    bool m_available = true;
    bool m_pressed = false;
    bool m_down = false;
    int m_queries = 0;
};
