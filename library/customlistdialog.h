#pragma once

#include "customlistbase.h"

#include <QStringList>

// A modal list of names that can be reordered, sorted, renamed and removed. Removal and
// renaming are offered to the owner first (removeItem, renameItem), which may veto them.
// The order is kept by a hidden, zero-padded position key per entry.
class CustomListDialog : public CustomListBase
{
    Q_OBJECT
public:
    // title: two parts separated by "|"; the caption becomes "Edit" and the first part.
    CustomListDialog(const QStringList& items, const QString& title, const QString& iconName, bool openMode,
                     QWidget* parent = nullptr, const QString& name = QString());

    QStringList items() const;
    QString currentText() const;
    VRXListView* listView() const { return list; }

public slots:
    void doNew() override;
    void doRemove() override;
    void doUpdate() override;
    void doRename() override;
    void currentChanged(VRXListViewItem* entry) override;
    void doUp() override;
    void doDown() override;
    void sort() override;

signals:
    void removeItem(const QString& text, bool* ok);
    void renameItem(const QString& text, QString& newText, bool* ok);

private:
    void renumber();
    void moveCurrent(bool up);
    QString positionKey(int position) const;
    static int keyWidth(int count);

    QString m_iconName;
};
