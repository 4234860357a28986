#pragma once

class SettingsStore;

// What the program does after its start routine.
enum class StartStep {
    EndAtOnce,         // another instance runs: no window, no message
    OpenConfiguration, // nothing stored yet: the configuration dialog alone
    LoadResident,      // the hidden resident form with its tray icon and timer
};

// The start routine: decides how the program goes on. Each step stands alone, so a
// store that cannot be read still starts the resident form.
StartStep RunStartRoutine(bool anotherInstanceRuns, SettingsStore& store);
