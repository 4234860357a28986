#pragma once

// The outside world of a resident-program test: a memory store, recording printers
// and message boxes, a scripted event pump and a trigger the test presses.

#include "ProgramServices.h"
#include "platform/KeyTriggerFake.h"
#include "platform/ScreenCaptureFake.h"
#include "support/PrintFakes.h"

#include <QWidget>

struct ResidentWorld {
    MemorySettingsStore store;
    FixedScreen screen{1024, 768};
    FixedClipboard clipboard;
    RecordingPrintSystem printers;
    RecordingMessages messages;
    ScriptedEvents events;
    KeyTriggerFake trigger;
    ScreenCaptureFake capture{QImage(8, 8, QImage::Format_RGB32)};
    SharedValues shared;

    ProgramServices services() {
        return {store, screen, clipboard, printers, messages, events, trigger, capture};
    }

    // Settings as an earlier OK stored them, with a defined area and no prompt.
    void storeArea() {
        store.set(QStringLiteral("PrintSpecific"), QStringLiteral("1"));
        store.set(QStringLiteral("X_Coord"), QStringLiteral("10"));
        store.set(QStringLiteral("Y_Coord"), QStringLiteral("20"));
        store.set(QStringLiteral("W_Coord"), QStringLiteral("400"));
        store.set(QStringLiteral("H_Coord"), QStringLiteral("300"));
        store.set(QStringLiteral("PrintPrompt"), QStringLiteral("0"));
        store.set(QStringLiteral("ScaleToFit"), QStringLiteral("0"));
    }

    QString storedText(const char* key) {
        return store.read(kSettingsApplication, kSettingsSection, QLatin1String(key), {})
            .value_or(QString());
    }
};

// A control of a form by its design name; the test stops when the form lacks it.
template <typename T> T* FormControl(QWidget* form, const char* name) {
    T* widget = form->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}
