#pragma once

#include <QWidget>

class ListView;
class QGridLayout;
class VRXListViewItem;
class VRXPushButton;

// The play list page's form: the menu, play and edit buttons above the track list, and
// "Add All Library" / "Clear List" below it. Subclasses override the slots.
class PlayListBase : public QWidget
{
    Q_OBJECT
public:
    explicit PlayListBase(QWidget* parent = nullptr, const QString& name = QString());

    ListView* listView() const { return lv; }

public slots:
    virtual void doRemove() {}
    virtual void doUp() {}
    virtual void doDown() {}
    virtual void addAll() {}
    virtual void removeAll() {}
    virtual void currentChanged(VRXListViewItem*) {}
    virtual void activated(VRXListViewItem*) {}

protected:
    QGridLayout* grid;
    VRXPushButton* btnAbout;
    VRXPushButton* btnPlay;
    VRXPushButton* btnUp;
    VRXPushButton* btnDown;
    VRXPushButton* btnRemove;
    ListView* lv;
    VRXPushButton* btnAddAll;
    VRXPushButton* btnClear;
};
