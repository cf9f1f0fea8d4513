#include "vrxmainwindow.h"

#include "keycodes.h"
#include "screen.h"
#include "vrxactionregistry.h"
#include "vrxmessagebox.h"

#include <QApplication>
#include <QKeyEvent>

VRXMainWindow::VRXMainWindow(QWidget* parent, const QString& name)
    : QMainWindow(parent)
    , m_registry(new VRXActionRegistry(this))
    , m_portrait(isPortrait())
{
    setObjectName(name);
    QString app = qApp ? qApp->objectName() : QString();
    if (app.isEmpty())
        app = QCoreApplication::applicationName();
    setWindowTitle(app);
    m_registry->add(QStringLiteral("Orblane"), QStringLiteral("Orblane"), tr("About") + QStringLiteral(" ..."),
                    this, &VRXMainWindow::about);
    m_registry->add(QStringLiteral("zoomin"), QStringLiteral("viewmag+"), tr("Zoom In"), this,
                    &VRXMainWindow::zoomin);
    m_registry->add(QStringLiteral("zoomout"), QStringLiteral("viewmag-"), tr("Zoom Out"), this,
                    &VRXMainWindow::zoomout);
    m_registry->add(QStringLiteral("exit"), QStringLiteral("exit"), tr("Exit"), qApp, &QCoreApplication::quit);
}

VRXMainWindow::~VRXMainWindow() = default;

QAction* VRXMainWindow::action(const QString& name) const
{
    return m_registry->action(name);
}

void VRXMainWindow::about()
{
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(AboutEvent)));
}

void VRXMainWindow::zoomin() {}
void VRXMainWindow::zoomout() {}
void VRXMainWindow::rotate() {}

bool VRXMainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::Type(AboutEvent)) {
        VRXMessageBox::about(this);
        return true;
    }
    return QMainWindow::event(e);
}

void VRXMainWindow::keyPressEvent(QKeyEvent* e)
{
    QWidget::keyPressEvent(e);
    const int key = qt2Key(e->key());
    // The device's zoom keys; desktop keyboards send Qt's own zoom keys.
    if (key == 0x2010 || e->key() == Qt::Key_ZoomIn)
        zoomin();
    else if (key == 0x200f || e->key() == Qt::Key_ZoomOut)
        zoomout();
}

void VRXMainWindow::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    const bool portrait = isPortrait();
    if (portrait != m_portrait) {
        m_portrait = portrait;
        qDebug("Rotate, now %s", portrait ? "Vertical" : "Horizontal");
        rotate();
    }
}
