#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

class VRXPlayerWindow;
struct AudioInfo;
struct PlayInfo;

// The player on the desktop's session bus as org.mpris.MediaPlayer2.quavrix, so media keys
// and panel widgets can see and drive it. Every command goes through the window's own
// slots, the ones the buttons reach, so bindings, bookmarks and saved state see no
// difference. Without a session bus the player runs as before.
class MprisService : public QObject, public QDBusContext
{
    Q_OBJECT
public:
    static constexpr char ObjectPath[] = "/org/mpris/MediaPlayer2";

    explicit MprisService(VRXPlayerWindow* window);
    ~MprisService() override;

    // Registers on the session bus; false (said once in the debug output) without one.
    bool registerOnBus();
    QString serviceName() const { return m_serviceName; }

    VRXPlayerWindow* window() const { return m_window; }

    // org.mpris.MediaPlayer2.Player, as the adaptor forwards it.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qint64 positionUs() const;
    double volume() const;
    void setVolume(double volume);
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const;
    void setShuffle(bool on);
    bool canSeek() const;

    void play();
    void pause();
    void seekBy(qint64 offsetUs);
    void setPosition(const QDBusObjectPath& track, qint64 positionUs);
    // Plays a local file the player can read; false for anything else, the play list and
    // playback left as they were, and the reason in *why and in an error to a D-Bus caller.
    bool openUri(const QString& uri, QString* why = nullptr);

signals:
    void seeked(qint64 positionUs);

private:
    void trackOpened(AudioInfo* info);
    void positionReported(int seconds, PlayInfo* info);
    void stateReported();
    // The track opened last, announced once with its length.
    void announceTrack();
    void announce(const QString& interface, const QVariantMap& changed);
    void announcePlayer(const QVariantMap& changed);
    void storePlayOptions(bool loop, bool random);

    VRXPlayerWindow* m_window;
    QString m_serviceName;
    bool m_registered = false;
    // The track as the controller described it when it opened.
    QDBusObjectPath m_trackId{QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")};
    int m_trackCount = 0;
    QString m_url;
    QString m_title, m_artist, m_album;
    int m_trackNumber = 0;
    qint64 m_lengthUs = 0;
    bool m_trackPending = false; // opened, not yet announced: waits for its length
    QString m_lastStatus;
};
