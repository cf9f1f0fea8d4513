#include "vrxrenamedialog.h"

#include "vrxokcancel.h"
#include "vrxresource.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

VRXRenameDialog::VRXRenameDialog(const QString& oldText, QWidget* parent, const QString& caption)
    : VRXDialog(parent, QStringLiteral("vrxRenameDialog"))
{
    setCaption(caption.isEmpty() ? tr("Rename") : caption);
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(findPixmap(QStringLiteral("rename2")));
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    auto* old = new QLineEdit(oldText, this);
    old->setObjectName(QStringLiteral("oldText"));
    old->setReadOnly(true);
    old->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(old, 0, 1);
    m_edit = new QLineEdit(oldText, this);
    m_edit->setObjectName(QStringLiteral("newText"));
    m_edit->selectAll();
    m_edit->setFocus();
    grid->addWidget(m_edit, 1, 1);
    grid->setRowStretch(2, 1);
    auto* buttons = new VRXOkCancel(this);
    grid->addWidget(buttons, 3, 0, 1, 2);
    connect(buttons, &VRXOkCancel::ok, this, &QDialog::accept);
    connect(buttons, &VRXOkCancel::cancel, this, &QDialog::reject);
    setMinimumWidth(comfortableWidth(220));
}

QString VRXRenameDialog::newText() const
{
    return m_edit->text();
}

void VRXRenameDialog::setNewText(const QString& text)
{
    m_edit->setText(text);
}

bool VRXRenameDialog::getNewName(const QString& oldText, QString& newText, QWidget* parent,
                                 const QString& caption)
{
    VRXRenameDialog dlg(oldText, parent, caption);
    if (dlg.run() != QDialog::Accepted)
        return false;
    newText = dlg.newText();
    return true;
}
