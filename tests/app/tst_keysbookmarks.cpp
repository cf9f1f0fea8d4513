// The window's key bindings, bookmark menu and options command, end to end through the
// pages: keys pressed in a track list, jumps into other tracks, the options dialog applied.
#include "testmain.h"
#include "testdecoders.h"
#include "../qt/screenshot.h"

#include "bookamrks.h"
#include "bookmarkdialog.h"
#include "config.h"
#include "listview.h"
#include "loopcontrol.h"
#include "optionsdialog.h"
#include "player.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "vrxinputdialog.h"
#include "vrxplayerwindow.h"

#include <QMenu>
#include <QSpinBox>

#include <chrono>
#include <deque>
#include <functional>
#include <thread>

class TestKeysBookmarks : public QObject
{
    Q_OBJECT
    QString m_music;
    QStringList m_tracks;
    std::deque<std::function<void(VRXDialog*)>> answers;
    std::unique_ptr<VRXDialogAnswer> hook;

    QString track(const QString& name)
    {
        const QString p = m_music + QLatin1Char('/') + name;
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        TestTrack::tags.insert(p, makeTags(qPrintable(name), "Artist"));
        return p;
    }

    std::unique_ptr<VRXPlayerWindow> window()
    {
        auto w = std::make_unique<VRXPlayerWindow>();
        for (const QString& f : m_tracks)
            w->playList()->selectFile(f);
        w->applySettings();
        return w;
    }

    static void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        // Delivered as the application does: an event the list leaves goes on to its parents.
        QKeyEvent press(QEvent::KeyPress, k, mods);
        QCoreApplication::sendEvent(target, &press);
    }

    static QString playing(VRXPlayerWindow* w) { return QFileInfo(w->currentFile()).fileName(); }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        useDisplay(QSize(480, 640));
        m_music = quavrixTestRoot() + QStringLiteral("/music");
        hook = std::make_unique<VRXDialogAnswer>([this](VRXDialog* d) {
            QVERIFY2(!answers.empty(), qPrintable(QStringLiteral("unexpected dialog ") + d->windowTitle()));
            auto a = std::move(answers.front());
            answers.pop_front();
            a(d);
        });
    }

    void init()
    {
        TestTrack::reset();
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;
        answers.clear();
        QDir(m_music).removeRecursively();
        QDir().mkpath(m_music);
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        QFile::remove(Bookamrks::filePath());
        m_tracks = {track("a.mp3"), track("b.mp3"), track("c.mp3")};
    }

    void cleanup() { QVERIFY2(answers.empty(), "an expected dialog did not appear"); }

    void keysInTheListReachTheBindings()
    {
        TestTrack::blockDelayUs = 20000; // slower than real time: Prev stays under 5 s
        auto w = window();
        ListView* lv = w->playList()->listView();
        w->setFile(m_tracks[0]);
        lv->setCurrentItem(lv->itemAtRow(0));
        QSignalSpy up(w->player(), &Player::volumeUp);
        QSignalSpy down(w->player(), &Player::volumeDown);

        // Right (bound to Next) plays the next track; the list cursor does not move.
        key(lv, Qt::Key_Right);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("b.mp3"));
        // Up and Down change the volume instead of moving the cursor.
        const VRXListViewItem* cur = lv->currentItem();
        key(lv, Qt::Key_Down);
        key(lv, Qt::Key_Up);
        QCOMPARE(down.size(), 1);
        QCOMPARE(up.size(), 1);
        QCOMPARE(lv->currentItem(), cur);

        // Shift+Right is another code: not Next. Shift+Control+Right is plain Right.
        key(lv, Qt::Key_Right, Qt::ShiftModifier);
        QTest::qWait(300);
        QCOMPARE(playing(w.get()), QStringLiteral("b.mp3"));
        key(lv, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("c.mp3"));

        // A key bound with one modifier works in the list too.
        Config(QStringLiteral("Quavrix")).write(Settings::Options::KeyPrev, 0x201012);
        w->applySettings();
        key(lv, Qt::Key_Left, Qt::ShiftModifier);
        QTRY_COMPARE(playing(w.get()), QStringLiteral("b.mp3"));
    }

    void bookmarkMenuAndJumps()
    {
        TestTrack::blockDelayUs = 20000; // slower than real time: the position stays near the seek
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

        // Jump while another track plays: that stops, the bookmarked file opens at its second.
        w->bookmarkActivated(2 + 3);
        QCOMPARE(playing(w.get()), QStringLiteral("c.mp3"));
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
        QTRY_VERIFY(w->controller()->positionMs() >= 37000);
        QVERIFY(w->controller()->positionMs() < 47000);

        // A bookmark whose file is gone: playback stops and the bookmark stays.
        w->bookmarks()->append(QStringLiteral("gone"), m_music + QStringLiteral("/gone.mp3"), 1);
        w->bookmarkActivated(2 + 10);
        QCOMPARE(w->controller()->positionMs(), 0);
        QCOMPARE(w->bookmarks()->count(), 11);

        // The organiser: Go on the second entry.
        answers.push_back([](VRXDialog* d) {
            auto* dlg = qobject_cast<BookmarkDialog*>(d);
            QVERIFY(dlg);
            dlg->findChild<VRXListView*>(QStringLiteral("list"))->setCurrentItem(
                dlg->findChild<VRXListView*>(QStringLiteral("list"))->itemAtRow(1));
            dlg->doGo();
        });
        w->bookmarkActivated(1);
        QCOMPARE(playing(w.get()), QStringLiteral("c.mp3"));
        QTRY_VERIFY(w->controller()->positionMs() >= 17000);
        QVERIFY(w->controller()->positionMs() < 27000);
        QCOMPARE(Bookamrks().count(), 11);
    }

    void addPausesWhileTheNameIsAsked()
    {
        auto w = window();
        w->addBookmark(); // stopped: no dialog
        QCOMPARE(w->bookmarks()->count(), 0);
        // A track that has played 83.9 s (8000 Hz mono, unpaced) and not yet reported its end.
        TestTrack::rate = 8000;
        TestTrack::channels = 1;
        TestTrack::totalBytes = int64_t(83900) * 16;
        TestTrack::blockDelayUs = 0;
        w->setFile(m_tracks[1]);
        for (int i = 0; i < 2000 && w->controller()->positionMs() < 83900; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        QCOMPARE(w->controller()->positionMs(), int64_t(83900));
        int stateDuringDialog = -1;
        answers.push_back([&](VRXDialog* d) {
            stateDuringDialog = w->playState();
            auto* in = qobject_cast<VRXInputDialog*>(d);
            QCOMPARE(in->windowTitle(), QStringLiteral("Bookmark Name ..."));
            QCOMPARE(in->text(), QStringLiteral("Bookmark"));
            in->setText(QStringLiteral("Here"));
            d->accept();
        });
        w->addBookmark();
        QCOMPARE(stateDuringDialog, int(VRXPlayerWindow::Paused));
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(w->bookmarks()->count(), 1);
        QCOMPARE(w->bookmarks()->at(0)->position, 83);
        QCOMPARE(w->bookmarks()->at(0)->file, m_tracks[1]);
        // Paused stays paused; an empty name adds nothing.
        w->pause();
        answers.push_back([](VRXDialog* d) {
            qobject_cast<VRXInputDialog*>(d)->setText(QString());
            d->accept();
        });
        w->addBookmark();
        QCOMPARE(w->playState(), int(VRXPlayerWindow::Paused));
        QCOMPARE(w->bookmarks()->count(), 1);
    }

    void optionsAppliedOnOkOnly()
    {
        auto w = window();
        QCOMPARE(w->seekInterval(), 5);
        answers.push_back([](VRXDialog* d) {
            d->findChild<QSpinBox*>(QStringLiteral("interval"))->setValue(30);
            d->reject();
        });
        w->options();
        QCOMPARE(w->seekInterval(), 5);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Interval), 5);
        answers.push_back([](VRXDialog* d) {
            d->findChild<QSpinBox*>(QStringLiteral("interval"))->setValue(30);
            d->accept();
        });
        w->options();
        QCOMPARE(w->seekInterval(), 30);
    }
};

QUAVRIX_TEST_MAIN(TestKeysBookmarks)
#include "tst_keysbookmarks.moc"
