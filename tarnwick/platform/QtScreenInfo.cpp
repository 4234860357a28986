#include "QtScreenInfo.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// Without a screen the usual 96 DPI holds and the size is unknown (0).
constexpr double kUsualTwipsPerPixel = 15.0;

QScreen* screen() {
    return QGuiApplication::primaryScreen();
}

double twipsPerPixel(double dpi) {
    return dpi > 0.0 ? 1440.0 / dpi : kUsualTwipsPerPixel;
}

} // namespace

double QtScreenInfo::twipsPerPixelX() const {
    QScreen* s = screen();
    return s ? twipsPerPixel(s->logicalDotsPerInchX()) : kUsualTwipsPerPixel;
}

double QtScreenInfo::twipsPerPixelY() const {
    QScreen* s = screen();
    return s ? twipsPerPixel(s->logicalDotsPerInchY()) : kUsualTwipsPerPixel;
}

double QtScreenInfo::widthTwips() const {
    QScreen* s = screen();
    return s ? s->size().width() * twipsPerPixelX() : 0.0;
}

double QtScreenInfo::heightTwips() const {
    QScreen* s = screen();
    return s ? s->size().height() * twipsPerPixelY() : 0.0;
}
