#include "KeyTriggerXInput.h"

#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

KeyTriggerXInput::KeyTriggerXInput(QObject* parent, bool watch) : KeyTrigger(parent) {
    if (!watch)
        return;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display, "XInputExtension", &m_opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2) {
        XCloseDisplay(display);
        return;
    }
    m_display = display;

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    readKeyMapping();
    XFlush(display);

    m_notifier = new QSocketNotifier(ConnectionNumber(display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &KeyTriggerXInput::readEvents);
}

KeyTriggerXInput::~KeyTriggerXInput() {
    delete m_notifier;
    if (m_display)
        XCloseDisplay(m_display);
}

quint16 KeyTriggerXInput::keyState() {
    if (!m_display)
        return 0;
    // Events Xlib has already buffered would not wake the notifier again.
    readEvents();
    const quint16 state = (m_down ? KeyDown : 0) | (m_pressed ? PressedSinceLastQuery : 0);
    m_pressed = false;
    return state;
}

void KeyTriggerXInput::readEvents() {
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            readKeyMapping();
            continue;
        }
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_opcode ||
            !XGetEventData(m_display, cookie))
            continue;
        if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            handleKey(cookie->evtype == XI_RawKeyPress, raw->detail,
                      (raw->flags & XIKeyRepeat) != 0);
        }
        XFreeEventData(m_display, cookie);
    }
}

// Which key codes carry Print and the Alt keys in the current keyboard map, on any level
// (Alt+Print often produces Sys_Req on the same key).
void KeyTriggerXInput::readKeyMapping() {
    m_printKeys.clear();
    m_altKeys.clear();
    int first = 0;
    int last = 0;
    XDisplayKeycodes(m_display, &first, &last);
    int perKey = 0;
    KeySym* syms = XGetKeyboardMapping(m_display, KeyCode(first), last - first + 1, &perKey);
    if (!syms)
        return;
    for (int code = first; code <= last; ++code) {
        for (int level = 0; level < perKey; ++level) {
            const KeySym sym = syms[(code - first) * perKey + level];
            if (sym == XK_Print)
                m_printKeys.insert(code);
            else if (sym == XK_Alt_L || sym == XK_Alt_R)
                m_altKeys.insert(code);
        }
    }
    XFree(syms);
}

void KeyTriggerXInput::handleKey(bool press, int keycode, bool repeat) {
    if (m_altKeys.contains(keycode)) {
        // A release can arrive twice; the set keeps that harmless.
        if (press)
            m_altDown.insert(keycode);
        else
            m_altDown.remove(keycode);
        return;
    }
    if (!m_printKeys.contains(keycode))
        return;
    if (!press) {
        m_down = false;
        return;
    }
    m_down = true;
    if (repeat)
        return;
    m_pressed = true;
    emit printPressed(m_altDown.isEmpty() ? CaptureKind::WholeScreen : CaptureKind::ActiveWindow);
}
