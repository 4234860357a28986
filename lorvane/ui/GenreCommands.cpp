#include "GenreCommands.h"

#include "Captions.h"
#include "CollectionLists.h"
#include "InputPopup.h"
#include "TListBox.h"
#include "WindowContext.h"
#include "ui_MainWindow.h"

#include "building/NameText.h"
#include "store/ArtistStore.h"
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

GenreCommands::GenreCommands(WindowContext& context, CollectionLists& lists, QObject* parent)
    : QObject(parent), m_context(context), m_lists(lists),
      m_associations(std::make_unique<Associations>(
          context.store.ProgramDir() + "lorvane.gen",
          [&ui = context.ui] { return ui.UseAssociations->isChecked(); })),
      m_moveCaption(context.ui.MoveButton->text()) {}

GenreCommands::~GenreCommands() = default;

AssociationSource* GenreCommands::associations() const {
    return m_associations.get();
}

const QByteArray& GenreCommands::associationFileName() const {
    return m_associations->fileName();
}

// ---------------------------------------------------------------- genres

void GenreCommands::genreListKeys(int key) {
    TListBox* genres = m_context.ui.GenreList;
    TRenameForm* popup = m_context.popup;
    const QPoint beside = genres->mapToGlobal(QPoint(10, 50));
    if (key == Qt::Key_F1) {
        popup->ShowPopup(TRenameForm::AddGenre, QString(), 150, beside);
        return;
    }
    if (key != Qt::Key_F2 && key != Qt::Key_Delete && key != Qt::Key_F3)
        return;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    if (key == Qt::Key_F2)
        popup->ShowPopup(TRenameForm::RenameGenre, DisplayText(m_lists.selectedGenre()), 150,
                         beside);
    else if (key == Qt::Key_Delete)
        RemoveGenreClick();
    else
        CleanArtistsinGenreClick();
}

void GenreCommands::AddGenreClick() {
    m_context.popup->ShowPopup(TRenameForm::AddGenre, QString(), 150, QCursor::pos());
}

void GenreCommands::AddGenreFolder(const QString& name) {
    TListBox* genres = m_context.ui.GenreList;
    const QByteArray bytes = m_lists.typedName(TRenameForm::AddGenre, name);
    bool added = false;
    m_context.gaveUpWaiting([&] { added = GenreFolders(m_context.store).AddGenreFolder(bytes); });
    if (added)
        genres->addEntry(DisplayText(bytes), bytes);
    m_context.ui.TotalG->setText(QString::number(genres->count()));
}

void GenreCommands::RenameGenreClick() {
    TListBox* genres = m_context.ui.GenreList;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    m_context.popup->ShowPopup(TRenameForm::RenameGenre, DisplayText(m_lists.selectedGenre()), 150,
                               QCursor::pos());
}

void GenreCommands::RenameGenreFolder(const QString& newName) {
    TListBox* genres = m_context.ui.GenreList;
    const int row = selectedRow(genres);
    if (row < 0)
        return;
    const QByteArray bytes = m_lists.typedName(TRenameForm::RenameGenre, newName);
    bool renamed = false;
    m_context.gaveUpWaiting([&] {
        renamed = GenreFolders(m_context.store).RenameGenreFolder(genres->bytesAt(row), bytes);
    });
    if (!renamed)
        return;
    genres->removeRow(row);
    genres->addEntry(DisplayText(bytes), bytes);
    genres->clearSelection();
    m_lists.GenreListClick();
}

void GenreCommands::RemoveGenreClick() {
    TListBox* genres = m_context.ui.GenreList;
    if (genres->count() == 0)
        return;
    if (selectedRow(genres) < 0)
        selectRow(genres, 0);
    const int row = selectedRow(genres);
    const QByteArray genre = genres->bytesAt(row);
    if (m_context.confirm(QStringLiteral("Are you sure you want to delete %1 and all its artists "
                                         "from the database?")
                              .arg(DisplayText(genre)))) {
        // A folder that holds anything besides artist files stays on disk; the genre
        // still leaves the list, until the next start lists it again. A genre whose
        // removal never started stays.
        if (!m_context.gaveUpWaiting(
                [&] { GenreFolders(m_context.store).RemoveGenre(genre, m_context.captions()); })) {
            genres->removeRow(row);
            genres->clearSelection();
            m_lists.GenreListClick();
        }
    }
    m_context.ui.TotalG->setText(QString::number(genres->count()));
    m_context.setCaption(ProductName);
}

// ---------------------------------------------------------------- moving artists

bool GenreCommands::moveArmed() const {
    return m_context.ui.MoveButton->text() != m_moveCaption;
}

bool GenreCommands::takeGenreClick() {
    if (!moveArmed())
        return false;
    completeMove();
    return true;
}

void GenreCommands::MoveButtonClick() {
    TListBox* genres = m_context.ui.GenreList;
    TListBox* artists = m_context.ui.ArtistList;
    if (genres->count() == 0 || artists->count() == 0 || artists->selCount() == 0)
        return;
    // The artists listed are those of the loaded genre, which is the selected one.
    const QByteArray loaded = m_lists.loadedGenre();
    const int row = loaded.isEmpty() ? -1 : genres->rowOfBytes(loaded);
    if (row < 0)
        return;
    m_moveSourceIndex = row;
    m_moveSourceGenre = loaded;
    m_context.ui.MoveButton->setText(moveArmed() ? m_moveCaption : ArmedCaption);
}

void GenreCommands::completeMove() {
    TListBox* genres = m_context.ui.GenreList;
    TListBox* artists = m_context.ui.ArtistList;
    const QByteArray target = m_lists.selectedGenre();
    if (!target.isEmpty() && target != m_moveSourceGenre) {
        const GenreFolders folders(m_context.store);
        // One wait given up is enough: the artists not yet moved stay selected.
        m_context.gaveUpWaiting([&] {
            for (;;) {
                const int row = selectedRow(artists);
                if (row < 0 || m_context.lockGaveUp())
                    break;
                if (folders.MoveArtist(m_moveSourceGenre, target, artists->bytesAt(row)))
                    artists->removeRow(row);
                else if (!m_context.lockGaveUp())
                    artists->setRowSelected(row, false);
            }
        });
    }
    m_context.ui.MoveButton->setText(m_moveCaption);
    // The source genre comes back by name: a genre added meanwhile shifts the rows. One
    // renamed or removed meanwhile has no artists to show; the click becomes an
    // ordinary one.
    const int back = genres->rowOfBytes(m_moveSourceGenre);
    if (back < 0 || m_moveSourceGenre != m_lists.loadedGenre()) {
        genres->clearSelection();
        m_lists.GenreListClick();
        return;
    }
    selectRow(genres, back);
    m_context.ui.TotalA->setText(QString::number(artists->count()));
    m_lists.ArtistListClick();
    if (artists->count() > 0 && artists->itemIndex() >= 0)
        artists->setRowSelected(artists->itemIndex(), true);
}

// ---------------------------------------------------------------- cleaning a genre

void GenreCommands::CleanArtistsinGenreClick() {
    TListBox* artists = m_context.ui.ArtistList;
    if (m_context.ui.GenreList->count() == 0 || artists->count() == 0)
        return;
    // An artist the cleaning removes lets the next one move up into its row, which is
    // then cleaned in its turn.
    int row = 0;
    while (row < artists->count()) {
        const int before = artists->count();
        artists->setItemIndex(row);
        m_lists.CleanArtistClick();
        if (artists->count() == before)
            ++row;
    }
}

// ---------------------------------------------------------------- associations

void GenreCommands::SaveAssociationsClick() {
    const TListBox* genres = m_context.ui.GenreList;
    if (genres->count() == 0)
        return;
    QByteArrayList names;
    for (int r = 0; r < genres->count(); ++r)
        names << genres->bytesAt(r);
    try {
        SaveAssociationFile(associationFileName(),
                            CollectAssociations(m_context.store, names, m_context.captions()));
    } catch (const StoreError& e) {
        m_context.setCaption(ProductName);
        m_context.showError(e.message());
        return;
    }
    m_context.setCaption(ProductName);
}
