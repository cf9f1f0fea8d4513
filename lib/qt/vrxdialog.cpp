#include "vrxdialog.h"

#include "screen.h"
#include "vrxpopup.h"

#include <QEvent>

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
    return displayAreaOf(this);
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
