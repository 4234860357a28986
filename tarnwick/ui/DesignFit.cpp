#include "DesignFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLargestFactor = 3.0;

// The room a caption needs, or an empty size for controls that do not follow a caption.
// The height is the font's line height: the designed rows are tight, and a check box
// indicator is smaller than a line of text.
QSize neededSize(const QWidget* w) {
    const QFontMetrics metrics = w->fontMetrics();
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return {w->sizeHint().width(), metrics.height()};
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        // A push button's size hint has a style minimum; only the caption counts here.
        QString text = button->text();
        text.remove(u'&');
        return {metrics.horizontalAdvance(text) + 8, metrics.height() + 4};
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap())
            return {};
        return {label->sizeHint().width(), metrics.height()};
    }
    return {};
}

int scaled(int value, double factor) {
    return int(std::lround(value * factor));
}

} // namespace

QPointF FitDesignToFont(QWidget* form) {
    // Only the designed controls: not windows of their own, not Qt's inner parts.
    QList<QWidget*> children = form->findChildren<QWidget*>();
    children.removeIf([](const QWidget* w) {
        return w->isWindow() || w->objectName().isEmpty() ||
               w->objectName().startsWith(QLatin1String("qt_"));
    });
    double fx = 1.0;
    double fy = 1.0;
    for (const QWidget* w : children) {
        const QSize needed = neededSize(w);
        if (needed.isEmpty() || w->width() <= 0 || w->height() <= 0)
            continue;
        fx = std::max(fx, double(needed.width()) / w->width());
        fy = std::max(fy, double(needed.height()) / w->height());
    }
    fx = std::min(fx, kLargestFactor);
    fy = std::min(fy, kLargestFactor);
    if (fx <= 1.0 && fy <= 1.0)
        return {1.0, 1.0};
    // Scaling every place alike keeps the rows and columns of the design lined up.
    for (QWidget* w : children) {
        const QRect g = w->geometry();
        w->setGeometry(scaled(g.x(), fx), scaled(g.y(), fy), scaled(g.width(), fx),
                       scaled(g.height(), fy));
    }
    form->setFixedSize(scaled(form->width(), fx), scaled(form->height(), fy));
    return {fx, fy};
}
