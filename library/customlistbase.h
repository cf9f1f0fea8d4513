#pragma once

#include "vrxdialog.h"

#include <QList>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class VRXListView;
class VRXListViewItem;
class VRXPushButton;

// The list organiser's form: a one-column list, a hidden rename box, and the buttons
// up, down, sort, open, rename and remove. Subclasses override the slots.
class CustomListBase : public VRXDialog
{
    Q_OBJECT
public:
    explicit CustomListBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void doNew() {}
    virtual void doRemove() {}
    virtual void doUpdate() {}
    virtual void doRename() {}
    virtual void currentChanged(VRXListViewItem*) {}
    virtual void doUp() {}
    virtual void doDown() {}
    virtual void sort() {}

protected:
    // Puts the shown buttons in one row when their labels fit across the display, else in
    // two; call again after showing or hiding a button.
    void arrangeButtons();

    QGridLayout* grid;
    VRXListView* list;
    QGroupBox* renameGroup;
    QLabel* licon;
    QLabel* label;
    QLineEdit* text;
    VRXPushButton* btnUp;
    VRXPushButton* btnDown;
    VRXPushButton* btnSort;
    VRXPushButton* btnNew;
    VRXPushButton* btnRename;
    VRXPushButton* btnRemove;

private:
    QList<QLayout*> m_buttonRows;
};
