#include "playlistbase.h"

#include "listview.h"
#include "vrxpushbutton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSpacerItem>

PlayListBase::PlayListBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("PlayListBase") : name);
    grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    btnAbout = new VRXPushButton(QStringLiteral("mouse"), QString(), this, QStringLiteral("btnAbout"));
    btnPlay = new VRXPushButton(QStringLiteral("play"), tr("Play"), this, QStringLiteral("btnPlay"));
    btnUp = new VRXPushButton(QStringLiteral("up"), QString(), this, QStringLiteral("btnUp"));
    btnDown = new VRXPushButton(QStringLiteral("down"), QString(), this, QStringLiteral("btnDown"));
    btnRemove = new VRXPushButton(QStringLiteral("remove"), QString(), this, QStringLiteral("btnRemove"));
    grid->addWidget(btnAbout, 0, 0);
    grid->addWidget(btnPlay, 0, 1);
    grid->addItem(new QSpacerItem(10, 1, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 2);
    grid->addWidget(btnUp, 0, 3);
    grid->addWidget(btnDown, 0, 4);
    grid->addWidget(btnRemove, 0, 5);

    lv = new ListView(this);
    grid->addWidget(lv, 1, 0, 1, 6);

    auto* row = new QHBoxLayout;
    btnAddAll = new VRXPushButton(QStringLiteral("cd_audio_add"), tr("Add All Library"), this,
                                  QStringLiteral("btnAddAll"));
    btnClear = new VRXPushButton(QStringLiteral("delete"), tr("Clear List"), this, QStringLiteral("btnClear"));
    row->addWidget(btnAddAll);
    row->addWidget(btnClear);
    grid->addLayout(row, 2, 0, 1, 6);

    setTabOrder(btnPlay, btnUp);
    setTabOrder(btnUp, btnDown);
    setTabOrder(btnDown, btnRemove);
    setTabOrder(btnRemove, btnAddAll);
    setTabOrder(btnAddAll, btnClear);
    setFocusProxy(lv);
    // Only the track list takes the keyboard: a focused button or combo box would eat the
    // Space and arrow keys that the bindings give to playback.
    for (QWidget* w : findChildren<QWidget*>())
        if (w != lv && !lv->isAncestorOf(w))
            w->setFocusPolicy(Qt::NoFocus);

    connect(btnUp, &QPushButton::clicked, this, &PlayListBase::doUp);
    connect(btnDown, &QPushButton::clicked, this, &PlayListBase::doDown);
    connect(btnRemove, &QPushButton::clicked, this, &PlayListBase::doRemove);
    connect(btnAddAll, &QPushButton::clicked, this, &PlayListBase::addAll);
    connect(btnClear, &QPushButton::clicked, this, &PlayListBase::removeAll);
    connect(lv, &VRXListView::currentChanged, this, &PlayListBase::currentChanged);
    connect(lv, &VRXListView::returnPressed, this, &PlayListBase::activated);
}
