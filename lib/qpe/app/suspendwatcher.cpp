#include "suspendwatcher.h"

#include "sleepinhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

SuspendWatcher::SuspendWatcher(QObject* parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qDebug("power: no system bus; a suspend is not noticed");
        m_saidMissing = true;
        return;
    }
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                SLOT(prepareForSleep(bool)));
    takeDelay();
}

void SuspendWatcher::takeDelay()
{
    if (m_pending || m_lock.isValid())
        return;
    m_pending = true;
    auto* watcher = SleepInhibitor::askLogind(QStringLiteral("delay"),
                                              QStringLiteral("Keeping the play list and the position"), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &SuspendWatcher::answered);
}

void SuspendWatcher::answered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_pending = false;
    const QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (!m_saidMissing)
            qDebug("power: logind gives no delay lock (%s); the state is kept at a suspend only if there is time",
                   qPrintable(reply.errorMessage()));
        m_saidMissing = true;
        return;
    }
    // Already on the way to sleep: holding it now would only make the system wait.
    if (!m_sleeping)
        m_lock = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
}

void SuspendWatcher::prepareForSleep(bool sleeping)
{
    if (sleeping == m_sleeping)
        return;
    m_sleeping = sleeping;
    if (sleeping) {
        emit aboutToSleep();
        m_lock = QDBusUnixFileDescriptor();
        return;
    }
    takeDelay();
    emit resumed();
}
