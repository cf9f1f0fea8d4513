#include "testmain.h"

#include "../qt/screenshot.h"
#include "coverview.h"
#include "fixedfft.h"
#include "playinfo.h"
#include "trackinfo.h"
#include "visualization.h"

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

class FakeSource : public AnalyzerSource
{
public:
    bool playing = false;
    int64_t position = 1000;
    std::vector<int16_t> block = std::vector<int16_t>(512, 0);
    int copies = 0;
    bool watched = false;
    bool isPlaying() const override { return playing; }
    void setWatched(bool w) override { watched = w; }
    int64_t positionMs() const override { return position; }
    void copySamples(int16_t* out) override
    {
        ++copies;
        std::copy(block.begin(), block.end(), out);
    }
};

std::vector<int16_t> tone(double bin, double amplitude, double phase = 0)
{
    std::vector<int16_t> s(512);
    for (int n = 0; n < 512; ++n)
        s[n] = int16_t(std::lround(amplitude * std::sin(2 * M_PI * bin * n / 512 + phase)));
    return s;
}

// Worst absolute difference between the fixed-point bins and a double-precision DFT.
double worstError(const std::vector<int16_t>& s)
{
    int32_t re[257], im[257];
    FixedFFT::transform(s.data(), re, im);
    double worst = 0;
    for (int k = 0; k <= 256; ++k) {
        std::complex<double> x = 0;
        for (int n = 0; n < 512; ++n)
            x += double(s[n]) * std::polar(1.0, -2 * M_PI * k * n / 512.0);
        worst = std::max({worst, std::abs(x.real() - re[k]), std::abs(x.imag() - im[k])});
    }
    return worst;
}

// Shows an analyzer of `bands` bars, 4 wide and 2 apart, 100 pixels high, in its window.
bool showAnalyzer(Visualization& v, int bands)
{
    v.setAnalyzerOptions(true, bands, 4, 2, 200);
    v.resize(60 + bands * 6, 122);
    v.window()->show();
    return QTest::qWaitForWindowExposed(v.window());
}

void playTicks(FakeSource& src, Visualization& v, int ticks)
{
    src.playing = true;
    for (int t = 0; t < ticks; ++t)
        v.advance();
    src.playing = false;
}

} // namespace

// What the Player page shows of a track: the information line (rate, channels, bit rate and
// time), the cover view's answer for the track now playing, and the analyzer (transform
// accuracy against a plain DFT, bands, delay and fall).
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

    void transformAccuracy()
    {
        // Tones across the range at three loudnesses, noise, a square wave, and constant
        // -32768 (X[0] = -2^24 needs the wide split).
        std::vector<std::vector<int16_t>> blocks;
        for (double bin : {1.0, 7.0, 40.0, 40.5, 128.0, 200.3, 255.0})
            for (double amp : {32767.0, 1000.0, 3.0})
                blocks.push_back(tone(bin, amp, bin / 7));
        std::mt19937 rng(7);
        blocks.emplace_back(512);
        for (auto& v : blocks.back())
            v = int16_t(std::uniform_int_distribution<int>(-32768, 32767)(rng));
        blocks.emplace_back(512);
        for (int n = 0; n < 512; ++n)
            blocks.back()[size_t(n)] = (n / 4) % 2 ? 32767 : -32768;
        blocks.emplace_back(512, int16_t(-32768));
        // 14-bit twiddles over eight stages: well under 0.1 % of the full scale; small
        // signals exact to a few units.
        for (const auto& b : blocks)
            QVERIFY2(worstError(b) < 512.0 * 32768 * 1e-3, qPrintable(QString::number(worstError(b))));
        QVERIFY(worstError(tone(40, 3)) < 8);
    }

    // A sine on an exact bin has all its energy in that bin: only the band holding it
    // lights, never the band on either side, also at the band edges.
    void pureToneLightsItsOwnBandOnly_data()
    {
        QTest::addColumn<int>("bin");
        QTest::addColumn<int>("band");
        QTest::newRow("bin 5, one-bin band") << 5 << 5;
        QTest::newRow("bin 9, last one-bin band") << 9 << 9;
        QTest::newRow("bin 30, first bin of band 10") << 30 << 10;
        QTest::newRow("bin 50, last bin of band 10") << 50 << 10;
        QTest::newRow("bin 51, first bin of band 11") << 51 << 11;
        QTest::newRow("bin 254, top band") << 254 << 19;
    }
    void pureToneLightsItsOwnBandOnly()
    {
        QFETCH(int, bin);
        QFETCH(int, band);
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 20));
        src.block = tone(bin, 30000);
        playTicks(src, v, 12);
        QCOMPARE(v.level(band), 0); // shown twelve ticks after it was analysed
        v.advance();
        for (int b = 0; b < 20; ++b)
            QVERIFY2((v.level(b) > 0) == (b == band), qPrintable(QString::number(b)));
        // A sine's |Im X| is 30000 * 256 = 7.68e6, 234 steps of 2^15; a bar area of 100
        // pixels shows that as 100 * ln(1 + 234) / ln 512 = 87 pixels.
        QCOMPARE(v.level(band), 87000);
    }

    // Nobody sees a hidden analyzer, and one with nothing to show need not hurry: neither
    // may keep the device awake at the tick rate.
    void wakesOnlyWhenSomethingCanBeSeen()
    {
        FakeSource src;
        QWidget page;
        Visualization v(&page, &src);
        QVERIFY(showAnalyzer(v, 20));
        v.startAnalyzer();
        QCOMPARE(v.tickInterval(), 10);
        QVERIFY(src.watched); // the player then hands the device every block as it goes
        page.hide(); // another page, or the window closed to the tray
        QCOMPARE(v.tickInterval(), 0);
        QVERIFY(!src.watched); // ... and otherwise gathers output into fewer writes
        page.showMinimized();
        QCOMPARE(v.tickInterval(), 0);
        QVERIFY(!src.watched);
        page.showNormal();
        QCOMPARE(v.tickInterval(), 10);
        src.block = tone(30, 30000);
        playTicks(src, v, 20);
        // Stopped: the bars fall and the delayed rows play out before it slows down.
        for (int t = 0; t < 12 + 100 && v.tickInterval() == 10; ++t)
            v.advance();
        QCOMPARE(v.tickInterval(), 250);
        for (int b = 0; b < v.bands(); ++b)
            QCOMPARE(v.level(b) + v.peak(b), 0);
        const int copies = src.copies;
        v.advance();
        QCOMPARE(src.copies, copies); // idle: no copies, no transform
        src.playing = true;
        v.advance();
        QCOMPARE(v.tickInterval(), 10);
        QCOMPARE(src.copies, copies + 1);
    }
};

QUAVRIX_TEST_MAIN(TestTrackDisplay)
#include "tst_trackdisplay.moc"
