// Power-on detection: every second SIGCONT reopens the current track once, at the
// position where it was.
#include "testmain.h"
#include "testdecoders.h"

#include "loopcontrol.h"
#include "poweronwatcher.h"
#include "vrxplayerwindow.h"

#include <csignal>

class TestPowerOn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(PowerOnWatcher::installSignalHandler());
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
        PowerOnWatcher watcher([&](int count) { seen << count; });
        for (int i = 0; i < deliveries; ++i)
            ::raise(SIGCONT);
        QTRY_COMPARE(seen, calls);
    }

    void otherSignalsAreIgnored()
    {
        QList<int> seen;
        PowerOnWatcher watcher([&](int count) { seen << count; });
        std::signal(SIGUSR1, SIG_IGN);
        ::raise(SIGUSR1);
        QTest::qWait(20);
        QVERIFY(seen.isEmpty());
    }

    void secondSignalReopensThePlayingTrackAtItsPosition()
    {
        const QString track = quavrixTestRoot() + QStringLiteral("/power.mp3");
        QFile f(track);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 200;

        VRXPlayerWindow window;
        PowerOnWatcher watcher([&](int count) { window.resumeAfterPowerOn(count); });
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
    }
};

QUAVRIX_TEST_MAIN(TestPowerOn)
#include "tst_poweron.moc"
