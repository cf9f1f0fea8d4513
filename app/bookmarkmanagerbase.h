#pragma once

#include "vrxdialog.h"

class VRXListView;
class VRXPushButton;

// The bookmark organiser's form: a one-column list and the buttons up, down, go, remove
// and rename. Subclasses override the slots.
class BookmarkManagerBase : public VRXDialog
{
    Q_OBJECT
public:
    explicit BookmarkManagerBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void doDown() {}
    virtual void doGo() {}
    virtual void doRemove() {}
    virtual void doRename() {}
    virtual void doUp() {}

protected:
    VRXListView* list;
    VRXPushButton* btnUp;
    VRXPushButton* btnDown;
    VRXPushButton* btnGo;
    VRXPushButton* btnRemove;
    VRXPushButton* btnRename;
};
