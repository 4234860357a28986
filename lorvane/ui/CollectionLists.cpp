#include "CollectionLists.h"

#include "Captions.h"
#include "InputPopup.h"
#include "SongDetailsPanel.h"
#include "TListBox.h"
#include "WindowContext.h"
#include "ui_MainWindow.h"

#include "UserDialogs.h"
#include "building/NameText.h"
#include "store/ArtistFile.h"
#include "store/ArtistStore.h"
#include "store/Counts.h"
#include "store/Scanner.h"
#include "store/SongFinder.h"
#include "store/StoreError.h"

#include <QFile>
#include <QMainWindow>
#include <QMenu>

#include <algorithm>
#include <utility>

using namespace lorvane;

namespace {

using captions::ArtistGone;
using captions::ProductName;

// The song-list entry keeps its title's bytes beside the line index, for Find Song.
constexpr int TitleRole = TListBox::ExtraRole;

} // namespace

CollectionLists::CollectionLists(WindowContext& context, SongDetailsPanel& details, QObject* parent)
    : QObject(parent), m_context(context), m_details(details) {}

void CollectionLists::loadGenres() {
    Ui::TForm1& u = m_context.ui;
    QList<TListBox::Entry> genres;
    for (const QByteArray& g : m_context.store.genres())
        genres.append({DisplayText(g), g});
    u.GenreList->fill(genres);
    // Nothing is selected yet, so the click selects the first genre.
    u.GenreList->setCurrentRow(-1, QItemSelectionModel::Clear);
    GenreListClick();
    u.TotalG->setText(QString::number(u.GenreList->count()));
}

void CollectionLists::buildMenus() {
    Ui::TForm1& u = m_context.ui;
    auto* genreMenu = new QMenu(&m_context.window);
    genreMenu->setObjectName(QStringLiteral("GenreMenu"));
    genreMenu->addActions({u.AddGenre, u.RemoveGenre, u.RenameGenre, u.CleanArtistsinGenre});
    auto* artistMenu = new QMenu(&m_context.window);
    artistMenu->setObjectName(QStringLiteral("ArtistMenu"));
    artistMenu->addActions({u.CleanArtist, u.DeleteArtist, u.ManualAdd});
    auto* songMenu = new QMenu(&m_context.window);
    songMenu->setObjectName(QStringLiteral("SongMenu"));
    songMenu->addActions({u.AddSongWinamp, u.DeleteSongList, u.RenameSong, u.CopyMp3File,
                          u.DelMp3File, u.ManualAddSong});
    const std::pair<TListBox*, QMenu*> menus[] = {
        {u.GenreList, genreMenu}, {u.ArtistList, artistMenu}, {u.SongList, songMenu}};
    for (const auto& entry : menus) {
        TListBox* list = entry.first;
        QMenu* menu = entry.second;
        connect(list, &QWidget::customContextMenuRequested, this,
                [list, menu](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    }
}

// ---------------------------------------------------------------- what the lists show

QByteArray CollectionLists::genrePath() const {
    return m_genre.isEmpty() ? QByteArray() : m_context.store.GenrePath(m_genre);
}

QByteArray CollectionLists::selectedGenre() const {
    const QList<QListWidgetItem*> selected = m_context.ui.GenreList->selectedItems();
    return selected.isEmpty() ? QByteArray()
                              : selected.first()->data(TListBox::DataRole).toByteArray();
}

QByteArray CollectionLists::focusedArtist() const {
    const TListBox* artists = m_context.ui.ArtistList;
    const int row = artists->itemIndex();
    return row < 0 ? QByteArray() : artists->bytesAt(row);
}

QByteArray CollectionLists::songPathAt(int row) const {
    return m_context.store.SongPathOf(m_genre, focusedArtist(),
                                      m_context.ui.SongList->dataAt(row).toInt());
}

QByteArrayList CollectionLists::selectedSongPaths() const {
    QByteArrayList paths;
    const TListBox* songs = m_context.ui.SongList;
    for (int r = 0; r < songs->count(); ++r) {
        if (songs->isRowSelected(r))
            paths << songPathAt(r);
    }
    return paths;
}

std::optional<QByteArray> CollectionLists::focusedSongPath() const {
    const int row = m_context.ui.SongList->itemIndex();
    if (row < 0)
        return std::nullopt;
    return songPathAt(row);
}

QByteArrayList CollectionLists::selectedArtistFiles() const {
    QByteArrayList files;
    const TListBox* artists = m_context.ui.ArtistList;
    for (int r = 0; r < artists->count(); ++r) {
        if (artists->isRowSelected(r))
            files << m_context.store.artistFile(m_genre, artists->bytesAt(r));
    }
    return files;
}

QByteArray CollectionLists::typedName(int popupMode, const QString& text) const {
    if (popupMode == TRenameForm::RenameGenre)
        return EditedNameBytes(selectedGenre(), text);
    const TListBox* list =
        popupMode == TRenameForm::AddArtist ? m_context.ui.ArtistList : m_context.ui.GenreList;
    QByteArrayList listed;
    for (int r = 0; r < list->count(); ++r)
        listed << list->bytesAt(r);
    return TypedNameBytes(text, listed);
}

QByteArrayList CollectionLists::artistNames() const {
    QByteArrayList names;
    const TListBox* artists = m_context.ui.ArtistList;
    for (int r = 0; r < artists->count(); ++r)
        names << artists->bytesAt(r);
    return names;
}

QByteArrayList CollectionLists::songTitles() const {
    QByteArrayList titles;
    const TListBox* songs = m_context.ui.SongList;
    for (int r = 0; r < songs->count(); ++r)
        titles << songs->item(r)->data(TitleRole).toByteArray();
    return titles;
}

void CollectionLists::fillArtists(const QByteArrayList& names) {
    QList<TListBox::Entry> entries;
    for (const QByteArray& n : names)
        entries.append({DisplayText(n), n});
    m_context.ui.ArtistList->fill(entries);
    m_context.ui.TotalA->setText(QString::number(m_context.ui.ArtistList->count()));
}

// ---------------------------------------------------------------- clicks

void CollectionLists::GenreListClick() {
    m_context.closePopup();
    if (m_takeGenreClick && m_takeGenreClick())
        return;
    Ui::TForm1& u = m_context.ui;
    TListBox* genres = u.GenreList;
    m_genre.clear();
    if (genres->count() == 0) {
        u.TotalA->setText(QStringLiteral("0"));
        u.ArtistList->clearEntries();
        ArtistListClick();
        return;
    }
    if (genres->selectedItems().isEmpty())
        genres->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    const QByteArray genre = selectedGenre();
    const QByteArrayList names = m_context.store.ListArtists(genre, m_context.captions());
    m_context.setCaption(ProductName);
    fillArtists(names);
    m_genre = genre;

    ArtistListClick();
    TListBox* artists = u.ArtistList;
    if (artists->count() > 0 && artists->itemIndex() >= 0)
        artists->setRowSelected(artists->itemIndex(), true);
}

void CollectionLists::ArtistListClick() {
    m_context.closePopup();
    Ui::TForm1& u = m_context.ui;
    TListBox* songs = u.SongList;
    if (u.ArtistList->count() == 0) {
        songs->clearEntries();
        u.TotalS->setText(QStringLiteral("0"));
        keepDetailsInStep();
        return;
    }
    QList<TListBox::Entry> entries;
    const QList<SongEntry> listed =
        m_context.store.ListSongs(m_genre, focusedArtist(), m_context.patterns());
    entries.reserve(listed.size());
    // Titles keep their bytes for the search.
    for (const SongEntry& s : listed)
        entries.append({DisplayText(s.title), s.lineIndex, s.title});
    songs->fill(entries);
    u.TotalS->setText(QString::number(songs->count()));
    if (listed.isEmpty())
        explainEmptySongList();
    keepDetailsInStep();
}

void CollectionLists::keepDetailsInStep() {
    const QByteArray shown = m_details.shownPath();
    if (shown.isEmpty())
        return;
    const TListBox* songs = m_context.ui.SongList;
    QByteArrayList lines;
    if (songs->count() > 0) {
        try {
            lines = ArtistFile::read(m_context.store.artistFile(m_genre, focusedArtist()));
        } catch (const StoreError&) {
        }
    }
    for (int row = 0; row < songs->count(); ++row) {
        if (lines.value(songs->dataAt(row).toInt()) == shown)
            return;
    }
    m_details.clearSong();
}

void CollectionLists::explainEmptySongList() {
    try {
        ArtistFile::read(m_context.store.artistFile(m_genre, focusedArtist()));
    } catch (const StoreError& e) {
        m_context.showError(e.message()); // "Cannot open file ..."
    }
}

void CollectionLists::SongListClick() {
    m_context.closePopup();
    const int row = m_context.ui.SongList->itemIndex();
    if (row < 0) {
        m_details.clearSong();
        return;
    }
    const QByteArray path = songPathAt(row);
    m_context.setCaption(DisplayText(path));
    m_details.showSong(path);
    emit songClicked(path);
}

// ---------------------------------------------------------------- Find Song

void CollectionLists::focusSong(int row) {
    TListBox* songs = m_context.ui.SongList;
    songs->clearSelection();
    songs->setItemIndex(row);
    songs->setRowSelected(row, true);
    songs->scrollToItem(songs->item(row));
    SongListClick();
}

void CollectionLists::FindButtonClick() {
    TListBox* artists = m_context.ui.ArtistList;
    TListBox* songs = m_context.ui.SongList;
    const QString text = m_context.ui.FindEdit->text();
    if (text.isEmpty() || artists->count() == 0)
        return;
    m_context.setCaption(QStringLiteral("Searching..."));
    const QByteArray upper = AsciiUpper(NameBytes(text));
    int start;
    if (songs->count() == 0) {
        ArtistListClick();
        start = songs->itemIndex();
    } else {
        start = songs->itemIndex() + 1;
    }
    const int focused = artists->itemIndex();
    const FindOutcome found = FindSong(m_context.store, m_genre, m_context.patterns(),
                                       artistNames(), focused, songTitles(), start, upper);

    // Artists the pass went through without a match lose their selection mark.
    const int count = artists->count();
    const int from = std::max(focused, 0);
    int passed = 0;
    if (!found.found) {
        passed = count;
    } else if (found.reload) {
        const int steps = (found.artist - from + count) % count;
        passed = (steps == 0 ? count : steps) - 1;
    }
    for (int step = 1; step <= passed; ++step)
        artists->setRowSelected((from + step) % count, false);

    if (!found.found) {
        m_context.showMessage(QStringLiteral("Not Found!"));
        m_context.setCaption(ProductName);
    } else if (!found.reload) {
        focusSong(found.song);
    } else {
        artists->setItemIndex(found.artist);
        artists->setRowSelected(found.artist, true);
        artists->scrollToItem(artists->item(found.artist));
        ArtistListClick();
        const QByteArrayList titles = songTitles();
        for (int r = 0; r < titles.size(); ++r) {
            if (TitleContains(titles[r], upper)) {
                focusSong(r);
                break;
            }
        }
    }
    if (artists->itemIndex() != focused)
        artists->setRowSelected(focused, false);
    artists->setRowSelected(artists->itemIndex(), true);
}

// ---------------------------------------------------------------- counts

void CollectionLists::CalculateTotalNumberofMP3s1Click() {
    m_context.whileBusy([this] {
        try {
            const qint64 total = CountSongs(m_context.store.dbFolder(), m_context.captions());
            m_context.setCaption(ProductName);
            m_context.showMessage(
                QStringLiteral("Total number of MP3s in database: %1").arg(total));
        } catch (const StoreError& e) {
            m_context.setCaption(ProductName);
            m_context.showError(e.message());
        }
    });
}

void CollectionLists::CalcMP3sGenreClick() {
    const TListBox* genres = m_context.ui.GenreList;
    if (genres->count() == 0)
        return;
    QByteArray genre = selectedGenre();
    if (genre.isEmpty())
        genre = genres->bytesAt(0);
    try {
        const qint64 total = CountSongs(m_context.store.genreFolder(genre), m_context.captions());
        m_context.setCaption(ProductName);
        m_context.showMessage(
            QStringLiteral("Total number of MP3s in %1: %2").arg(DisplayText(genre)).arg(total));
    } catch (const StoreError& e) {
        m_context.setCaption(ProductName);
        m_context.showError(e.message());
    }
}

// ---------------------------------------------------------------- database entries

void CollectionLists::DeleteArtistClick() {
    TListBox* artists = m_context.ui.ArtistList;
    if (artists->count() == 0)
        return;
    const int row = artists->itemIndex();
    const QByteArray artist = focusedArtist();
    if (!m_context.confirm(QStringLiteral("Are you sure you want to delete %1 from the database?")
                               .arg(DisplayText(artist))))
        return;
    if (m_context.gaveUpWaiting([&] { m_context.store.DeleteArtist(m_genre, artist); }))
        return;
    artists->removeRow(row);
    ArtistListClick();
    m_context.ui.TotalA->setText(QString::number(artists->count()));
}

void CollectionLists::DeleteSongListClick() {
    TListBox* songs = m_context.ui.SongList;
    if (m_context.ui.ArtistList->count() == 0 || songs->count() == 0)
        return;
    m_context.setCaption(ProductName);
    const int row = songs->itemIndex();
    if (!m_context.confirm(QStringLiteral("Are you sure you want to delete %1 from the database?")
                               .arg(songs->textAt(row))))
        return;
    applySongDeleted(row, m_context.store.DeleteSongFromDB(m_genre, focusedArtist(),
                                                           songs->dataAt(row).toInt()));
}

void CollectionLists::applySongDeleted(int row, const DeleteSongResult& r) {
    if (r.fileFound) {
        m_context.ui.SongList->removeRow(row);
        if (r.artistFileDeleted)
            dropFocusedArtist();
        ArtistListClick();
    }
    if (!r.error.isEmpty())
        m_context.showError(r.error);
}

void CollectionLists::dropFocusedArtist() {
    TListBox* artists = m_context.ui.ArtistList;
    artists->removeRow(artists->itemIndex());
    m_context.ui.TotalA->setText(QString::number(artists->count()));
    m_context.setCaption(ArtistGone);
}

void CollectionLists::CleanArtistClick() {
    if (m_context.ui.ArtistList->count() == 0)
        return;
    m_context.setCaption(ProductName);
    const CleanArtistResult r = m_context.store.CleanArtist(m_genre, focusedArtist());
    if (r.artistFileDeleted) {
        dropFocusedArtist();
        m_context.ui.SongList->clearEntries();
    }
    ArtistListClick();
    if (!r.error.isEmpty())
        m_context.showError(r.error);
}

void CollectionLists::PurgeDBClick() {
    if (!m_context.confirm(QStringLiteral("Are you sure you want to delete your MP3 database?")))
        return;
    bool gaveUp = false;
    m_context.whileBusy([this, &gaveUp] {
        gaveUp = m_context.gaveUpWaiting([this] { m_context.store.PurgeDB(m_context.captions()); });
    });
    m_context.setCaption(ProductName);
    if (gaveUp)
        return;
    Ui::TForm1& u = m_context.ui;
    u.SongList->clearEntries();
    u.ArtistList->clearEntries();
    u.TotalA->setText(QStringLiteral("0"));
    u.TotalS->setText(QStringLiteral("0"));
    keepDetailsInStep();
}

// ---------------------------------------------------------------- adding by hand

void CollectionLists::ManualAddClick() {
    if (m_context.popup)
        m_context.popup->ShowPopup(TRenameForm::AddArtist, QString(), 150,
                                   m_context.ui.ArtistList->mapToGlobal(QPoint(10, 50)));
}

void CollectionLists::AddArtistEntry(const QString& name) {
    TListBox* artists = m_context.ui.ArtistList;
    if (m_context.ui.GenreList->count() == 0)
        return;
    const QByteArray bytes = typedName(TRenameForm::AddArtist, name);
    if (!m_context.store.AddArtistEntry(m_genre, bytes))
        return;
    // An artist added before and still without a file is listed already; letter case
    // does not make another one, as it does not for files.
    const QByteArray key = ArtistFile::nameKey(bytes);
    for (int row = 0; row < artists->count(); ++row) {
        if (ArtistFile::nameKey(artists->bytesAt(row)) == key)
            return;
    }
    artists->addEntry(DisplayText(bytes), bytes);
    m_context.ui.TotalA->setText(QString::number(artists->count()));
}

void CollectionLists::ManualAddSongClick() {
    if (m_context.ui.GenreList->count() == 0 || m_context.ui.ArtistList->count() == 0 ||
        !m_context.dialogs)
        return;
    const QStringList files = m_context.dialogs->openFiles(
        &m_context.window, QStringLiteral("Manually Add MP3s to Artist"),
        QStringLiteral("MP3 Audio Files (*.mp3)"));
    if (files.isEmpty())
        return;
    QByteArrayList paths;
    for (const QString& f : files)
        paths << QFile::encodeName(f);
    const ManualAddResult r = m_context.store.ManualAddSongs(m_genre, focusedArtist(), paths);
    ArtistListClick();
    if (r.unstorable > 0)
        m_context.showMessage(UnstorableNotice(r.unstorable));
    if (!r.error.isEmpty())
        m_context.showError(r.error);
}
