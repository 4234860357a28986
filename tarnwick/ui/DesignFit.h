#pragma once

#include <QPointF>

class QWidget;

// Forms keep their designed places (15 twips per pixel), which were drawn for a small
// 8-point system font. Where the desktop's font needs more room, the whole form grows,
// across by one factor and down by another, so the rows and columns stay as designed
// and no caption is cut off. Returns the two factors used (1 where everything fits).
QPointF FitDesignToFont(QWidget* form);
