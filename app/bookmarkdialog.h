#pragma once

#include "bookmarkfile.h"
#include "bookmarkmanagerbase.h"

#include <QList>

#include <optional>

class VRXListViewItem;

// The bookmark organiser: moves, renames and removes entries and picks one to go to. It
// edits a view of the list; applyOrder() writes the result back, whichever button closed
// the dialog (so Cancel keeps moves and removals too). Renames apply at once.
class BookmarkDialog : public BookmarkManagerBase
{
    Q_OBJECT
public:
    BookmarkDialog(QList<Bookmark>* list, QWidget* parent = nullptr, const QString& name = QString());

    // Makes the list hold exactly the remaining records in the dialog's order.
    void applyOrder();
    // The record chosen with Go, or null.
    const Bookmark* selectedBookmark() const { return m_selected ? &*m_selected : nullptr; }

public slots:
    void currentChanged();
    void doDown() override;
    void doGo() override;
    void doRemove() override;
    void doRename() override;
    void doUp() override;

private:
    void move(bool up);
    int recordOf(const VRXListViewItem* entry) const;

    QList<Bookmark>* m_list;
    std::optional<Bookmark> m_selected;
};
