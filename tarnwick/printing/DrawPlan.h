#pragma once

#include <QRectF>
#include <QSizeF>

struct PrintSettings;

// Which of the three drawings a print makes.
enum class DrawCase {
    A, // defined area stretched over the page
    B, // defined area fitted, proportions kept, then scaled
    C, // whole image fitted, proportions kept, then scaled
};

// Why a drawing cannot be made.
enum class DrawProblem { None, EmptyArea, EmptyImage, EmptyPage };

// The one drawing of a print: what part of the image goes where on the page.
struct DrawPlan {
    DrawProblem problem = DrawProblem::None;
    DrawCase drawCase = DrawCase::C;
    QRectF sourceTwips;  // the part of the image, in twips
    QRectF sourcePixels; // the same in image pixels
    QRectF target;       // on the page, in twips, always from (0, 0), unrounded
};

// The measures a drawing is planned from, all in twips but the twips per pixel.
struct DrawMeasures {
    double twipsPerPixelX = 15.0; // TX
    double twipsPerPixelY = 15.0; // TY
    QSizeF page;                  // PW, PH
    QSizeF image;                 // IW, IH: the image holder
};

// Plans the drawing from the settings and the prompt's answer (1 = full screen).
DrawPlan PlanDrawing(const PrintSettings& settings, qint16 promptChoice,
                     const DrawMeasures& measures);
