#include "platform/MprisPlayer.h"

#include "dbuspropertiesproxy.h"
#include "mprisplayerproxy.h"
#include "mpristracklistproxy.h"

#include <QDBusMessage>
#include <QDBusMetaType>

namespace lorvane {

namespace {

const QString PlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString ObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString RootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString PlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString TrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

// Metadata arrives as a marshalled map; object paths (the track id) are handed on as
// plain text so that callers need no bus types.
QVariantMap toVariantMap(const QVariant& value) {
    QVariantMap map;
    if (value.canConvert<QDBusArgument>()) {
        const auto arg = value.value<QDBusArgument>();
        if (arg.currentType() != QDBusArgument::MapType)
            return {};
        map = qdbus_cast<QVariantMap>(arg);
    } else {
        map = value.toMap();
    }
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it->metaType() == QMetaType::fromType<QDBusObjectPath>())
            *it = it->value<QDBusObjectPath>().path();
    }
    return map;
}

// The id in a TrackAdded announcement: its metadata, or (as VLC sends it) a list
// holding the metadata.
QString trackIdOf(const QVariant& announced) {
    QVariantMap meta = toVariantMap(announced);
    if (meta.isEmpty() && announced.canConvert<QDBusArgument>()) {
        auto arg = announced.value<QDBusArgument>();
        if (arg.currentType() == QDBusArgument::ArrayType) {
            arg.beginArray();
            if (!arg.atEnd() && arg.currentType() == QDBusArgument::MapType)
                arg >> meta;
            arg.endArray();
        }
    }
    for (auto it = meta.begin(); it != meta.end(); ++it) {
        if (it->metaType() == QMetaType::fromType<QDBusObjectPath>())
            *it = it->value<QDBusObjectPath>().path();
    }
    return meta.value(QStringLiteral("mpris:trackid")).toString();
}

} // namespace

struct MprisPlayer::Proxies {
    Proxies(const QString& service, const QDBusConnection& bus, int timeoutMs)
        : properties(service, ObjectPath, bus), player(service, ObjectPath, bus),
          trackList(service, ObjectPath, bus) {
        properties.setTimeout(timeoutMs);
        player.setTimeout(timeoutMs);
        trackList.setTimeout(timeoutMs);
    }
    DBusPropertiesProxy properties;
    MprisPlayerProxy player;
    MprisTrackListProxy trackList;
};

// Takes the TrackAdded announcements of the players being noted. Some players send
// them under another interface name than the standard's, so any interface is heard.
class MprisPlayer::AddedTracks : public QObject {
    Q_OBJECT
public:
    explicit AddedTracks(QDBusConnection bus) : m_bus(std::move(bus)) {}

    void note(const QString& player) {
        if (!m_heard.contains(player))
            m_bus.connect(player, ObjectPath, QString(), QStringLiteral("TrackAdded"), this,
                          SLOT(added(QDBusMessage)));
        m_heard[player].clear();
        m_current = player;
    }
    QString first(const QString& player) const { return m_heard.value(player); }

private slots:
    void added(const QDBusMessage& message) {
        if (m_current.isEmpty() || !m_heard.value(m_current).isEmpty() ||
            message.arguments().isEmpty())
            return;
        m_heard[m_current] = trackIdOf(message.arguments().constFirst());
    }

private:
    QDBusConnection m_bus;
    QHash<QString, QString> m_heard;
    QString m_current;
};

MprisPlayer::MprisPlayer(const QDBusConnection& bus, int timeoutMs)
    : m_bus(bus), m_timeoutMs(timeoutMs), m_added(std::make_unique<AddedTracks>(bus)) {}

MprisPlayer::~MprisPlayer() = default;

QStringList MprisPlayer::playerNames() {
    if (!m_bus.isConnected())
        return {};
    const auto msg = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    const QDBusMessage reply = m_bus.call(msg, QDBus::Block, m_timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QStringList names;
    for (const QString& name : reply.arguments().constFirst().toStringList()) {
        if (!name.startsWith(PlayerPrefix))
            continue;
        const auto silent = m_silent.constFind(name);
        if (silent != m_silent.constEnd() && !silent->hasExpired())
            continue;
        names.append(name);
    }
    names.sort();
    // Proxies of players that left the bus would only pile up.
    for (auto it = m_proxies.begin(); it != m_proxies.end();) {
        if (names.contains(it->first))
            ++it;
        else
            it = m_proxies.erase(it);
    }
    return names;
}

MprisPlayer::Proxies* MprisPlayer::proxiesFor(const QString& player) {
    if (player.isEmpty() || !m_bus.isConnected())
        return nullptr;
    const auto silent = m_silent.constFind(player);
    if (silent != m_silent.constEnd()) {
        if (!silent->hasExpired())
            return nullptr;
        m_silent.erase(silent);
    }
    auto& slot = m_proxies[player];
    if (!slot)
        slot = std::make_unique<Proxies>(player, m_bus, m_timeoutMs);
    return slot.get();
}

bool MprisPlayer::answered(const QString& player, const QDBusError& error) {
    if (!error.isValid())
        return true;
    if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout ||
        error.type() == QDBusError::TimedOut)
        m_silent.insert(player, QDeadlineTimer(SilentPauseMs));
    return false;
}

std::optional<QVariant> MprisPlayer::property(const QString& player, const QString& interface,
                                              const QString& name) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return std::nullopt;
    QDBusPendingReply<QDBusVariant> reply = p->properties.Get(interface, name);
    reply.waitForFinished();
    if (!answered(player, reply.error()))
        return std::nullopt;
    return reply.value().variant();
}

QString MprisPlayer::playbackStatus(const QString& player) {
    return property(player, PlayerInterface, QStringLiteral("PlaybackStatus"))
        .value_or(QVariant())
        .toString();
}

std::optional<qint64> MprisPlayer::position(const QString& player) {
    const auto value = property(player, PlayerInterface, QStringLiteral("Position"));
    if (!value)
        return std::nullopt;
    bool ok = false;
    const qint64 us = value->toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return us;
}

QVariantMap MprisPlayer::metadata(const QString& player) {
    const auto value = property(player, PlayerInterface, QStringLiteral("Metadata"));
    return value ? toVariantMap(*value) : QVariantMap();
}

QString MprisPlayer::identity(const QString& player) {
    return property(player, RootInterface, QStringLiteral("Identity"))
        .value_or(QVariant())
        .toString();
}

bool MprisPlayer::setPosition(const QString& player, const QString& trackId, qint64 positionUs) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return false;
    QDBusPendingReply<> reply = p->player.SetPosition(QDBusObjectPath(trackId), positionUs);
    reply.waitForFinished();
    return answered(player, reply.error());
}

bool MprisPlayer::seek(const QString& player, qint64 offsetUs) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return false;
    QDBusPendingReply<> reply = p->player.Seek(offsetUs);
    reply.waitForFinished();
    return answered(player, reply.error());
}

bool MprisPlayer::transport(const QString& player, Transport command) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return false;
    QDBusPendingReply<> reply;
    switch (command) {
    case Transport::Previous:
        reply = p->player.Previous();
        break;
    case Transport::Play:
        reply = p->player.Play();
        break;
    case Transport::PlayPause:
        reply = p->player.PlayPause();
        break;
    case Transport::Stop:
        reply = p->player.Stop();
        break;
    case Transport::Next:
        reply = p->player.Next();
        break;
    }
    reply.waitForFinished();
    return answered(player, reply.error());
}

bool MprisPlayer::canEditTracks(const QString& player) {
    return property(player, TrackListInterface, QStringLiteral("CanEditTracks"))
        .value_or(QVariant(false))
        .toBool();
}

std::optional<QStringList> MprisPlayer::tracks(const QString& player) {
    const auto value = property(player, TrackListInterface, QStringLiteral("Tracks"));
    if (!value || !value->canConvert<QDBusArgument>())
        return std::nullopt;
    const auto arg = value->value<QDBusArgument>();
    if (arg.currentType() != QDBusArgument::ArrayType)
        return std::nullopt;
    QStringList ids;
    for (const QDBusObjectPath& id : qdbus_cast<QList<QDBusObjectPath>>(arg))
        ids.append(id.path());
    return ids;
}

bool MprisPlayer::addTrack(const QString& player, const QString& uri, const QString& afterTrack) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return false;
    QDBusPendingReply<> reply = p->trackList.AddTrack(uri, QDBusObjectPath(afterTrack), false);
    reply.waitForFinished();
    return answered(player, reply.error());
}

void MprisPlayer::noteAddedTracks(const QString& player) {
    if (m_bus.isConnected() && !player.isEmpty())
        m_added->note(player);
}

QString MprisPlayer::firstAddedTrack(const QString& player) {
    return m_added->first(player);
}

bool MprisPlayer::openUri(const QString& player, const QString& uri) {
    Proxies* p = proxiesFor(player);
    if (!p)
        return false;
    QDBusPendingReply<> reply = p->player.OpenUri(uri);
    reply.waitForFinished();
    return answered(player, reply.error());
}

} // namespace lorvane

#include "MprisPlayer.moc"
