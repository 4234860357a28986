#pragma once

#include "printing/ScreenInfo.h"

// The primary screen, counted in the captured picture's pixels: twips per pixel =
// 1440 / (the screen's logical DPI x its device-pixel ratio).
class QtScreenInfo : public ScreenInfo {
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    double widthTwips() const override;
    double heightTwips() const override;
};
