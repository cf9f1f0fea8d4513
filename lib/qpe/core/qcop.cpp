#include "qcop.h"

#include "runtimefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QPointer>

#include <unistd.h>

namespace {

constexpr quint32 Magic = 0x51436f70; // "QCop"

// Channel objects of this process and the socket other processes reach them through.
class Bus : public QObject
{
public:
    static Bus& instance()
    {
        static Bus* bus = new Bus; // lives for the whole run: channels may outlive main()
        return *bus;
    }

    void add(QCopChannel* c)
    {
        QMutexLocker lock(&m_lock);
        m_channels.append(c);
        if (!m_server)
            QMetaObject::invokeMethod(this, [this] { listen(); }, Qt::AutoConnection);
    }

    void remove(QCopChannel* c)
    {
        QMutexLocker lock(&m_lock);
        m_channels.removeAll(c);
    }

    void deliverLocally(const QString& channel, const QByteArray& message, const QByteArray& data)
    {
        QList<QPointer<QCopChannel>> targets;
        {
            QMutexLocker lock(&m_lock);
            for (QCopChannel* c : qAsConst(m_channels))
                if (c->channel() == channel)
                    targets.append(c);
        }
        for (const QPointer<QCopChannel>& c : targets)
            if (c)
                emit c->received(message, data);
    }

    QString ownSocket() const
    {
        return QCopChannel::messageFolder() + QLatin1Char('/') + QString::number(::getpid());
    }

private:
    Bus()
    {
        if (QCoreApplication::instance())
            moveToThread(QCoreApplication::instance()->thread());
    }

    void listen()
    {
        if (m_server)
            return;
        const QString folder = QCopChannel::messageFolder();
        if (folder.isEmpty())
            return; // no folder safe from other users: messages stay in this process
        QDir().mkpath(folder);
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(ownSocket());
        if (!m_server->listen(ownSocket())) {
            qDebug("QCop: cannot listen on %s", qPrintable(ownSocket()));
            return;
        }
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* s = m_server->nextPendingConnection()) {
                if (!RuntimeFolder::peerIsOurs(s->socketDescriptor())) {
                    s->abort(); // another user's process has nothing to tell us
                    s->deleteLater();
                    continue;
                }
                connect(s, &QLocalSocket::readyRead, this, [this, s] { readFrames(s); });
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }

    void readFrames(QLocalSocket* s)
    {
        QDataStream in(s);
        for (;;) {
            in.startTransaction();
            quint32 magic = 0;
            QString channel;
            QByteArray message, data;
            in >> magic >> channel >> message >> data;
            if (!in.commitTransaction())
                return; // wait for the rest
            if (magic != Magic) {
                s->abort();
                return;
            }
            deliverLocally(channel, message, data);
        }
    }

    QMutex m_lock;
    QList<QCopChannel*> m_channels;
    QLocalServer* m_server = nullptr;
};

void sendToOtherProcesses(const QString& channel, const QByteArray& message, const QByteArray& data)
{
    const QString folder = QCopChannel::messageFolder();
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return;
    QByteArray frame;
    {
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << Magic << channel << message << data;
    }
    const QString own = QString::number(::getpid());
    const QStringList peers = dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : peers) {
        if (name == own)
            continue;
        QLocalSocket sock;
        sock.connectToServer(dir.filePath(name));
        if (!sock.waitForConnected(500)) {
            // A socket left by a process that has ended: nobody listens there any more.
            if (sock.error() == QLocalSocket::ConnectionRefusedError
                || sock.error() == QLocalSocket::ServerNotFoundError)
                QFile::remove(dir.filePath(name));
            continue;
        }
        if (!RuntimeFolder::peerIsOurs(sock.socketDescriptor())) {
            sock.abort(); // a socket planted by another user
            continue;
        }
        sock.write(frame);
        sock.waitForBytesWritten(1000);
        sock.disconnectFromServer();
        if (sock.state() != QLocalSocket::UnconnectedState)
            sock.waitForDisconnected(200);
    }
}

} // namespace

QString QCopChannel::messageFolder()
{
    const QString env = qEnvironmentVariable("QUAVRIX_QCOP_DIR");
    if (!env.isEmpty())
        return env;
    return RuntimeFolder::privateFolder(QStringLiteral("quavrix-qcop"));
}

QCopChannel::QCopChannel(const QString& channel, QObject* parent)
    : QObject(parent), m_channel(channel)
{
    Bus::instance().add(this);
}

QCopChannel::~QCopChannel()
{
    Bus::instance().remove(this);
}

void QCopChannel::send(const QString& channel, const QByteArray& message, const QByteArray& data)
{
    Bus::instance().deliverLocally(channel, message, data);
    sendToOtherProcesses(channel, message, data);
}

QList<qint32> QCopChannel::intArguments(const QByteArray& data)
{
    QList<qint32> args;
    QDataStream in(data);
    while (!in.atEnd()) {
        qint32 v;
        in >> v;
        if (in.status() != QDataStream::Ok)
            break;
        args << v;
    }
    return args;
}

QCopEnvelope::QCopEnvelope(const QString& channel, const QByteArray& message)
    : m_channel(channel), m_message(message)
{
}

QCopEnvelope& QCopEnvelope::operator<<(qint32 value)
{
    QDataStream out(&m_data, QIODevice::Append);
    out << value;
    return *this;
}

QCopEnvelope::~QCopEnvelope()
{
    QCopChannel::send(m_channel, m_message, m_data);
}
