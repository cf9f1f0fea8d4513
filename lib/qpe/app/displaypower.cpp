#include "displaypower.h"

#include "qcop.h"
#include "regularfile.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDataStream>
#include <QDir>
#include <QFile>

namespace {
// A brightness file holds a short decimal number; anything longer is not one.
constexpr qint64 kMaxBrightnessBytes = 16;
} // namespace

DisplayPower::DisplayPower(QObject* parent)
    : QObject(parent)
    , m_channel(new QCopChannel(QStringLiteral("QPE/System"), this))
{
    connect(m_channel, &QCopChannel::received, this, &DisplayPower::received);
}

QString DisplayPower::backlightFolder()
{
    const QString env = qEnvironmentVariable("QUAVRIX_BACKLIGHT");
    return env.isEmpty() ? QStringLiteral("/sys/class/backlight") : env;
}

void DisplayPower::received(const QByteArray& message, const QByteArray& data)
{
    if (message != "setBacklight(int)")
        return;
    QDataStream in(data);
    qint32 level = 0;
    in >> level;
    setBacklight(level);
}

void DisplayPower::setBacklight(int level)
{
    if (level == 0) {
        if (m_device.isEmpty() && !setBrightness(0) && !m_saidNoBacklight) {
            qDebug("power: no backlight that logind can set; the backlight stays as it is");
            m_saidNoBacklight = true;
        }
    } else if (level == -5) {
        setScreenSaverActive(true);
    } else if (level == -3) {
        if (!m_device.isEmpty()) {
            setBrightness(m_brightness);
            m_device.clear();
        }
        if (m_blanked)
            setScreenSaverActive(false);
    }
}

bool DisplayPower::setBrightness(int value)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    QString device = m_device;
    if (device.isEmpty()) {
        // The first device by name, as the brightness keys of most desktops take it.
        const QStringList devices = QDir(backlightFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& d : devices) {
            QFile f(backlightFolder() + QLatin1Char('/') + d + QStringLiteral("/brightness"));
            bool ok = false;
            const int now = RegularFile::open(f) ? f.read(kMaxBrightnessBytes).trimmed().toInt(&ok) : 0;
            if (ok && now >= 0) {
                device = d;
                m_brightness = now;
                break;
            }
        }
        if (device.isEmpty())
            return false;
        m_device = device;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                                       QStringLiteral("/org/freedesktop/login1/session/auto"),
                                                       QStringLiteral("org.freedesktop.login1.Session"),
                                                       QStringLiteral("SetBrightness"));
    call << QStringLiteral("backlight") << device << uint(qMax(0, value));
    bus.asyncCall(call);
    return true;
}

void DisplayPower::setScreenSaverActive(bool on)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (!m_saidNoBlanking)
            qDebug("power: no session bus; the display stays on");
        m_saidNoBlanking = true;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                       QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                       QStringLiteral("org.freedesktop.ScreenSaver"),
                                                       QStringLiteral("SetActive"));
    call << on;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError() && !m_saidNoBlanking) {
            qDebug("power: the desktop cannot switch the display off (%s)", qPrintable(w->error().message()));
            m_saidNoBlanking = true;
        }
    });
    m_blanked = on;
}
