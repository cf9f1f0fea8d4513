#include "screensaverinhibitor.h"

#include "qcop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDataStream>
#include <QVariantMap>

namespace {
const char kScreenSaver[] = "org.freedesktop.ScreenSaver";
const char kScreenSaverPath[] = "/org/freedesktop/ScreenSaver";
const char kPortal[] = "org.freedesktop.portal.Desktop";
// A stuck desktop service must not hold up the end of the program.
constexpr int kQuitTimeoutMs = 1000;
} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QObject* parent)
    : QObject(parent)
    , m_channel(new QCopChannel(QStringLiteral("QPE/System"), this))
{
    connect(m_channel, &QCopChannel::received, this, &ScreenSaverInhibitor::received);
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    m_wanted = false;
    letGo(true);
}

void ScreenSaverInhibitor::received(const QByteArray& message, const QByteArray& data)
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

void ScreenSaverInhibitor::inhibit()
{
    m_wanted = true;
    if (m_pending || m_held != None)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (!m_busMissing)
            qDebug("screen saver: no session bus; the desktop's screen saver is left alone");
        m_busMissing = true;
        return;
    }
    QDBusMessage call;
    Service service = ScreenSaver;
    if (bus.interface()->isServiceRegistered(QLatin1String(kScreenSaver))) {
        call = QDBusMessage::createMethodCall(QLatin1String(kScreenSaver), QLatin1String(kScreenSaverPath),
                                              QLatin1String(kScreenSaver), QStringLiteral("Inhibit"));
        call << QCoreApplication::applicationName() << QStringLiteral("Playing music");
    } else if (bus.interface()->isServiceRegistered(QLatin1String(kPortal))) {
        call = QDBusMessage::createMethodCall(QLatin1String(kPortal), QStringLiteral("/org/freedesktop/portal/desktop"),
                                              QStringLiteral("org.freedesktop.portal.Inhibit"),
                                              QStringLiteral("Inhibit"));
        // Flag 8: idle, which covers the screen saver.
        call << QString() << uint(8) << QVariantMap{{QStringLiteral("reason"), QStringLiteral("Playing music")}};
        service = Portal;
    } else {
        return;
    }
    m_pending = true;
    m_calling = service;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ScreenSaverInhibitor::answered);
}

void ScreenSaverInhibitor::answered(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_pending = false;
    const QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return;
    const QVariant v = reply.arguments().constFirst();
    if (m_calling == Portal) {
        m_portalHandle = v.value<QDBusObjectPath>().path();
        if (!m_portalHandle.isEmpty())
            m_held = Portal;
    } else {
        m_cookie = v.toUInt();
        m_held = ScreenSaver;
    }
    // Playback halted while the call was on its way.
    if (!m_wanted)
        letGo(false);
}

void ScreenSaverInhibitor::release()
{
    m_wanted = false;
    letGo(false);
}

void ScreenSaverInhibitor::letGo(bool wait)
{
    if (m_held == None)
        return;
    QDBusMessage call;
    if (m_held == ScreenSaver) {
        call = QDBusMessage::createMethodCall(QLatin1String(kScreenSaver), QLatin1String(kScreenSaverPath),
                                              QLatin1String(kScreenSaver), QStringLiteral("UnInhibit"));
        call << m_cookie;
    } else {
        call = QDBusMessage::createMethodCall(QLatin1String(kPortal), m_portalHandle,
                                              QStringLiteral("org.freedesktop.portal.Request"),
                                              QStringLiteral("Close"));
    }
    m_held = None;
    m_cookie = 0;
    m_portalHandle.clear();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (wait)
        bus.call(call, QDBus::Block, kQuitTimeoutMs);
    else
        bus.asyncCall(call);
}
