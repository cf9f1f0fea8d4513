#pragma once

#include "vrxlistview.h"

struct AudioInfo;
class ListView;

// One track in a track list: five columns read from the shared record each time the list
// asks (title, artist, album, year, track), sorted by the entry's index.
class TrackItem : public VRXListViewItem
{
public:
    TrackItem(ListView* parent, AudioInfo* record, int index);

    AudioInfo* record() const { return m_record; }
    int index() const { return m_index; }
    void setIndex(int index);
    int randomRank() const { return m_randomRank; }
    void setRandomRank(int rank) { m_randomRank = rank; }
    bool nonMp3() const { return m_nonMp3; }
    // The file was not there when last looked for: the entry is drawn greyed and italic.
    bool isMissing() const { return m_missing; }
    void setMissing(bool missing);
    bool isDimmed() const override { return m_missing; }

    QVariant data(int column, int role) const override;
    QString key(int column) const override;
    bool operator<(const QTreeWidgetItem& other) const override;

    // True when the lower-cased last extension of the file name is not "mp3".
    static bool isNonMp3(const char* fileName);

private:
    AudioInfo* m_record;
    int m_index;
    int m_randomRank = 0;
    bool m_nonMp3;
    bool m_missing = false;
};
