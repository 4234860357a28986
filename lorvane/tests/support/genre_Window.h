#pragma once

#include "MainWindow.h"
#include "fakes/FakeFileClipboard.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeUserDialogs.h"
#include "support/core_Fixtures.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TListBox;

// The main window over a temporary data home, for the tests of the genre and file
// commands: scripted dialogs, settings in memory, a recording clipboard, no player.
namespace genretest {

struct WindowRig {
    coretest::TempDir home;
    coretest::TempDir music;
    lorvane::FakeSettingsStore settings;
    lorvane::FakeShell shell;
    lorvane::FakeUserDialogs dialogs;
    lorvane::FakeFileClipboard clipboard;
    std::unique_ptr<TForm1> form;

    // Builds and shows the window; clipboard null keeps the recorder.
    TForm1& build(lorvane::FileClipboard* clipboard = nullptr);

    // home + "/" + relative, and music + "/" + relative, as bytes.
    QByteArray homePath(const QByteArray& relative = {}) const;
    QByteArray song(const QByteArray& name) const;

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

} // namespace genretest
