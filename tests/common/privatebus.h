#pragma once

// A D-Bus daemon of the test's own, so that desktop services can be stood in for and the
// player's answers read without touching the machine's buses. Two of them make a session
// and a system bus.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

class PrivateBus
{
public:
    // Empty address() when dbus-daemon is missing or failed. A system bus is one of these
    // too: the system configuration wants root and a fixed socket.
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted())
            return;
        for (int i = 0; i < 50 && !m_daemon.canReadLine(); ++i)
            m_daemon.waitForReadyRead(100);
        m_address = QString::fromLatin1(m_daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(m_address);
        m_daemon.terminate();
        m_daemon.waitForFinished(3000);
    }
    QString address() const { return m_address; }

    // A property of an object on the bus, asked with a deadline; invalid when nothing
    // answered in time.
    QVariant property(const QString& service, const QString& path, const QString& interface,
                      const QString& name, int timeoutMs, qint64* answeredInMs = nullptr)
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, m_address);
        QDBusMessage m = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                        QStringLiteral("Get"));
        m.setArguments({interface, name});
        QElapsedTimer t;
        t.start();
        const QDBusMessage reply = bus.call(m, QDBus::Block, timeoutMs);
        if (answeredInMs)
            *answeredInMs = t.elapsed();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return QVariant();
        return reply.arguments().constFirst().value<QDBusVariant>().variant();
    }

private:
    QProcess m_daemon;
    QString m_address;
};
