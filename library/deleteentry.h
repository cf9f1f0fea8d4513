#pragma once

#include "vrxlistview.h"

// Deletes a list entry after taking it out of its list. Deleting it in place lets the list
// announce the new current entry from inside the entry's destructor, while the entry is
// half destroyed and still listed; receivers that walk the list would then meet it.
inline void deleteEntry(VRXListView* list, VRXListViewItem* entry)
{
    if (!entry)
        return;
    const int row = list->indexOfTopLevelItem(entry);
    if (row >= 0)
        list->takeTopLevelItem(row);
    delete entry;
}
