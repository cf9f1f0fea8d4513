// The main window as the command centre: what the buttons do to playback and the play
// list, what survives a close, and what a show restores.
#include "testmain.h"
#include "testdecoders.h"
#include "../qt/screenshot.h"

#include "config.h"
#include "listview.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "player.h"
#include "playlist.h"
#include "qcop.h"
#include "screen.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "visualization.h"
#include "vrtabwidget.h"
#include "vrxplayerwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>

#include <chrono>
#include <memory>
#include <thread>

namespace {
// 8000 Hz mono: 16 bytes a millisecond, so a track of n milliseconds ends exactly there.
constexpr int kBytesPerMs = 16;

void useTrackOfMs(int ms)
{
    TestTrack::rate = 8000;
    TestTrack::channels = 1;
    TestTrack::totalBytes = int64_t(ms) * kBytesPerMs;
}

// Lets the worker play the whole (unpaced) track without running the event loop, so its
// end is not yet reported: the window still sees the track playing, at its last position.
void waitForTrackEnd(LoopControl* c, int ms)
{
    for (int i = 0; i < 2000 && c->positionMs() < ms; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    QCOMPARE(c->positionMs(), int64_t(ms));
}

void writeOption(const IntKey& key, int value)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.write(key, value);
}
} // namespace

class TestPlayerWindow : public QObject
{
    Q_OBJECT
    QString m_music;
    QStringList m_tracks;

    // Files the pattern decoder plays, in the documents folder the library search reads.
    QString track(const QString& name, const char* title)
    {
        const QString p = m_music + QLatin1Char('/') + name;
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        TestTrack::tags.insert(p, makeTags(title, "Artist"));
        return p;
    }

    std::unique_ptr<VRXPlayerWindow> windowWithList(const QStringList& files)
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        for (const QString& f : files)
            w->playList()->selectFile(f);
        return w;
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        qRegisterMetaType<AudioInfo*>();
        useDisplay(QSize(480, 640));
        m_music = quavrixTestRoot() + QStringLiteral("/music");
        qputenv("QUAVRIX_DOCUMENTS", m_music.toUtf8());
    }

    void init()
    {
        TestTrack::reset();
        QDir(m_music).removeRecursively();
        QDir().mkpath(m_music);
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        m_tracks = {track("a.mp3", "A"), track("b.mp3", "B"), track("c.mp3", "C")};
    }

    void prevRestartsTheTrackFromFiveSecondsOn_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<QString>("expected");
        QTest::newRow("4.999 s: the previous entry") << 4999 << "a.mp3";
        QTest::newRow("5 s: the same track again") << 5000 << "b.mp3";
        QTest::newRow("at once: the previous entry") << 0 << "a.mp3";
    }
    void prevRestartsTheTrackFromFiveSecondsOn()
    {
        QFETCH(int, ms);
        QFETCH(QString, expected);
        auto w = windowWithList(m_tracks);
        useTrackOfMs(ms);
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        w->setFile(m_tracks[1]);
        waitForTrackEnd(w->controller(), ms);
        w->prev();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(QFileInfo(w->currentFile()).fileName(), expected);
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
    }

    void seekStepsStopAtTheStart_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("forward");
        QTest::addColumn<int>("back");
        QTest::newRow("3 s, default interval") << 5 << 3000 << 8 << 0;
        QTest::newRow("3.999 s counts as 3") << 5 << 3999 << 8 << 0;
        QTest::newRow("at the start") << 5 << 0 << 5 << 0;
        QTest::newRow("near the end of a 20 s track") << 5 << 19500 << 24 << 14;
        QTest::newRow("interval 30") << 30 << 45000 << 75 << 15;
    }
    void seekStepsStopAtTheStart()
    {
        QFETCH(int, interval);
        QFETCH(int, ms);
        QFETCH(int, forward);
        QFETCH(int, back);
        writeOption(Settings::Options::Interval, interval);
        auto w = windowWithList(m_tracks);
        w->applySettings();
        useTrackOfMs(ms);
        w->setFile(m_tracks[0]);
        waitForTrackEnd(w->controller(), ms);
        w->fastForward();
        QCOMPARE(w->controller()->pendingSeek(), forward);
        w->rewind();
        QCOMPARE(w->controller()->pendingSeek(), back);
    }

    void closeKeepsOnlyAPlayingTrack()
    {
        useTrackOfMs(90 * 1000 + 500);
        {
            auto w = windowWithList(m_tracks);
            w->setFile(m_tracks[2]);
            waitForTrackEnd(w->controller(), 90500);
            QVERIFY(w->close());
        }
        {
            Config cfg(QStringLiteral("Quavrix"));
            QCOMPARE(cfg.read(Settings::Options::File), m_tracks[2]);
            QCOMPARE(cfg.read(Settings::Options::Position), 90);
            // The play list is stored with the state.
            cfg.setGroup(QStringLiteral("PlayList"));
            QCOMPARE(cfg.readEntry(QStringLiteral("2")), m_tracks[2]);
        }
        {
            auto w = windowWithList(m_tracks);
            w->setFile(m_tracks[2]);
            waitForTrackEnd(w->controller(), 90500);
            w->playPause();
            QCOMPARE(w->playState(), int(VRXPlayerWindow::Paused));
            QVERIFY(w->close());
        }
        Config cfg(QStringLiteral("Quavrix"));
        QCOMPARE(cfg.read(Settings::Options::File), QString());
        QCOMPARE(cfg.read(Settings::Options::Position), 0);
    }

    void cancelKeyStopsInsteadOfClosing()
    {
        Config(QStringLiteral("Quavrix")).write(Settings::Options::Cancel, true);
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;
        auto w = windowWithList(m_tracks);
        w->applySettings();
        w->setFile(m_tracks[0]);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(w.get(), &esc);
        // Stop comes as an animated click; the close request is dropped.
        QTRY_COMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QTest::qWait(50);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::File), QString());
        // Any other close request while playing is deferred once, then carried out.
        w->setFile(m_tracks[0]);
        QVERIFY(!w->close());
        QTRY_COMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::File), m_tracks[0]);
    }

    // A damaged file is dropped from the list; a missing one (its card is out) stays, shown
    // unavailable, and is passed over, so nothing the user built is lost.
    void missingEntriesStayDamagedOnesGo()
    {
        auto w = windowWithList(m_tracks);
        QFile::remove(m_tracks[0]);
        TestTrack::damaged.insert(m_tracks[1]);
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;
        w->playPause();
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(w->currentFile(), m_tracks[2]);
        QCOMPARE(w->playList()->entryAt(0)->record()->fileName, m_tracks[0].toUtf8());
        QVERIFY(w->playList()->entryAt(0)->isMissing());
        QCOMPARE(w->playList()->entryAt(1)->record()->fileName, m_tracks[2].toUtf8());
        QVERIFY(!w->playList()->entryAt(2));

        QFile::remove(m_tracks[2]);
        w->next(); // nothing left that can play: the list ends, every entry stays
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        w->playStop();
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QVERIFY(w->playList()->entryAt(1));
        // Back again: it plays.
        track("a.mp3", "A");
        w->playStop();
        QCOMPARE(w->currentFile(), m_tracks[0]);
        QVERIFY(!w->playList()->entryAt(0)->isMissing());
    }

    void failedOpenLeavesNothingToPause()
    {
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;
        auto w = windowWithList(m_tracks);
        w->setFile(m_tracks[0]);
        w->setFile(m_music + QStringLiteral("/gone.mp3"));
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        // Play/Pause starts the list again instead of pausing a controller without a track.
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        w->playPause();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
    }

    void endOfListStops()
    {
        useTrackOfMs(100);
        auto w = windowWithList(m_tracks);
        QSignalSpy opened(w->controller(), &LoopControl::setTrackDescription);
        w->playList()->selectFile(m_tracks[1]);
        w->setFile(m_tracks[1]);
        // b, then c, then the end of the list without looping.
        QTRY_COMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(w->currentFile(), m_tracks[2]);
    }

    void tabsFollowTheDisplay()
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        w->applySettings();
        QCOMPARE(w->tabs()->tabPositionNumber(), 0);
        useDisplay(QSize(640, 480));
        w->rotate();
        QCOMPARE(w->tabs()->tabPositionNumber(), 2);
        writeOption(Settings::Options::TabPosition, 1);
        w->applySettings();
        w->rotate();
        QCOMPARE(w->tabs()->tabPositionNumber(), 1);
        useDisplay(QSize(480, 640));
        w->rotate();
        QCOMPARE(w->tabs()->tabPositionNumber(), 1);
    }

    void zoomKeepsToTheSizeTable()
    {
        writeOption(Settings::Options::Zoom(0), 11);
        auto w = std::make_unique<VRXPlayerWindow>();
        w->restoreView();
        QCOMPARE(w->listPointSize(), 10);
        QCOMPARE(w->playList()->listView()->font().pointSize(), 10);
        w->zoomin();
        QCOMPARE(w->listPointSize(), 12);
        writeOption(Settings::Options::Zoom(0), 99);
        w->restoreView();
        QCOMPARE(w->listPointSize(), 36);
        w->zoomin();
        QCOMPARE(w->listPointSize(), 36);
        QVERIFY(!w->action(QStringLiteral("zoomin"))->isEnabled());
        writeOption(Settings::Options::Zoom(0), 3);
        w->restoreView();
        QCOMPARE(w->listPointSize(), 8);
        w->zoomout();
        QCOMPARE(w->listPointSize(), 8);
        QVERIFY(!w->action(QStringLiteral("zoomout"))->isEnabled());
        QVERIFY(w->action(QStringLiteral("zoomin"))->isEnabled());
    }

    void firstShowRestoresListsAndTrack()
    {
        {
            Config cfg(QStringLiteral("Quavrix"));
            cfg.write(Settings::Options::File, m_tracks[1]);
            cfg.write(Settings::Options::Position, 7);
            cfg.write(Settings::Options::Page, QStringLiteral("PlayList"));
            cfg.setGroup(QStringLiteral("PlayList"));
            cfg.writeEntry(QStringLiteral("0"), m_tracks[2]);
            cfg.writeEntry(QStringLiteral("1"), m_tracks[0]);
        }
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 2000;
        VRXPlayerWindow w;
        w.show();
        QTRY_COMPARE(w.playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(w.currentFile(), m_tracks[1]);
        QCOMPARE(int(w.library()->catalogue().size()), 3);
        // The stored list, then the restored track added to it.
        QCOMPARE(QString::fromUtf8(w.playList()->entryAt(0)->record()->fileName), m_tracks[2]);
        QCOMPARE(QString::fromUtf8(w.playList()->entryAt(1)->record()->fileName), m_tracks[0]);
        QTRY_VERIFY(w.controller()->positionMs() >= 7000);
        QCOMPARE(w.tabs()->currentPage(), static_cast<QWidget*>(w.player()));

        // Shown again (un-minimised): nothing is searched or reopened.
        QSignalSpy opened(w.controller(), &LoopControl::setTrackDescription);
        w.hide();
        w.show();
        QTest::qWait(50);
        QCOMPARE(opened.size(), 0);
    }

    void documentPlaysWithoutARebuild()
    {
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 2000;
        {
            Config cfg(QStringLiteral("Quavrix"));
            cfg.setGroup(QStringLiteral("PlayList"));
            cfg.writeEntry(QStringLiteral("0"), m_tracks[1]);
            cfg.writeEntry(QStringLiteral("1"), m_tracks[2]);
        }
        VRXPlayerWindow w;
        QSignalSpy opened(w.controller(), &LoopControl::setTrackDescription);
        w.setDocument(m_tracks[0]);
        w.show();
        QTRY_COMPARE(opened.size(), 1);
        QCOMPARE(w.currentFile(), m_tracks[0]);
        QVERIFY(w.library()->catalogue().empty());
        // The user's play list is there (the document joins it), so a close keeps it.
        QCOMPARE(QString::fromUtf8(w.playList()->entryAt(0)->record()->fileName), m_tracks[1]);
        QCOMPARE(QString::fromUtf8(w.playList()->entryAt(1)->record()->fileName), m_tracks[2]);
        QCOMPARE(QString::fromUtf8(w.playList()->entryAt(2)->record()->fileName), m_tracks[0]);
        w.hide();
        w.show();
        QTest::qWait(50);
        QCOMPARE(opened.size(), 1); // not restarted
        // A document handed over later plays, still without a search.
        w.setDocument(m_tracks[2]);
        QCoreApplication::postEvent(&w, new QEvent(QEvent::Show));
        QTRY_COMPARE(w.currentFile(), m_tracks[2]);
        QVERIFY(w.library()->catalogue().empty());
    }

    void rebuildKeepsThePlayList()
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        w->library()->rebuild();
        w->playList()->restoreList();
        w->library()->addWholeCatalogue();
        QVERIFY(w->playList()->entryAt(2));
        // Nobody stores the list before this rebuild: it must survive on its own.
        w->library()->rebuild();
        w->playList()->restoreList();
        QVERIFY(w->playList()->entryAt(2));
        QVERIFY(!w->playList()->entryAt(3));
    }

    void displayMessagesFollowPlayback()
    {
        writeOption(Settings::Options::Backlight, 1);
        QStringList sent;
        QCopChannel channel(QStringLiteral("QPE/System"));
        connect(&channel, &QCopChannel::received, this, [&](const QByteArray& msg, const QByteArray& data) {
            QDataStream in(data);
            int arg = 0;
            in >> arg;
            sent << QString::fromLatin1(msg) + QLatin1Char(' ') + QString::number(arg);
        });
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;
        auto w = windowWithList(m_tracks);
        w->applySettings();
        w->setFile(m_tracks[0]);
        QTRY_COMPARE(sent, (QStringList{"setScreenSaverMode(int) 2", "setBacklight(int) 0"}));
        w->playPause();
        QTRY_COMPARE(sent.size(), 4);
        QCOMPARE(sent.mid(2), (QStringList{"setScreenSaverMode(int) 100", "setBacklight(int) -3"}));
        w->stop(); // already halted: nothing more
        QTest::qWait(30);
        QCOMPARE(sent.size(), 4);
    }

    void powerOnWaitsWithoutBlocking()
    {
        writeOption(Settings::Options::PowerOnDelay, 1);
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 2000;
        auto w = windowWithList(m_tracks);
        w->setFile(m_tracks[1]);
        QTRY_VERIFY(w->controller()->positionMs() >= 2000);
        w->resumeAfterPowerOn(1);
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
        w->resumeAfterPowerOn(2);
        // The GUI thread goes on at once; the track comes back after the delay.
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
        QVERIFY(w->resumePending());
        QTRY_COMPARE_WITH_TIMEOUT(w->playState(), int(VRXPlayerWindow::Playing), 3000);
        QCOMPARE(w->currentFile(), m_tracks[1]);
        QVERIFY(w->controller()->pendingSeek() >= 2 || w->controller()->positionMs() >= 2000);
        // A stop while the wait runs cancels the reopening.
        w->resumeAfterPowerOn(2);
        w->stop();
        QTest::qWait(1200);
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Stopped));
    }

    void analyzerFollowsItsSettings()
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        w->applySettings(); // 480 wide: hidden by default
        QVERIFY(w->player()->analyzer()->isHidden());
        QVERIFY(!w->player()->analyzer()->isRunning());
        Config(QStringLiteral("Quavrix")).write(Settings::Analyzer::Visible(false), 1);
        w->applySettings();
        QVERIFY(!w->player()->analyzer()->isHidden());
        // It starts once laid out with room for its bars.
        QVERIFY(w->player()->analyzer()->isRunning() || w->player()->analyzer()->isPending());
    }
};

QUAVRIX_TEST_MAIN(TestPlayerWindow)
#include "tst_playerwindow.moc"
