#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <utility>
#include <vector>

namespace lorvane {

class SettingsStore;

// The options the program keeps between runs, one field per stored value, in the order
// they are read. The initial values are the window's designed state, used when nothing
// is stored; lastdrive and lastdir start as whatever the caller puts there (the current
// drive and folder).
struct SettingsValues {
    int top = 156; // the window's bounds
    int left = 212;
    int width = 619;
    int height = 420;
    bool tray = false;         // "Only Show in Tray"
    bool recurse = true;       // scans take sub-folders
    bool bracketformat = true; // the four name patterns
    bool dashformat = true;
    bool trackformat = false;
    bool customformat = false;
    QString customstring = QStringLiteral("-=-"); // the custom pattern's separator
    QString customdir;                            // the typed scan folder
    bool balanced = true;                         // "Balanced Volume"
    bool random = false;                          // "Random Tracks"
    int lastdrive = 0;                            // the chosen mount, by its device number
    QString lastdir;                              // the chosen scan folder
    QString savem3u;                              // initial folder of the playlist save dialog
    QString loadm3u;                              // initial folder of the playlist open dialog
    bool useassociations = false;                 // "Use Associations When Adding"
    // Read after the nineteen above; older files lack it, so an absent value keeps the
    // default instead of reading as "".
    QString id3charset = QStringLiteral("windows-1252"); // character set of ID3v1 text

    // The folders of the playlists saved and opened since the start; nothing when none
    // was. Only a chosen playlist updates "savem3u" / "loadm3u" at exit.
    std::optional<QString> savedFolder;
    std::optional<QString> loadedFolder;

    bool operator==(const SettingsValues&) const = default;
};

// Every value by its stored name, in reading order, as it would be stored: numbers,
// booleans as 0 and 1, and texts.
std::vector<std::pair<QString, QVariant>> SettingsInReadingOrder(const SettingsValues& values);

// Applies the stored values over `values`. Nothing stored (first start): `values` stays as
// it is. Otherwise each value is read on its own: an absent or unreadable value leaves its
// field unchanged, except that an absent text value reads as "" and an unreadable
// "customstring" as "-=-".
void ReadSettings(const SettingsStore& store, SettingsValues& values);

// Stores `values`; returns false when the store could not be written (nothing is kept, no
// message). "savem3u" and "loadm3u" are written only when a playlist was saved or opened.
bool WriteSettings(SettingsStore& store, const SettingsValues& values);

// The command that enqueues a song when the player takes no tracks over the bus
// ("enqueuecommand", "%1" standing for the song); empty when not set. It is only read:
// the user writes it into the settings file by hand.
QString ReadEnqueueCommand(const SettingsStore& store);

} // namespace lorvane
