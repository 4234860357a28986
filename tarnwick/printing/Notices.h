#pragma once

#include <QString>

class SettingsStore;

// The program's version, as the About box shows it; a notice said once is said again
// after an update, when what it says may have changed.
inline const QString kProgramVersion = QStringLiteral("1.5");

// Notices the user hears once per version. They are remembered in their own section of
// the settings file, apart from the print settings.
inline const QString kStartNotice = QStringLiteral("KeyBinding");
inline const QString kWindowFallbackNotice = QStringLiteral("WholeScreenForWindow");

// True when the notice was not yet shown for this version; marks it shown.
bool NoticeDue(SettingsStore& store, const QString& notice);
