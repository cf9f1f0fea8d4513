#pragma once

#include "bookmarkfile.h"

#include <QList>
#include <QObject>

class QMenu;
class QWidget;

// The bookmarks: named positions in tracks, in menu order, kept in the data file
// "bookmarks" of the application's data folder and rewritten after every change.
class Bookamrks : public QObject
{
    Q_OBJECT
public:
    // Loads the file.
    explicit Bookamrks(QObject* parent = nullptr);

    static QString filePath();

    // Replaces the list with the file's records. A missing file gives an empty list. A
    // damaged file keeps the records that were whole before the damage; the file itself is
    // renamed with the suffix ".damaged" and the whole records are written anew, so the
    // next save cannot overwrite what the user may still want back.
    void loadBookmarks();
    // Rewrites the file atomically. On failure the file keeps its old contents, the list is
    // unchanged, a message is shown over reportTo (when given) and false is returned.
    bool saveBookmarks(QWidget* reportTo = nullptr);

    // Asks for a name (prefilled "Bookmark") and appends a record at positionMs rounded down
    // to whole seconds, then saves (a failed save is reported over parent). Returns false
    // when cancelled or given an empty name.
    bool add(const QString& file, qint64 positionMs, QWidget* parent = nullptr);
    void append(const QString& name, const QString& file, int position);

    int count() const { return int(m_list.size()); }
    // Null when index is out of range.
    const Bookmark* at(int index) const;
    QList<Bookmark>* list() { return &m_list; }

    // Menu ids: 0 add, 1 organise, 2 + index for the first MenuBookmarks records.
    enum { AddId = 0, OrganizeId = 1, FirstBookmarkId = 2, MenuBookmarks = 7 };
    // Clears the menu and fills it; each action carries its id as data. Add is enabled when
    // canAdd (something plays or is paused), Organise when a bookmark exists.
    void fillMenu(QMenu* menu, bool canAdd) const;

private:
    QList<Bookmark> m_list;
};
