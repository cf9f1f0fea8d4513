#pragma once

#include "vrxdialog.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class VRXListView;
class VRXListViewItem;
class VRXPushButton;

// The media folders form: the documents check box, the folder list, the current folder's
// details, the add / remove buttons and OK, which closes it. Subclasses override the slots.
class MediaFoldersBase : public VRXDialog
{
    Q_OBJECT
public:
    explicit MediaFoldersBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void doNew() {}
    virtual void doRemove() {}
    virtual void recurrenceChanged() {}
    virtual void currentChanged(VRXListViewItem*) {}

protected:
    QGridLayout* grid;
    QGroupBox* GroupBox2;
    QLabel* doc;
    QCheckBox* processDoc;
    VRXListView* list;
    QGroupBox* GroupBox3;
    QLabel* folderIcon;
    QLabel* folderPath;
    QCheckBox* rec;
    VRXPushButton* btnNew;
    VRXPushButton* btnRemove;
    VRXPushButton* btnOk;
};
