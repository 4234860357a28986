// The main window's commands on the song files themselves: rename, copy to the
// clipboard, delete.
#include "MainWindow.h"

#include "Captions.h"

#include "InputPopup.h"
#include "TListBox.h"
#include "ui_MainWindow.h"

#include "files/ByteFile.h"
#include "platform/FileClipboard.h"
#include "platform/widgets/UserDialogs.h"
#include "store/SongFileOps.h"

#include <QCursor>

#include <cerrno>
#include <sys/stat.h>

using namespace lorvane;

namespace {

using captions::ProductName;
const QString CannotRename =
    QStringLiteral("Can't rename file (it's write protected, or you don't have permission)");

// "" (no artist file) and "null" (no such line) name no file.
bool isSongFile(const QByteArray& path) {
    return !path.isEmpty() && path != "null";
}

// Whether nothing, not even a dangling link, is left at path.
bool isGone(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) != 0 && errno == ENOENT;
}

} // namespace

void TForm1::songFileKeys(int key) {
    if (m_ui->SongList->count() == 0)
        return;
    if (key == Qt::Key_F2)
        showRenameSong(m_ui->SongList->mapToGlobal(QPoint(0, 50)).y());
    else if (key == Qt::Key_F3)
        CopyMp3FileClick();
    else if (key == Qt::Key_F4)
        DelMp3FileClick();
}

// ---------------------------------------------------------------- rename

void TForm1::RenameSongClick() {
    if (m_ui->SongList->count() == 0)
        return;
    showRenameSong(QCursor::pos().y());
}

void TForm1::showRenameSong(int top) {
    TListBox* songs = m_ui->SongList;
    const int row = songs->itemIndex();
    if (row < 0)
        return;
    m_renameForm->OldPath =
        m_store.SongPathOf(m_genre, focusedArtist(), songs->dataAt(row).toInt());
    // The edited text goes back to bytes against these, so that what the user left
    // alone keeps its bytes whatever the name's encoding.
    m_renameBytes = BaseFileName(m_renameForm->OldPath);
    const int left = songs->mapToGlobal(QPoint(10, 0)).x();
    m_renameForm->ShowPopup(TRenameForm::RenameFile, DisplayText(m_renameBytes), 350,
                            QPoint(left, top));
}

void TForm1::renameSong(const QString& typed) {
    TListBox* genres = m_ui->GenreList;
    TListBox* artists = m_ui->ArtistList;
    const QByteArray name = EditedNameBytes(m_renameBytes, typed);
    const bool listed = artists->count() > 0;
    const RenameSongResult r =
        RenameSong(m_store, m_associations, m_genre, focusedArtist(), m_renameForm->OldPath, name,
                   patterns(), selectedGenre(), listed);
    const AddSongResult& added = r.replaced.added;
    if (added.genreFolderCreated && genres->rowOfBytes(added.genre) < 0)
        genres->addEntry(DisplayText(added.genre), added.genre);

    if (r.outcome == RenameOutcome::CannotRename) {
        showMessage(CannotRename);
    } else if (r.outcome == RenameOutcome::Renamed && listed) {
        setWindowTitle(ProductName);
        if (added.showInArtistList)
            artists->addEntry(DisplayText(added.artist), added.artist);
        if (r.replaced.artistFileDeleted) {
            dropFocusedArtist();
            m_ui->SongList->clearEntries();
        }
        m_ui->TotalA->setText(QString::number(artists->count()));
        ArtistListClick();
        m_ui->TotalG->setText(QString::number(genres->count()));
    }
    if (!r.error.isEmpty())
        showError(r.error);
}

// ---------------------------------------------------------------- copy

void TForm1::CopyMp3FileClick() {
    TListBox* songs = m_ui->SongList;
    QByteArrayList paths;
    for (int r = 0; r < songs->count(); ++r) {
        if (!songs->isRowSelected(r))
            continue;
        const QByteArray path =
            m_store.SongPathOf(m_genre, focusedArtist(), songs->dataAt(r).toInt());
        if (isSongFile(path))
            paths << path;
    }
    if (paths.isEmpty() || !m_clipboard)
        return;
    m_clipboard->setFiles(paths);
}

// ---------------------------------------------------------------- delete

void TForm1::DelMp3FileClick() {
    TListBox* songs = m_ui->SongList;
    if (songs->count() == 0)
        return;
    const int row = songs->itemIndex();
    const QByteArray path =
        m_store.SongPathOf(m_genre, focusedArtist(), songs->dataAt(row).toInt());
    if (!m_services.dialogs ||
        !m_services.dialogs->confirm(this, QStringLiteral("Are you sure you want to delete %1 "
                                                          "from your hard drive?")
                                               .arg(DisplayText(path))))
        return;
    // The song leaves the database only once its file is gone, so that a file that
    // stays is never lost from the collection. A song that resolves to no path deletes
    // no file (not one called "null").
    if (isSongFile(path) && !ByteFile::remove(path) && !isGone(path)) {
        showMessage(QStringLiteral("Can't delete file %1").arg(DisplayText(path)));
        return;
    }
    applySongDeleted(
        row, m_store.DeleteSongFromDB(m_genre, focusedArtist(), songs->dataAt(row).toInt()));
}
