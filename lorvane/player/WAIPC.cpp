#include "player/WAIPC.h"

#include "player/MediaPlayerBus.h"

#include <QUrl>

#include <algorithm>
#include <limits>

namespace lorvane {

namespace {

int clampToInt(qint64 value) {
    return int(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

// Players send some numbers with other integer types than the standard's.
qint64 integerOf(const QVariant& value) {
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    return ok ? n : 0;
}

} // namespace

WAIPC::WAIPC(MediaPlayerBus& bus) : m_bus(bus) {}

QString WAIPC::FindWinamp() {
    const QStringList names = m_bus.playerNames();
    m_found = true;
    if (m_expectingPlayer) {
        for (const QString& name : names) {
            if (!m_namesBeforeOpen.contains(name)) {
                m_handedTo = name;
                m_expectingPlayer = false;
                break;
            }
        }
        if (m_newPlayerWait.hasExpired())
            m_expectingPlayer = false;
    }
    m_shown = [&]() -> QString {
        if (names.isEmpty())
            return {};
        if (names.contains(m_handedTo))
            return m_handedTo;
        if (names.size() > 1) {
            for (const QString& name : names) {
                if (m_bus.playbackStatus(name) == QLatin1String("Playing"))
                    return name;
            }
        }
        return names.contains(m_shown) ? m_shown : names.constFirst();
    }();
    return m_shown;
}

QString WAIPC::shown() {
    return m_found ? m_shown : FindWinamp();
}

int WAIPC::WinampGetOutputTime(int mode) {
    if (mode != 0 && mode != 1)
        return 0;
    const QString player = shown();
    if (player.isEmpty())
        return 0;
    if (mode == 0)
        return clampToInt(m_bus.position(player).value_or(0) / 1000);
    return clampToInt(integerOf(m_bus.metadata(player).value(QStringLiteral("mpris:length"))) /
                      1000000);
}

void WAIPC::WinampJumpToTime(int ms) {
    const QString player = shown();
    if (player.isEmpty())
        return;
    const qint64 targetUs = qint64(std::max(ms, 0)) * 1000;
    const QString trackId =
        m_bus.metadata(player).value(QStringLiteral("mpris:trackid")).toString();
    if (!trackId.isEmpty()) {
        m_bus.setPosition(player, trackId, targetUs);
        return;
    }
    // Without a track id the absolute jump is refused by the standard; a relative
    // seek from where the player stands reaches the same place.
    const auto now = m_bus.position(player);
    if (now)
        m_bus.seek(player, targetUs - *now);
}

int WAIPC::WinampCommand(int id) {
    MediaPlayerBus::Transport command;
    switch (id) {
    case PreviousButton:
        command = MediaPlayerBus::Transport::Previous;
        break;
    case PlayButton:
        command = MediaPlayerBus::Transport::Play;
        break;
    case PauseButton:
        // The pause button of the player toggles, as PlayPause does.
        command = MediaPlayerBus::Transport::PlayPause;
        break;
    case StopButton:
        command = MediaPlayerBus::Transport::Stop;
        break;
    case NextButton:
        command = MediaPlayerBus::Transport::Next;
        break;
    default:
        return 0;
    }
    const QString player = shown();
    if (player.isEmpty())
        return 0;
    // The player the user drives from the strip keeps the strip, so a pause does not
    // hand the next button to another player that happens to be playing.
    m_bus.transport(player, command);
    m_handedTo = player;
    return 0;
}

void WAIPC::WinampPrevious() {
    WinampCommand(PreviousButton);
}

void WAIPC::WinampPlay() {
    WinampCommand(PlayButton);
}

void WAIPC::WinampPause() {
    WinampCommand(PauseButton);
}

void WAIPC::WinampStop() {
    WinampCommand(StopButton);
}

void WAIPC::WinampNext() {
    WinampCommand(NextButton);
}

QString WAIPC::WinampGetTitle() {
    const QString player = shown();
    if (player.isEmpty())
        return {};
    const QVariantMap meta = m_bus.metadata(player);
    const QString title = meta.value(QStringLiteral("xesam:title")).toString();
    if (!title.isEmpty()) {
        const QVariant artistValue = meta.value(QStringLiteral("xesam:artist"));
        const QString artist = artistValue.canConvert<QStringList>()
                                   ? artistValue.toStringList().join(QStringLiteral(", "))
                                   : artistValue.toString();
        return artist.isEmpty() ? title : artist + QStringLiteral(" - ") + title;
    }
    const QString url = meta.value(QStringLiteral("xesam:url")).toString();
    if (!url.isEmpty()) {
        QString name = QUrl(url).fileName();
        if (!name.isEmpty())
            return name;
    }
    return m_bus.identity(player);
}

QString WAIPC::WinampName() {
    const QString player = shown();
    if (player.isEmpty())
        return {};
    // A player keeps its name while it runs: it is asked once, not at every tick.
    if (player != m_namedPlayer || m_name.isEmpty()) {
        m_name = m_bus.identity(player);
        m_namedPlayer = player;
    }
    return m_name;
}

bool WAIPC::WinampCanEnqueue() {
    const QString player = FindWinamp();
    return !player.isEmpty() && m_bus.canEditTracks(player);
}

bool WAIPC::WinampEnqueue(const QStringList& uris) {
    const QString player = FindWinamp();
    if (player.isEmpty() || uris.isEmpty())
        return false;
    const QStringList tracks = m_bus.tracks(player).value_or(QStringList());
    QString last = tracks.isEmpty() ? MediaPlayerBus::NoTrack : tracks.constLast();
    // A player whose Tracks lags behind its additions (VLC's, until its next track)
    // does not list the songs of the last enqueue yet: these go after the last of
    // them, which it announced first.
    if (player == m_enqueuedTo && tracks == m_tracksAtEnqueue) {
        const QString previous = m_bus.firstAddedTrack(player);
        if (!previous.isEmpty() && !tracks.contains(previous))
            last = previous;
    }
    m_bus.noteAddedTracks(player);
    // Every song goes right after that entry, the last song first, so the songs stand
    // in their order however late the player lists them.
    bool all = true;
    for (auto it = uris.crbegin(); it != uris.crend(); ++it)
        all = m_bus.addTrack(player, *it, last) && all;
    m_enqueuedTo = player;
    m_tracksAtEnqueue = tracks;
    m_handedTo = player;
    m_shown = player;
    return all;
}

bool WAIPC::WinampOpen(const QString& uri) {
    const QString player = FindWinamp();
    if (player.isEmpty() || !m_bus.openUri(player, uri))
        return false;
    m_handedTo = player;
    return true;
}

void WAIPC::ExpectNewPlayer() {
    m_namesBeforeOpen = m_bus.playerNames();
    m_newPlayerWait = QDeadlineTimer(NewPlayerWaitMs);
    m_expectingPlayer = true;
}

} // namespace lorvane
