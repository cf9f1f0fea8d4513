#include "sleepinhibitor.h"

#include "qcop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDataStream>
#include <QVariantMap>

namespace {
const char kLogind[] = "org.freedesktop.login1";
const char kPortal[] = "org.freedesktop.portal.Desktop";
// A stuck desktop service must not hold up the end of the program.
constexpr int kQuitTimeoutMs = 1000;
// The portal's Inhibit flag for suspending.
constexpr uint kPortalSuspend = 4;
} // namespace

SleepInhibitor::SleepInhibitor(QObject* parent)
    : QObject(parent)
    , m_channel(new QCopChannel(QStringLiteral("QPE/System"), this))
{
    connect(m_channel, &QCopChannel::received, this, &SleepInhibitor::received);
}

SleepInhibitor::~SleepInhibitor()
{
    m_wanted = false;
    letGo(true);
}

QDBusPendingCallWatcher* SleepInhibitor::askLogind(const QString& mode, const QString& why, QObject* parent)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kLogind), QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QCoreApplication::applicationName() << why << mode;
    return new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), parent);
}

void SleepInhibitor::received(const QByteArray& message, const QByteArray& data)
{
    if (message != "setScreenSaverMode(int)")
        return;
    QDataStream in(data);
    qint32 mode = 0;
    in >> mode;
    if (mode == 2)
        inhibit();
    else if (mode == 100)
        release();
}

void SleepInhibitor::inhibit()
{
    m_wanted = true;
    if (m_pending || m_held != None)
        return;
    // logind first; an answer that it is not there sends the call on to the portal.
    ask(QDBusConnection::systemBus().isConnected() ? Logind : Portal);
}

void SleepInhibitor::ask(Service service)
{
    QDBusPendingCallWatcher* watcher = nullptr;
    if (service == Logind) {
        watcher = askLogind(QStringLiteral("block"), QStringLiteral("Playing music"), this);
    } else if (QDBusConnection bus = QDBusConnection::sessionBus(); bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kPortal), QStringLiteral("/org/freedesktop/portal/desktop"),
                                                           QStringLiteral("org.freedesktop.portal.Inhibit"),
                                                           QStringLiteral("Inhibit"));
        call << QString() << kPortalSuspend << QVariantMap{{QStringLiteral("reason"), QStringLiteral("Playing music")}};
        watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    } else {
        sayMissing();
        return;
    }
    m_pending = true;
    m_calling = service;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &SleepInhibitor::answered);
}

void SleepInhibitor::sayMissing()
{
    if (!m_saidMissing)
        qDebug("power: neither logind nor the desktop portal answers; nothing keeps the device awake while playing");
    m_saidMissing = true;
}

void SleepInhibitor::answered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_pending = false;
    const QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (m_calling == Logind && m_wanted)
            return ask(Portal);
        if (m_wanted)
            sayMissing();
        return;
    }
    const QVariant v = reply.arguments().constFirst();
    if (m_calling == Portal) {
        m_portalHandle = v.value<QDBusObjectPath>().path();
        if (!m_portalHandle.isEmpty())
            m_held = Portal;
    } else {
        m_lock = v.value<QDBusUnixFileDescriptor>();
        if (m_lock.isValid())
            m_held = Logind;
    }
    // Playback halted while the call was on its way.
    if (!m_wanted)
        letGo(false);
}

void SleepInhibitor::release()
{
    m_wanted = false;
    letGo(false);
}

void SleepInhibitor::letGo(bool wait)
{
    const Service held = m_held;
    m_held = None;
    // Closing the descriptor is the whole release.
    m_lock = QDBusUnixFileDescriptor();
    if (held != Portal)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(kPortal), m_portalHandle,
                                                       QStringLiteral("org.freedesktop.portal.Request"),
                                                       QStringLiteral("Close"));
    m_portalHandle.clear();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (wait)
        bus.call(call, QDBus::Block, kQuitTimeoutMs);
    else
        bus.asyncCall(call);
}
