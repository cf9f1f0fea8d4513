#include "medialibrarybase.h"

#include "listview.h"
#include "vrxpushbutton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace {
QComboBox* makeBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(4);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

QLabel* makeIcon(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}
} // namespace

MediaLibraryBase::MediaLibraryBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("MediaLibraryBase") : name);
    grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    GroupBox2 = new QGroupBox(tr("Library Selection"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* g = new QGridLayout(GroupBox2);
    g->setContentsMargins(2, 2, 2, 2);
    g->setSpacing(2);
    artistIcon = makeIcon(GroupBox2, "artistIcon");
    artistBox = makeBox(GroupBox2, "artistBox");
    yearIcon = makeIcon(GroupBox2, "yearIcon");
    yearBox = makeBox(GroupBox2, "yearBox");
    albumIcon = makeIcon(GroupBox2, "albumIcon");
    albumBox = makeBox(GroupBox2, "albumBox");
    auto pair = [](QLabel* icon, QComboBox* box) {
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(icon);
        row->addWidget(box, 1);
        return row;
    };
    g->addLayout(pair(artistIcon, artistBox), 0, 0);
    g->addLayout(pair(yearIcon, yearBox), 0, 1);
    g->addLayout(pair(albumIcon, albumBox), 1, 0, 1, 2);
    grid->addWidget(GroupBox2, 0, 0, 1, 2);

    lv = new ListView(this);
    grid->addWidget(lv, 1, 0, 1, 2);

    addbtn = new VRXPushButton(QStringLiteral("cd_audio"), tr("Add"), this, QStringLiteral("addbtn"));
    addallbtn = new VRXPushButton(QStringLiteral("cd_audio_add"), tr("Add All"), this, QStringLiteral("addallbtn"));
    grid->addWidget(addbtn, 2, 0);
    grid->addWidget(addallbtn, 2, 1);

    setTabOrder(addbtn, addallbtn);
    setTabOrder(addallbtn, artistBox);
    setTabOrder(artistBox, yearBox);
    setTabOrder(yearBox, albumBox);
    // Only the track list takes the keyboard: a focused button or combo box would eat the
    // Space and arrow keys that the bindings give to playback.
    for (QWidget* w : findChildren<QWidget*>())
        if (w != lv && !lv->isAncestorOf(w))
            w->setFocusPolicy(Qt::NoFocus);

    connect(artistBox, qOverload<int>(&QComboBox::activated), this, &MediaLibraryBase::updateList);
    connect(yearBox, qOverload<int>(&QComboBox::activated), this, &MediaLibraryBase::updateList);
    connect(albumBox, qOverload<int>(&QComboBox::activated), this, &MediaLibraryBase::updateList);
    connect(lv, &VRXListView::currentChanged, this, &MediaLibraryBase::currentChanged);
    connect(lv, &VRXListView::returnPressed, this, &MediaLibraryBase::activated);
    connect(addbtn, &QPushButton::clicked, this, &MediaLibraryBase::add);
    connect(addallbtn, &QPushButton::clicked, this, &MediaLibraryBase::addAll);
}
