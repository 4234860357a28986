#pragma once

#include "KeyTrigger.h"

#include <QImage>
#include <QObject>
#include <QString>

// Does at a Print Screen press what the desktop does not: copies the whole screen, or
// the active window, to the clipboard as an image, where the print tick looks for it.
class ScreenCapture : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The picture itself, without touching the clipboard; null when nothing could be
    // read, and failure() then says why when there is more to say than that.
    virtual QImage capture(CaptureKind kind) = 0;
    const QString& failure() const { return m_failure; }
    // A remark on the last picture the user should hear once (a window asked for, the
    // whole screen given); empty when there is none.
    const QString& note() const { return m_note; }

public slots:
    // At the key press: the picture goes to the clipboard, where the tick reads it.
    void captureToClipboard(CaptureKind kind);

protected:
    void setOutcome(QString failure, QString note = {}) {
        m_failure = std::move(failure);
        m_note = std::move(note);
    }

private:
    QString m_failure;
    QString m_note;
};
