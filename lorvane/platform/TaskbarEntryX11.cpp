#include "platform/TaskbarEntryX11.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace lorvane {

namespace {

// _NET_WM_STATE client-message actions, and the source "a normal application".
constexpr long StateRemove = 0;
constexpr long StateAdd = 1;
constexpr long SourceApplication = 1;

// The window manager has taken the window over while WM_STATE says Normal or Iconic;
// a withdrawn window has none (or Withdrawn).
bool isManaged(Display* dpy, Window window) {
    const Atom wmState = XInternAtom(dpy, "WM_STATE", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, wmState, 0, 2, False, wmState, &type, &format, &count,
                           &after, &data) != Success)
        return false;
    bool managed = false;
    if (data && format == 32 && count >= 1) {
        const long state = reinterpret_cast<const long*>(data)[0];
        managed = state == NormalState || state == IconicState;
    }
    if (data)
        XFree(data);
    return managed;
}

// Adds or removes one atom in the window's own _NET_WM_STATE list, keeping the others.
void writeOwnState(Display* dpy, Window window, Atom netWmState, Atom state, bool add) {
    std::vector<Atom> atoms;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, netWmState, 0, 1024, False, XA_ATOM, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32) {
        const long* values = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            if (Atom(values[i]) != state)
                atoms.push_back(Atom(values[i]));
        }
    }
    if (data)
        XFree(data);
    if (add)
        atoms.push_back(state);
    if (atoms.empty()) {
        XDeleteProperty(dpy, window, netWmState);
        return;
    }
    XChangeProperty(dpy, window, netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
}

} // namespace

TaskbarEntryX11::TaskbarEntryX11() = default;

TaskbarEntryX11::~TaskbarEntryX11() {
    if (m_display && m_ownDisplay)
        XCloseDisplay(m_display);
}

Display* TaskbarEntryX11::display() {
    if (m_tried)
        return m_display;
    m_tried = true;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    // Qt's own connection keeps our requests in order with its mapping of the window.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        m_display = x11->display();
    if (!m_display) {
        m_display = XOpenDisplay(nullptr);
        m_ownDisplay = m_display != nullptr;
    }
    return m_display;
}

void TaskbarEntryX11::setSkipped(QWindow* window, bool skipped) {
    Display* dpy = window ? display() : nullptr;
    if (!dpy)
        return;
    const Window id = Window(window->winId());
    const Atom netWmState = XInternAtom(dpy, "_NET_WM_STATE", False);
    const Atom skipTaskbar = XInternAtom(dpy, "_NET_WM_STATE_SKIP_TASKBAR", False);

    if (!isManaged(dpy, id))
        writeOwnState(dpy, id, netWmState, skipTaskbar, skipped);
    // Also sent to a window not yet managed: the window manager may take it over between
    // the look at WM_STATE and now, and it ignores the request for a window it does not know.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = netWmState;
    event.xclient.format = 32;
    event.xclient.data.l[0] = skipped ? StateAdd : StateRemove;
    event.xclient.data.l[1] = long(skipTaskbar);
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = SourceApplication;
    XSendEvent(dpy, DefaultRootWindow(dpy), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    if (m_ownDisplay)
        XSync(dpy, False);
    else
        XFlush(dpy);
}

} // namespace lorvane
