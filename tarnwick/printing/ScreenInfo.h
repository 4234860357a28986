#pragma once

// Facts about the screen the drawing measures in twips by. Its pixel is the captured
// picture's, so the size in twips over twips per pixel is the screen's part of it.
class ScreenInfo {
public:
    virtual ~ScreenInfo() = default;

    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    virtual double widthTwips() const = 0;
    virtual double heightTwips() const = 0;
};
