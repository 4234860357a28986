#include "MainWindow.h"

#include "AddPanel.h"
#include "Captions.h"
#include "CharsetMenu.h"
#include "CollectionLists.h"
#include "GenreCommands.h"
#include "InputPopup.h"
#include "PlayerStrip.h"
#include "PlaylistGroup.h"
#include "SongDetailsPanel.h"
#include "SongFileCommands.h"
#include "TTrayIcon.h"
#include "TrayPresence.h"
#include "WindowContext.h"
#include "WindowSettings.h"
#include "ui_MainWindow.h"

#include "UserDialogs.h"
#include "files/ByteFile.h"
#include "files/DataHome.h"
#include "player/Shell.h"
#include "player/WAIPC.h"
#include "store/GenreFolders.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>

#include <utility>

using namespace lorvane;

// The window's table of events: each control's signal goes to the handler of the same
// name, which hands it to the area that owns the command. Where two handlers take one
// signal, the order of the connections is the order they run in.
TForm1::TForm1(const TForm1Services& services, QWidget* parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TForm1>()), m_services(services),
      m_store(services.programDir) {
    m_ui->setupUi(this);
    Ui::TForm1* u = m_ui.get();
    u->Button6->hide();
    u->AddPanel->hide();
    m_details = new SongDetailsPanel(u->DetailsPlace);
    u->DetailsPlace->layout()->addWidget(m_details);
    connect(m_details, &SongDetailsPanel::captionChanged, this, &QWidget::setWindowTitle);
    m_charsetMenu = new CharsetMenu(this);
    u->File1->insertMenu(u->MinToTray, m_charsetMenu);
    connect(m_charsetMenu, &CharsetMenu::charsetChosen, m_details, &SongDetailsPanel::setCharset);

    m_context = std::make_unique<WindowContext>(*this, *u, m_store, services.dialogs);
    m_lists = new CollectionLists(*m_context, *m_details, this);
    m_genres = new GenreCommands(*m_context, *m_lists, this);
    m_songFiles = new SongFileCommands(*m_context, *m_lists, m_genres->associations(), this);
    m_lists->setGenreClickTaker([this] { return m_genres->takeGenreClick(); });
    connect(m_lists, &CollectionLists::songClicked, this, &TForm1::songClicked);

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
    m_lists->buildMenus();

    m_adding = new AddPanel(*m_context, *m_lists, m_genres->associations(), this);
    connect(u->Drive, &QComboBox::currentIndexChanged, this, &TForm1::DriveChange);
    connect(m_adding->previewButton(), &QPushButton::toggled, this, &TForm1::PreviewButtonClick);
    connect(m_adding->scanReport(), &QPushButton::clicked, this, &TForm1::ScanReportClick);
    m_adding->followChanges();
    buildPlayer();

    m_tray = new TrayPresence(*this, *u->MinToTray, this);
    connect(m_tray->Open1(), &QAction::triggered, this, &TForm1::Open1Click);
    connect(m_tray->ExitTray(), &QAction::triggered, this, &TForm1::ExitTrayClick);
    connect(m_tray->Tray1(), &TTrayIcon::SimpelFunction, this, &TForm1::Tray1SimpelFunction);
    connect(u->MinToTray, &QAction::triggered, this, &TForm1::MinToTrayClick);

    m_settings = std::make_unique<WindowSettings>(
        *this, services.settings,
        WindowSettings::Controls{u, m_adding, m_charsetMenu, m_details, m_strip, m_playlist});
    m_settings->equalSidePanels();
    ReadSettings();
    m_store.createDbFolder();
    m_lists->loadGenres();
    if (m_strip)
        m_strip->ReadVolume();

    m_renameForm = new TRenameForm(this);
    m_context->popup = m_renameForm;
    connect(u->AddGenre, &QAction::triggered, this, &TForm1::AddGenreClick);
    connect(u->RenameGenre, &QAction::triggered, this, &TForm1::RenameGenreClick);
    connect(u->RemoveGenre, &QAction::triggered, this, &TForm1::RemoveGenreClick);
    connect(u->CleanArtistsinGenre, &QAction::triggered, this, &TForm1::CleanArtistsinGenreClick);
    connect(u->SaveAssociations, &QAction::triggered, this, &TForm1::SaveAssociationsClick);
    connect(u->MoveButton, &QPushButton::clicked, this, &TForm1::MoveButtonClick);
    connect(u->RenameSong, &QAction::triggered, this, &TForm1::RenameSongClick);
    connect(u->CopyMp3File, &QAction::triggered, this, &TForm1::CopyMp3FileClick);
    connect(u->DelMp3File, &QAction::triggered, this, &TForm1::DelMp3FileClick);
    m_renameForm->setTextCheck(
        [this](int mode, const QString& text) { return acceptPopupText(mode, text); });
    connect(m_renameForm, &TRenameForm::confirmed, this, &TForm1::popupConfirmed);
}

TForm1::~TForm1() {
    QCoreApplication::instance()->removeEventFilter(this);
    // The areas work with the context, the store and the form, so they go first and no
    // signal of a widget being taken down reaches one afterwards. A child's removal is
    // itself an event the window hands to the tray area: each pointer is cleared first.
    delete std::exchange(m_tray, nullptr);
    delete std::exchange(m_adding, nullptr);
    delete std::exchange(m_songFiles, nullptr);
    delete std::exchange(m_genres, nullptr);
    delete std::exchange(m_lists, nullptr);
}

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
    sources.selectedSongs = [this] { return m_lists->selectedSongPaths(); };
    sources.focusedSong = [this] { return m_lists->focusedSongPath(); };
    sources.selectedArtistFiles = [this] { return m_lists->selectedArtistFiles(); };
    sources.playerRunning = [this] { return m_strip->playerRunning(); };
    sources.showStatus = [this](const QString& text) { showCaption(text); };
    m_playlist->setSources(std::move(sources));

    // The song menu names the player as the strip does.
    const auto nameInMenu = [this](const QString& name) {
        m_ui->AddSongWinamp->setText(
            QStringLiteral("&Add Song(s) to %1 (F1)")
                .arg(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))));
    };
    nameInMenu(m_strip->playerName());
    connect(m_strip, &PlayerStrip::playerNameChanged, this, nameInMenu);
    connect(this, &TForm1::playArtistsRequested, m_playlist, &PlaylistGroup::PlayArtistsClick);
    connect(this, &TForm1::openSongRequested, m_playlist, &PlaylistGroup::SongListDblClick);
    connect(this, &TForm1::enqueueSongsRequested, m_playlist, &PlaylistGroup::AddSongWinampClick);
}

// ---------------------------------------------------------------- keys

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
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_playlist)
        m_playlist->SongListEnterPressed();
}

void TForm1::SongListKeyUp(int key) {
    if (m_ui->SongList->count() == 0)
        return;
    if (key == Qt::Key_F1)
        emit enqueueSongsRequested();
    else if (key == Qt::Key_Delete)
        DeleteSongListClick();
    else if (m_songFiles)
        m_songFiles->songListKeys(key);
}

void TForm1::GenreListKeyUp(int key) {
    // Every key readies the popup beside the genre list, still hidden, for the genre
    // commands that show it.
    if (!m_renameForm)
        return;
    m_renameForm->resize(150, m_renameForm->height());
    m_renameForm->move(m_ui->GenreList->mapToGlobal(QPoint(10, 50)));
    if (m_genres)
        m_genres->genreListKeys(key);
}

void TForm1::FindEditKeyUp(int key) {
    if (key == Qt::Key_F3 || key == Qt::Key_Return || key == Qt::Key_Enter)
        FindButtonClick();
}

// ---------------------------------------------------------------- the popup

bool TForm1::acceptPopupText(int mode, const QString& text) {
    QString why;
    if (mode == TRenameForm::RenameFile)
        why = m_songFiles->renameRefusal(text);
    else if (mode == TRenameForm::AddGenre || mode == TRenameForm::RenameGenre)
        why = GenreNameRefusal(m_lists->typedName(mode, text));
    else
        why = NameRefusal(m_lists->typedName(mode, text));
    if (why.isEmpty())
        return true;
    m_context->showMessage(why);
    return false;
}

void TForm1::popupConfirmed(int mode, const QString& text) {
    switch (mode) {
    case TRenameForm::RenameFile:
        m_songFiles->renameSong(text);
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

// ---------------------------------------------------------------- help and about

void TForm1::HelpClickClick() {
    // The help text belongs in the data home; an installed program whose data home is
    // elsewhere still has the copy that was installed with it.
    for (const QByteArray& file : HelpTextFiles(m_store.ProgramDir())) {
        if (ByteFile::exists(file)) {
            if (m_services.shell)
                m_services.shell->openDocument(file);
            return;
        }
    }
    m_context->showMessage(QStringLiteral("File \"lorvane.txt\" does not exist."));
}

void TForm1::AboutClickClick() {
    if (m_services.dialogs)
        m_services.dialogs->inform(
            this, QStringLiteral("About"),
            QStringLiteral("%1 version %2 - a music-collection manager "
                           "for MP3 files")
                .arg(captions::ProductName, QStringLiteral(LORVANE_VERSION)));
}

// ---------------------------------------------------------------- tray and the end

void TForm1::ExitClickClick() {
    close();
}

bool TForm1::event(QEvent* event) {
    // Events reach the window while it is still being built; the tray comes last.
    if (m_tray)
        m_tray->windowEvent(event);
    const bool handled = QMainWindow::event(event);
    if (m_tray)
        m_tray->windowEventDone(event);
    return handled;
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A scan, count or purge runs to its end; the window closes when it is done.
    if (m_context->busy()) {
        m_context->closeWhenIdle();
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
