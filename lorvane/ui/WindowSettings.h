// WindowSettings.h: WindowSettings, the main window's settings (read at the start,
// written at the end) and the window's place on the screen.
#pragma once

#include "store/Settings.h"

#include <QRect>
#include <QSize>

class AddPanel;
class CharsetMenu;
class QMainWindow;
class SongDetailsPanel;
namespace Ui {
class TForm1;
}
namespace lorvane {
class PlaylistGroup;
class PlayerStrip;
class SettingsStore;
} // namespace lorvane

// Without a settings store the window starts in its designed state and writes nothing.
// A value the window cannot show (a drive no longer mounted, a folder gone) is kept
// as it was read.
class WindowSettings {
public:
    // The controls the settings are shown in; strip and playlist may be null.
    struct Controls {
        Ui::TForm1* ui = nullptr;
        AddPanel* adding = nullptr;
        CharsetMenu* charsets = nullptr;
        SongDetailsPanel* details = nullptr;
        lorvane::PlayerStrip* strip = nullptr;
        lorvane::PlaylistGroup* playlist = nullptr;
    };

    WindowSettings(QMainWindow& window, lorvane::SettingsStore* store, const Controls& controls);

    // What read() applied, and what write() would store now.
    const lorvane::SettingsValues& applied() const { return m_applied; }
    lorvane::SettingsValues current() const;
    void read();
    void write();

    // The tag panel and the add panel take turns beside the lists; with the same room the
    // lists stay where they are when the add panel opens.
    void equalSidePanels();

private:
    void apply(const lorvane::SettingsValues& values);
    QSize firstStartSize();
    void setBoundsOnScreen(QRect bounds);

    QMainWindow& m_window;
    lorvane::SettingsStore* m_store;
    Controls m_controls;
    lorvane::SettingsValues m_applied;
};
