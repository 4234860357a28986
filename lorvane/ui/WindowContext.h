// WindowContext.h: WindowContext, what the main window's command areas share: the
// window and its form, the collection, the message boxes, the status line (the window
// caption), the input popup and the run of a long operation.
#pragma once

#include "building/FileNameParsing.h"
#include "files/FindFiles.h"

#include <QString>

#include <functional>

class QMainWindow;
class TRenameForm;
namespace Ui {
class TForm1;
}
namespace lorvane {
class ArtistStore;
class UserDialogs;
} // namespace lorvane

// One per main window, built before its areas and outliving them. Without dialogs a
// question is answered no and a message is dropped.
class WindowContext {
public:
    WindowContext(QMainWindow& window, Ui::TForm1& ui, lorvane::ArtistStore& store,
                  lorvane::UserDialogs* dialogs);

    QMainWindow& window;
    Ui::TForm1& ui;
    lorvane::ArtistStore& store;
    lorvane::UserDialogs* const dialogs;
    // The popup exists once the window is built; null before.
    TRenameForm* popup = nullptr;

    // The pattern switches and separator of the add panel, which every command that reads
    // names from files uses.
    lorvane::NamePatterns patterns() const;

    // The status line, set without repainting.
    void setCaption(const QString& text);
    // Puts text into the status line and repaints at once; a long operation calls it
    // between files, and user input waits until the operation ends.
    void showCaption(const QString& text);
    // showCaption as a sink for the store's progress.
    const lorvane::CaptionSink& captions() const { return m_captions; }

    void showError(const QString& message);
    void showMessage(const QString& text);
    // The answer to a yes-or-no question; no without dialogs.
    bool confirm(const QString& question);

    // Runs a command whose core calls answer only yes or no; when one of them gave up
    // waiting for the database, says so in a message box and returns true.
    bool gaveUpWaiting(const std::function<void()>& command);
    // Whether a wait for the database gave up in the command gaveUpWaiting runs.
    bool lockGaveUp() const { return m_lockGaveUp; }

    void closePopup();

    // Runs a long operation (one that shows progress in the caption); a close asked for
    // meanwhile (closeWhenIdle) waits until it ends.
    template <typename Work> void whileBusy(Work work) {
        ++m_busy;
        work();
        if (--m_busy == 0 && m_closePending)
            closePendingWindow();
    }
    bool busy() const { return m_busy > 0; }
    void closeWhenIdle() { m_closePending = true; }

private:
    void closePendingWindow();

    lorvane::CaptionSink m_captions;
    int m_busy = 0;
    bool m_closePending = false;
    bool m_lockGaveUp = false;
};
