#pragma once

#include <QKeyEvent>
#include <QSet>

// The keys pressed in one place and not yet let go there. A key acts on its release
// only where it was pressed: a message box or the popup closed by a press leaves the
// release to whatever has the focus next, which must not take it for its own key.
class HeldKeys {
public:
    // A held key's auto-repeat is the same press, not a new one.
    void press(const QKeyEvent* event) {
        if (!event->isAutoRepeat())
            m_keys.insert(event->key());
    }
    // True once for each press received here, when that key is let go.
    bool release(const QKeyEvent* event) {
        return !event->isAutoRepeat() && m_keys.remove(event->key());
    }
    // Keys still down when the focus leaves are released somewhere else.
    void clear() { m_keys.clear(); }

private:
    QSet<int> m_keys;
};
