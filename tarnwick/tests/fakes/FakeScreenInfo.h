// FakeScreenInfo.h: FakeScreenInfo, a screen of a fixed size and resolution.
#pragma once

#include "printing/ScreenInfo.h"

class FakeScreenInfo : public ScreenInfo {
public:
    FakeScreenInfo(int widthPixels = 1024, int heightPixels = 768, double twipsPerPixel = 15.0)
        : m_width(widthPixels), m_height(heightPixels), m_tpp(twipsPerPixel) {}
    double twipsPerPixelX() const override { return m_tpp; }
    double twipsPerPixelY() const override { return m_tpp; }
    double widthTwips() const override { return m_width * m_tpp; }
    double heightTwips() const override { return m_height * m_tpp; }

private:
    int m_width, m_height;
    double m_tpp;
};
