#include "MainWindow.h"

#include "Captions.h"
#include "FolderTreeModel.h"

#include "CharsetMenu.h"
#include "InputPopup.h"
#include "PlayerStrip.h"
#include "PlaylistGroup.h"
#include "SongDetailsPanel.h"
#include "ui_MainWindow.h"

#include "files/ByteFile.h"
#include "platform/DataHome.h"
#include "platform/Shell.h"
#include "platform/widgets/UserDialogs.h"
#include "player/WAIPC.h"
#include "store/ArtistFile.h"
#include "store/Counts.h"
#include "store/Scanner.h"
#include "store/SongFinder.h"
#include "store/StoreError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QScreen>
#include <QTreeView>

#include <algorithm>
#include <utility>

using namespace lorvane;

namespace {

using captions::ArtistGone;
using captions::ProductName;

// The song-list entry keeps its title's bytes beside the line index, for Find Song.
constexpr int TitleRole = TListBox::ExtraRole;

} // namespace

TForm1::TForm1(const TForm1Services& services, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()), m_services(services),
      m_store(services.programDir) {
    m_ui->setupUi(this);
    m_ui->Button6->hide();
    m_ui->AddPanel->hide();
    m_details = new SongDetailsPanel(m_ui->DetailsPlace);
    m_ui->DetailsPlace->layout()->addWidget(m_details);
    connect(m_details, &SongDetailsPanel::captionChanged, this, &QWidget::setWindowTitle);
    m_charsetMenu = new CharsetMenu(this);
    m_ui->File1->insertMenu(m_ui->MinToTray, m_charsetMenu);
    connect(m_charsetMenu, &CharsetMenu::charsetChosen, m_details, &SongDetailsPanel::setCharset);
    m_captions = [this](const QString& caption) { showCaption(caption); };
    m_store.setWaitingSink([this](const QString& caption) {
        if (caption == DatabaseLock::inUseMessage())
            m_lockGaveUp = true;
        showCaption(caption);
    });

    Ui::TForm1* u = m_ui.get();
    connect(u->GenreList, &TListBox::click, this, &TForm1::GenreListClick);
    connect(u->ArtistList, &TListBox::click, this, &TForm1::ArtistListClick);
    connect(u->SongList, &TListBox::click, this, &TForm1::SongListClick);
    connect(u->ArtistList, &TListBox::dblClick, this, &TForm1::ArtistListDblClick);
    connect(u->SongList, &TListBox::dblClick, this, &TForm1::openSongRequested);
    connect(u->ArtistList, &TListBox::keyDown, this, &TForm1::ArtistListKeyPress);
    connect(u->ArtistList, &TListBox::keyUp, this, &TForm1::ArtistListKeyUp);
    connect(u->SongList, &TListBox::keyDown, this, &TForm1::SongListKeyPress);
    connect(u->SongList, &TListBox::keyUp, this, &TForm1::SongListKeyUp);
    connect(u->GenreList, &TListBox::keyUp, this, &TForm1::GenreListKeyUp);
    // The window sees its controls' keys first, as the find field's and Esc's handlers need.
    QCoreApplication::instance()->installEventFilter(this);

    connect(u->FindButton, &QPushButton::clicked, this, &TForm1::FindButtonClick);
    connect(u->AddMP3s, &QPushButton::clicked, this, &TForm1::AddMp3sClick);
    connect(u->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(u->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(u->BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(u->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(u->CalculateTotalNumberofMP3s1, &QAction::triggered, this,
            &TForm1::CalculateTotalNumberofMP3s1Click);
    connect(u->CalcMP3sGenre, &QAction::triggered, this, &TForm1::CalcMP3sGenreClick);
    connect(u->PurgeDB, &QAction::triggered, this, &TForm1::PurgeDBClick);
    connect(u->ExitClick, &QAction::triggered, this, &TForm1::ExitClickClick);
    connect(u->HelpClick, &QAction::triggered, this, &TForm1::HelpClickClick);
    connect(u->AboutClick, &QAction::triggered, this, &TForm1::AboutClickClick);
    connect(u->CleanArtist, &QAction::triggered, this, &TForm1::CleanArtistClick);
    connect(u->DeleteArtist, &QAction::triggered, this, &TForm1::DeleteArtistClick);
    connect(u->ManualAdd, &QAction::triggered, this, &TForm1::ManualAddClick);
    connect(u->DeleteSongList, &QAction::triggered, this, &TForm1::DeleteSongListClick);
    connect(u->ManualAddSong, &QAction::triggered, this, &TForm1::ManualAddSongClick);
    connect(u->AddSongWinamp, &QAction::triggered, this, &TForm1::enqueueSongsRequested);

    buildPopupMenus();
    buildAddPanel();
    buildPreview();
    buildPlayer();
    buildTray();
    equalSidePanels();
    FormCreate();
    if (m_strip)
        m_strip->ReadVolume();

    m_renameForm = new TRenameForm(this);
    connectGenreAndFileCommands();
}

TForm1::~TForm1() = default;

// ---------------------------------------------------------------- start-up and settings

void TForm1::buildPlayer() {
    const TForm1Services& s = m_services;
    if (!s.playerBus || !s.volume || !s.runner || !s.shell || !s.dialogs)
        return;
    m_ipc = std::make_unique<WAIPC>(*s.playerBus);
    m_strip = new PlayerStrip(*m_ipc, *s.volume, *s.shell, m_ui->WinampPlace);
    m_ui->WinampPlace->layout()->addWidget(m_strip);
    m_playlist = new PlaylistGroup(*m_ipc, *s.shell, *s.runner, *s.dialogs, m_ui->PlaylistPlace);
    m_ui->PlaylistPlace->layout()->addWidget(m_playlist);
    m_playlist->setDataHome(m_store.ProgramDir());

    PlaylistGroup::Sources sources;
    sources.selectedSongs = [this] {
        QByteArrayList paths;
        TListBox* songs = m_ui->SongList;
        for (int r = 0; r < songs->count(); ++r) {
            if (songs->isRowSelected(r))
                paths << m_store.SongPathOf(m_genre, focusedArtist(), songs->dataAt(r).toInt());
        }
        return paths;
    };
    sources.focusedSong = [this]() -> std::optional<QByteArray> {
        const int row = m_ui->SongList->itemIndex();
        if (row < 0)
            return std::nullopt;
        return m_store.SongPathOf(m_genre, focusedArtist(), m_ui->SongList->dataAt(row).toInt());
    };
    sources.selectedArtistFiles = [this] {
        QByteArrayList files;
        TListBox* artists = m_ui->ArtistList;
        for (int r = 0; r < artists->count(); ++r) {
            if (artists->isRowSelected(r))
                files << m_store.artistFile(m_genre, artists->bytesAt(r));
        }
        return files;
    };
    sources.playerRunning = [this] { return m_strip->playerRunning(); };
    m_playlist->setSources(std::move(sources));

    connect(this, &TForm1::playArtistsRequested, m_playlist, &PlaylistGroup::PlayArtistsClick);
    connect(this, &TForm1::playSongsRequested, m_playlist, &PlaylistGroup::PlaySongsClick);
    connect(this, &TForm1::openSongRequested, m_playlist, &PlaylistGroup::SongListDblClick);
    connect(this, &TForm1::enqueueSongsRequested, m_playlist, &PlaylistGroup::AddSongWinampClick);
}

void TForm1::FormCreate() {
    ReadSettings();
    ProgramDir = m_store.ProgramDir();
    AssocFileName = ProgramDir + "lorvane.gen";
    MoveCaption = m_ui->MoveButton->text();
    DbFolderName = m_store.DbFolderName();
    m_store.createDbFolder();

    QList<TListBox::Entry> genres;
    for (const QByteArray& g : m_store.genres())
        genres.append({DisplayText(g), g});
    m_ui->GenreList->fill(genres);
    // Nothing is selected yet, so the click selects the first genre.
    m_ui->GenreList->setCurrentRow(-1, QItemSelectionModel::Clear);
    GenreListClick();
    m_ui->TotalG->setText(QString::number(m_ui->GenreList->count()));
}

SettingsValues TForm1::currentSettings() const {
    SettingsValues v = m_applied;
    v.left = pos().x();
    v.top = pos().y();
    v.width = width();
    v.height = height();
    v.tray = m_ui->MinToTray->isChecked();
    v.recurse = m_ui->Recurse->isChecked();
    v.bracketformat = m_ui->BracketFormat->isChecked();
    v.dashformat = m_ui->DashFormat->isChecked();
    v.trackformat = m_ui->TrackFormat->isChecked();
    v.customformat = m_ui->CustomFormat->isChecked();
    v.customstring = m_ui->XEdit->text();
    v.customdir = m_ui->CustomDir->text();
    const int drive = m_ui->Drive->currentIndex();
    if (drive >= 0 && drive < m_mounts.size())
        v.lastdrive = m_mounts[drive].code;
    const QByteArray dir = dirListFolder();
    if (!dir.isEmpty())
        v.lastdir = QFile::decodeName(dir);
    v.useassociations = m_ui->UseAssociations->isChecked();
    v.id3charset = QString::fromLatin1(m_charsetMenu->charset());
    if (m_strip)
        v.balanced = m_strip->balanced();
    if (m_playlist) {
        v.random = m_playlist->random();
        v.savedFolder = m_playlist->savedFolder();
        v.loadedFolder = m_playlist->loadedFolder();
    }
    return v;
}

void TForm1::ReadSettings() {
    SettingsValues values = currentSettings();
    // The designed bounds, not whatever the window has before it is first shown.
    const SettingsValues designed;
    values.top = designed.top;
    values.left = designed.left;
    const QSize size = firstStartSize();
    values.width = size.width();
    values.height = size.height();
    if (m_services.settings) {
        lorvane::ReadSettings(*m_services.settings, values);
        if (m_playlist)
            m_playlist->setEnqueueCommand(ReadEnqueueCommand(*m_services.settings));
    }
    applySettings(values);
}

void TForm1::WriteSettings() {
    if (m_services.settings)
        lorvane::WriteSettings(*m_services.settings, currentSettings());
}

void TForm1::applySettings(const SettingsValues& v) {
    m_applied = v;
    setBoundsOnScreen(QRect(v.left, v.top, v.width, v.height));
    m_ui->MinToTray->setChecked(v.tray);
    m_ui->Recurse->setChecked(v.recurse);
    m_ui->BracketFormat->setChecked(v.bracketformat);
    m_ui->DashFormat->setChecked(v.dashformat);
    m_ui->TrackFormat->setChecked(v.trackformat);
    m_ui->CustomFormat->setChecked(v.customformat);
    m_ui->XEdit->setText(v.customstring);
    m_ui->CustomDir->setText(v.customdir);
    for (int i = 0; i < m_mounts.size(); ++i) {
        if (m_mounts[i].code == v.lastdrive && m_ui->Drive->currentIndex() != i) {
            m_ui->Drive->setCurrentIndex(i);
            break;
        }
    }
    if (!v.lastdir.isEmpty())
        setDirListFolder(QFile::encodeName(v.lastdir));
    m_ui->UseAssociations->setChecked(v.useassociations);
    m_charsetMenu->setCharset(v.id3charset.toLatin1());
    m_details->setCharset(m_charsetMenu->charset());
    if (m_strip)
        m_strip->setBalanced(v.balanced);
    if (m_playlist) {
        m_playlist->setRandom(v.random);
        m_playlist->setSaveFolder(v.savem3u);
        m_playlist->setLoadFolder(v.loadm3u);
    }
}

// The design was drawn for a small 8-point font. On a first start the window takes the
// room the desktop's font needs, so that every caption and value is whole.
QSize TForm1::firstStartSize() {
    // Nested layouts keep what they measured until they are asked afresh.
    for (QLayout* layout : findChildren<QLayout*>())
        layout->invalidate();
    QSize needed = centralWidget()->layout()->totalSizeHint();
    if (menuWidget())
        needed.rheight() += menuWidget()->sizeHint().height();
    const SettingsValues designed;
    return needed.expandedTo(QSize(designed.width, designed.height));
}

// The tag panel and the add panel take turns beside the lists; with the same room the
// lists stay where they are when the add panel opens.
void TForm1::equalSidePanels() {
    QWidget* panels[] = {m_ui->DetailsPlace, m_ui->AddPanel};
    QSize room;
    for (const QWidget* panel : panels)
        room = room.expandedTo(panel->sizeHint()).expandedTo(panel->minimumSize());
    for (QWidget* panel : panels)
        panel->setMinimumSize(room);
}

// Stored bounds are applied as they are when the window fits on a screen. A window
// larger than the screen is cut to its free area, one partly off it is moved in, and one
// stored for a detached monitor comes back onto the primary screen.
void TForm1::setBoundsOnScreen(QRect bounds) {
    const QScreen* screen = nullptr;
    int overlap = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->availableGeometry().intersected(bounds);
        const int area = common.isEmpty() ? 0 : common.width() * common.height();
        if (area > overlap) {
            overlap = area;
            screen = s;
        }
    }
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
        if (screen) {
            const SettingsValues designed;
            bounds.moveTopLeft(screen->availableGeometry().topLeft() +
                               QPoint(designed.left, designed.top));
        }
    }
    if (screen) {
        const QRect area = screen->availableGeometry();
        bounds.setSize(bounds.size().boundedTo(area.size()));
        bounds.moveLeft(std::clamp(bounds.left(), area.left(), area.right() + 1 - bounds.width()));
        bounds.moveTop(std::clamp(bounds.top(), area.top(), area.bottom() + 1 - bounds.height()));
    }
    move(bounds.topLeft());
    resize(bounds.size());
}

void TForm1::ExitClickClick() {
    close();
}

void TForm1::Button6Click() {
    ExitClickClick();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A scan, count or purge runs to its end; the window closes when it is done.
    if (m_busy > 0) {
        m_closePending = true;
        event->ignore();
        return;
    }
    CloseRenamePopup();
    if (!m_settingsWritten) {
        m_settingsWritten = true;
        WriteSettings();
    }
    event->accept();
}

template <typename Work> void TForm1::whileBusy(Work work) {
    ++m_busy;
    work();
    if (--m_busy == 0 && m_closePending) {
        m_closePending = false;
        close();
    }
}

void TForm1::PopupFromMessage() {
    Tray1SimpelFunction();
}

// ---------------------------------------------------------------- small helpers

void TForm1::showCaption(const QString& text) {
    setWindowTitle(text);
    // Paint now, but leave the user's input queued until the operation ends.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TForm1::showError(const QString& message) {
    if (m_services.dialogs)
        m_services.dialogs->error(this, message);
}

bool TForm1::gaveUpWaiting(const std::function<void()>& command) {
    m_lockGaveUp = false;
    command();
    if (!std::exchange(m_lockGaveUp, false))
        return false;
    showError(DatabaseLock::inUseMessage());
    return true;
}

void TForm1::showMessage(const QString& text) {
    if (m_services.dialogs)
        m_services.dialogs->inform(this, ProductName, text);
}

QByteArray TForm1::selectedGenre() const {
    const QList<QListWidgetItem*> selected = m_ui->GenreList->selectedItems();
    return selected.isEmpty() ? QByteArray()
                              : selected.first()->data(TListBox::DataRole).toByteArray();
}

QByteArray TForm1::focusedArtist() const {
    const int row = m_ui->ArtistList->itemIndex();
    return row < 0 ? QByteArray() : m_ui->ArtistList->bytesAt(row);
}

NamePatterns TForm1::patterns() const {
    NamePatterns p;
    p.track = m_ui->TrackFormat->isChecked();
    p.bracket = m_ui->BracketFormat->isChecked();
    p.custom = m_ui->CustomFormat->isChecked();
    p.dash = m_ui->DashFormat->isChecked();
    p.separator = NameBytes(m_ui->XEdit->text());
    return p;
}

QByteArrayList TForm1::artistNames() const {
    QByteArrayList names;
    for (int r = 0; r < m_ui->ArtistList->count(); ++r)
        names << m_ui->ArtistList->bytesAt(r);
    return names;
}

QByteArrayList TForm1::songTitles() const {
    QByteArrayList titles;
    for (int r = 0; r < m_ui->SongList->count(); ++r)
        titles << m_ui->SongList->item(r)->data(TitleRole).toByteArray();
    return titles;
}

void TForm1::showTotals() {
    m_ui->TotalG->setText(QString::number(m_ui->GenreList->count()));
    m_ui->TotalA->setText(QString::number(m_ui->ArtistList->count()));
    m_ui->TotalS->setText(QString::number(m_ui->SongList->count()));
}

void TForm1::fillArtists(const QByteArrayList& names) {
    QList<TListBox::Entry> entries;
    for (const QByteArray& n : names)
        entries.append({DisplayText(n), n});
    m_ui->ArtistList->fill(entries);
    m_ui->TotalA->setText(QString::number(m_ui->ArtistList->count()));
}

void TForm1::CloseRenamePopup() {
    if (m_renameForm && m_renameForm->isVisible())
        m_renameForm->hide();
}

void TForm1::mousePressEvent(QMouseEvent* event) {
    CloseRenamePopup();
    QMainWindow::mousePressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Esc let go anywhere in the window presses the hidden cancel button, which ends the
    // program; the window sees it before its controls do. An Esc whose press closed the
    // popup, a menu or a message box is not the window's.
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (key && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* esc = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress)
            m_windowKeys.press(esc);
        else if (m_windowKeys.release(esc))
            m_ui->Button6->click();
    }
    if (watched == m_ui->FindEdit) {
        switch (event->type()) {
        case QEvent::KeyPress:
            m_findKeys.press(static_cast<QKeyEvent*>(event));
            break;
        case QEvent::KeyRelease:
            if (m_findKeys.release(static_cast<QKeyEvent*>(event)))
                FindEditKeyUp(static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::FocusOut:
            m_findKeys.clear();
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the three lists

void TForm1::GenreListClick() {
    CloseRenamePopup();
    if (moveArmed()) {
        completeMove();
        return;
    }
    TListBox* genres = m_ui->GenreList;
    GenrePath.clear();
    m_genre.clear();
    if (genres->count() == 0) {
        m_ui->TotalA->setText(QStringLiteral("0"));
        m_ui->ArtistList->clearEntries();
        ArtistListClick();
        return;
    }
    if (genres->selectedItems().isEmpty())
        genres->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    const QByteArray genre = selectedGenre();
    const QByteArrayList names = m_store.ListArtists(genre, m_captions);
    setWindowTitle(ProductName);
    fillArtists(names);
    m_genre = genre;
    GenrePath = m_store.GenrePath(genre);

    ArtistListClick();
    TListBox* artists = m_ui->ArtistList;
    if (artists->count() > 0 && artists->itemIndex() >= 0)
        artists->setRowSelected(artists->itemIndex(), true);
}

void TForm1::ArtistListClick() {
    CloseRenamePopup();
    TListBox* songs = m_ui->SongList;
    if (m_ui->ArtistList->count() == 0) {
        songs->clearEntries();
        m_ui->TotalS->setText(QStringLiteral("0"));
        return;
    }
    QList<TListBox::Entry> entries;
    const QList<SongEntry> listed = m_store.ListSongs(m_genre, focusedArtist(), patterns());
    entries.reserve(listed.size());
    // Titles keep their bytes for the search.
    for (const SongEntry& s : listed)
        entries.append({DisplayText(s.title), s.lineIndex, s.title});
    songs->fill(entries);
    m_ui->TotalS->setText(QString::number(songs->count()));
    if (listed.isEmpty())
        explainEmptySongList();
}

void TForm1::explainEmptySongList() {
    try {
        ArtistFile::read(m_store.artistFile(m_genre, focusedArtist()));
    } catch (const StoreError& e) {
        showError(e.message()); // "Cannot open file ..."
    }
}

void TForm1::SongListClick() {
    CloseRenamePopup();
    const int row = m_ui->SongList->itemIndex();
    if (row < 0) {
        m_details->clearTagFields();
        return;
    }
    const QByteArray path =
        m_store.SongPathOf(m_genre, focusedArtist(), m_ui->SongList->dataAt(row).toInt());
    setWindowTitle(DisplayText(path));
    m_details->showSong(path);
    emit songClicked(path);
}

void TForm1::ArtistListDblClick() {
    emit playArtistsRequested();
}

void TForm1::ArtistListKeyPress(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        emit playArtistsRequested();
}

void TForm1::ArtistListKeyUp(int key) {
    if (key == Qt::Key_Delete)
        DeleteArtistClick();
    else if (key == Qt::Key_F1)
        CleanArtistClick();
}

void TForm1::SongListKeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (m_ui->SongList->selCount() == 1)
        emit openSongRequested();
    else
        emit playSongsRequested();
}

void TForm1::SongListKeyUp(int key) {
    if (m_ui->SongList->count() == 0)
        return;
    if (key == Qt::Key_F1)
        emit enqueueSongsRequested();
    else if (key == Qt::Key_Delete)
        DeleteSongListClick();
}

void TForm1::GenreListKeyUp(int) {
    // Every key readies the popup beside the genre list, still hidden, for the genre
    // commands that show it.
    if (m_renameForm) {
        m_renameForm->resize(150, m_renameForm->height());
        m_renameForm->move(m_ui->GenreList->mapToGlobal(QPoint(10, 50)));
    }
}

void TForm1::FindEditKeyUp(int key) {
    if (key == Qt::Key_F3 || key == Qt::Key_Return || key == Qt::Key_Enter)
        FindButtonClick();
}

void TForm1::focusSong(int row) {
    TListBox* songs = m_ui->SongList;
    songs->clearSelection();
    songs->setItemIndex(row);
    songs->setRowSelected(row, true);
    songs->scrollToItem(songs->item(row));
    SongListClick();
}

void TForm1::FindButtonClick() {
    TListBox* artists = m_ui->ArtistList;
    TListBox* songs = m_ui->SongList;
    const QString text = m_ui->FindEdit->text();
    if (text.isEmpty() || artists->count() == 0)
        return;
    setWindowTitle(QStringLiteral("Searching..."));
    const QByteArray upper = AsciiUpper(NameBytes(text));
    int start;
    if (songs->count() == 0) {
        ArtistListClick();
        start = songs->itemIndex();
    } else {
        start = songs->itemIndex() + 1;
    }
    const int focused = artists->itemIndex();
    const FindOutcome found =
        FindSong(m_store, m_genre, patterns(), artistNames(), focused, songTitles(), start, upper);

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
        showMessage(QStringLiteral("Not Found!"));
        setWindowTitle(ProductName);
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

// ---------------------------------------------------------------- counts, deletes, purge

void TForm1::CalculateTotalNumberofMP3s1Click() {
    whileBusy([this] {
        try {
            const qint64 total = CountSongs(m_store.dbFolder(), m_captions);
            setWindowTitle(ProductName);
            showMessage(QStringLiteral("Total number of MP3s in database: %1").arg(total));
        } catch (const StoreError& e) {
            setWindowTitle(ProductName);
            showError(e.message());
        }
    });
}

void TForm1::CalcMP3sGenreClick() {
    if (m_ui->GenreList->count() == 0)
        return;
    QByteArray genre = selectedGenre();
    if (genre.isEmpty())
        genre = m_ui->GenreList->bytesAt(0);
    try {
        const qint64 total = CountSongs(m_store.genreFolder(genre), m_captions);
        setWindowTitle(ProductName);
        showMessage(
            QStringLiteral("Total number of MP3s in %1: %2").arg(DisplayText(genre)).arg(total));
    } catch (const StoreError& e) {
        setWindowTitle(ProductName);
        showError(e.message());
    }
}

void TForm1::DeleteArtistClick() {
    TListBox* artists = m_ui->ArtistList;
    if (artists->count() == 0)
        return;
    const int row = artists->itemIndex();
    const QByteArray artist = focusedArtist();
    if (!m_services.dialogs ||
        !m_services.dialogs->confirm(this, QStringLiteral("Are you sure you want to delete %1 "
                                                          "from the database?")
                                               .arg(DisplayText(artist))))
        return;
    if (gaveUpWaiting([&] { m_store.DeleteArtist(m_genre, artist); }))
        return;
    artists->removeRow(row);
    ArtistListClick();
    m_ui->TotalA->setText(QString::number(artists->count()));
}

void TForm1::DeleteSongListClick() {
    TListBox* artists = m_ui->ArtistList;
    TListBox* songs = m_ui->SongList;
    if (artists->count() == 0 || songs->count() == 0)
        return;
    setWindowTitle(ProductName);
    const int row = songs->itemIndex();
    if (!m_services.dialogs ||
        !m_services.dialogs->confirm(this, QStringLiteral("Are you sure you want to delete %1 "
                                                          "from the database?")
                                               .arg(songs->textAt(row))))
        return;
    applySongDeleted(
        row, m_store.DeleteSongFromDB(m_genre, focusedArtist(), songs->dataAt(row).toInt()));
}

void TForm1::applySongDeleted(int row, const DeleteSongResult& r) {
    if (r.fileFound) {
        m_ui->SongList->removeRow(row);
        if (r.artistFileDeleted)
            dropFocusedArtist();
        ArtistListClick();
    }
    if (!r.error.isEmpty())
        showError(r.error);
}

void TForm1::dropFocusedArtist() {
    TListBox* artists = m_ui->ArtistList;
    artists->removeRow(artists->itemIndex());
    m_ui->TotalA->setText(QString::number(artists->count()));
    setWindowTitle(ArtistGone);
}

void TForm1::CleanArtistClick() {
    TListBox* artists = m_ui->ArtistList;
    if (artists->count() == 0)
        return;
    setWindowTitle(ProductName);
    const CleanArtistResult r = m_store.CleanArtist(m_genre, focusedArtist());
    if (r.artistFileDeleted) {
        dropFocusedArtist();
        m_ui->SongList->clearEntries();
    }
    ArtistListClick();
    if (!r.error.isEmpty())
        showError(r.error);
}

void TForm1::PurgeDBClick() {
    if (!m_services.dialogs ||
        !m_services.dialogs->confirm(
            this, QStringLiteral("Are you sure you want to delete your MP3 database?")))
        return;
    bool gaveUp = false;
    whileBusy([this, &gaveUp] { gaveUp = gaveUpWaiting([this] { m_store.PurgeDB(m_captions); }); });
    setWindowTitle(ProductName);
    if (gaveUp)
        return;
    m_ui->SongList->clearEntries();
    m_ui->ArtistList->clearEntries();
    m_ui->TotalA->setText(QStringLiteral("0"));
    m_ui->TotalS->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------- help and about

void TForm1::HelpClickClick() {
    // The help text belongs in the data home; an installed program whose data home is
    // elsewhere still has the copy that was installed with it.
    for (const QByteArray& file : HelpTextFiles(ProgramDir)) {
        if (ByteFile::exists(file)) {
            if (m_services.shell)
                m_services.shell->openDocument(file);
            return;
        }
    }
    showMessage(QStringLiteral("File \"lorvane.txt\" does not exist."));
}

void TForm1::AboutClickClick() {
    if (m_services.dialogs)
        m_services.dialogs->inform(this, QStringLiteral("About"),
                                   QStringLiteral("%1 version %2 - a music-collection manager "
                                                  "for MP3 files")
                                       .arg(ProductName, QStringLiteral(LORVANE_VERSION)));
}

// ---------------------------------------------------------------- pop-up menus

void TForm1::buildPopupMenus() {
    Ui::TForm1* u = m_ui.get();
    m_genreMenu = new QMenu(this);
    m_genreMenu->setObjectName(QStringLiteral("GenreMenu"));
    m_genreMenu->addActions({u->AddGenre, u->RemoveGenre, u->RenameGenre, u->CleanArtistsinGenre});
    m_artistMenu = new QMenu(this);
    m_artistMenu->setObjectName(QStringLiteral("ArtistMenu"));
    m_artistMenu->addActions({u->CleanArtist, u->DeleteArtist, u->ManualAdd});
    m_songMenu = new QMenu(this);
    m_songMenu->setObjectName(QStringLiteral("SongMenu"));
    m_songMenu->addActions({u->AddSongWinamp, u->DeleteSongList, u->RenameSong, u->CopyMp3File,
                            u->DelMp3File, u->ManualAddSong});
    const std::pair<TListBox*, QMenu*> menus[] = {
        {u->GenreList, m_genreMenu}, {u->ArtistList, m_artistMenu}, {u->SongList, m_songMenu}};
    for (const auto& entry : menus) {
        TListBox* list = entry.first;
        QMenu* menu = entry.second;
        connect(list, &QWidget::customContextMenuRequested, this,
                [list, menu](const QPoint& at) { menu->popup(list->viewport()->mapToGlobal(at)); });
    }
}

// ---------------------------------------------------------------- the add panel

void TForm1::buildAddPanel() {
    m_mounts = MountPoints();
    for (const MountPoint& m : m_mounts)
        m_ui->Drive->addItem(m.label);

    m_dirModel = new FolderTreeModel(this);
    m_ui->DirList->setModel(m_dirModel);
    // A folder closed and opened again shows the folders made meanwhile.
    connect(m_ui->DirList, &QTreeView::collapsed, m_dirModel, &FolderTreeModel::forget);

    // The designed state: the drive and the folder of the process's current folder.
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    const int drive = MountOf(m_mounts, here);
    m_ui->Drive->setCurrentIndex(std::max(drive, 0));
    DriveChange();
    setDirListFolder(here);
    connect(m_ui->Drive, &QComboBox::currentIndexChanged, this, &TForm1::DriveChange);
}

void TForm1::DriveChange() {
    const int drive = m_ui->Drive->currentIndex();
    if (drive < 0 || drive >= m_mounts.size())
        return;
    const QModelIndex root = m_dirModel->indexOf(m_mounts[drive].root);
    m_dirModel->forget(root);
    m_dirModel->fetchMore(root);
    m_ui->DirList->setRootIndex(root);
    m_ui->DirList->setCurrentIndex(QModelIndex());
}

QByteArray TForm1::dirListFolder() const {
    QModelIndex index = m_ui->DirList->currentIndex();
    if (!index.isValid())
        index = m_ui->DirList->rootIndex();
    if (!index.isValid())
        return QByteArray();
    return m_dirModel->pathOf(index);
}

bool TForm1::setDirListFolder(const QByteArray& folder) {
    if (!ByteFile::isFolder(folder))
        return false;
    // Bytes all the way: a folder name need not be UTF-8.
    QByteArray path = folder;
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const QByteArray rootOfDrive = m_mounts.isEmpty() ? QByteArray()
                                   : m_ui->Drive->currentIndex() >= 0
                                       ? m_mounts[m_ui->Drive->currentIndex()].root
                                       : QByteArray();
    // A folder on another drive makes that drive current first.
    if (!(path + '/').startsWith(rootOfDrive)) {
        const int drive = MountOf(m_mounts, path);
        if (drive >= 0) {
            QSignalBlocker block(m_ui->Drive);
            m_ui->Drive->setCurrentIndex(drive);
            DriveChange();
        }
    }
    const QModelIndex index = m_dirModel->indexOf(path);
    if (!index.isValid())
        return false;
    m_ui->DirList->setCurrentIndex(index);
    m_ui->DirList->scrollTo(index);
    return true;
}

void TForm1::AddMp3sClick() {
    if (m_ui->AddMP3s->text() == QLatin1String("A&dd MP3s >>")) {
        m_ui->AddMP3s->setText(QStringLiteral("Add &MP3s <<"));
        m_ui->DetailsPlace->hide();
        m_ui->AddPanel->show();
    } else {
        m_ui->AddMP3s->setText(QStringLiteral("A&dd MP3s >>"));
        m_ui->AddPanel->hide();
        m_ui->DetailsPlace->show();
    }
}

void TForm1::Button1Click() {
    const int drive = m_ui->Drive->currentIndex();
    if (drive >= 0 && drive < m_mounts.size())
        AddFromFolder(m_mounts[drive].root, true);
}

void TForm1::Button4Click() {
    QByteArray root = dirListFolder();
    if (root.isEmpty())
        return;
    if (!root.endsWith('/'))
        root += '/';
    AddFromFolder(root);
}

void TForm1::BitBtn1Click() {
    QString typed = m_ui->CustomDir->text();
    if (typed.isEmpty())
        typed = QStringLiteral("/");
    else if (!typed.endsWith(QLatin1Char('/')))
        typed += QLatin1Char('/');
    m_ui->CustomDir->setText(typed);
    AddFromFolder(NameBytes(typed));
}

void TForm1::AddFromFolder(const QByteArray& root, bool sameFileSystem) {
    CloseRenamePopup();
    whileBusy([this, &root, sameFileSystem] {
        Scanner scanner(m_store, m_captions);
        const OrganizeResult r =
            scanner.AddFromFolder(root, m_ui->Recurse->isChecked(), patterns(), selectedGenre(),
                                  m_associations, sameFileSystem);
        // What was filed before a failure stays filed, so the lists take it before the
        // error is shown.
        for (const QByteArray& genre : r.genresCreated) {
            if (m_ui->GenreList->rowOfBytes(genre) < 0)
                m_ui->GenreList->addEntry(DisplayText(genre), genre);
        }
        for (const QByteArray& artist : r.artistsToList)
            m_ui->ArtistList->addEntry(DisplayText(artist), artist);
        setWindowTitle(ProductName);
        m_ui->TotalA->setText(QString::number(m_ui->ArtistList->count()));
        ArtistListClick();
        m_ui->TotalG->setText(QString::number(m_ui->GenreList->count()));
        showScanReport(r);
        if (r.unstorable > 0)
            showMessage(UnstorableNotice(r.unstorable));
        if (!r.error.isEmpty())
            showError(r.error);
    });
}

void TForm1::ManualAddClick() {
    if (m_renameForm)
        m_renameForm->ShowPopup(TRenameForm::AddArtist, QString(), 150,
                                m_ui->ArtistList->mapToGlobal(QPoint(10, 50)));
}

void TForm1::AddArtistEntry(const QString& name) {
    if (m_ui->GenreList->count() == 0)
        return;
    const QByteArray bytes = popupNameBytes(TRenameForm::AddArtist, name);
    if (!m_store.AddArtistEntry(m_genre, bytes))
        return;
    // An artist added before and still without a file is listed already; letter case
    // does not make another one, as it does not for files.
    const QByteArray key = ArtistFile::nameKey(bytes);
    for (int row = 0; row < m_ui->ArtistList->count(); ++row) {
        if (ArtistFile::nameKey(m_ui->ArtistList->bytesAt(row)) == key)
            return;
    }
    m_ui->ArtistList->addEntry(DisplayText(bytes), bytes);
    m_ui->TotalA->setText(QString::number(m_ui->ArtistList->count()));
}

void TForm1::ManualAddSongClick() {
    if (m_ui->GenreList->count() == 0 || m_ui->ArtistList->count() == 0 || !m_services.dialogs)
        return;
    const QStringList files =
        m_services.dialogs->openFiles(this, QStringLiteral("Manually Add MP3s to Artist"),
                                      QStringLiteral("MP3 Audio Files (*.mp3)"));
    if (files.isEmpty())
        return;
    QByteArrayList paths;
    for (const QString& f : files)
        paths << QFile::encodeName(f);
    const ManualAddResult r = m_store.ManualAddSongs(m_genre, focusedArtist(), paths);
    ArtistListClick();
    if (r.unstorable > 0)
        showMessage(UnstorableNotice(r.unstorable));
    if (!r.error.isEmpty())
        showError(r.error);
}
