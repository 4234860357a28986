#include "WindowContext.h"

#include "Captions.h"
#include "InputPopup.h"
#include "ui_MainWindow.h"

#include "UserDialogs.h"
#include "building/NameText.h"
#include "store/ArtistStore.h"
#include "store/DatabaseLock.h"

#include <QCoreApplication>
#include <QMainWindow>

#include <utility>

using namespace lorvane;

WindowContext::WindowContext(QMainWindow& window_, Ui::TForm1& ui_, ArtistStore& store_,
                             UserDialogs* dialogs_)
    : window(window_), ui(ui_), store(store_), dialogs(dialogs_) {
    m_captions = [this](const QString& caption) { showCaption(caption); };
    store.setWaitingSink([this](const QString& caption) {
        if (caption == DatabaseLock::inUseMessage())
            m_lockGaveUp = true;
        showCaption(caption);
    });
}

lorvane::NamePatterns WindowContext::patterns() const {
    lorvane::NamePatterns p;
    p.track = ui.TrackFormat->isChecked();
    p.bracket = ui.BracketFormat->isChecked();
    p.custom = ui.CustomFormat->isChecked();
    p.dash = ui.DashFormat->isChecked();
    p.separator = lorvane::NameBytes(ui.XEdit->text());
    return p;
}

void WindowContext::setCaption(const QString& text) {
    window.setWindowTitle(text);
}

void WindowContext::showCaption(const QString& text) {
    window.setWindowTitle(text);
    // Paint now, but leave the user's input queued until the operation ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowContext::showError(const QString& message) {
    if (dialogs)
        dialogs->error(&window, message);
}

void WindowContext::showMessage(const QString& text) {
    if (dialogs)
        dialogs->inform(&window, captions::ProductName, text);
}

bool WindowContext::confirm(const QString& question) {
    return dialogs && dialogs->confirm(&window, question);
}

bool WindowContext::gaveUpWaiting(const std::function<void()>& command) {
    m_lockGaveUp = false;
    command();
    if (!std::exchange(m_lockGaveUp, false))
        return false;
    showError(DatabaseLock::inUseMessage());
    return true;
}

void WindowContext::closePopup() {
    if (popup && popup->isVisible())
        popup->hide();
}

void WindowContext::closePendingWindow() {
    m_closePending = false;
    window.close();
}
