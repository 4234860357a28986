#include "ScreenCaptureX11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstring>

namespace {

// A window that disappears while we look at it must not end the program through Xlib's
// default error handler; the failed call simply yields nothing.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}

class IgnoreXErrors {
public:
    explicit IgnoreXErrors(Display* display) : m_display(display) {
        m_previous = XSetErrorHandler(ignoreXError);
    }
    ~IgnoreXErrors() {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }

private:
    Display* m_display;
    XErrorHandler m_previous;
};

int channel(unsigned long pixel, unsigned long mask) {
    if (!mask)
        return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return int(((pixel & mask) >> shift) * 255 / max);
}

QImage toQImage(XImage* x) {
    QImage image(x->width, x->height, QImage::Format_RGB32);
    const bool native32 = x->bits_per_pixel == 32 && x->byte_order == LSBFirst &&
                          x->red_mask == 0xff0000 && x->green_mask == 0xff00 &&
                          x->blue_mask == 0xff;
    for (int y = 0; y < x->height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (native32) {
            std::memcpy(line, x->data + qsizetype(y) * x->bytes_per_line, x->width * 4);
            for (int i = 0; i < x->width; ++i)
                line[i] |= 0xff000000u;
            continue;
        }
        for (int i = 0; i < x->width; ++i) {
            const unsigned long p = XGetPixel(x, i, y);
            line[i] =
                qRgb(channel(p, x->red_mask), channel(p, x->green_mask), channel(p, x->blue_mask));
        }
    }
    return image;
}

} // namespace

ScreenCaptureX11::ScreenCaptureX11(QObject* parent)
    : ScreenCapture(parent), m_display(XOpenDisplay(nullptr)) {}

ScreenCaptureX11::~ScreenCaptureX11() {
    if (m_display)
        XCloseDisplay(m_display);
}

// The active window as the user sees it, with the frame the window manager drew around
// it; empty when there is none (no window manager, focus on the root window).
QRect ScreenCaptureX11::activeWindowFrame() {
    Display* d = m_display;
    const Window root = DefaultRootWindow(d);
    IgnoreXErrors guard(d);

    Window active = 0;
    const Atom property = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, root, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (type == XA_WINDOW && format == 32 && count == 1)
            active = *reinterpret_cast<unsigned long*>(data);
        XFree(data);
    }
    if (!active) {
        int revert = 0;
        XGetInputFocus(d, &active, &revert);
        if (active == PointerRoot)
            active = 0;
    }
    if (!active || active == root)
        return {};

    // Climb to the child of the root: the window manager's frame, or the window itself.
    Window top = active;
    for (;;) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(d, top, &rootReturn, &parent, &children, &n))
            return {};
        if (children)
            XFree(children);
        if (!parent || parent == root)
            break;
        top = parent;
    }

    XWindowAttributes attributes;
    if (!XGetWindowAttributes(d, top, &attributes) || attributes.map_state != IsViewable)
        return {};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(d, top, root, 0, 0, &x, &y, &child))
        return {};
    const int border = attributes.border_width;
    const QRect frame(x - border, y - border, attributes.width + 2 * border,
                      attributes.height + 2 * border);
    XWindowAttributes rootAttributes;
    XGetWindowAttributes(d, root, &rootAttributes);
    return frame.intersected(QRect(0, 0, rootAttributes.width, rootAttributes.height));
}

QImage ScreenCaptureX11::capture(CaptureKind kind) {
    if (!m_display)
        return {};
    const Window root = DefaultRootWindow(m_display);
    QRect area;
    if (kind == CaptureKind::ActiveWindow)
        area = activeWindowFrame();
    if (area.isEmpty()) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, root, &attributes))
            return {};
        area = QRect(0, 0, attributes.width, attributes.height);
    }
    XImage* x = nullptr;
    {
        IgnoreXErrors guard(m_display);
        x = XGetImage(m_display, root, area.x(), area.y(), unsigned(area.width()),
                      unsigned(area.height()), AllPlanes, ZPixmap);
    }
    if (!x)
        return {};
    QImage image = toQImage(x);
    XDestroyImage(x);
    return image;
}
