#pragma once

#include "ScreenCapture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QList>

// Puts a prepared image on the clipboard instead of the screen, and records each call.
class ScreenCaptureFake : public ScreenCapture {
    Q_OBJECT
public:
    explicit ScreenCaptureFake(QImage image = {}, QObject* parent = nullptr)
        : ScreenCapture(parent), m_image(std::move(image)) {}

    void captureToClipboard(CaptureKind kind) override {
        m_calls.append(kind);
        if (!m_image.isNull())
            QGuiApplication::clipboard()->setImage(m_image);
    }

    const QList<CaptureKind>& calls() const { return m_calls; }

private:
    QImage m_image;
    QList<CaptureKind> m_calls;
};
