#pragma once

#include <QWidget>

class ListView;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class VRXListViewItem;
class VRXPushButton;

// The library page's form: the artist, year and album filters, the track list and the
// "Add" / "Add All" buttons. Subclasses override the slots.
class MediaLibraryBase : public QWidget
{
    Q_OBJECT
public:
    explicit MediaLibraryBase(QWidget* parent = nullptr, const QString& name = QString());

    ListView* listView() const { return lv; }

public slots:
    virtual void updateList() {}
    virtual void currentChanged(VRXListViewItem*) {}
    virtual void activated(VRXListViewItem*) {}
    virtual void add() {}
    virtual void addAll() {}

protected:
    QGridLayout* grid;
    QGroupBox* GroupBox2;
    QLabel* artistIcon;
    QComboBox* artistBox;
    QLabel* yearIcon;
    QComboBox* yearBox;
    QLabel* albumIcon;
    QComboBox* albumBox;
    ListView* lv;
    VRXPushButton* addbtn;
    VRXPushButton* addallbtn;
};
