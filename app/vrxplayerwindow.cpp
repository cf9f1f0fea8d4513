#include "vrxplayerwindow.h"

#include "audioinfo.h"
#include "config.h"
#include "loopcontrol.h"
#include "settingskeys.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QThread>

VRXPlayerWindow::VRXPlayerWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(qApp->objectName());
    m_controller = new LoopControl(this);
    m_title = new QLabel(this);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    setCentralWidget(m_title);
    connect(m_controller, &LoopControl::setTrackDescription, this, &VRXPlayerWindow::showDescription);
    connect(m_controller, &LoopControl::finished, this, &VRXPlayerWindow::finished);
}

VRXPlayerWindow::~VRXPlayerWindow() = default;

void VRXPlayerWindow::showDescription(AudioInfo* info)
{
    m_title->setText(QString::fromUtf8(info->title) + QLatin1Char('\n') + QString::fromUtf8(info->artist));
}

void VRXPlayerWindow::setDocument(const QString& file)
{
    m_documentFile = file;
}

void VRXPlayerWindow::setFile(const QString& file)
{
    m_controller->stop();
    if (m_controller->open(file)) {
        m_playState = Playing;
        m_currentFile = file;
        m_controller->play();
    }
}

void VRXPlayerWindow::stop()
{
    m_playState = Stopped;
    m_controller->stop();
}

void VRXPlayerWindow::playPause()
{
    switch (m_playState) {
    case Playing:
        m_playState = Paused;
        m_controller->setPaused(true);
        break;
    case Paused:
        m_playState = Playing;
        m_controller->setPaused(false);
        break;
    default:
        if (!m_currentFile.isEmpty())
            setFile(m_currentFile);
        break;
    }
}

void VRXPlayerWindow::finished()
{
    stop();
}

bool VRXPlayerWindow::event(QEvent* e)
{
    if (e->type() == QEvent::Show)
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(RestoreEvent)));
    if (e->type() == QEvent::Type(RestoreEvent)) {
        if (!m_documentFile.isEmpty())
            setFile(m_documentFile);
        return true;
    }
    return QMainWindow::event(e);
}

void VRXPlayerWindow::resumeAfterPowerOn(int count)
{
    if (m_playState == Stopped || count == 1)
        return;
    const QString file = m_currentFile;
    const int position = int(m_controller->positionMs() / 1000);
    stop();
    int delay;
    {
        Config cfg(qApp->objectName());
        delay = cfg.read(Settings::Options::PowerOnDelay);
    }
    if (delay > 0)
        QThread::sleep(unsigned(qBound(0, delay, 60)));
    setFile(file);
    if (m_playState == Playing)
        m_controller->seek(position);
}
