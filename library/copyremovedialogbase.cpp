#include "copyremovedialogbase.h"

#include "vrxpushbutton.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

CopyRemoveDialogBase::CopyRemoveDialogBase(QWidget* parent, const QString& name)
    : VRXDialog(parent, name.isEmpty() ? QStringLiteral("CopyRemoveDialogBase") : name)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    text = new QLabel(this);
    text->setObjectName(QStringLiteral("text"));
    grid->addWidget(icon, 0, 0);
    grid->addWidget(text, 0, 1);
    iSource = new QLabel(this);
    iSource->setObjectName(QStringLiteral("iSource"));
    iSource->setAlignment(Qt::AlignCenter);
    iSource->setTextFormat(Qt::RichText);
    source = new QLabel(this);
    source->setObjectName(QStringLiteral("source"));
    source->setAlignment(Qt::AlignCenter);
    source->setTextFormat(Qt::RichText);
    grid->addWidget(iSource, 1, 0, 1, 2);
    grid->addWidget(source, 2, 0, 1, 2);
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progress"));
    grid->addWidget(progress, 3, 0, 1, 2);
    Line3 = new QFrame(this);
    Line3->setObjectName(QStringLiteral("Line3"));
    Line3->setFrameShape(QFrame::HLine);
    Line3->setFrameShadow(QFrame::Sunken);
    grid->addWidget(Line3, 4, 0, 1, 2);
    btnCancel = new VRXPushButton(QStringLiteral("button_cancel"), tr("Cancel"), this, QStringLiteral("btnCancel"));
    grid->addWidget(btnCancel, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    // Room for one line each before any text is set: the dialog's height follows its hint.
    for (QLabel* l : {text, iSource, source})
        l->setMinimumHeight(l->fontMetrics().height());
    connect(btnCancel, &QPushButton::clicked, this, &CopyRemoveDialogBase::cancel);
}
