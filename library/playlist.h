#pragma once

#include "playlistbase.h"
#include "playorder.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class LoopControl;
class MediaLibrary;
class QMenu;
class TrackItem;
class VRXMainWindow;
struct AudioInfo;

// The "Play List" page: an ordered list of tracks, the commands that edit it, the play
// order (first, next, previous under the loop and random options) and named playlists.
// Every entry shows a record owned either by the library's catalogue or by this list.
class PlayList : public PlayListBase
{
    Q_OBJECT
public:
    PlayList(VRXMainWindow* mainWindow, LoopControl* control, QWidget* parent = nullptr,
             const QString& name = QString());
    ~PlayList() override;

    void setLibrary(MediaLibrary* library);

    void restoreList();
    void storeList();

    void selectFirst();
    void selectNext();
    // The entry selectNext() would select now, without selecting it; null when the list
    // would end. At the end of a random order the next order is drawn here already.
    TrackItem* peekNext();
    // Selects the entry playback went on with by itself (peekNext() gave it): the one at
    // index when it still holds file, else the first entry of file.
    void selectContinued(int index, const QString& file);
    void selectPrevious();
    void selectRandomRank(int rank);
    QString selectedFile();
    void selectFile(const QString& file);
    bool isEmpty() const;
    // Whether some entry's file is there to play (entries of missing files are kept, shown
    // as unavailable, and passed over by every selection above).
    bool hasAvailableEntry();
    // Looks whether the entry's file is there now and shows the entry accordingly.
    bool checkAvailable(TrackItem* entry);
    void addRecords(const RecordList& records);
    void setPlayOptions(bool loop, bool random);
    void showMenu();

    void loadPlayList(const QString& name);

    bool isModified() const { return modified; }
    TrackItem* selectedTrack() const { return selectedEntry(); }
    QString currentPlayListName() const { return playListName; }
    bool loopMode() const { return loop; }
    bool randomMode() const { return random; }
    QMenu* menu() const { return m_menu; }
    int ownedRecordCount() const { return int(ownedRecords.size()); }
    // The entry on a display row, or null.
    TrackItem* entryAt(int row) const;

public slots:
    void doRemove() override;
    void doUp() override;
    void doDown() override;
    void addAll() override;
    void removeAll() override;
    void currentChanged(VRXListViewItem* entry) override;
    void activated(VRXListViewItem* entry) override;
    void stateChanged(int state);
    void setupRandomOrder();

    // Asks for a name and writes the list; true when it was written.
    bool save();
    void load();
    void organize();
    void deletePlayList(const QString& name, bool* ok);
    void renamePlayListItem(const QString& oldName, QString& newName, bool* ok);

signals:
    void play();
    void play(const QString& file);
    // What selectNext() would give may have changed (selection, entries, options).
    void nextChanged();

private slots:
    // The library is about to delete its records: drop every entry before any of them
    // can be painted or used. The main window restores the list afterwards.
    void releaseLibraryRecords();

private:
    void createActions(VRXMainWindow* window);
    void clearEntries();
    void selectEntry(TrackItem* entry);
    void removeEntry(TrackItem* entry);
    TrackItem* selectedEntry() const;
    TrackItem* currentEntry() const;
    TrackItem* appendEntry(AudioInfo* record);
    // The record for a stored path: the library's, or one of our own; for a file that is
    // not there, one named after the file with missing set. Null when the file is there
    // but gives no record.
    AudioInfo* resolve(const QString& file, bool* missing);
    // The first entry from row on (going by step) whose file is there.
    TrackItem* firstAvailable(int row, int step);
    TrackItem* entryOfRank(int rank) const;
    void releaseOwned(AudioInfo* record);
    void fillFromPaths(const QStringList& paths);
    void chooseNames(bool openMode);

    LoopControl* control;
    QPointer<MediaLibrary> library;
    QMenu* m_menu;
    bool modified = false;
    // The list holds what the user built (restored or edited), so it is worth storing; a
    // list never loaded must not overwrite the stored one.
    bool m_listLoaded = false;
    std::vector<std::unique_ptr<AudioInfo>> ownedRecords;
    QString playListName;
    bool loop = false;
    bool random = false;
    // The selected entry when peekNext() drew the next random order ahead: moving on
    // from it starts that order.
    const TrackItem* m_orderAhead = nullptr;
    // Edits of the entries, and the count and name as last stored.
    std::vector<TrackItem*> m_byRank; // the entry of each rank, as last drawn
    quint64 m_changes = 0;
    quint64 m_storedChanges = ~quint64(0);
    QString m_storedName;
};
