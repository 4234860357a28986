#pragma once

#include "KeyTrigger.h"

#include <QObject>

// Does at a Print Screen press what the desktop does not: copies the whole screen, or
// the active window, to the clipboard as an image, where the print tick looks for it.
class ScreenCapture : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    virtual void captureToClipboard(CaptureKind kind) = 0;
};
