// Power-on detection: every second SIGCONT reopens the current track once, at the
// position where it was.
#include "testmain.h"
#include "../library/libraryfixture.h"

#include "loopcontrol.h"
#include "settingskeys.h"
#include "signalwatcher.h"
#include "vrxplayerwindow.h"

#include <csignal>
#include <cstring>

class TestPowerOn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(SignalWatcher::installSignalHandlers(false));
        setDecoderFactory(makePatternDecoder);
    }

    void everySecondSignalCountsTwo_data()
    {
        QTest::addColumn<int>("deliveries");
        QTest::addColumn<QList<int>>("calls");
        QTest::newRow("one") << 1 << QList<int>{1};
        QTest::newRow("two") << 2 << QList<int>{1, 2};
        QTest::newRow("four") << 4 << QList<int>{1, 2, 1, 2};
        QTest::newRow("five") << 5 << QList<int>{1, 2, 1, 2, 1};
    }
    void everySecondSignalCountsTwo()
    {
        QFETCH(int, deliveries);
        QFETCH(QList<int>, calls);
        QList<int> seen;
        SignalWatcher watcher([&](int count) { seen << count; });
        for (int i = 0; i < deliveries; ++i)
            ::raise(SIGCONT);
        QTRY_COMPARE(seen, calls);
    }

    void secondSignalReopensThePlayingTrackAtItsPosition()
    {
        TrackTree tree;
        const QString track = tree.make("power.mp3");
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;

        VRXPlayerWindow window;
        SignalWatcher watcher([&](int count) { window.resumeAfterPowerOn(count); });
        QSignalSpy opened(window.controller(), &LoopControl::setTrackDescription);
        window.setFile(track);
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(opened.size(), 1);
        QTRY_VERIFY(window.controller()->positionMs() > 3000);

        ::raise(SIGCONT);
        QTest::qWait(30);
        QCOMPARE(opened.size(), 1); // the first of the pair is only counted

        const int64_t before = window.controller()->positionMs();
        ::raise(SIGCONT);
        QTRY_COMPARE(opened.size(), 2);
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(window.currentFile(), track);
        // Playback goes on from the remembered second.
        QTRY_VERIFY(window.controller()->positionMs() >= before / 1000 * 1000);
        // With a delay the GUI goes on at once; a stop while the wait runs cancels the reopening.
        Config(QStringLiteral("Quavrix")).write(Settings::Options::PowerOnDelay, 1);
        window.resumeAfterPowerOn(2);
        QVERIFY(window.resumePending() && window.playState() == VRXPlayerWindow::Stopped);
        window.stop();
        QVERIFY(!window.resumePending());
    }
};

QUAVRIX_TEST_MAIN(TestPowerOn)
#include "tst_poweron.moc"
