#include "mprisadaptors.h"

#include "mprisservice.h"
#include "vrxplayerwindow.h"

#include <QApplication>

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/ogg"), QStringLiteral("audio/x-vorbis+ogg"),
            QStringLiteral("audio/mp4"), QStringLiteral("audio/x-m4a")};
}

void MprisRootAdaptor::Raise()
{
    QWidget* w = m_service->window();
    w->showNormal();
    w->raise();
    w->activateWindow();
}

void MprisRootAdaptor::Quit()
{
    // As the window's own close: the state is kept.
    m_service->window()->close();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
    connect(service, &MprisService::seeked, this, [this](qint64 us) { emit Seeked(us); });
}

QString MprisPlayerAdaptor::playbackStatus() const { return m_service->playbackStatus(); }
QString MprisPlayerAdaptor::loopStatus() const { return m_service->loopStatus(); }
void MprisPlayerAdaptor::setLoopStatus(const QString& status) { m_service->setLoopStatus(status); }
bool MprisPlayerAdaptor::shuffle() const { return m_service->shuffle(); }
void MprisPlayerAdaptor::setShuffle(bool on) { m_service->setShuffle(on); }
QVariantMap MprisPlayerAdaptor::metadata() const { return m_service->metadata(); }
double MprisPlayerAdaptor::volume() const { return m_service->volume(); }
void MprisPlayerAdaptor::setVolume(double v) { m_service->setVolume(v); }
qlonglong MprisPlayerAdaptor::position() const { return m_service->positionUs(); }
bool MprisPlayerAdaptor::canSeek() const { return m_service->canSeek(); }

void MprisPlayerAdaptor::Next() { m_service->window()->next(); }
void MprisPlayerAdaptor::Previous() { m_service->window()->prev(); }
void MprisPlayerAdaptor::Pause() { m_service->pause(); }
void MprisPlayerAdaptor::PlayPause() { m_service->window()->playPause(); }
void MprisPlayerAdaptor::Stop() { m_service->window()->stop(); }
void MprisPlayerAdaptor::Play() { m_service->play(); }
void MprisPlayerAdaptor::Seek(qlonglong offset) { m_service->seekBy(offset); }
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    m_service->setPosition(trackId, position);
}
void MprisPlayerAdaptor::OpenUri(const QString& uri)
{
    m_service->openUri(uri);
}
