#include "vrxokcancel.h"

#include "vrxpushbutton.h"

#include <QHBoxLayout>

VRXOkCancel::VRXOkCancel(QWidget* parent, const QString& okText, const QString& cancelText)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("okCancel"));
    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    m_ok = new VRXPushButton(QStringLiteral("button_ok"), okText.isEmpty() ? tr("OK") : okText, this,
                             QStringLiteral("btnOk"));
    m_cancel = new VRXPushButton(QStringLiteral("button_cancel"),
                                 cancelText.isEmpty() ? tr("Cancel") : cancelText, this,
                                 QStringLiteral("btnCancel"));
    m_ok->setDefault(true);
    box->addWidget(m_ok);
    box->addWidget(m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &VRXOkCancel::ok);
    connect(m_cancel, &QPushButton::clicked, this, &VRXOkCancel::cancel);
}
