#include "DrawPlan.h"

#include "printing/PrintSettings.h"

#include <cmath>

namespace {

bool withinReach(double twips) {
    return std::isfinite(twips) && std::abs(twips) <= kLargestDrawTwips;
}

// The page rectangle a plan draws into is finite and within the print system's reach.
DrawPlan checked(DrawPlan plan) {
    const QRectF& t = plan.target;
    if (!withinReach(t.width()) || !withinReach(t.height()))
        plan.problem = DrawProblem::TooLarge;
    return plan;
}

// A scale factor the picture can be drawn at: a zero, negative or not finite one would
// give an empty, mirrored (off the page) or unreadable page.
bool usableScale(double factor) {
    return std::isfinite(factor) && factor > 0.0;
}

} // namespace

DrawPlan PlanDrawing(const PrintSettings& s, qint16 promptChoice, const DrawMeasures& m) {
    DrawPlan plan;
    const double TX = m.twipsPerPixelX;
    const double TY = m.twipsPerPixelY;
    const double PW = m.page.width();
    const double PH = m.page.height();
    const double SX = s.ScaleFactorX;
    const double SY = s.ScaleFactorY;
    if (!(PW > 0.0 && PH > 0.0)) {
        plan.problem = DrawProblem::EmptyPage;
        return plan;
    }

    if (s.PrintSpecific != 0 && promptChoice != 1) {
        const double X = s.X_Coord, Y = s.Y_Coord, W = s.W_Coord, H = s.H_Coord;
        // A negative size would mirror the area; neither it nor a zero size has
        // anything to print.
        if (W <= 0.0 || H <= 0.0) {
            plan.problem = DrawProblem::EmptyArea;
            return plan;
        }
        // An area wholly beside the picture (a screen since made smaller) prints a blank
        // page.
        const double IW = m.image.width() / TX;
        const double IH = m.image.height() / TY;
        if (!(X < IW && Y < IH && X + W > 0.0 && Y + H > 0.0)) {
            plan.problem = DrawProblem::AreaOffImage;
            return plan;
        }
        plan.sourceTwips = QRectF(X * TX, Y * TY, W * TX, H * TY);
        plan.sourcePixels = QRectF(X, Y, W, H);
        if (s.ScaleToFit != 0) {
            plan.drawCase = DrawCase::A;
            plan.target = QRectF(0, 0, PW, PH);
        } else {
            plan.drawCase = DrawCase::B;
            if (!usableScale(SX) || !usableScale(SY)) {
                plan.problem = DrawProblem::BadScale;
                return plan;
            }
            if (PH / H < PW / W)
                plan.target = QRectF(0, 0, PH * (W / H) * SX, PH * SY);
            else
                plan.target = QRectF(0, 0, PW * SX, PW * (H / W) * SY);
        }
        return checked(plan);
    }

    plan.drawCase = DrawCase::C;
    const double IW = m.image.width();
    const double IH = m.image.height();
    if (!(IW > 0.0 && IH > 0.0)) {
        plan.problem = DrawProblem::EmptyImage;
        return plan;
    }
    if (!usableScale(SX) || !usableScale(SY)) {
        plan.problem = DrawProblem::BadScale;
        return plan;
    }
    plan.sourceTwips = QRectF(0, 0, IW, IH);
    plan.sourcePixels = QRectF(0, 0, IW / TX, IH / TY);
    // The two ratios are single-precision values; only their comparison uses them.
    const float RX = float(PW / IW);
    const float RY = float(PH / IH);
    if (RY < RX)
        plan.target = QRectF(0, 0, PH * (IW / IH) * SX, PH * SY);
    else
        plan.target = QRectF(0, 0, PW * SX, PW * (IH / IW) * SY);
    return checked(plan);
}
