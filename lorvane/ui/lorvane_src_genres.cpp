// The main window's genre commands: adding, renaming and removing genres, moving
// artists between them, cleaning a whole genre, and the association table.
#include "MainWindow.h"

#include "Captions.h"

#include "InputPopup.h"
#include "TListBox.h"
#include "ui_MainWindow.h"

#include "platform/widgets/UserDialogs.h"
#include "store/Associations.h"
#include "store/GenreFolders.h"
#include "store/StoreError.h"

#include <QCursor>

using namespace lorvane;

namespace {

using captions::ProductName;
const QString ArmedCaption = QStringLiteral("(now sele&ct which genre)");

// The genre list's selected row, -1 when none.
int selectedRow(const TListBox* list) {
    for (int r = 0; r < list->count(); ++r) {
        if (list->isRowSelected(r))
            return r;
    }
    return -1;
}

void selectRow(TListBox* list, int row) {
    list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

} // namespace

void TForm1::connectGenreAndFileCommands() {
    Ui::TForm1* u = m_ui.get();
    m_assocFile = std::make_shared<Associations>(
        AssocFileName, [this] { return m_ui->UseAssociations->isChecked(); });
    setAssociationSource(m_assocFile.get());

    connect(u->AddGenre, &QAction::triggered, this, &TForm1::AddGenreClick);
    connect(u->RenameGenre, &QAction::triggered, this, &TForm1::RenameGenreClick);
    connect(u->RemoveGenre, &QAction::triggered, this, &TForm1::RemoveGenreClick);
    connect(u->CleanArtistsinGenre, &QAction::triggered, this, &TForm1::CleanArtistsinGenreClick);
    connect(u->SaveAssociations, &QAction::triggered, this, &TForm1::SaveAssociationsClick);
    connect(u->MoveButton, &QPushButton::clicked, this, &TForm1::MoveButtonClick);
    connect(u->RenameSong, &QAction::triggered, this, &TForm1::RenameSongClick);
    connect(u->CopyMp3File, &QAction::triggered, this, &TForm1::CopyMp3FileClick);
    connect(u->DelMp3File, &QAction::triggered, this, &TForm1::DelMp3FileClick);
    // After GenreListKeyUp, which has placed the popup beside the list.
    connect(u->GenreList, &TListBox::keyUp, this, &TForm1::genreCommandKeys);
    connect(u->SongList, &TListBox::keyUp, this, &TForm1::songFileKeys);

    m_renameForm->setTextCheck(
        [this](int mode, const QString& text) { return acceptPopupText(mode, text); });
    connect(m_renameForm, &TRenameForm::confirmed, this, &TForm1::renameFormConfirmed);
}

// ---------------------------------------------------------------- the popup

bool TForm1::acceptPopupText(int mode, const QString& text) {
    QString why;
    if (mode == TRenameForm::RenameFile)
        why = NameRefusal(EditedNameBytes(m_renameBytes, text));
    else if (mode == TRenameForm::AddGenre || mode == TRenameForm::RenameGenre)
        why = GenreNameRefusal(popupNameBytes(mode, text));
    else
        why = NameRefusal(popupNameBytes(mode, text));
    if (why.isEmpty())
        return true;
    showMessage(why);
    return false;
}

// A typed name that reads as a listed one names that entry; an edited name keeps the
// bytes of what the user left alone (a name need not be UTF-8).
QByteArray TForm1::popupNameBytes(int mode, const QString& text) const {
    TListBox* list = mode == TRenameForm::AddArtist ? m_ui->ArtistList : m_ui->GenreList;
    if (mode == TRenameForm::RenameGenre)
        return EditedNameBytes(selectedGenre(), text);
    QByteArrayList listed;
    for (int r = 0; r < list->count(); ++r)
        listed << list->bytesAt(r);
    return TypedNameBytes(text, listed);
}

void TForm1::renameFormConfirmed(int mode, const QString& text) {
    switch (mode) {
    case TRenameForm::RenameFile:
        renameSong(text);
        break;
    case TRenameForm::AddGenre:
        AddGenreFolder(text);
        break;
    case TRenameForm::RenameGenre:
        RenameGenreFolder(text);
        break;
    case TRenameForm::AddArtist:
        AddArtistEntry(text);
        break;
    }
}

// ---------------------------------------------------------------- genres

void TForm1::genreCommandKeys(int key) {
    TListBox* genres = m_ui->GenreList;
    const QPoint beside = genres->mapToGlobal(QPoint(10, 50));
    if (key == Qt::Key_F1) {
        m_renameForm->ShowPopup(TRenameForm::AddGenre, QString(), 150, beside);
        return;
    }
    if (key != Qt::Key_F2 && key != Qt::Key_Delete && key != Qt::Key_F3)
        return;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    if (key == Qt::Key_F2)
        m_renameForm->ShowPopup(TRenameForm::RenameGenre, DisplayText(selectedGenre()), 150,
                                beside);
    else if (key == Qt::Key_Delete)
        RemoveGenreClick();
    else
        CleanArtistsinGenreClick();
}

void TForm1::AddGenreClick() {
    m_renameForm->ShowPopup(TRenameForm::AddGenre, QString(), 150, QCursor::pos());
}

void TForm1::AddGenreFolder(const QString& name) {
    const QByteArray bytes = popupNameBytes(TRenameForm::AddGenre, name);
    bool added = false;
    gaveUpWaiting([&] { added = GenreFolders(m_store).AddGenreFolder(bytes); });
    if (added)
        m_ui->GenreList->addEntry(DisplayText(bytes), bytes);
    m_ui->TotalG->setText(QString::number(m_ui->GenreList->count()));
}

void TForm1::RenameGenreClick() {
    TListBox* genres = m_ui->GenreList;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    m_renameForm->ShowPopup(TRenameForm::RenameGenre, DisplayText(selectedGenre()), 150,
                            QCursor::pos());
}

void TForm1::RenameGenreFolder(const QString& newName) {
    TListBox* genres = m_ui->GenreList;
    const int row = selectedRow(genres);
    if (row < 0)
        return;
    const QByteArray bytes = popupNameBytes(TRenameForm::RenameGenre, newName);
    bool renamed = false;
    gaveUpWaiting(
        [&] { renamed = GenreFolders(m_store).RenameGenreFolder(genres->bytesAt(row), bytes); });
    if (!renamed)
        return;
    genres->removeRow(row);
    genres->addEntry(DisplayText(bytes), bytes);
    genres->clearSelection();
    GenreListClick();
}

void TForm1::RemoveGenreClick() {
    TListBox* genres = m_ui->GenreList;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    const int row = selectedRow(genres);
    const QByteArray genre = genres->bytesAt(row);
    if (m_services.dialogs &&
        m_services.dialogs->confirm(this, QStringLiteral("Are you sure you want to delete %1 and "
                                                         "all its artists from the database?")
                                              .arg(DisplayText(genre)))) {
        GenrePath = m_store.GenrePath(genre);
        // A folder that holds anything besides artist files stays on disk; the genre
        // still leaves the list, until the next start lists it again. A genre whose
        // removal never started stays.
        if (!gaveUpWaiting([&] { GenreFolders(m_store).RemoveGenre(genre, m_captions); })) {
            genres->removeRow(row);
            genres->clearSelection();
            GenreListClick();
        }
    }
    m_ui->TotalG->setText(QString::number(genres->count()));
    setWindowTitle(ProductName);
}

// ---------------------------------------------------------------- moving artists

bool TForm1::moveArmed() const {
    return m_ui->MoveButton->text() != MoveCaption;
}

void TForm1::MoveButtonClick() {
    TListBox* genres = m_ui->GenreList;
    TListBox* artists = m_ui->ArtistList;
    if (genres->count() == 0 || artists->count() == 0 || artists->selCount() == 0)
        return;
    // The artists listed are those of the loaded genre, which is the selected one.
    const int row = m_genre.isEmpty() ? -1 : genres->rowOfBytes(m_genre);
    if (row < 0)
        return;
    MoveSourceIndex = row;
    MoveSourceGenre = m_genre;
    m_ui->MoveButton->setText(moveArmed() ? MoveCaption : ArmedCaption);
}

void TForm1::completeMove() {
    TListBox* genres = m_ui->GenreList;
    TListBox* artists = m_ui->ArtistList;
    const QByteArray target = selectedGenre();
    if (!target.isEmpty() && target != MoveSourceGenre) {
        const GenreFolders folders(m_store);
        // One wait given up is enough: the artists not yet moved stay selected.
        gaveUpWaiting([&] {
            for (;;) {
                const int row = selectedRow(artists);
                if (row < 0 || m_lockGaveUp)
                    break;
                if (folders.MoveArtist(MoveSourceGenre, target, artists->bytesAt(row)))
                    artists->removeRow(row);
                else if (!m_lockGaveUp)
                    artists->setRowSelected(row, false);
            }
        });
    }
    m_ui->MoveButton->setText(MoveCaption);
    // The source genre comes back by name: a genre added meanwhile shifts the rows. One
    // renamed or removed meanwhile has no artists to show; the click becomes an
    // ordinary one.
    const int back = genres->rowOfBytes(MoveSourceGenre);
    if (back < 0 || MoveSourceGenre != m_genre) {
        genres->clearSelection();
        GenreListClick();
        return;
    }
    selectRow(genres, back);
    m_ui->TotalA->setText(QString::number(artists->count()));
    ArtistListClick();
    if (artists->count() > 0 && artists->itemIndex() >= 0)
        artists->setRowSelected(artists->itemIndex(), true);
}

// ---------------------------------------------------------------- cleaning a genre

void TForm1::CleanArtistsinGenreClick() {
    TListBox* artists = m_ui->ArtistList;
    if (m_ui->GenreList->count() == 0 || artists->count() == 0)
        return;
    // An artist the cleaning removes lets the next one move up into its row, which is
    // then cleaned in its turn.
    int row = 0;
    while (row < artists->count()) {
        const int before = artists->count();
        artists->setItemIndex(row);
        CleanArtistClick();
        if (artists->count() == before)
            ++row;
    }
}

// ---------------------------------------------------------------- associations

void TForm1::SaveAssociationsClick() {
    TListBox* genres = m_ui->GenreList;
    if (genres->count() == 0)
        return;
    QByteArrayList names;
    for (int r = 0; r < genres->count(); ++r)
        names << genres->bytesAt(r);
    try {
        SaveAssociationFile(AssocFileName, CollectAssociations(m_store, names, m_captions));
    } catch (const StoreError& e) {
        setWindowTitle(ProductName);
        showError(e.message());
        return;
    }
    setWindowTitle(ProductName);
}
