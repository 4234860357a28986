// WindowRig.h: WindowRig, the main window (TForm1) over a temporary data home and music
// folder, built with the fakes of tests/fakes; the one rig of every window test.
#pragma once

#include "MainWindow.h"
#include "UserDialogs.h"
#include "fakes/FakeFileClipboard.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSystemVolume.h"
#include "fakes/FakeTaskbarEntry.h"
#include "fakes/FakeUserDialogs.h"
#include "player/CommandRunner.h"
#include "player/MediaPlayerBus.h"
#include "support/Fixtures.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TListBox;

namespace windowtest {

// A session bus without any media player on it.
class NoPlayerBus : public lorvane::MediaPlayerBus {
public:
    QStringList playerNames() override { return {}; }
    QString playbackStatus(const QString&) override { return {}; }
    std::optional<qint64> position(const QString&) override { return std::nullopt; }
    QVariantMap metadata(const QString&) override { return {}; }
    QString identity(const QString&) override { return {}; }
    bool setPosition(const QString&, const QString&, qint64) override { return false; }
    bool seek(const QString&, qint64) override { return false; }
    bool transport(const QString&, Transport) override { return false; }
    bool canEditTracks(const QString&) override { return false; }
    bool addTrack(const QString&, const QString&, const QString&) override { return false; }
};

// A command runner that records what it is asked to start.
class RecordingRunner : public lorvane::CommandRunner {
public:
    QList<std::vector<QByteArray>> started;
    bool start(const std::vector<QByteArray>& argv) override {
        started.append(argv);
        return true;
    }
};

// Settings in memory, a recording shell, clipboard and task bar, scripted dialogs (or
// the real boxes, for tests that close them with keys), and, when asked for, a player
// bus without players, a recording volume and command runner.
struct WindowRig {
    coretest::TempDir home;
    coretest::TempDir music;
    lorvane::FakeSettingsStore settings;
    lorvane::FakeShell shell;
    lorvane::FakeUserDialogs dialogs;
    lorvane::FakeFileClipboard clipboard;
    lorvane::FakeTaskbarEntry taskbar;
    NoPlayerBus bus;
    lorvane::test::FakeSystemVolume volume;
    RecordingRunner runner;
    lorvane::QtUserDialogs realBoxes;
    lorvane::UserDialogs* boxes = &dialogs; // or &realBoxes
    bool withPlayer = false;                // the window builds its player strip and playlist group
    bool withTaskbar = false;               // "Only Show in Tray" reaches the recording task bar
    std::unique_ptr<TForm1> form;

    // Builds the window without showing it; clipboard null keeps the recorder.
    TForm1& create(lorvane::FileClipboard* clipboard = nullptr);
    // Builds and shows the window, so that the lists lay out their entries for the mouse.
    TForm1& build(lorvane::FileClipboard* clipboard = nullptr);

    // home + "/" + relative, and music + "/" + relative, as bytes.
    QByteArray homePath(const QByteArray& relative = {}) const;
    QByteArray song(const QByteArray& name) const;
    // The data home, and a file in the music folder, as text.
    QString homeDir() const { return home.path(); }
    QString musicFile(const QString& name) const { return music.filePath(name); }

    // Creates the song files and files them in LVNDB/genre/artist.lvn, in this order.
    void file(const QByteArray& genre, const QByteArray& artist, const QByteArrayList& songs);

    // The lines of LVNDB/genre/artist.lvn; empty when it does not exist.
    QByteArrayList lines(const QByteArray& genre, const QByteArray& artist) const;
    bool exists(const QByteArray& relative) const;

    TListBox* list(const char* name) const;
    template <typename T> T* part(const char* name) const {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no component %s", name);
        return found;
    }
};

QStringList texts(const TListBox* list);
QStringList selectedTexts(const TListBox* list);
void clickRow(TListBox* list, int row);
// Selects exactly the rows holding these texts.
void selectTexts(TListBox* list, const QStringList& wanted);

} // namespace windowtest
