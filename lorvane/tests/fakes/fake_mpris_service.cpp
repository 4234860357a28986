// A small media player on the session bus for the player tests: it serves position,
// track metadata, identity and (when asked) a track list, records every command it
// gets, and can be told to sleep in its handlers like a hung player. The tests steer
// it over its own interface org.lorvane.FakePlayer at /control.
//
// usage: fake_mpris_service NAME [--tracklist] [--identity TEXT]
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QStringList>
#include <QTextStream>
#include <QThread>
#include <QVariantMap>

namespace {

struct PlayerState {
    QString identity = QStringLiteral("Fake Player");
    QString status = QStringLiteral("Stopped");
    QVariantMap metadata;
    qlonglong positionUs = 0;
    bool canEditTracks = true;
    int hangMs = 0;
    QStringList calls;
    // The track list as ids and, beside them, each track's URI.
    QList<QDBusObjectPath> tracks;
    QStringList trackUris;
    int nextTrack = 1;

    void record(const QString& call) {
        calls.append(call);
        if (hangMs > 0)
            QThread::msleep(hangMs);
    }
};

class RootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
public:
    RootAdaptor(QObject* parent, PlayerState& state)
        : QDBusAbstractAdaptor(parent), m_state(state) {}
    QString identity() const {
        m_state.record(QStringLiteral("get Identity"));
        return m_state.identity;
    }

private:
    PlayerState& m_state;
};

class PlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
public:
    PlayerAdaptor(QObject* parent, PlayerState& state)
        : QDBusAbstractAdaptor(parent), m_state(state) {}
    QString playbackStatus() const {
        m_state.record(QStringLiteral("get PlaybackStatus"));
        return m_state.status;
    }
    QVariantMap metadata() const {
        m_state.record(QStringLiteral("get Metadata"));
        return m_state.metadata;
    }
    qlonglong position() const {
        m_state.record(QStringLiteral("get Position"));
        return m_state.positionUs;
    }

public slots:
    void Next() { m_state.record(QStringLiteral("Next")); }
    void Previous() { m_state.record(QStringLiteral("Previous")); }
    void Pause() { m_state.record(QStringLiteral("Pause")); }
    void PlayPause() { m_state.record(QStringLiteral("PlayPause")); }
    void Stop() { m_state.record(QStringLiteral("Stop")); }
    void Play() { m_state.record(QStringLiteral("Play")); }
    void Seek(qlonglong offset) { m_state.record(QStringLiteral("Seek %1").arg(offset)); }
    void SetPosition(const QDBusObjectPath& track, qlonglong position) {
        m_state.record(QStringLiteral("SetPosition %1 %2").arg(track.path()).arg(position));
    }

private:
    PlayerState& m_state;
};

class TrackListAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.TrackList")
    Q_PROPERTY(bool CanEditTracks READ canEditTracks)
    Q_PROPERTY(QList<QDBusObjectPath> Tracks READ tracks)
public:
    TrackListAdaptor(QObject* parent, PlayerState& state)
        : QDBusAbstractAdaptor(parent), m_state(state) {}
    bool canEditTracks() const {
        m_state.record(QStringLiteral("get CanEditTracks"));
        return m_state.canEditTracks;
    }
    QList<QDBusObjectPath> tracks() const {
        m_state.record(QStringLiteral("get Tracks"));
        return m_state.tracks;
    }

public slots:
    void AddTrack(const QString& uri, const QDBusObjectPath& after, bool setAsCurrent) {
        m_state.record(QStringLiteral("AddTrack %1 %2 %3")
                           .arg(uri, after.path(),
                                setAsCurrent ? QStringLiteral("true") : QStringLiteral("false")));
        // As the standard has it: after NoTrack is the start of the list.
        qsizetype at = 0;
        if (after.path() != QLatin1String("/org/mpris/MediaPlayer2/TrackList/NoTrack"))
            at = m_state.tracks.indexOf(after) + 1;
        m_state.tracks.insert(
            at, QDBusObjectPath(QStringLiteral("/track/%1").arg(m_state.nextTrack++)));
        m_state.trackUris.insert(at, uri);
    }

private:
    PlayerState& m_state;
};

// The tests' handle on the player. Its calls are not recorded and never sleep.
class Control : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.lorvane.FakePlayer")
public:
    explicit Control(PlayerState& state) : m_state(state) {}

public slots:
    void SetTrack(const QString& title, const QStringList& artists, const QString& url,
                  qlonglong lengthUs, const QString& trackId) {
        QVariantMap m;
        if (!title.isEmpty())
            m.insert(QStringLiteral("xesam:title"), title);
        if (!artists.isEmpty())
            m.insert(QStringLiteral("xesam:artist"), artists);
        if (!url.isEmpty())
            m.insert(QStringLiteral("xesam:url"), url);
        if (lengthUs >= 0)
            m.insert(QStringLiteral("mpris:length"), lengthUs);
        if (!trackId.isEmpty())
            m.insert(QStringLiteral("mpris:trackid"),
                     QVariant::fromValue(QDBusObjectPath(trackId)));
        m_state.metadata = m;
    }
    void SetPosition(qlonglong us) { m_state.positionUs = us; }
    void SetStatus(const QString& status) { m_state.status = status; }
    void SetCanEditTracks(bool can) { m_state.canEditTracks = can; }
    void SetHang(int ms) { m_state.hangMs = ms; }
    QStringList Calls() { return m_state.calls; }
    QStringList TrackUris() { return m_state.trackUris; }
    void ClearCalls() { m_state.calls.clear(); }
    void Quit() { QCoreApplication::quit(); }

private:
    PlayerState& m_state;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "usage: fake_mpris_service NAME [--tracklist] [--identity TEXT]\n";
        return 2;
    }
    PlayerState state;
    bool trackList = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--tracklist"))
            trackList = true;
        else if (args.at(i) == QLatin1String("--identity") && i + 1 < args.size())
            state.identity = args.at(++i);
    }

    QObject player;
    new RootAdaptor(&player, state);
    new PlayerAdaptor(&player, state);
    if (trackList)
        new TrackListAdaptor(&player, state);
    Control control(state);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), &player,
                            QDBusConnection::ExportAdaptors) ||
        !bus.registerObject(QStringLiteral("/control"), &control,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.") + args.constFirst())) {
        QTextStream(stderr) << "cannot register on the session bus: " << bus.lastError().message()
                            << '\n';
        return 1;
    }
    QTextStream(stdout) << "ready" << Qt::endl;
    return app.exec();
}

#include "fake_mpris_service.moc"
