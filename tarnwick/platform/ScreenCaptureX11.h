#pragma once

#include "ScreenCapture.h"

#include <QImage>
#include <QRect>

struct _XDisplay;

// Copies the X screen, or the frame of the active window, straight from the root window
// in screen pixels, so the print coordinates the user reads off the pointer match the
// image exactly.
class ScreenCaptureX11 : public ScreenCapture {
    Q_OBJECT
public:
    explicit ScreenCaptureX11(QObject* parent = nullptr);
    ~ScreenCaptureX11() override;

    bool isAvailable() const { return m_display != nullptr; }

    QImage capture(CaptureKind kind) override;

private:
    QRect activeWindowFrame();

    _XDisplay* m_display = nullptr;
};
