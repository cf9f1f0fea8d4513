#include "mprisservice.h"

#include "audioinfo.h"
#include "config.h"
#include "loopcontrol.h"
#include "mprisadaptors.h"
#include "playinfo.h"
#include "playlist.h"
#include "settingskeys.h"
#include "vraudiodevice.h"
#include "vrxplayerwindow.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <cstring>

namespace {
const char kPlayerInterface[] = "org.mpris.MediaPlayer2.Player";

QString textOf(const TagText& field)
{
    return QString::fromUtf8(field.bytes()).trimmed();
}
} // namespace

MprisService::MprisService(VRXPlayerWindow* window)
    : QObject(window)
    , m_window(window)
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    LoopControl* c = window->controller();
    connect(c, &LoopControl::setTrackDescription, this, &MprisService::trackOpened);
    connect(c, &LoopControl::positionChanged, this, &MprisService::positionReported);
    // The window settles its own state around the controller's report: look after it.
    connect(c, &LoopControl::stateChanged, this, [this] { QTimer::singleShot(0, this, &MprisService::stateReported); });
}

MprisService::~MprisService()
{
    if (m_registered) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(m_serviceName);
        bus.unregisterObject(QLatin1String(ObjectPath));
    }
}

bool MprisService::registerOnBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qDebug("mpris: no session bus; media keys and panels will not see the player");
        return false;
    }
    if (!bus.registerObject(QLatin1String(ObjectPath), this)) {
        qDebug("mpris: cannot register %s", ObjectPath);
        return false;
    }
    m_serviceName = QStringLiteral("org.mpris.MediaPlayer2.quavrix");
    // Another player under our name (a second user session, a test): take a name of our own.
    if (!bus.registerService(m_serviceName)) {
        m_serviceName += QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
        if (!bus.registerService(m_serviceName)) {
            qDebug("mpris: cannot take a bus name");
            bus.unregisterObject(QLatin1String(ObjectPath));
            return false;
        }
    }
    m_registered = true;
    m_lastStatus = playbackStatus();
    return true;
}

QString MprisService::playbackStatus() const
{
    switch (m_window->playState()) {
    case VRXPlayerWindow::Playing:
        return QStringLiteral("Playing");
    case VRXPlayerWindow::Paused:
        return QStringLiteral("Paused");
    default:
        return QStringLiteral("Stopped");
    }
}

QVariantMap MprisService::metadata() const
{
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(m_trackId));
    if (m_url.isEmpty())
        return m;
    m.insert(QStringLiteral("mpris:length"), m_lengthUs);
    m.insert(QStringLiteral("xesam:url"), m_url);
    m.insert(QStringLiteral("xesam:title"), m_title);
    if (!m_artist.isEmpty())
        m.insert(QStringLiteral("xesam:artist"), QStringList{m_artist});
    if (!m_album.isEmpty())
        m.insert(QStringLiteral("xesam:album"), m_album);
    if (m_trackNumber > 0)
        m.insert(QStringLiteral("xesam:trackNumber"), m_trackNumber);
    return m;
}

qint64 MprisService::positionUs() const
{
    return m_window->playState() == VRXPlayerWindow::Stopped ? 0 : m_window->controller()->positionMs() * 1000;
}

double MprisService::volume() const
{
    const int v = VRAudioDevice::volume();
    return v < 0 ? 1.0 : v / 100.0;
}

void MprisService::setVolume(double volume)
{
    const int target = qBound(0, int(volume * 100 + 0.5), 100);
    const int now = VRAudioDevice::volume();
    if (now < 0 || now == target)
        return;
    VRAudioDevice::changeVolume(target - now);
    announcePlayer({{QStringLiteral("Volume"), this->volume()}});
}

QString MprisService::loopStatus() const
{
    return m_window->playList()->loopMode() ? QStringLiteral("Playlist") : QStringLiteral("None");
}

void MprisService::setLoopStatus(const QString& status)
{
    // The play list loops as a whole or not at all: "Track" counts as on, and the value in
    // force is announced even when nothing changed, so a client that showed "Track" at
    // once shows the truth.
    const bool wasLooping = m_window->playList()->loopMode();
    storePlayOptions(status != QLatin1String("None"), shuffle());
    if (status != loopStatus() && wasLooping == m_window->playList()->loopMode())
        announcePlayer({{QStringLiteral("LoopStatus"), loopStatus()}});
}

bool MprisService::shuffle() const
{
    return m_window->playList()->randomMode();
}

void MprisService::setShuffle(bool on)
{
    storePlayOptions(m_window->playList()->loopMode(), on);
}

void MprisService::storePlayOptions(bool loop, bool random)
{
    PlayList* list = m_window->playList();
    if (loop == list->loopMode() && random == list->randomMode())
        return;
    // As the options page would: kept in the settings, then applied.
    {
        Config cfg(QCoreApplication::instance()->objectName());
        cfg.write(Settings::Options::Loop, loop ? 1 : 0);
        cfg.write(Settings::Options::Random, random ? 1 : 0);
    }
    list->setPlayOptions(loop, random);
    announcePlayer({{QStringLiteral("LoopStatus"), loopStatus()}, {QStringLiteral("Shuffle"), shuffle()}});
}

bool MprisService::canSeek() const
{
    return m_window->playState() != VRXPlayerWindow::Stopped && m_lengthUs > 0;
}

void MprisService::play()
{
    if (m_window->playState() != VRXPlayerWindow::Playing)
        m_window->playPause();
}

void MprisService::pause()
{
    if (m_window->playState() == VRXPlayerWindow::Playing)
        m_window->playPause();
}

void MprisService::seekBy(qint64 offsetUs)
{
    if (!canSeek())
        return;
    // Compared before adding: the largest offsets must not wrap round to the start.
    const qint64 position = positionUs();
    if (offsetUs > m_lengthUs - position) {
        m_window->next();
        return;
    }
    const qint64 us = qMax<qint64>(0, position + offsetUs);
    m_window->controller()->seek(int(us / 1000000));
    emit seeked(us / 1000000 * 1000000);
}

void MprisService::setPosition(const QDBusObjectPath& track, qint64 positionUs)
{
    if (!canSeek() || track.path() != m_trackId.path() || positionUs < 0 || positionUs > m_lengthUs)
        return;
    m_window->controller()->seek(int(positionUs / 1000000));
    emit seeked(positionUs / 1000000 * 1000000);
}

bool MprisService::openUri(const QString& uri, QString* why)
{
    const QUrl url(uri);
    QString problem;
    if (!url.isLocalFile())
        problem = QStringLiteral("Only local files can be played: %1").arg(uri);
    else if (m_window->openDocument(url.toLocalFile(), &problem))
        return true;
    if (why)
        *why = problem;
    // The caller learns why nothing happened, as the user does on the screen.
    if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, problem);
    return false;
}

void MprisService::trackOpened(AudioInfo* info)
{
    if (!info)
        return;
    m_trackId = QDBusObjectPath(QStringLiteral("/org/quavrix/track/%1").arg(++m_trackCount));
    const QString file = QString::fromUtf8(info->fileName ? info->fileName : "");
    m_url = QUrl::fromLocalFile(file).toString();
    m_title = textOf(info->title);
    if (m_title.isEmpty())
        m_title = QFileInfo(file).completeBaseName();
    m_artist = textOf(info->artist);
    m_album = textOf(info->album);
    m_trackNumber = info->track;
    m_lengthUs = 0;
    // Announced when the first block tells the length (a moment later), so a client never
    // sees the track without one; a track that never gets there is announced anyway.
    m_trackPending = true;
    const int track = m_trackCount;
    QTimer::singleShot(1500, this, [this, track] {
        if (m_trackPending && track == m_trackCount)
            announceTrack();
    });
}

void MprisService::announceTrack()
{
    m_trackPending = false;
    announcePlayer({{QStringLiteral("Metadata"), metadata()}, {QStringLiteral("CanSeek"), canSeek()}});
}

void MprisService::positionReported(int, PlayInfo* info)
{
    if (!info)
        return;
    const qint64 length = qint64(info->length) * 1000000;
    if (m_trackPending) {
        m_lengthUs = length;
        announceTrack();
    } else if (length != m_lengthUs) {
        m_lengthUs = length;
        announcePlayer({{QStringLiteral("Metadata"), metadata()}, {QStringLiteral("CanSeek"), canSeek()}});
    }
}

void MprisService::stateReported()
{
    const QString status = playbackStatus();
    if (status == m_lastStatus)
        return;
    m_lastStatus = status;
    announcePlayer({{QStringLiteral("PlaybackStatus"), status}, {QStringLiteral("CanSeek"), canSeek()}});
}

void MprisService::announcePlayer(const QVariantMap& changed)
{
    announce(QLatin1String(kPlayerInterface), changed);
}

void MprisService::announce(const QString& interface, const QVariantMap& changed)
{
    if (!m_registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(ObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
