#include "vrxinputdialog.h"

#include "vrxokcancel.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

VRXInputDialog::VRXInputDialog(const QString& caption, const QString& label, const QString& text,
                               QWidget* parent, const QString& name)
    : VRXDialog(parent, name)
{
    setCaption(caption);
    auto* box = new QVBoxLayout(this);
    m_label = new QLabel(label, this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setWordWrap(true);
    m_label->setTextFormat(Qt::PlainText);
    m_edit = new QLineEdit(text, this);
    m_edit->setObjectName(QStringLiteral("text"));
    m_edit->selectAll();
    box->addWidget(m_label);
    box->addWidget(m_edit);
    box->addStretch(1);
    auto* buttons = new VRXOkCancel(this);
    box->addWidget(buttons);
    connect(buttons, &VRXOkCancel::ok, this, &QDialog::accept);
    connect(buttons, &VRXOkCancel::cancel, this, &QDialog::reject);
    setMinimumWidth(comfortableWidth(220));
}

QString VRXInputDialog::text() const
{
    return m_edit->text();
}

void VRXInputDialog::setText(const QString& text)
{
    m_edit->setText(text);
}

QString VRXInputDialog::getText(const QString& caption, const QString& label, const QString& text,
                                bool* ok, QWidget* parent)
{
    VRXInputDialog dlg(caption, label, text, parent);
    const bool accepted = dlg.run() == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? dlg.text() : text;
}
