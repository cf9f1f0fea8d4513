#pragma once

#include "vrxmainwindow.h"

#include <QPointer>
#include <QString>

class Bookamrks;
class LoopControl;
class MediaLibrary;
class Player;
class PlayList;
class QMenu;
class QTimer;
class SaveFailureNotice;
class SuspendWatcher;
class VRTabWidget;
struct Bookmark;

// The one top-level window: owns the playback controller and the three pages, turns every
// command (buttons, keys, menus) into playback calls and alone decides what plays.
class VRXPlayerWindow : public VRXMainWindow
{
    Q_OBJECT
public:
    enum PlayState { Playing = 0, Stopped = 1, Paused = 2 };
    enum { ShowAboutEvent = 1000, RestoreEvent = 1001, DeferredCloseEvent = 1002 };

    explicit VRXPlayerWindow(QWidget* parent = nullptr);
    ~VRXPlayerWindow() override;

    LoopControl* controller() const { return m_controller; }
    VRTabWidget* tabs() const { return m_tabs; }
    MediaLibrary* library() const { return m_library; }
    PlayList* playList() const { return m_playlist; }
    Player* player() const { return m_player; }
    Bookamrks* bookmarks() const { return m_bookmarks; }
    int playState() const { return m_playState; }
    QString currentFile() const { return m_currentFile; }
    int seekInterval() const { return m_seekInterval; }
    int tabPosition() const { return m_tabPosition; }
    // Point size of the track lists' font.
    int listPointSize() const;

    // Called for every SIGCONT with the running count; acts on 2. The track is reopened
    // after the "poweri" delay by a timer: the GUI thread never sleeps.
    void resumeAfterPowerOn(int count);
    bool resumePending() const;
    // A suspend keeps the session as a close does; the resume after it is a power-on.
    void followSuspends(SuspendWatcher* watcher);

    // Closes as the window's close does, without deferral or questions, and quits: the
    // way out for SIGTERM, SIGINT and SIGHUP.
    void closeOnSignal();
    // The sound output failed and playback went on elsewhere: one message, not modal.
    void showOutputProblem(const QString& message);
    // A file handed in from outside (the command line, a second start, the desktop's
    // "Open"): played when it is a track the player can read; otherwise the user is told
    // why, *why says it too, and the play list and playback stay as they were.
    bool openDocument(const QString& file, QString* why = nullptr);

    // The font size table of the track lists: a size snapped up or down into it.
    static int snapUp(int size);
    static int snapDown(int size);

public slots:
    void setDocument(const QString& file);
    // Plays file now, from startSecond when it is above 0.
    void setFile(const QString& file, int startSecond = 0);

    void zoomin() override;
    void zoomout() override;
    void rotate() override;
    void mediaFolders();
    void options();
    void stop();
    void playStop();
    void playPause();
    void next();
    void prev();
    void fastForward();
    void rewind();
    void volumeUp();
    void volumeDown();
    void fillBookmarkMenu(QMenu* menu);
    void bookmarkActivated(int id);
    void finished();
    void checkKey(bool& handled, int code);

public:
    void playCurrent();
    void pause();
    void saveState();
    void restoreView();
    void applySettings();
    void reloadLists();
    void addBookmark();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void showNotice(const QString& title, const QString& message);
    bool isPlayable(const QString& file);
    // A track to come back to at the next start although nothing plays now: its file is
    // missing (a card that is out), and nothing else has played since.
    struct KeptTrack
    {
        QString file;
        int position = 0;
    };

    void restore();
    // Tells the controller which entry follows the one playing, so it goes on without a
    // gap; called whenever that may have changed.
    void queueNext();
    // The play list, the page, the zoom and the track with its position, for the next start.
    void storeSession();
    void startedPlaying(const QString& file);
    void startOrResume();
    void zoomTo(int size);
    void setListPointSize(int size);
    void updateZoomActions(int size);
    void applyTabPosition();
    void rebuildLists();
    // Stops, opens the bookmark's file and, when it plays, seeks to the bookmark.
    void jumpTo(const Bookmark& bookmark);

    VRTabWidget* m_tabs;
    Bookamrks* m_bookmarks;
    LoopControl* m_controller;
    MediaLibrary* m_library;
    PlayList* m_playlist;
    Player* m_player;
    int m_playState = Stopped;
    QString m_documentFile;
    bool m_documentPending = false; // delivered and not played yet
    bool m_restored = false;        // the previous run's state was brought back
    QString m_currentFile;
    int m_seekInterval = 5;
    bool m_forceClose = false;
    bool m_escapePressed = false;
    int m_keyVolumeUp = 0;
    int m_keyVolumeDown = 0;
    int m_keyPlay = 0;
    int m_keyNext = 0;
    int m_keyPrev = 0;
    int m_keyForward = 0;
    int m_keyRewind = 0;
    bool m_cancelStops = false;
    int m_tabPosition = 4;
    QTimer* m_resumeTimer;
    SaveFailureNotice* m_saveNotice;
    KeptTrack m_kept;
    int m_lastSecond = 0;
    bool m_closingOnSignal = false;
    int m_queuedIndex = -1; // the entry given to the controller to go on with
    bool m_queueing = false;
    QPointer<QWidget> m_outputNotice;
    QString m_resumeFile;
    int m_resumePosition = 0;
};
