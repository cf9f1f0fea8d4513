#include "testmain.h"

#include "../qt/screenshot.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "fixedfft.h"
#include "loopcontrol.h"
#include "playinfo.h"
#include "framepainter.h"
#include "visualization.h"

#include <chrono>
#include <cmath>
#include <thread>
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
    bool isPlaying() const override { return playing; }
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

// Interleaved stereo at roughly real time: a sine on bin 16 in the left channel, one on
// bin 80 in the right.
class ToneDecoder : public Decoder
{
public:
    QString mimeType() const override { return QStringLiteral("audio/mpeg"); }
    bool open(const QString&, AudioInfo*) override { return true; }
    void close() override {}
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        auto* out = reinterpret_cast<int16_t*>(buffer); // little-endian host
        for (int i = 0; i < size / 4; ++i, ++m_frame)
            for (int c : {0, 1})
                out[2 * i + c] = int16_t(std::lround(10000 * std::sin(2 * M_PI * (c ? 80 : 16) * m_frame / 512.0)));
        *produced = size / 4 * 4;
        *info = PlayInfo{2, 44100, 128000, 60, 60, int(m_frame / 44100)};
        return m_frame < 60 * 44100;
    }

private:
    int64_t m_frame = 0;
};

Decoder* makeToneDecoder(const QString&)
{
    return new ToneDecoder;
}

QColor canvasPixel(const Visualization& v, int x, int y)
{
    return QColor(v.canvas().toImage().pixel(x, y));
}

// Shows an analyzer of `bands` bars, 4 wide and 2 apart, in a widget just wide enough.
bool showAnalyzer(Visualization& v, int bands, int height = 122, bool peaks = true, int maxHeight = 200)
{
    v.setAnalyzerOptions(peaks, bands, 4, 2, maxHeight);
    v.resize(60 + bands * 6, height);
    v.show();
    return QTest::qWaitForWindowExposed(&v);
}

// Ticks while the source plays its block.
void playTicks(FakeSource& src, Visualization& v, int ticks)
{
    src.playing = true;
    for (int t = 0; t < ticks; ++t)
        v.advance();
    src.playing = false;
}

} // namespace

// The analyzer: transform accuracy, geometry, tables, animation, delay and drawing.
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
        // Tones across the range at three loudnesses, noise, and the extremes: constant
        // -32768 (X[0] = -2^24 needs the wide split), a square wave, silence.
        std::vector<std::vector<int16_t>> blocks;
        for (double bin : {1.0, 7.0, 40.0, 40.5, 128.0, 200.3, 255.0})
            for (double amp : {32767.0, 1000.0, 3.0})
                blocks.push_back(tone(bin, amp, bin / 7));
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> full(-32768, 32767);
        for (int r = 0; r < 4; ++r) {
            blocks.emplace_back(512);
            for (auto& v : blocks.back())
                v = int16_t(full(rng));
        }
        blocks.emplace_back(512, int16_t(-32768));
        blocks.emplace_back(512);
        for (int n = 0; n < 512; ++n)
            blocks.back()[size_t(n)] = (n / 4) % 2 ? 32767 : -32768;
        blocks.emplace_back(512, int16_t(0));
        double worst = 0;
        for (const auto& b : blocks)
            worst = std::max(worst, worstError(b));
        qInfo("worst error against a double-precision DFT: %.1f (%.2e of a bin's full scale)", worst,
              worst / (512.0 * 32768));
        // 14-bit twiddles over eight stages: well under 0.1 % of the full scale; small
        // signals stay exact to a few units.
        QVERIFY2(worst < 512.0 * 32768 * 1e-3, qPrintable(QString::number(worst)));
        QVERIFY(worstError(tone(40, 3)) < 8);
        QVERIFY(worstError(tone(13, 1000)) < 64);
        int32_t re[257], im[257];
        FixedFFT::transform(blocks[blocks.size() - 3].data(), re, im);
        QCOMPARE(re[0], -512 * 32768);
        QCOMPARE(im[0], 0);
        QCOMPARE(im[256], 0);
    }

    void geometryLimits()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        auto resize = [&](int w, int h) {
            v.resize(w, h);
            QCoreApplication::processEvents();
        };
        v.resize(80, 60);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        QCOMPARE(v.bands(), 3);
        QCOMPARE(v.barAreaHeight(), 38);
        QVERIFY(!v.isRunning());
        v.startAnalyzer();
        QVERIFY(v.isRunning());
        QCOMPARE(v.barX0(), (80 - (2 * 2 + 4 * 3)) / 2);
        QCOMPARE(v.barY0(), 11);
        // 77 wide: two bands, the running analyzer stops and waits; back to a usable size,
        // the pending start happens.
        resize(77, 60);
        QCOMPARE(v.bands(), 2);
        QVERIFY(!v.isRunning() && v.isPending());
        resize(80, 60);
        QVERIFY(v.isRunning());
        v.stopAnalyzer();
        QVERIFY(!v.isRunning() && !v.isPending());
        // Too low: pending until a bar area of 8 pixels fits.
        resize(200, 29);
        QCOMPARE(v.barAreaHeight(), 7);
        v.startAnalyzer();
        QVERIFY(!v.isRunning() && v.isPending());
        resize(200, 30);
        QCOMPARE(v.barAreaHeight(), 8);
        QVERIFY(v.isRunning());
        // Options: limits and a pitch that would divide by zero.
        v.setAnalyzerOptions(true, 2, 4, 2, 100);
        QVERIFY(v.isPending());
        v.setAnalyzerOptions(true, 100, 0, 0, 100);
        QCOMPARE(v.bands(), 0);
        QVERIFY(!v.isRunning());
        v.setAnalyzerOptions(true, 500, 1, 0, 100);
        QCOMPARE(v.bands(), 100);
        QVERIFY(v.isRunning());
        QCOMPARE(v.sizeHint(), QSize(22, 25));
        QCOMPARE(v.maximumHeight(), 100);
    }

    void bandEdgesAndLevels()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 20));
        QCOMPARE(v.barAreaHeight(), 100);
        QList<int> edges;
        for (int i = 0; i <= 20; ++i)
            edges << v.bandEdge(i);
        QCOMPARE(edges, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 30, 51, 72, 93, 114, 135, 156, 177, 198, 219, 255}));
        QCOMPARE(v.levelTable(0), 0);
        QCOMPARE(v.levelTable(63), int(100 * std::log(64.0) / std::log(512.0)));
        QCOMPARE(v.levelTable(511), 100);
        for (int k = 1; k < 512; ++k)
            QVERIFY(v.levelTable(k) >= v.levelTable(k - 1));
        // Odd band counts: the upper half still ends at 255.
        v.setAnalyzerOptions(true, 17, 4, 2, 200);
        QCOMPARE(v.bandEdge(7), 7);
        QCOMPARE(v.bandEdge(8), 7 + (255 - 34) / 9);
        QCOMPARE(v.bandEdge(17), 255);
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
        playTicks(src, v, 13);
        for (int b = 0; b < 20; ++b) {
            if (b == band)
                QVERIFY2(v.level(b) > 0, qPrintable(QString::number(b)));
            else
                QVERIFY2(v.level(b) == 0, qPrintable(QString::number(b)));
        }
    }

    void delayAndPeakFall()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 10));
        // A full-scale tone on bin 3 (band 3), analysed once.
        src.block = tone(3, 30000, M_PI / 2 + 0.3);
        const int expected = v.analyse(src.block.data(), 3);
        QVERIFY(expected > 50);
        playTicks(src, v, 1);
        QCOMPARE(src.copies, 1);
        for (int t = 1; t < 12; ++t) {
            v.advance();
            QCOMPARE(v.level(3), 0);
        }
        v.advance(); // the 12th tick after the analysis shows it
        QCOMPARE(v.level(3), expected * 1000);
        QCOMPARE(v.peak(3), expected * 1000);
        QCOMPARE(v.level(0), 0); // bin 0 has no imaginary part
        // Then the bar falls by 1.3 pixels a tick and the peak ever faster.
        QList<int> falls;
        for (int t = 0, peak = v.peak(3), level = v.level(3); t < 12; ++t) {
            v.advance();
            QCOMPARE(v.level(3), std::max(level - 1300, 0));
            falls << peak - v.peak(3);
            peak = v.peak(3);
            level = v.level(3);
        }
        QCOMPARE(falls, QList<int>({10, 13, 16, 20, 26, 33, 42, 54, 70, 91, 118, 153}));
        // Eventually the peak meets the falling bar and follows it down to 0.
        for (int t = 0; t < 200; ++t) {
            v.advance();
            QVERIFY(v.peak(3) >= v.level(3));
        }
        QCOMPARE(v.peak(3), 0);
        QCOMPARE(v.drawnBar(3), 1); // the floor
        // At position 0 nothing is copied.
        src.position = 0;
        playTicks(src, v, 1);
        QCOMPARE(src.copies, 1);
    }

    void drawing_data()
    {
        QTest::addColumn<bool>("peaks");
        QTest::newRow("peaks") << true;
        QTest::newRow("no peaks") << false;
    }
    void drawing()
    {
        QFETCH(bool, peaks);
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 10, 122, peaks));
        const int bottom = v.barY0() + v.barAreaHeight();
        const int x3 = v.barX0() + 3 * 6;
        src.block = tone(3, 30000, M_PI / 2 + 0.3);
        playTicks(src, v, 13);
        const int h = v.drawnBar(3);
        QVERIFY(h > 10);
        const QColor navy(0x00, 0x00, 0x80);
        const QColor panel = FramePainter::panelColor();
        QCOMPARE(canvasPixel(v, x3, bottom - 1), navy);        // lit stripe
        QCOMPARE(canvasPixel(v, x3, bottom - 2), panel);       // gap between stripes
        QCOMPARE(canvasPixel(v, v.barX0(), bottom - 1), navy); // band 0 at its floor
        QCOMPARE(canvasPixel(v, v.barX0(), bottom - 3), panel);
        // The peak sits on top of the bar while both are new.
        QCOMPARE(v.drawnPeak(3), peaks ? h : 0);
        if (peaks)
            QCOMPARE(canvasPixel(v, x3, bottom - h), QColor(Qt::white));
        // After some falling the old rows are background again and the peak floats.
        for (int t = 0; t < 20; ++t)
            v.advance();
        QVERIFY(v.drawnBar(3) < h - 10);
        QCOMPARE(canvasPixel(v, x3, bottom - v.drawnBar(3) - 1), panel);
        const QImage img = v.canvas().toImage();
        int white = 0;
        for (int y = v.barY0(); y < bottom; ++y)
            white += QColor(img.pixel(x3, y)) == QColor(Qt::white);
        QCOMPARE(white > 0, peaks);
        const QImage shown = v.grab().toImage(); // the paint the tick asked for
        if (peaks) {
            QVERIFY(v.drawnPeak(3) > v.drawnBar(3));
            QCOMPARE(canvasPixel(v, x3, bottom - v.drawnPeak(3)), QColor(Qt::white));
            QCOMPARE(canvasPixel(v, x3, bottom - v.drawnPeak(3) - 1), panel); // old peak rows restored
            QCOMPARE(QColor(shown.pixel(x3, bottom - v.drawnPeak(3))), QColor(Qt::white));
        }
        // A real repaint draws the frame afresh and the bars start again from 0.
        v.repaint();
        QCOMPARE(v.level(3), 0);
        QCOMPARE(canvasPixel(v, x3, bottom - 1), panel);
        v.advance();
        QCOMPARE(v.drawnBar(3), 1);
        QCOMPARE(canvasPixel(v, x3, bottom - 1), navy);
    }

    void tallBarArea()
    {
        // Bar areas taller than 255 pixels: levels are not cut to a byte.
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 10, 422, true, 1000));
        QCOMPARE(v.barAreaHeight(), 400);
        QCOMPARE(v.levelTable(511), 400);
        src.block = tone(3, 32767, 0); // a sine: all in the imaginary part
        const int expected = v.analyse(src.block.data(), 3);
        QVERIFY(expected > 255);
        playTicks(src, v, 13);
        QCOMPARE(v.level(3), expected * 1000);
        QCOMPARE(v.drawnBar(3), expected);
        QCOMPARE(canvasPixel(v, v.barX0() + 18, v.barY0() + 400 - expected), QColor(Qt::white));
    }

    void demonstrationCurve()
    {
        Visualization v(nullptr); // no controller: the demonstration
        QVERIFY(showAnalyzer(v, 20));
        QVERIFY(v.isRunning()); // started by itself
        v.advance();
        const int N = v.bands();
        const int H = v.barAreaHeight();
        int top = 0;
        for (int i = 1; i < N; ++i)
            if (v.level(i) > v.level(top))
                top = i;
        // One hump: highest at about 40 % of the width, at most 70 % of the height.
        QVERIFY(qAbs(top - int((N - 1) / 2.6)) <= 1);
        QVERIFY(v.level(top) / 1000 <= int(0.7 * H));
        QCOMPARE(v.peak(N - 1), 0); // the last bar has no peak
        QVERIFY(v.peak(N - 2) > 0);
        for (int i = 0; i < N; ++i) {
            QVERIFY(v.peak(i) >= v.level(i));
            if (i > 0.87 * N)
                QCOMPARE(v.level(i), 0);
        }
    }

    void loopControlSource()
    {
        // The controller's analyzer buffer: the left channel of the last block played.
        setDecoderFactory(makeToneDecoder);
        QTemporaryDir dir;
        const QString file = dir.path() + "/tone.mp3";
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        LoopControl control;
        Visualization v(&control);
        QVERIFY(showAnalyzer(v, 10));
        QVERIFY(!v.isRunning()); // the main window starts it
        QCOMPARE(v.bandEdge(4), 4);
        QCOMPARE(v.bandEdge(5), 51);
        for (int t = 0; t < 13; ++t)
            v.advance();
        QCOMPARE(v.level(4), 0); // nothing plays
        QVERIFY(control.open(file));
        control.play();
        QTRY_VERIFY(control.positionMs() > 0);
        for (int t = 0; t < 13; ++t)
            v.advance();
        control.stop();
        setDecoderFactory(nullptr);
        QVERIFY(v.level(4) > 0);  // bin 16, left channel
        QCOMPARE(v.level(5), 0);  // bin 80 is only in the right channel
        QCOMPARE(v.level(0), 0);
    }

    void screenshots()
    {
        struct Setup { QSize display; int bars, width, space, height; };
        for (const Setup& s : {Setup{{240, 320}, 17, 7, 2, 50}, Setup{{480, 640}, 14, 14, 6, 100}}) {
            useDisplay(s.display);
            QVERIFY2(!FramePainter::frameImage().isNull(), "pictures not rendered");
            FakeSource src;
            Visualization v(nullptr, &src), demo(nullptr);
            for (Visualization* w : {&v, &demo}) {
                w->resize(s.display.width(), s.height);
                w->show();
                QVERIFY(QTest::qWaitForWindowExposed(w));
                w->setAnalyzerOptions(true, s.bars, s.width, s.space, s.height);
            }
            // A chord with falling loudness, then silence: twelve ticks until the sound
            // shows, then eight of falling so the peaks float.
            std::fill(src.block.begin(), src.block.end(), 0);
            using Part = std::pair<int, int>;
            for (const auto& [bin, amp] : {Part{2, 9000}, {4, 7000}, {6, 5000}, {9, 3000}, {30, 1500}, {150, 500}}) {
                const auto t = tone(bin, amp, 0.3);
                for (int n = 0; n < 512; ++n)
                    src.block[size_t(n)] = int16_t(src.block[size_t(n)] + t[size_t(n)]);
            }
            playTicks(src, v, 4);
            for (int t = 0; t < 20; ++t)
                v.advance();
            demo.advance();
            // Grabbed right after a tick: the paint shows what the tick drew.
            const QImage img = saveScreenshot(&v, "visualization", s.display);
            saveScreenshot(&demo, "visualization-demo", s.display);
            QCOMPARE(v.bands(), s.bars);
            QCOMPARE(QColor(img.pixel(v.barX0() + 1, v.barY0() + v.barAreaHeight() - 1)), QColor(0x00, 0x00, 0x80));
            QVERIFY(QColor(img.pixel(0, img.height() / 2)).lightness() < 100); // the frame's edge
        }
    }
};

QUAVRIX_TEST_MAIN(TestVisualization)
#include "tst_visualization.moc"
