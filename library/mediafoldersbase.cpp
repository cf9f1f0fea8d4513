#include "mediafoldersbase.h"

#include "screen.h"
#include "vrxelidedlabel.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>

MediaFoldersBase::MediaFoldersBase(QWidget* parent, const QString& name)
    : VRXDialog(parent, name.isEmpty() ? QStringLiteral("MediaFoldersBase") : name)
{
    grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    GroupBox2 = new QGroupBox(tr("Documents Folder"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* docRow = new QHBoxLayout(GroupBox2);
    // Tight boxes leave the list room on a display 240 pixels high.
    docRow->setContentsMargins(4, 2, 4, 2);
    doc = new QLabel(GroupBox2);
    doc->setObjectName(QStringLiteral("doc"));
    doc->setPixmap(findPixmap(QStringLiteral("file_audio")));
    processDoc = new QCheckBox(tr("Process Documents Folder"), GroupBox2);
    processDoc->setObjectName(QStringLiteral("processDoc"));
    docRow->addWidget(doc);
    docRow->addWidget(processDoc, 1);
    grid->addWidget(GroupBox2, 0, 0, 1, 3);

    list = new VRXListView(this, QStringLiteral("list"));
    list->addColumn(tr("Column 1"));
    list->setHeaderVisible(false);
    list->setSorting(-1);
    // Paths fit the list's width, shortened in the middle, instead of scrolling sideways.
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->setTextElideMode(Qt::ElideMiddle);
    list->setMinimumHeight(2 * list->fontMetrics().height() + 2 * list->frameWidth() + 8);
    grid->addWidget(list, 1, 0, 1, 3);

    GroupBox3 = new QGroupBox(tr("Folder"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    auto* folderGrid = new QGridLayout(GroupBox3);
    folderGrid->setContentsMargins(4, 2, 4, 2);
    folderGrid->setVerticalSpacing(2);
    folderIcon = new QLabel(GroupBox3);
    folderIcon->setObjectName(QStringLiteral("folderIcon"));
    folderIcon->setPixmap(findPixmap(QStringLiteral("folder_audio")));
    folderPath = new VRXElidedLabel(GroupBox3, QStringLiteral("folderPath"));
    rec = new QCheckBox(tr("Include Subfolders"), GroupBox3);
    rec->setObjectName(QStringLiteral("rec"));
    folderGrid->addWidget(folderIcon, 0, 0);
    folderGrid->addWidget(folderPath, 0, 1);
    folderGrid->addWidget(rec, 1, 0, 1, 2);
    folderGrid->setColumnStretch(1, 1);
    grid->addWidget(GroupBox3, 2, 0, 1, 3);

    btnNew = new VRXPushButton(QStringLiteral("cd_audio_add"), tr("Add Folder"), this, QStringLiteral("btnNew"));
    btnRemove = new VRXPushButton(QStringLiteral("remove"), tr("Remove Folder"), this, QStringLiteral("btnRemove"));
    // Folders are stored as they are edited: OK only closes, for a device without a window
    // manager offers no other way out.
    btnOk = new VRXPushButton(QStringLiteral("button_ok"), tr("OK"), this, QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    grid->addWidget(btnNew, 3, 0);
    grid->addWidget(btnRemove, 3, 1);
    // Below the others where the display is tall, beside them where it is wide.
    if (isPortrait())
        grid->addWidget(btnOk, 4, 0, 1, 2);
    else
        grid->addWidget(btnOk, 3, 2);
    grid->setRowStretch(1, 1);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnNew, &QPushButton::clicked, this, &MediaFoldersBase::doNew);
    connect(btnRemove, &QPushButton::clicked, this, &MediaFoldersBase::doRemove);
    connect(rec, &QCheckBox::clicked, this, &MediaFoldersBase::recurrenceChanged);
    connect(list, &VRXListView::currentChanged, this, &MediaFoldersBase::currentChanged);
}
