#include "ScreenCapture.h"

#include <QClipboard>
#include <QGuiApplication>

void ScreenCapture::captureToClipboard(CaptureKind kind) {
    const QImage image = capture(kind);
    if (!image.isNull())
        QGuiApplication::clipboard()->setImage(image);
}
