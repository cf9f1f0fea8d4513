#include "bookmarkmanagerbase.h"

#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QGridLayout>

BookmarkManagerBase::BookmarkManagerBase(QWidget* parent, const QString& name)
    : VRXDialog(parent, name.isEmpty() ? QStringLiteral("BookmarkManagerBase") : name)
{
    setWindowTitle(tr("Bookmarks"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    list = new VRXListView(this, QStringLiteral("list"));
    list->addColumn(tr("Column 1"));
    grid->addWidget(list, 0, 0, 1, 6);
    btnUp = new VRXPushButton(QStringLiteral("up"), QString(), this, QStringLiteral("btnUp"));
    btnDown = new VRXPushButton(QStringLiteral("down"), QString(), this, QStringLiteral("btnDown"));
    btnGo = new VRXPushButton(QStringLiteral("forward"), tr("Go"), this, QStringLiteral("btnGo"));
    btnRemove = new VRXPushButton(QStringLiteral("remove"), QString(), this, QStringLiteral("btnRemove"));
    btnRename = new VRXPushButton(QStringLiteral("rename"), QString(), this, QStringLiteral("btnRename"));
    grid->addWidget(btnUp, 1, 0);
    grid->addWidget(btnDown, 1, 1);
    grid->addItem(new QSpacerItem(4, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 1, 2);
    grid->addWidget(btnGo, 1, 3);
    grid->addWidget(btnRename, 1, 4);
    grid->addWidget(btnRemove, 1, 5);
    connect(btnUp, &QPushButton::clicked, this, &BookmarkManagerBase::doUp);
    connect(btnDown, &QPushButton::clicked, this, &BookmarkManagerBase::doDown);
    connect(btnGo, &QPushButton::clicked, this, &BookmarkManagerBase::doGo);
    connect(btnRemove, &QPushButton::clicked, this, &BookmarkManagerBase::doRemove);
    connect(btnRename, &QPushButton::clicked, this, &BookmarkManagerBase::doRename);
}
