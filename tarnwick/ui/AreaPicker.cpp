#include "AreaPicker.h"

#include "platform/PicturePixels.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const QColor kDim(0, 0, 0, 110);
const QColor kFrame(255, 255, 255);
const QColor kReadoutBack(0, 0, 0, 190);
constexpr int kReadoutGap = 16;   // between the pointer and its readout
constexpr int kReadoutMargin = 4; // around the readout's text

// The rectangle between two corners, the second one outside it, as a drag from one pixel
// to another covers the distance between them.
QRect spanning(const QPoint& a, const QPoint& b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
}

} // namespace

AreaPicker::AreaPicker(QImage picture, QScreen* screen, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(std::move(picture)), m_screen(screen) {
    setWindowTitle(QStringLiteral("Tarnwick32 Pick Area"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // A screen unplugged meanwhile takes its part of the picture with it.
    connect(screen, &QObject::destroyed, this, &AreaPicker::cancel);
}

void AreaPicker::showOnScreen() {
    setScreen(m_screen);
    setGeometry(m_screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    const QPoint pointer = QCursor::pos();
    m_pointer = m_screen->geometry().contains(pointer) ? mapFromGlobal(pointer) : QPoint();
}

// A drag that runs off the screen ends at its edge.
QPoint AreaPicker::picturePoint(const QPoint& local) const {
    const QRect part = PictureRect(m_screen);
    const qreal ratio = m_screen->devicePixelRatio();
    const QPoint p(int(std::floor(std::clamp(local.x(), 0, width()) * ratio)),
                   int(std::floor(std::clamp(local.y(), 0, height()) * ratio)));
    return part.topLeft() + QPoint(std::min(p.x(), part.width()), std::min(p.y(), part.height()));
}

QRect AreaPicker::draggedLocal() const {
    return m_pressed ? spanning(*m_pressed, m_pointer).intersected(rect()) : QRect();
}

std::optional<QRect> AreaPicker::dragged() const {
    if (!m_pressed)
        return std::nullopt;
    return spanning(picturePoint(*m_pressed), picturePoint(m_pointer));
}

void AreaPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(rect(), m_picture, PictureRect(m_screen));
    QPainterPath dimmed;
    dimmed.addRect(rect());
    const QRect area = draggedLocal();
    if (m_pressed)
        dimmed.addRect(area);
    painter.fillPath(dimmed, kDim);
    if (m_pressed) {
        painter.setPen(QPen(kFrame, 0));
        painter.drawRect(area);
    }
    paintReadout(painter);
}

void AreaPicker::paintReadout(QPainter& painter) const {
    const QPoint at = picturePoint(m_pointer);
    QString text = QString::number(at.x()) + QStringLiteral(", ") + QString::number(at.y());
    if (const std::optional<QRect> area = dragged()) {
        text = QStringLiteral("%1, %2, %3, %4")
                   .arg(area->x())
                   .arg(area->y())
                   .arg(area->width())
                   .arg(area->height());
    }
    const QRect textRect = fontMetrics().boundingRect(text);
    QRect box(QPoint(), textRect.size() + QSize(2 * kReadoutMargin, 2 * kReadoutMargin));
    // Beside the pointer, on whichever side leaves it whole.
    box.moveTopLeft(m_pointer + QPoint(kReadoutGap, kReadoutGap));
    if (box.right() > width())
        box.moveRight(m_pointer.x() - kReadoutGap);
    if (box.bottom() > height())
        box.moveBottom(m_pointer.y() - kReadoutGap);
    painter.fillRect(box, kReadoutBack);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

void AreaPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        cancel();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = event->position().toPoint();
    m_pointer = *m_pressed;
    update();
}

void AreaPicker::mouseMoveEvent(QMouseEvent* event) {
    m_pointer = event->position().toPoint();
    update();
}

void AreaPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed || m_ended)
        return;
    m_pointer = event->position().toPoint();
    const std::optional<QRect> area = dragged();
    m_pressed.reset();
    update();
    if (!area || area->width() < kSmallestSide || area->height() < kSmallestSide)
        return;
    m_ended = true;
    emit picked(*area);
    close();
}

void AreaPicker::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        cancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!m_pressed)
            cancel();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void AreaPicker::cancel() {
    if (m_ended)
        return;
    m_ended = true;
    emit cancelled();
    close();
}
