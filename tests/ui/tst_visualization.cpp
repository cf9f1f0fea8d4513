#include "testmain.h"

#include "../qt/screenshot.h"
#include "fixedfft.h"
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

// Shows an analyzer of `bands` bars, 4 wide and 2 apart, 100 pixels high.
bool showAnalyzer(Visualization& v, int bands, bool peaks = true)
{
    v.setAnalyzerOptions(peaks, bands, 4, 2, 200);
    v.resize(60 + bands * 6, 122);
    v.show();
    return QTest::qWaitForWindowExposed(&v);
}

void playTicks(FakeSource& src, Visualization& v, int ticks)
{
    src.playing = true;
    for (int t = 0; t < ticks; ++t)
        v.advance();
    src.playing = false;
}

} // namespace

// The analyzer: transform accuracy against a plain DFT, geometry, bands, delay and fall.
class TestVisualization : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qputenv("QUAVRIX_QPEDIR", QByteArray(QUAVRIX_BUILD_DIR "/share/quavrix"));
        useDisplay(QSize(240, 320));
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
        v.setAnalyzerOptions(true, 20, 4, 2, 200);
        v.resize(180, 122);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
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

QUAVRIX_TEST_MAIN(TestVisualization)
#include "tst_visualization.moc"
