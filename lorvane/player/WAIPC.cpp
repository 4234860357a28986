#include "player/WAIPC.h"

#include "platform/MediaPlayerBus.h"

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
    if (names.isEmpty())
        return {};
    if (names.size() > 1) {
        for (const QString& name : names) {
            if (m_bus.playbackStatus(name) == QLatin1String("Playing"))
                return name;
        }
    }
    return names.constFirst();
}

int WAIPC::WinampGetOutputTime(int mode) {
    if (mode != 0 && mode != 1)
        return 0;
    const QString player = FindWinamp();
    if (player.isEmpty())
        return 0;
    if (mode == 0)
        return clampToInt(m_bus.position(player).value_or(0) / 1000);
    return clampToInt(integerOf(m_bus.metadata(player).value(QStringLiteral("mpris:length"))) /
                      1000000);
}

void WAIPC::WinampJumpToTime(int ms) {
    const QString player = FindWinamp();
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
    const QString player = FindWinamp();
    if (!player.isEmpty())
        m_bus.transport(player, command);
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
    const QString player = FindWinamp();
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
        const QString name = QUrl(url).fileName();
        if (!name.isEmpty())
            return name;
    }
    return m_bus.identity(player);
}

bool WAIPC::WinampCanEnqueue() {
    const QString player = FindWinamp();
    return !player.isEmpty() && m_bus.canEditTracks(player);
}

bool WAIPC::WinampEnqueue(const QString& uri) {
    const QString player = FindWinamp();
    return !player.isEmpty() && m_bus.addTrack(player, uri);
}

} // namespace lorvane
