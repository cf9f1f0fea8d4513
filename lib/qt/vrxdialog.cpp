#include "vrxdialog.h"

#include "screen.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>

namespace {
VRXDialog::AnswerHook& hookSlot()
{
    static VRXDialog::AnswerHook hook;
    return hook;
}
}

VRXDialog::VRXDialog(QWidget* parent, const QString& name, bool modal)
    : QDialog(parent)
{
    setObjectName(name);
    setModal(modal);
}

void VRXDialog::setCaption(const QString& caption)
{
    setWindowTitle(caption + QStringLiteral(" ..."));
}

int VRXDialog::run()
{
    if (AnswerHook hook = hookSlot()) {
        setResult(QDialog::Rejected);
        hook(this);
        return result();
    }
    return exec();
}

void VRXDialog::setAnswerHook(AnswerHook hook)
{
    hookSlot() = std::move(hook);
}

bool VRXDialog::hasAnswerHook()
{
    return bool(hookSlot());
}

int VRXDialog::comfortableWidth(int wanted)
{
    const int display = displaySize().width();
    return qMax(100, qMin(wanted, display - 20));
}

QSize VRXDialog::sizeHint() const
{
    const QSize display = displaySize();
    return QDialog::sizeHint().boundedTo(QSize(display.width() - 10, display.height() - 10));
}

QRect VRXDialog::displayArea() const
{
    // The main window shows the display: the window of the nearest parent that is no
    // dialog, else the first visible main window.
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    while (main && qobject_cast<QDialog*>(main))
        main = main->parentWidget() ? main->parentWidget()->window() : nullptr;
    if (!main || !main->isVisible()) {
        main = nullptr;
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops) {
            if (w != this && w->isVisible() && w->windowType() == Qt::Window && !qobject_cast<QDialog*>(w)) {
                main = w;
                break;
            }
        }
    }
    QPoint at;
    if (main)
        at = main->geometry().topLeft();
    else if (const QScreen* s = screen())
        at = s->availableGeometry().topLeft();
    return QRect(at, displaySize());
}

void VRXDialog::fitDisplay()
{
    m_fitting = true;
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setGeometry(displayArea());
    m_fitting = false;
}

void VRXDialog::setVisible(bool visible)
{
    if (visible && !m_fitting && (windowState() & Qt::WindowMaximized))
        fitDisplay();
    QDialog::setVisible(visible);
}

void VRXDialog::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && isVisible() && !m_fitting
        && (windowState() & Qt::WindowMaximized))
        fitDisplay();
}
