// InputPopup.h: TRenameForm, the one-line popup that asks for a name.
#pragma once

#include <QByteArray>
#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TRenameForm;
}

// The one-line input popup: borderless, not modal, kept hidden for the whole run and
// shown by the main window in one of four modes. OK with a text hands it back through
// confirmed(); the main window decides what the mode means.
class TRenameForm : public QDialog {
    Q_OBJECT
public:
    enum Modes { RenameFile = 0, AddGenre = 1, RenameGenre = 2, AddArtist = 3 };

    explicit TRenameForm(QWidget* parent = nullptr);
    ~TRenameForm() override;

    int Mode = AddArtist;
    QByteArray OldPath; // the file being renamed (mode 0)

    // Shows the popup with its top-left corner at `topLeft` (screen coordinates).
    void ShowPopup(int mode, const QString& text, int width, QPoint topLeft);

    QString text() const;
    void setText(const QString& text);

    // Asked when OK is pressed with a text; false keeps the popup open (the check has
    // told the user why the text cannot be used).
    void setTextCheck(std::function<bool(int mode, const QString& text)> check) {
        m_check = std::move(check);
    }

    Ui::TRenameForm* ui() const { return m_ui.get(); }

public slots:
    void Button1Click(); // OK
    void Button2Click(); // X
    void reject() override;

signals:
    // OK with a non-empty text, after the popup has closed.
    void confirmed(int mode, const QString& text);

private:
    std::unique_ptr<Ui::TRenameForm> m_ui;
    std::function<bool(int, const QString&)> m_check;
};
