#pragma once

#include <QPoint>
#include <QRect>

class QScreen;

// The captured picture counts the whole desktop in device pixels, where Qt counts in
// device-independent ones: every place or size the user reads or types for the area is
// in the picture's pixels. Each screen's part of the picture starts where the screen
// starts and counts in that screen's own device-pixel ratio.

// Where in the picture a point of Qt's global coordinates lies.
QPoint PicturePoint(const QPoint& global);

// The part of the picture a screen shows.
QRect PictureRect(const QScreen* screen);
