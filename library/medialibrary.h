#pragma once

#include "copyremovedialog.h"
#include "medialibrarybase.h"
#include "playorder.h"

#include <QHash>
#include <QPointer>

class LoopControl;
class PlayList;

// The "Library" page: every audio file the media search found (the catalogue, sorted by
// artist, album, year, track and title), filtered by artist, album and year. Tracks go to
// the play list ("Add", "Add All") or straight to playback (play(file)).
class MediaLibrary : public MediaLibraryBase
{
    Q_OBJECT
public:
    MediaLibrary(LoopControl* control, QWidget* parent = nullptr, const QString& name = QString());
    ~MediaLibrary() override;

    void setPlayList(PlayList* playList);

    // A new search with its progress dialog, then sort and refill.
    void rebuild();
    // Takes the records as the new catalogue, then sorts and refills (as after a search).
    void setCatalogue(Catalogue records);

    // The first record of the catalogue whose file name is file, or null.
    AudioInfo* findRecord(const QString& file) const;
    void addWholeCatalogue();

    const Catalogue& catalogue() const { return m_catalogue; }

public slots:
    void updateFilter();
    void updateList() override;
    void currentChanged(VRXListViewItem* entry) override;
    void activated(VRXListViewItem* entry) override;
    void add() override;
    void addAll() override;

signals:
    void play(const QString& file);
    // Sent before the catalogue's records are deleted (a rebuild, or this page going away):
    // whoever shows them must let go of them now.
    void catalogueAboutToChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void releaseCatalogue();
    void sortAndShow();
    void finishList();

    LoopControl* control;
    QPointer<PlayList> playList;
    Catalogue m_catalogue;
    QHash<QByteArray, AudioInfo*> m_byFile; // first record of each file name
    bool m_rebuilding = false;
};
