#pragma once

#include "printing/PrintSettings.h"

#include <QString>

class Clipboard;
class EventPump;
class KeyTrigger;
class MessageBoxes;
class PrintSystem;
class ScreenCapture;
class ScreenInfo;
class SettingsStore;

// The outside world as main() builds it and every window reaches it.
struct ProgramServices {
    SettingsStore& store;
    const ScreenInfo& screen;
    const Clipboard& clipboard;
    PrintSystem& printers;
    MessageBoxes& messages;
    EventPump& events;
    KeyTrigger& trigger;
    ScreenCapture& capture;
};

// The program-wide values the windows and the print share: the settings record
// (the configuration dialog edits it, every print reloads it) and the prompt's answer.
struct SharedValues {
    PrintSettings settings;
    qint16 promptChoice = -1;
};
