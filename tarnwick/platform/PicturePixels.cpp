#include "PicturePixels.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A point in a gap between screens belongs to the nearest one.
QScreen* screenOf(const QPoint& global) {
    if (QScreen* s = QGuiApplication::screenAt(global))
        return s;
    QScreen* nearest = QGuiApplication::primaryScreen();
    qint64 best = std::numeric_limits<qint64>::max();
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const qint64 dx = std::max({g.left() - global.x(), 0, global.x() - g.right()});
        const qint64 dy = std::max({g.top() - global.y(), 0, global.y() - g.bottom()});
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = s;
        }
    }
    return nearest;
}

int scaled(int logical, qreal ratio) {
    return int(std::floor(logical * ratio));
}

// Qt rounds a scaled screen's size to whole pixels, so at a fractional ratio several
// device sizes give the same size of Qt's (2560 and 2561 both give 1707 at 1.5): the
// smallest of them that is not below the plain product is taken.
int deviceLength(int logical, qreal ratio) {
    int device = scaled(logical, ratio);
    while (std::lround(device / ratio) < logical)
        ++device;
    return device;
}

} // namespace

// Qt keeps a scaled screen's top-left corner where the platform puts it and shrinks
// only its size, so the corner is already a place in the picture.
QPoint PicturePoint(const QPoint& global) {
    const QScreen* s = screenOf(global);
    if (!s)
        return global;
    const QPoint origin = s->geometry().topLeft();
    const qreal ratio = s->devicePixelRatio();
    if (!(ratio > 0.0))
        return global;
    return origin +
           QPoint(scaled(global.x() - origin.x(), ratio), scaled(global.y() - origin.y(), ratio));
}

QRect PictureRect(const QScreen* s) {
    if (!s)
        return {};
    const QRect g = s->geometry();
    const qreal ratio = s->devicePixelRatio();
    if (!(ratio > 0.0))
        return g;
    return QRect(g.topLeft(),
                 QSize(deviceLength(g.width(), ratio), deviceLength(g.height(), ratio)));
}
