#include "qpeapplication.h"

#include "runtimefolder.h"

#include "global.h"
#include "screen.h"
#include "displaypower.h"
#include "sleepinhibitor.h"
#include "translations.h"

#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

int& QPEApplication::takeDisplayOption(int& argc, char** argv)
{
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        QByteArray value;
        if (a == "--display" || a == "-display") {
            if (i + 1 >= argc) {
                qWarning("quavrix: --display needs a size WxH, such as 480x640");
                continue;
            }
            value = argv[++i];
        } else if (a.startsWith("--display=")) {
            value = a.mid(10);
        } else {
            argv[out++] = argv[i];
            continue;
        }
        const QSize s = parseDisplaySize(QString::fromLocal8Bit(value));
        if (s.isValid())
            setDisplaySize(s);
        else
            qWarning("quavrix: ignoring --display %s: expected a size WxH (100..8192 each), such as 480x640",
                     value.constData());
    }
    for (int i = out; i < argc; ++i)
        argv[i] = nullptr;
    argc = out;
    return argc;
}

QPEApplication::QPEApplication(int& argc, char** argv, Type)
    : QApplication(takeDisplayOption(argc, argv), argv)
{
    parseArguments();
    if (handOverToRunningInstance()) {
        m_handedOver = true;
        return;
    }
    listenForDocuments();
    // Before any window exists: widgets take their texts when they are made.
    Translations::install();
    m_sleep = new SleepInhibitor(this);
    m_display = new DisplayPower(this);
}

QPEApplication::~QPEApplication()
{
    if (m_server)
        m_server->close();
}

QString QPEApplication::qpeDir()
{
    return Global::qpeDir();
}

QString QPEApplication::instanceName()
{
    const QString env = qEnvironmentVariable("QUAVRIX_INSTANCE");
    if (!env.isEmpty())
        return env;
    // A full path in our own runtime folder: a bare name would land in /tmp, where
    // another user could take it first.
    return RuntimeFolder::socketPath(QStringLiteral("quavrix-instance"));
}

void QPEApplication::parseArguments()
{
    const QStringList args = arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1Char('-')) && m_document.isEmpty()) {
            m_document = QFileInfo(a).absoluteFilePath();
        }
    }
}

bool QPEApplication::handOverToRunningInstance()
{
    if (instanceName().isEmpty())
        return false;
    QLocalSocket sock;
    sock.connectToServer(instanceName());
    if (!sock.waitForConnected(300))
        return false;
    if (!RuntimeFolder::peerIsOurs(sock.socketDescriptor())) {
        qWarning("quavrix: %s belongs to another user; not handing over", qPrintable(instanceName()));
        return false;
    }
    QByteArray frame;
    {
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << m_document;
    }
    sock.write(frame);
    sock.waitForBytesWritten(1000);
    sock.disconnectFromServer();
    return true;
}

void QPEApplication::listenForDocuments()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (instanceName().isEmpty()) {
        qDebug("quavrix: no private runtime folder; running without single-instance hand-over");
        return;
    }
    if (!m_server->listen(instanceName())) {
        // Nothing answered the hand-over, so what is there is left by an ended run.
        QLocalServer::removeServer(instanceName());
        if (!m_server->listen(instanceName()))
            qDebug("quavrix: cannot listen on %s; running without single-instance hand-over",
                   qPrintable(instanceName()));
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            if (!RuntimeFolder::peerIsOurs(s->socketDescriptor())) {
                s->abort(); // only our own user's starts hand documents over
                s->deleteLater();
                continue;
            }
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                QDataStream in(s);
                in.startTransaction();
                QString file;
                in >> file;
                if (!in.commitTransaction())
                    return;
                deliverDocument(file, true);
            });
        }
    });
}

void QPEApplication::showMainDocumentWidget(QWidget* window, bool)
{
    m_mainWindow = window;
    window->installEventFilter(this);
    window->resize(displaySize());
    window->show();
    if (!m_document.isEmpty())
        deliverDocument(m_document, false);
}

void QPEApplication::deliverDocument(const QString& file, bool later)
{
    if (!m_mainWindow)
        return;
    if (!file.isEmpty())
        QMetaObject::invokeMethod(m_mainWindow, "setDocument", Qt::DirectConnection,
                                  Q_ARG(QString, file));
    if (later) {
        // A later request shows the window again, as the platform does: its show
        // handling then plays the document.
        m_mainWindow->showNormal();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
        if (!file.isEmpty())
            QCoreApplication::postEvent(m_mainWindow, new QEvent(QEvent::Show));
    }
}

bool QPEApplication::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mainWindow && event->type() == QEvent::Resize && m_mainWindow->isVisible())
        setDisplaySize(m_mainWindow->size());
    return QApplication::eventFilter(watched, event);
}
