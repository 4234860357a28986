#include "PlaylistGroup.h"

#include "ui_PlaylistGroup.h"

#include "UserDialogs.h"
#include "player/Enqueue.h"
#include "player/WAIPC.h"
#include "store/StoreError.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace lorvane {

namespace {

const QString PlaylistFilter = QStringLiteral("MP3 Playlist (*.m3u)");

QFileDialog* playlistDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
    dialog->setNameFilter(PlaylistFilter);
    dialog->setDefaultSuffix(QStringLiteral("m3u"));
    return dialog;
}

// The chosen file's folder as the settings keep it: no trailing separator, except
// for the root.
QString folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

} // namespace

PlaylistGroup::PlaylistGroup(WAIPC& ipc, Shell& shell, CommandRunner& runner, UserDialogs& dialogs,
                             QWidget* parent)
    : QGroupBox(parent), ui(std::make_unique<Ui::PlaylistGroup>()), m_ipc(ipc), m_runner(runner),
      m_dialogs(dialogs), m_playback(shell),
      SaveM3U(playlistDialog(this, "SaveM3U", QFileDialog::AcceptSave)),
      OpenM3U(playlistDialog(this, "OpenM3U", QFileDialog::AcceptOpen)) {
    ui->setupUi(this);
    connect(ui->PlaySongs, &QPushButton::clicked, this, &PlaylistGroup::PlaySongsClick);
    connect(ui->PlayArtists, &QPushButton::clicked, this, &PlaylistGroup::PlayArtistsClick);
    connect(ui->Button5, &QPushButton::clicked, this, &PlaylistGroup::Button5Click);
    connect(ui->Button7, &QPushButton::clicked, this, &PlaylistGroup::Button7Click);
    connect(ui->RandomPlaylist, &QCheckBox::toggled, this,
            [this](bool on) { m_playback.setRandom(on); });
    m_playback.setPlayer(&m_ipc);
    m_playback.setReport(
        [this](const QString& text) { m_dialogs.inform(this, QStringLiteral("Lorvane"), text); });
}

PlaylistGroup::~PlaylistGroup() = default;

bool PlaylistGroup::random() const {
    return ui->RandomPlaylist->isChecked();
}

void PlaylistGroup::setRandom(bool on) {
    ui->RandomPlaylist->setChecked(on);
    m_playback.setRandom(on);
}

void PlaylistGroup::setSaveFolder(const QString& folder) {
    if (!folder.isEmpty())
        SaveM3U->setDirectory(folder);
}

void PlaylistGroup::setLoadFolder(const QString& folder) {
    if (!folder.isEmpty())
        OpenM3U->setDirectory(folder);
}

// A file error ends the command and shows in the standard error box.
template <typename Command> void PlaylistGroup::run(Command command) {
    try {
        command();
    } catch (const StoreError& e) {
        m_dialogs.error(this, e.message());
    }
}

void PlaylistGroup::PlaySongsClick() {
    if (!m_sources.selectedSongs)
        return;
    run([this] { m_playback.PlaySongs(m_sources.selectedSongs()); });
}

void PlaylistGroup::PlayArtistsClick() {
    if (!m_sources.selectedArtistFiles)
        return;
    run([this] { m_playback.PlayArtists(m_sources.selectedArtistFiles()); });
}

void PlaylistGroup::SongListDblClick() {
    if (!m_sources.focusedSong)
        return;
    const auto path = m_sources.focusedSong();
    if (!path)
        return;
    if (!m_playback.OpenSong(*path))
        m_dialogs.inform(this, QStringLiteral("Lorvane"), QStringLiteral("File doesn't exist!"));
}

void PlaylistGroup::SongListEnterPressed() {
    if (m_sources.selectedSongs && m_sources.selectedSongs().size() == 1)
        SongListDblClick();
    else
        PlaySongsClick();
}

void PlaylistGroup::AddSongWinampClick() {
    if (!m_sources.playerRunning || !m_sources.playerRunning() || !m_sources.selectedSongs)
        return;
    const QByteArrayList songs = m_sources.selectedSongs();
    if (songs.isEmpty())
        return;
    if (EnqueueSongs(m_ipc, m_runner, m_enqueueCommand, songs) == EnqueueRoute::Nothing &&
        m_sources.showStatus)
        m_sources.showStatus(CannotEnqueueText(m_ipc.PlayerCaptionName()));
}

void PlaylistGroup::Button5Click() {
    SaveM3U->setWindowTitle(QStringLiteral("Save Last Dynamic Playlist"));
    if (SaveM3U->exec() != QDialog::Accepted || SaveM3U->selectedFiles().isEmpty())
        return;
    const QString file = SaveM3U->selectedFiles().constFirst();
    m_savedFolder = folderOf(file);
    m_playback.SaveLastPlaylist(QFile::encodeName(file));
}

void PlaylistGroup::Button7Click() {
    OpenM3U->setWindowTitle(QStringLiteral("Load and Play a Playlist"));
    if (OpenM3U->exec() != QDialog::Accepted || OpenM3U->selectedFiles().isEmpty())
        return;
    const QString file = OpenM3U->selectedFiles().constFirst();
    m_loadedFolder = folderOf(file);
    m_playback.LoadPlaylist(QFile::encodeName(file));
}

} // namespace lorvane
