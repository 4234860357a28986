#include "QtScreenInfo.h"

#include "PicturePixels.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// Without a screen the usual 96 DPI holds and the size is unknown (0).
constexpr double kUsualTwipsPerPixel = 15.0;

QScreen* screen() {
    return QGuiApplication::primaryScreen();
}

// The pixel is the picture's: a device pixel, of which a scaled screen has several to
// each of Qt's pixels.
double twipsPerPixel(double dpi, double ratio) {
    return dpi > 0.0 && ratio > 0.0 ? 1440.0 / (dpi * ratio) : kUsualTwipsPerPixel;
}

} // namespace

double QtScreenInfo::twipsPerPixelX() const {
    QScreen* s = screen();
    return s ? twipsPerPixel(s->logicalDotsPerInchX(), s->devicePixelRatio()) : kUsualTwipsPerPixel;
}

double QtScreenInfo::twipsPerPixelY() const {
    QScreen* s = screen();
    return s ? twipsPerPixel(s->logicalDotsPerInchY(), s->devicePixelRatio()) : kUsualTwipsPerPixel;
}

double QtScreenInfo::widthTwips() const {
    QScreen* s = screen();
    return s ? PictureRect(s).width() * twipsPerPixelX() : 0.0;
}

double QtScreenInfo::heightTwips() const {
    QScreen* s = screen();
    return s ? PictureRect(s).height() * twipsPerPixelY() : 0.0;
}
