// AreaPicker.h: the overlay on which the defined area is dragged over a picture of the screen.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

class QScreen;

// Shows one screen's part of a captured picture of the desktop full-screen, borderless,
// on top and dimmed; the rectangle dragged with the left button shows undimmed. Releasing
// the button takes the rectangle, in the picture's pixels; Esc, a right click, or Enter
// before any drag ends it with nothing taken. A rectangle narrower or lower than
// kSmallestSide is no area: it is dropped and the overlay waits for another drag.
// Each screen has an overlay of its own, so that each counts in its own device-pixel
// ratio (a window across screens of different ratios has no one ratio); a drag stays on
// the screen it began on.
class AreaPicker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSmallestSide = 4;

    AreaPicker(QImage picture, QScreen* screen, QWidget* parent = nullptr);

    void showOnScreen();
    QScreen* pickedScreen() const { return m_screen; }

    // The rectangle being dragged, in the picture's pixels; none before a press.
    std::optional<QRect> dragged() const;

signals:
    void picked(const QRect& area);
    // Ended with nothing taken.
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cancel();
    QPoint picturePoint(const QPoint& local) const;
    QRect draggedLocal() const;
    void paintReadout(QPainter& painter) const;

    QImage m_picture;
    QScreen* m_screen;
    std::optional<QPoint> m_pressed; // where the drag began, local
    QPoint m_pointer;                // local
    bool m_ended = false;
};
