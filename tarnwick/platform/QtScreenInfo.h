#pragma once

#include "platform/ScreenInfo.h"

// The primary screen: twips per pixel = 1440 / the screen's logical DPI.
class QtScreenInfo : public ScreenInfo {
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    double widthTwips() const override;
    double heightTwips() const override;
};
