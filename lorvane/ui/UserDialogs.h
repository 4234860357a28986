#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's message boxes and its file dialog behind one small interface, so that
// tests can answer them without a modal loop (FakeUserDialogs.h).
namespace lorvane {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A Yes/No question; true only for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // A message with an OK button.
    virtual void inform(QWidget* parent, const QString& title, const QString& text) = 0;
    // A failed operation, as the standard error box shows it.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Existing files chosen in an open dialog; empty when cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) = 0;
};

// The real boxes and dialog.
class QtUserDialogs : public UserDialogs {
public:
    bool confirm(QWidget* parent, const QString& text) override;
    void inform(QWidget* parent, const QString& title, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& filter) override;
};

} // namespace lorvane
