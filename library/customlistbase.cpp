#include "customlistbase.h"

#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

CustomListBase::CustomListBase(QWidget* parent, const QString& name)
    : VRXDialog(parent, name.isEmpty() ? QStringLiteral("CustomListBase") : name)
{
    grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    list = new VRXListView(this, QStringLiteral("list"));
    list->setHeaderVisible(false);
    grid->addWidget(list, 0, 0, 1, 7);

    renameGroup = new QGroupBox(this);
    renameGroup->setObjectName(QStringLiteral("renameGroup"));
    auto* row = new QHBoxLayout(renameGroup);
    licon = new QLabel(renameGroup);
    licon->setObjectName(QStringLiteral("licon"));
    label = new QLabel(tr("Text:"), renameGroup);
    label->setObjectName(QStringLiteral("label"));
    text = new QLineEdit(renameGroup);
    text->setObjectName(QStringLiteral("text"));
    row->addWidget(licon);
    row->addWidget(label);
    row->addWidget(text, 1);
    grid->addWidget(renameGroup, 1, 0, 1, 7);

    btnUp = new VRXPushButton(QStringLiteral("up"), QString(), this, QStringLiteral("btnUp"));
    btnDown = new VRXPushButton(QStringLiteral("down"), QString(), this, QStringLiteral("btnDown"));
    btnSort = new VRXPushButton(QStringLiteral("sort-name"), tr("Sort"), this, QStringLiteral("btnSort"));
    btnNew = new VRXPushButton(QStringLiteral("file_audio"), tr("Open"), this, QStringLiteral("btnNew"));
    btnRename = new VRXPushButton(QStringLiteral("rename"), QString(), this, QStringLiteral("btnRename"));
    btnRemove = new VRXPushButton(QStringLiteral("remove"), QString(), this, QStringLiteral("btnRemove"));
    grid->addWidget(btnUp, 2, 0);
    grid->addWidget(btnDown, 2, 1);
    grid->addWidget(btnSort, 2, 2);
    grid->addItem(new QSpacerItem(4, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 2, 3);
    grid->addWidget(btnNew, 2, 4);
    grid->addWidget(btnRename, 2, 5);
    grid->addWidget(btnRemove, 2, 6);

    connect(list, &VRXListView::currentChanged, this, &CustomListBase::currentChanged);
    connect(text, &QLineEdit::textChanged, this, &CustomListBase::doUpdate);
    connect(btnUp, &QPushButton::clicked, this, &CustomListBase::doUp);
    connect(btnDown, &QPushButton::clicked, this, &CustomListBase::doDown);
    connect(btnSort, &QPushButton::clicked, this, &CustomListBase::sort);
    connect(btnNew, &QPushButton::clicked, this, &CustomListBase::doNew);
    connect(btnRename, &QPushButton::clicked, this, &CustomListBase::doRename);
    connect(btnRemove, &QPushButton::clicked, this, &CustomListBase::doRemove);
}
