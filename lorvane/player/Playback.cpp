#include "player/Playback.h"

#include "building/NameText.h"
#include "files/ByteFile.h"
#include "files/DataHome.h"
#include "files/FileUrl.h"
#include "player/Shell.h"
#include "player/WAIPC.h"
#include "store/ArtistFile.h"
#include "store/DatabaseLock.h"
#include "store/StoreError.h"

#include <QRandomGenerator>

#include <sys/stat.h>

namespace lorvane {

Playback::Playback(Shell& shell, QByteArray dataHome)
    : m_shell(shell), m_dataHome(std::move(dataHome)) {}

QByteArray Playback::dynamicPlaylist() const {
    return withTrailingSlash(m_dataHome) + "Dynamic.m3u";
}

DatabaseLock::Hold Playback::playlistLock() const {
    if (m_dataHome.isEmpty())
        return {};
    return DatabaseLock(m_dataHome).hold();
}

bool Playback::FileExists(const QByteArray& path) {
    struct stat st {};
    return NamesASong(path) && ::stat(path.constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool Playback::PlaySongs(const QByteArrayList& songPaths) {
    QByteArrayList kept;
    for (const QByteArray& path : songPaths) {
        if (FileExists(path))
            kept.append(path);
    }
    return writeAndPlay(kept);
}

bool Playback::PlayArtists(const QByteArrayList& artistFiles) {
    QByteArrayList kept;
    for (const QByteArray& artistFile : artistFiles) {
        for (const QByteArray& path : ArtistFile::read(artistFile)) {
            if (FileExists(path))
                kept.append(path);
        }
    }
    return writeAndPlay(kept);
}

bool Playback::writeAndPlay(const QByteArrayList& paths) {
    if (paths.isEmpty())
        return false;
    const QByteArray file = dynamicPlaylist();
    // Another program's play command must not replace the list between its writing and
    // the player's reading of it.
    const DatabaseLock::Hold hold = playlistLock();
    // Written beside and renamed over: the old playlist, or a link in its place, is
    // replaced as a whole, never written through.
    if (!ByteFile::write(file, paths, ByteFile::Links::Replace))
        throw StoreError::cannotCreate(file);
    return PlayPlaylist(file);
}

QByteArrayList Playback::Shuffled(QByteArrayList lines, QRandomGenerator& generator) {
    QByteArrayList result;
    result.reserve(lines.size());
    while (!lines.isEmpty()) {
        const auto pick = qsizetype(generator.bounded(quint64(lines.size())));
        result.append(lines.takeAt(pick));
    }
    return result;
}

bool Playback::PlayPlaylist(const QByteArray& file) {
    if (m_random) {
        QRandomGenerator& generator = m_generator ? *m_generator : *QRandomGenerator::global();
        const DatabaseLock::Hold hold = playlistLock();
        const std::optional<QByteArrayList> lines = ByteFile::read(file);
        if (!lines)
            throw StoreError::cannotOpen(file);
        if (!ByteFile::write(file, Shuffled(*lines, generator), ByteFile::Links::Replace))
            throw StoreError::cannotCreate(file);
    }
    return handOver(file);
}

bool Playback::handOver(const QByteArray& file) {
    if (m_player && m_player->WinampOpen(QString::fromLatin1(FileUrl(file).toEncoded())))
        return true;
    // Without a program for the type the desktop's opener fails where nobody sees it.
    const std::optional<QString> program = m_shell.defaultProgram(PlaylistType);
    if (program && program->isEmpty()) {
        report(NoProgramText);
        return false;
    }
    if (m_player)
        m_player->ExpectNewPlayer();
    if (!m_shell.openDocument(file)) {
        const qsizetype slash = file.lastIndexOf('/');
        report(QStringLiteral("The desktop could not open the playlist \"%1\".")
                   .arg(DisplayText(file.mid(slash + 1))));
        return false;
    }
    return true;
}

void Playback::report(const QString& text) const {
    if (m_report)
        m_report(text);
}

bool Playback::OpenSong(const QByteArray& path) {
    if (!FileExists(path))
        return false;
    if (m_player)
        m_player->ExpectNewPlayer();
    m_shell.openDocument(path);
    return true;
}

bool Playback::SaveLastPlaylist(const QByteArray& target) {
    // A copy that fails, for want of a playlist or of a writable target, is not
    // reported.
    try {
        const DatabaseLock::Hold hold = playlistLock();
        bool exists = false;
        const std::optional<QByteArray> content = ByteFile::readRaw(dynamicPlaylist(), &exists);
        return content && exists && ByteFile::writeAtomic(target, *content);
    } catch (const StoreError&) {
        return false;
    }
}

bool Playback::LoadPlaylist(const QByteArray& file) {
    return handOver(file);
}

} // namespace lorvane
