// FakeScreenCapture.h: FakeScreenCapture, a capture that hands out a prepared image.
#pragma once

#include "platform/ScreenCapture.h"

#include <QList>

// Hands out a prepared image instead of the screen (with the failure or note it is
// told to give), and records each call.
class FakeScreenCapture : public ScreenCapture {
    Q_OBJECT
public:
    explicit FakeScreenCapture(QImage image = {}, QObject* parent = nullptr)
        : ScreenCapture(parent), m_image(std::move(image)) {}

    QImage capture(CaptureKind kind) override {
        m_calls.append(kind);
        setOutcome(m_image.isNull() ? failureText : QString(), noteText);
        return m_image;
    }

    void setImage(const QImage& image) { m_image = image; }
    const QList<CaptureKind>& calls() const { return m_calls; }

    QString failureText;
    QString noteText;

private:
    QImage m_image;
    QList<CaptureKind> m_calls;
};
