#pragma once

#include <QtGlobal>

// Form places are designed in twips at 15 twips per pixel; places a form sets
// at run time use the same scale so they stay in step with the design.
constexpr int kDesignTwipsPerPixel = 15;

constexpr int DesignPixels(int twips) {
    return twips >= 0 ? (twips * 2 + kDesignTwipsPerPixel) / (2 * kDesignTwipsPerPixel)
                      : -((-twips * 2 + kDesignTwipsPerPixel) / (2 * kDesignTwipsPerPixel));
}
