#include "SongFileCommands.h"

#include "Captions.h"
#include "CollectionLists.h"
#include "InputPopup.h"
#include "TListBox.h"
#include "WindowContext.h"
#include "ui_MainWindow.h"

#include "building/NameText.h"
#include "platform/FileClipboard.h"
#include "store/ArtistStore.h"
#include "store/GenreFolders.h"
#include "store/SongFileOps.h"

#include <QCursor>

using namespace lorvane;

namespace {

using captions::ProductName;
const QString CannotRename =
    QStringLiteral("Can't rename file (it's write protected, or you don't have permission)");

// "" (no artist file) and "null" (no such line) name no file.
bool isSongFile(const QByteArray& path) {
    return !path.isEmpty() && path != "null";
}

} // namespace

SongFileCommands::SongFileCommands(WindowContext& context, CollectionLists& lists,
                                   AssociationSource* associations, QObject* parent)
    : QObject(parent), m_context(context), m_lists(lists), m_associations(associations) {}

void SongFileCommands::songListKeys(int key) {
    const TListBox* songs = m_context.ui.SongList;
    if (songs->count() == 0)
        return;
    if (key == Qt::Key_F2)
        showRenameSong(songs->mapToGlobal(QPoint(0, 50)).y());
    else if (key == Qt::Key_F3)
        CopyMp3FileClick();
    else if (key == Qt::Key_F4)
        DelMp3FileClick();
}

// ---------------------------------------------------------------- rename

void SongFileCommands::RenameSongClick() {
    if (m_context.ui.SongList->count() == 0)
        return;
    showRenameSong(QCursor::pos().y());
}

void SongFileCommands::showRenameSong(int top) {
    const TListBox* songs = m_context.ui.SongList;
    const int row = songs->itemIndex();
    if (row < 0)
        return;
    TRenameForm* popup = m_context.popup;
    popup->OldPath = m_lists.songPathAt(row);
    // The edited text goes back to bytes against these, so that what the user left
    // alone keeps its bytes whatever the name's encoding.
    m_renameBytes = BaseFileName(popup->OldPath);
    const int left = songs->mapToGlobal(QPoint(10, 0)).x();
    popup->ShowPopup(TRenameForm::RenameFile, DisplayText(m_renameBytes), 350, QPoint(left, top));
}

QString SongFileCommands::renameRefusal(const QString& typed) const {
    return NameRefusal(EditedNameBytes(m_renameBytes, typed));
}

void SongFileCommands::renameSong(const QString& typed) {
    Ui::TForm1& u = m_context.ui;
    TListBox* genres = u.GenreList;
    TListBox* artists = u.ArtistList;
    const QByteArray name = EditedNameBytes(m_renameBytes, typed);
    const bool listed = artists->count() > 0;
    const RenameSongResult r = RenameSong(m_context.store, m_associations, m_lists.loadedGenre(),
                                          m_lists.focusedArtist(), m_context.popup->OldPath, name,
                                          m_context.patterns(), m_lists.selectedGenre(), listed);
    const AddSongResult& added = r.replaced.added;
    if (added.genreFolderCreated && genres->rowOfBytes(added.genre) < 0)
        genres->addEntry(DisplayText(added.genre), added.genre);

    if (r.outcome == RenameOutcome::CannotRename) {
        m_context.showMessage(CannotRename);
    } else if (r.outcome == RenameOutcome::Renamed && listed) {
        m_context.setCaption(ProductName);
        if (added.showInArtistList)
            artists->addEntry(DisplayText(added.artist), added.artist);
        if (r.replaced.artistFileDeleted) {
            m_lists.dropFocusedArtist();
            u.SongList->clearEntries();
        }
        u.TotalA->setText(QString::number(artists->count()));
        m_lists.ArtistListClick();
        u.TotalG->setText(QString::number(genres->count()));
    }
    if (!r.error.isEmpty())
        m_context.showError(r.error);
}

// ---------------------------------------------------------------- copy

void SongFileCommands::CopyMp3FileClick() {
    const TListBox* songs = m_context.ui.SongList;
    QByteArrayList paths;
    for (int r = 0; r < songs->count(); ++r) {
        if (!songs->isRowSelected(r))
            continue;
        const QByteArray path = m_lists.songPathAt(r);
        if (isSongFile(path))
            paths << path;
    }
    if (paths.isEmpty() || !m_clipboard)
        return;
    m_clipboard->setFiles(paths);
}

// ---------------------------------------------------------------- delete

void SongFileCommands::DelMp3FileClick() {
    const TListBox* songs = m_context.ui.SongList;
    if (songs->count() == 0)
        return;
    const int row = songs->itemIndex();
    const QByteArray path = m_lists.songPathAt(row);
    if (!m_context.confirm(
            QStringLiteral("Are you sure you want to delete %1 from your hard drive?")
                .arg(DisplayText(path))))
        return;
    const DeleteSongFileResult r =
        DeleteSongFile(m_context.store, m_lists.loadedGenre(), m_lists.focusedArtist(),
                       songs->dataAt(row).toInt(), path);
    if (!r.error.isEmpty()) {
        m_context.showMessage(r.error);
        return;
    }
    if (r.fileDeleted)
        m_lists.applySongDeleted(row, r.removed);
    else if (!r.removed.error.isEmpty())
        m_context.showError(r.removed.error);
}
