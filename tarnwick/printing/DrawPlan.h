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
enum class DrawProblem { None, EmptyArea, AreaOffImage, EmptyImage, EmptyPage, BadScale, TooLarge };

// The farthest a drawing may reach from the page's corner, in twips (about 590 m). The
// print system turns larger numbers into a page it cannot read or a blank one (poppler,
// which renders CUPS jobs, gives up at about 7e7 twips; 1e308 is a syntax error in the
// page), or into a job that keeps a renderer busy for minutes. A scale factor that takes
// the picture past this is refused.
inline constexpr double kLargestDrawTwips = 33554432.0; // 2^25

// The largest scale factor the dialog accepts: at it, a page of up to 116 inches a side
// still stays within kLargestDrawTwips. Only 1/200 of the picture shows at that scale.
inline constexpr double kLargestScaleFactor = 200.0;

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
