// The main window as the command centre: what the buttons and keys do to playback and the
// play list, bookmarks, what survives a close, what a show restores, and power-on (every
// second SIGCONT reopens the current track at the second where it was).
#include "testmain.h"
#include "../library/libraryfixture.h"
#include "../qt/screenshot.h"

#include "bookamrks.h"
#include "bookmarkdialog.h"
#include "listview.h"
#include "player.h"
#include "settingskeys.h"
#include "signalwatcher.h"
#include "trackinfo.h"
#include "vrtabwidget.h"
#include "vrxlistview.h"
#include "vrxplayerwindow.h"

#include <QCheckBox>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>

#include <chrono>
#include <csignal>
#include <thread>

namespace {
// 8000 Hz mono: 16 bytes a millisecond, so a track of n milliseconds ends exactly there.
void useTrackOfMs(int ms)
{
    TestTrack::rate = 8000;
    TestTrack::channels = 1;
    TestTrack::totalBytes = int64_t(ms) * 16;
}

// Lets the worker play a whole (unpaced) track of ms milliseconds without running the event
// loop, so its end is not yet reported: the window still sees it playing, at its last position.
void playToTheEnd(VRXPlayerWindow* w, const QString& file, int ms)
{
    useTrackOfMs(ms);
    w->setFile(file);
    for (int i = 0; i < 2000 && w->controller()->positionMs() < ms; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    QCOMPARE(w->controller()->positionMs(), int64_t(ms));
}

// Ten minutes at about eight times real time: a track that is still playing when checked.
void useLongTrack(int blockDelayUs = 200)
{
    TestTrack::totalBytes = int64_t(600) * 44100 * 4;
    TestTrack::blockDelayUs = blockDelayUs;
}

Config options()
{
    return Config(QStringLiteral("Quavrix"));
}

void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    // Delivered as the application does: an event the list leaves goes on to its parents.
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QCoreApplication::sendEvent(target, &press);
}
} // namespace

class TestPlayerWindow : public QObject
{
    Q_OBJECT
    std::unique_ptr<TrackTree> m_tree;
    std::unique_ptr<DialogScript> m_dialogs;
    QStringList m_tracks;

    // A window whose play list holds a, b and c, the settings applied.
    std::unique_ptr<VRXPlayerWindow> window()
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        for (const QString& f : m_tracks)
            w->playList()->selectFile(f);
        w->applySettings();
        return w;
    }
    static QString playing(VRXPlayerWindow* w) { return QFileInfo(w->currentFile()).completeBaseName(); }
    // What plays and how: "b playing", "- stopped".
    static QString state(VRXPlayerWindow* w)
    {
        const char* names[] = {"playing", "stopped", "paused"}; // in the order of PlayState
        const QString file = w->playState() == VRXPlayerWindow::Stopped ? QString() : playing(w);
        return (file.isEmpty() ? QStringLiteral("-") : file) + ' ' + names[w->playState()];
    }
    // The play list's entries by name; "?" marks one shown unavailable.
    static QStringList entries(VRXPlayerWindow* w)
    {
        QStringList out;
        for (int row = 0; TrackItem* e = w->playList()->entryAt(row); ++row)
            out << QFileInfo(fileOf(e->record())).completeBaseName() + (e->isMissing() ? "?" : "");
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(SignalWatcher::installSignalHandlers(false));
        setDecoderFactory(makePatternDecoder);
        qRegisterMetaType<AudioInfo*>();
        useDisplay(QSize(480, 640));
    }

    void init()
    {
        TestTrack::reset();
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        QFile::remove(Bookamrks::filePath());
        m_dialogs = std::make_unique<DialogScript>();
        // Files the pattern decoder plays, in the documents folder the library search reads.
        m_tree = std::make_unique<TrackTree>();
        qputenv("QUAVRIX_DOCUMENTS", m_tree->dir.path().toUtf8());
        m_tracks.clear();
        for (const char* t : {"a", "b", "c"})
            m_tracks << m_tree->make(QStringLiteral("%1.mp3").arg(t), makeTags(t, "Artist"));
    }

    void cleanup() { m_dialogs.reset(); } // its hook goes with it

    // Prev, fast forward and rewind at a position in track b (its last, not yet reported):
    // the track then playing, or the second sought.
    void commandsAtAPosition_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("expected");
        QTest::newRow("prev at 4.999 s: the previous entry") << 4999 << 5 << "prev" << "a";
        QTest::newRow("prev at 5 s: the same track again") << 5000 << 5 << "prev" << "b";
        QTest::newRow("prev at once: the previous entry") << 0 << 5 << "prev" << "a";
        QTest::newRow("forward from 3 s") << 3000 << 5 << "forward" << "8";
        QTest::newRow("forward from 3.999 s: whole seconds") << 3999 << 5 << "forward" << "8";
        QTest::newRow("back from 3 s stops at the start") << 3000 << 5 << "back" << "0";
        QTest::newRow("back from 19.5 s") << 19500 << 5 << "back" << "14";
        QTest::newRow("forward by a longer interval") << 45000 << 30 << "forward" << "75";
        QTest::newRow("back by a longer interval") << 45000 << 30 << "back" << "15";
    }
    void commandsAtAPosition()
    {
        QFETCH(int, ms);
        QFETCH(int, interval);
        QFETCH(QString, command);
        options().write(Settings::Options::Interval, interval);
        auto w = window();
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        playToTheEnd(w.get(), m_tracks[1], ms);
        if (command == "prev") {
            w->prev();
            QCOMPARE(opened.size(), 2);
            QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
            QTEST(playing(w.get()), "expected");
        } else {
            command == "forward" ? w->fastForward() : w->rewind();
            QTEST(QString::number(w->controller()->pendingSeek()), "expected");
        }
    }

    void closeKeepsOnlyAPlayingTrack()
    {
        for (bool pause : {false, true}) {
            auto w = window();
            playToTheEnd(w.get(), m_tracks[2], 90 * 1000 + 500);
            if (pause)
                w->playPause();
            QVERIFY(w->close());
            // Whole seconds; a paused track is not come back to.
            QCOMPARE(options().read(Settings::Options::File), pause ? QString() : m_tracks[2]);
            QCOMPARE(options().read(Settings::Options::Position), pause ? 0 : 90);
            QCOMPARE(readSetting("PlayList", "2"), m_tracks[2]); // the play list is stored too
        }
    }

    void cancelKeyStopsInsteadOfClosing()
    {
        options().write(Settings::Options::Cancel, true);
        useLongTrack();
        auto w = window();
        w->setFile(m_tracks[0]);
        key(w.get(), Qt::Key_Escape);
        // Stop comes as an animated click; the close request is dropped.
        QTRY_COMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QTest::qWait(50);
        QCOMPARE(options().read(Settings::Options::File), QString());
        // Any other close request while playing is deferred once, then carried out.
        w->setFile(m_tracks[0]);
        QVERIFY(!w->close());
        QTRY_COMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(options().read(Settings::Options::File), m_tracks[0]);
    }

    // A damaged file is dropped from the list; a missing one (its card is out) stays, shown
    // unavailable, and is passed over, so nothing the user built is lost.
    void missingEntriesStayDamagedOnesGo()
    {
        auto w = window();
        QFile::remove(m_tracks[0]);
        TestTrack::damaged.insert(m_tracks[1]);
        useLongTrack();
        w->playPause();
        QCOMPARE(state(w.get()), QStringLiteral("c playing"));
        QCOMPARE(entries(w.get()), QStringList({"a?", "c"}));
        QFile::remove(m_tracks[2]);
        w->next(); // nothing left that can play: the list ends, every entry stays
        QCOMPARE(state(w.get()), QStringLiteral("- stopped"));
        QCOMPARE(entries(w.get()).size(), 2);
        m_tree->make("a.mp3"); // back again: it plays
        w->playStop();
        QCOMPARE(state(w.get()), QStringLiteral("a playing"));
        QCOMPARE(entries(w.get()).first(), QStringLiteral("a"));
    }

    void endOfListStopsAndPlayStartsItAgain()
    {
        useTrackOfMs(100);
        auto w = window();
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        w->playList()->selectFile(m_tracks[1]);
        w->setFile(m_tracks[1]);
        // b, then c, then the end of the list without looping.
        QTRY_COMPARE(state(w.get()), QStringLiteral("- stopped"));
        QCOMPARE(opened.size(), 2);
        // A track that failed to open leaves nothing to pause: Play/Pause starts the list.
        useLongTrack();
        w->setFile(m_tree->path("gone.mp3"));
        w->playPause();
        QCOMPARE(state(w.get()), QStringLiteral("a playing"));
        QCOMPARE(opened.size(), 3);
    }

    void zoomKeepsToTheSizeTableAndThePlayList()
    {
        options().write(Settings::Options::Zoom(0), 11);
        auto w = window();
        w->restoreView();
        QCOMPARE(w->listPointSize(), 10);
        w->zoomin();
        QCOMPARE(w->listPointSize(), 12);
        QCOMPARE(w->playList()->listView()->font().pointSize(), 12);
        QCOMPARE(entries(w.get()), QStringList({"a", "b", "c"})); // the lists are built again, not lost
        for (auto [stored, size] : {std::pair{99, 36}, {3, 8}}) {
            options().write(Settings::Options::Zoom(0), stored);
            w->restoreView();
            QCOMPARE(w->listPointSize(), size);
            size == 36 ? w->zoomin() : w->zoomout();
            QCOMPARE(w->listPointSize(), size); // the ends of the table hold
        }
    }

    void firstShowRestoresListsAndTrack()
    {
        options().write(Settings::Options::File, m_tracks[1]);
        options().write(Settings::Options::Position, 7);
        writeSetting("PlayList", "0", m_tracks[2]);
        writeSetting("PlayList", "1", m_tracks[0]);
        useLongTrack(2000);
        VRXPlayerWindow w;
        QSignalSpy opened(w.controller(), &LoopControl::setTrackDescription);
        w.show();
        QTRY_COMPARE(state(&w), QStringLiteral("b playing"));
        QCOMPARE(int(w.library()->catalogue().size()), 3);
        QCOMPARE(entries(&w), QStringList({"c", "a", "b"})); // the stored list, then the track
        QTRY_VERIFY(w.controller()->positionMs() >= 7000);
        // Shown again (un-minimised): nothing is searched or reopened.
        w.hide();
        w.show();
        QTest::qWait(50);
        QCOMPARE(opened.size(), 1);
    }

    void documentPlaysWithoutARebuild()
    {
        useLongTrack(2000);
        writeSetting("PlayList", "0", m_tracks[1]);
        VRXPlayerWindow w;
        w.setDocument(m_tracks[0]);
        w.show();
        QTRY_COMPARE(state(&w), QStringLiteral("a playing"));
        // The user's play list is there (the document joins it), so a close keeps it.
        QCOMPARE(entries(&w), QStringList({"b", "a"}));
        // A document handed over later plays, still without a search.
        w.setDocument(m_tracks[2]);
        QCoreApplication::postEvent(&w, new QEvent(QEvent::Show));
        QTRY_COMPARE(state(&w), QStringLiteral("c playing"));
        QVERIFY(w.library()->catalogue().empty());
    }

    // What the Player page shows from the moment a track opens, and what a tap does.
    void playerPageAtOnce()
    {
        useLongTrack(2000); // about six times real time
        auto w = window();
        w->resize(480, 640);
        w->show();
        w->tabs()->showPage(w->player());
        QSignalSpy reported(w->controller(), &LoopControl::positionChanged);
        w->setFile(m_tracks[0]);
        // The stream line comes with the first block, not with the first whole second.
        QTRY_VERIFY(!reported.isEmpty());
        QCOMPARE(reported.constFirst().at(0).toInt(), 0);
        QVERIFY(w->player()->infoDisplay()->infoText().contains("kbps"));
        // A tap on the groove at three quarters seeks there, however far the handle is.
        QSlider* slider = w->player()->slider();
        QCOMPARE(slider->maximum(), 600);
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 3 / 4, slider->height() / 2));
        QVERIFY2(qAbs(w->controller()->pendingSeek() - 450) <= 30, qPrintable(QString::number(w->controller()->pendingSeek())));
    }

    // Closing the media folders unchanged leaves playback alone; a change searches again.
    void mediaFoldersRebuildOnlyWhenChanged()
    {
        useLongTrack();
        auto w = window();
        w->setFile(m_tracks[0]);
        *m_dialogs << [](VRXDialog* d) { d->reject(); };
        w->mediaFolders();
        QCOMPARE(state(w.get()), QStringLiteral("a playing"));
        *m_dialogs << [](VRXDialog* d) {
            d->findChild<QCheckBox*>("processDoc")->click();
            d->reject();
        };
        w->mediaFolders();
        QCOMPARE(state(w.get()), QStringLiteral("- stopped"));
        QVERIFY(m_dialogs->finished());
    }

    void keysInTheListReachTheBindings()
    {
        useLongTrack(20000); // slower than real time: Prev stays under 5 s
        auto w = window();
        ListView* lv = w->playList()->listView();
        w->setFile(m_tracks[0]);
        lv->setCurrentItem(lv->itemAtRow(0));
        QSignalSpy up(w->player(), &Player::volumeUp);
        QSignalSpy down(w->player(), &Player::volumeDown);
        // Right (bound to Next) plays the next track; the list cursor does not move.
        key(lv, Qt::Key_Right);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("b"));
        // Up and Down change the volume instead of moving the cursor.
        const VRXListViewItem* cur = lv->currentItem();
        key(lv, Qt::Key_Down);
        key(lv, Qt::Key_Up);
        QCOMPARE(down.size() + 10 * up.size(), 11);
        QCOMPARE(lv->currentItem(), cur);
        // Shift+Right is another code: not Next. Shift+Control+Right counts as plain Right.
        key(lv, Qt::Key_Right, Qt::ShiftModifier);
        QTest::qWait(300);
        QCOMPARE(playing(w.get()), QStringLiteral("b"));
        key(lv, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("c"));
        // A key bound with one modifier works in the list too.
        options().write(Settings::Options::KeyPrev, 0x201012);
        w->applySettings();
        key(lv, Qt::Key_Left, Qt::ShiftModifier);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("b"));
    }

    void bookmarkMenuAndJumps()
    {
        useLongTrack(20000); // slower than real time: the position stays near the seek
        auto w = window();
        QMenu menu;
        w->fillBookmarkMenu(&menu);
        QVERIFY(!menu.actions().at(0)->isEnabled()); // stopped: nothing to add to
        for (int i = 0; i < 10; ++i)
            w->bookmarks()->append(QStringLiteral("b%1").arg(i), m_tracks[2], 7 + 10 * i);
        w->setFile(m_tracks[0]);
        w->pause();
        w->fillBookmarkMenu(&menu);
        QVERIFY(menu.actions().at(0)->isEnabled()); // paused
        w->playPause();
        // Menu id 2 + n: that bookmark's file opens at its second, whatever played before.
        w->bookmarkActivated(2 + 3);
        QCOMPARE(state(w.get()), QStringLiteral("c playing"));
        QTRY_VERIFY(w->controller()->positionMs() >= 37000);
        QVERIFY(w->controller()->positionMs() < 47000);
        // A bookmark whose file is gone: playback stops and the bookmark stays.
        w->bookmarks()->append(QStringLiteral("gone"), m_tree->path("gone.mp3"), 1);
        w->bookmarkActivated(2 + 10);
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        // The organiser (id 1): Go on the second entry.
        *m_dialogs << [](VRXDialog* d) {
            auto* list = d->findChild<VRXListView*>(QStringLiteral("list"));
            list->setCurrentItem(list->itemAtRow(1));
            qobject_cast<BookmarkDialog*>(d)->doGo();
        };
        w->bookmarkActivated(1);
        QTRY_VERIFY(w->controller()->positionMs() >= 17000);
        QVERIFY(w->controller()->positionMs() < 27000);
        QCOMPARE(Bookamrks().count(), 11);
    }

    void addBookmarkPausesWhileTheNameIsAsked()
    {
        auto w = window();
        w->addBookmark(); // stopped: no dialog
        // A track that has played 83.9 s and not yet reported its end: stored as 83 s.
        playToTheEnd(w.get(), m_tracks[1], 83900);
        int stateDuringDialog = -1;
        *m_dialogs << [&](VRXDialog* d) {
            stateDuringDialog = w->playState();
            DialogScript::answer(d, "name Here");
        };
        w->addBookmark();
        QCOMPARE(stateDuringDialog, int(VRXPlayerWindow::Paused));
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(w->bookmarks()->count(), 1);
        QCOMPARE(w->bookmarks()->at(0)->position, 83);
        QCOMPARE(w->bookmarks()->at(0)->file, m_tracks[1]);
        // Paused stays paused; an empty name adds nothing.
        w->pause();
        *m_dialogs << QStringList{"name "};
        w->addBookmark();
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Paused));
        QCOMPARE(Bookamrks().count(), 1);
    }

    void optionsAppliedOnOkOnly()
    {
        auto w = window();
        for (bool ok : {false, true}) {
            *m_dialogs << [ok](VRXDialog* d) {
                d->findChild<QSpinBox*>(QStringLiteral("interval"))->setValue(30);
                ok ? d->accept() : d->reject();
            };
            w->options();
            QCOMPARE(w->seekInterval(), ok ? 30 : 5);
            QCOMPARE(options().read(Settings::Options::Interval), ok ? 30 : 5);
        }
    }

    // Delivered one after another without waiting: none is lost, the count starts again
    // after two.
    void everySecondSignalCountsTwo()
    {
        for (const QList<int>& calls : {QList<int>{1}, {1, 2}, {1, 2, 1, 2, 1}}) {
            QList<int> seen;
            SignalWatcher watcher([&](int count) { seen << count; });
            for (int i = 0; i < calls.size(); ++i)
                ::raise(SIGCONT);
            QTRY_COMPARE(seen, calls);
        }
    }

    void powerOnReopensThePlayingTrack()
    {
        useLongTrack();
        auto w = window();
        SignalWatcher watcher([&](int count) { w->resumeAfterPowerOn(count); });
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        w->setFile(m_tracks[1]);
        QTRY_VERIFY(w->controller()->positionMs() > 3000);
        ::raise(SIGCONT);
        QTest::qWait(30);
        QCOMPARE(opened.size(), 1); // the first of the pair is only counted
        const int64_t before = w->controller()->positionMs();
        ::raise(SIGCONT);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(state(w.get()), QStringLiteral("b playing"));
        QTRY_VERIFY(w->controller()->positionMs() >= before / 1000 * 1000); // from the remembered second
        // With a delay the GUI goes on at once; a stop while the wait runs cancels the reopening.
        options().write(Settings::Options::PowerOnDelay, 1);
        w->resumeAfterPowerOn(2);
        QVERIFY(w->resumePending() && w->playState() == VRXPlayerWindow::Stopped);
        w->stop();
        QVERIFY(!w->resumePending());
    }
};

QUAVRIX_TEST_MAIN(TestPlayerWindow)
#include "tst_playerwindow.moc"
