// ResidentWorld.h: ResidentWorld, the resident program's services built from fakes.
#pragma once

// The outside world of a resident-program test: a memory store, recording printers
// and message boxes, a scripted event pump and a trigger the test presses.

#include "ProgramServices.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeKeyTrigger.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakePrintSystem.h"
#include "fakes/FakeScreenCapture.h"
#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"

#include <QWidget>

struct ResidentWorld {
    FakeSettingsStore store;
    FakeScreenInfo screen{1024, 768};
    FakeClipboard clipboard;
    FakePrintSystem printers;
    FakeMessageBoxes messages;
    FakeEventPump events;
    FakeKeyTrigger trigger;
    FakeScreenCapture capture{QImage(8, 8, QImage::Format_RGB32)};
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
