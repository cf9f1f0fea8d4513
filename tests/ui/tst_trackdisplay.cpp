#include "testmain.h"

#include "../qt/screenshot.h"
#include "coverview.h"
#include "playinfo.h"
#include "trackinfo.h"

// The track information line: rate, channels, bit rate and time as the player shows them;
// the cover view's answer for the track now playing.
class TestTrackDisplay : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("QUAVRIX_QPEDIR", QByteArray(QUAVRIX_BUILD_DIR "/share/quavrix"));
        useDisplay(QSize(240, 320));
    }

    void timeAndInfo_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("bitrate");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("info");
        // Channels other than one count as stereo; rates in whole kHz; minutes past the hour.
        QTest::newRow("stereo") << 2 << 44100 << 128000 << 215 << "128 kbps 44 kHz stereo 03:35";
        QTest::newRow("mono") << 1 << 22050 << 0 << 59 << "0 kbps 22 kHz mono 00:59";
        QTest::newRow("no channels") << 0 << 8000 << 999 << 0 << "0 kbps 8 kHz stereo 00:00";
        QTest::newRow("six channels") << 6 << 48000 << 320000 << 3725 << "320 kbps 48 kHz stereo 62:05";
        QTest::newRow("a day") << 2 << 44100 << 128000 << 86461 << "128 kbps 44 kHz stereo 1441:01";
    }
    void timeAndInfo()
    {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, bitrate);
        QFETCH(int, seconds);
        QFETCH(QString, info);
        TrackInfo t;
        PlayInfo p{channels, rate, bitrate, seconds, seconds, 0};
        t.setPosition(seconds, &p);
        QCOMPARE(t.infoText(), info);
        QCOMPARE(t.timeText(), info.section(QLatin1Char(' '), -1));
        t.setPosition(10, nullptr);
        QCOMPARE(t.infoText() + t.timeText(), QString());
    }

    void narrowInfoPanel()
    {
        TrackInfo info;
        PlayInfo p{2, 44100, 128000, 215, 215, 0};
        info.setPosition(65, &p);
        info.show();
        // Too narrow for the line and the length: the length joins the elapsed time, and
        // whole fields go from the right, the bit rate always kept.
        for (int width : {240, 120}) {
            info.resize(width, info.height());
            QCOMPARE(info.shownTime(), QStringLiteral("01:05/03:35"));
            const QString shown = info.shownInfo();
            QVERIFY2(shown == "128 kbps 44 kHz stereo" || shown == "128 kbps 44 kHz" || shown == "128 kbps", qPrintable(shown));
            QVERIFY(info.fontMetrics().horizontalAdvance(shown) <= info.infoPanel().width() || shown == "128 kbps");
        }
        QCOMPARE(info.shownInfo(), QStringLiteral("128 kbps"));
        info.resize(1000, info.height());
        QCOMPARE(info.shownTime(), QStringLiteral("01:05"));
        QCOMPARE(info.shownInfo(), QStringLiteral("128 kbps 44 kHz stereo 03:35"));
    }

    void coverOfAnEarlierTrackIsDropped()
    {
        CoverView view;
        QSignalSpy taken(&view, &CoverView::pictureChanged);
        view.setTrack(QStringLiteral(QUAVRIX_TEST_DATA "/covers/apic.mp3"));
        // No events meanwhile: the picture found for it waits in the queue, as if late.
        QThread::msleep(500);
        view.setTrack(QStringLiteral(QUAVRIX_TEST_DATA "/covers/lying.mp3"));
        QTRY_VERIFY(!view.isLooking());
        QTest::qWait(50);
        QVERIFY(!view.hasPicture());
        QCOMPARE(taken.count(), 1);
        view.setTrack(QStringLiteral(QUAVRIX_TEST_DATA "/covers/apic.mp3"));
        QTRY_VERIFY(view.hasPicture());
        QCOMPARE(view.picture().size(), QSize(120, 90));
    }

    void coverDecodingIsBounded()
    {
        QFile f(QStringLiteral(QUAVRIX_TEST_DATA "/covers/front.jpg"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray jpeg = f.readAll();
        // Shrunk to the bound, the 4:3 shape kept; a header claiming 60000x60000 is refused.
        QCOMPARE(CoverView::decode(jpeg, QSize(60, 60)).size(), QSize(60, 45));
        QCOMPARE(CoverView::decode(jpeg, QSize(640, 640)).size(), QSize(120, 90));
        const qsizetype frame = jpeg.indexOf("\xFF\xC0");
        QVERIFY(frame > 0);
        jpeg.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4));
        QVERIFY(CoverView::decode(jpeg, QSize(640, 640)).isNull());
    }
};

QUAVRIX_TEST_MAIN(TestTrackDisplay)
#include "tst_trackdisplay.moc"
