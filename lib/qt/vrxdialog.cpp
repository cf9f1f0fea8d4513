#include "vrxdialog.h"

#include "screen.h"

#include <QApplication>

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
