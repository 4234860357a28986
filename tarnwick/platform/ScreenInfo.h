#pragma once

// Facts about the screen the forms and the drawing measure in twips by.
class ScreenInfo {
public:
    virtual ~ScreenInfo() = default;

    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    virtual double widthTwips() const = 0;
    virtual double heightTwips() const = 0;
};
