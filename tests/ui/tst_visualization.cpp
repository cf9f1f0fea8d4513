#include "testmain.h"

#include "../qt/screenshot.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "fixedfft.h"
#include "framepainter.h"
#include "loopcontrol.h"
#include "playinfo.h"
#include "visualization.h"

#include <chrono>
#include <cmath>
#include <complex>
#include <random>
#include <thread>
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

// Interleaved stereo: a sine on bin 16 in the left channel, one on bin 80 in the right.
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

QColor canvasPixel(const Visualization& v, int x, int y)
{
    return QColor(v.canvas().toImage().pixel(x, y));
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

// The analyzer: transform accuracy, geometry, bands, delay and fall, drawing, its source.
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
        // -32768 (X[0] = -2^24 needs the wide split), a square wave.
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
        blocks.emplace_back(512);
        for (int n = 0; n < 512; ++n)
            blocks.back()[size_t(n)] = (n / 4) % 2 ? 32767 : -32768;
        blocks.emplace_back(512, int16_t(-32768));
        double worst = 0;
        for (const auto& b : blocks)
            worst = std::max(worst, worstError(b));
        // 14-bit twiddles over eight stages: well under 0.1 % of the full scale; small
        // signals stay exact to a few units.
        QVERIFY2(worst < 512.0 * 32768 * 1e-3, qPrintable(QString::number(worst)));
        QVERIFY(worstError(tone(40, 3)) < 8);
        int32_t re[257], im[257];
        FixedFFT::transform(blocks.back().data(), re, im);
        QCOMPARE(re[0], -512 * 32768);
        QCOMPARE(im[0], 0);
    }

    void geometryAndStarting()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        auto resize = [&](int w, int h) {
            v.resize(w, h);
            QCoreApplication::processEvents();
        };
        v.show();
        resize(80, 60);
        // Bars 4 wide, 2 apart: three fit in 80 pixels, centred.
        QCOMPARE(v.bands(), 3);
        QCOMPARE(v.barX0(), 32);
        v.startAnalyzer();
        QVERIFY(v.isRunning());
        // Two bands are too few: the analyzer waits, and starts once there is room again.
        resize(77, 60);
        QVERIFY(!v.isRunning() && v.isPending());
        resize(80, 60);
        QVERIFY(v.isRunning());
        v.stopAnalyzer();
        QVERIFY(!v.isRunning() && !v.isPending());
        // Too low: pending until a bar area of 8 pixels fits.
        resize(200, 29);
        v.startAnalyzer();
        QVERIFY(!v.isRunning() && v.isPending());
        resize(200, 30);
        QCOMPARE(v.barAreaHeight(), 8);
        QVERIFY(v.isRunning());
        // A bar without width or space would divide by zero; at most 100 bands.
        v.setAnalyzerOptions(true, 100, 0, 0, 100);
        QVERIFY(!v.isRunning());
        v.setAnalyzerOptions(true, 500, 1, 0, 100);
        QCOMPARE(v.bands(), 100);
        QVERIFY(v.isRunning());
    }

    void bandEdges()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 20));
        // The lower half one bin a band, the upper half even steps up to bin 255.
        QList<int> edges;
        for (int i = 0; i <= 20; ++i)
            edges << v.bandEdge(i);
        QCOMPARE(edges, QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 30, 51, 72, 93, 114, 135, 156, 177, 198, 219, 255}));
        v.setAnalyzerOptions(true, 17, 4, 2, 200);
        QCOMPARE(QList<int>({v.bandEdge(7), v.bandEdge(8), v.bandEdge(17)}), QList<int>({7, 31, 255}));
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
        for (int b = 0; b < 20; ++b)
            QVERIFY2((v.level(b) > 0) == (b == band), qPrintable(QString::number(b)));
    }

    void delayAndFall()
    {
        FakeSource src;
        Visualization v(nullptr, &src);
        QVERIFY(showAnalyzer(v, 10));
        // On bin 3: |Im X| = 30000 * 256 * sin 0.3 = 2.27e6, 69 steps of 2^15; a bar area of
        // 100 pixels shows that as 100 * ln(1 + 69) / ln 512 = 68 pixels.
        src.block = tone(3, 30000, M_PI / 2 + 0.3);
        playTicks(src, v, 1);
        for (int t = 1; t < 12; ++t) {
            v.advance();
            QCOMPARE(v.level(3), 0);
        }
        v.advance(); // the 12th tick after the analysis shows it
        QCOMPARE(src.copies, 1);
        QCOMPARE(v.level(3), 68000);
        QCOMPARE(v.peak(3), 68000);
        QCOMPARE(v.level(0), 0);
        // Then the bar falls by 1.3 pixels a tick and the peak ever faster.
        QList<int> falls;
        for (int t = 0, peak = v.peak(3); t < 12; ++t) {
            v.advance();
            QCOMPARE(v.level(3), 68000 - 1300 * (t + 1));
            falls << peak - v.peak(3);
            peak = v.peak(3);
        }
        QCOMPARE(falls, QList<int>({10, 13, 16, 20, 26, 33, 42, 54, 70, 91, 118, 153}));
        // Eventually the peak meets the falling bar and follows it down to the floor.
        for (int t = 0; t < 200; ++t) {
            v.advance();
            QVERIFY(v.peak(3) >= v.level(3));
        }
        QCOMPARE(v.peak(3), 0);
        QCOMPARE(v.drawnBar(3), 1);
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
        QVERIFY(showAnalyzer(v, 10, peaks));
        const int bottom = v.barY0() + v.barAreaHeight();
        const int x3 = v.barX0() + 3 * 6;
        src.block = tone(3, 30000, M_PI / 2 + 0.3);
        playTicks(src, v, 13);
        QCOMPARE(v.drawnBar(3), 68);
        const QColor navy(0x00, 0x00, 0x80), panel = FramePainter::panelColor(), white(Qt::white);
        QCOMPARE(canvasPixel(v, x3, bottom - 1), navy);        // lit stripe
        QCOMPARE(canvasPixel(v, x3, bottom - 2), panel);       // gap between stripes
        QCOMPARE(canvasPixel(v, v.barX0(), bottom - 1), navy); // band 0 at its floor
        QCOMPARE(canvasPixel(v, v.barX0(), bottom - 3), panel);
        if (peaks)
            QCOMPARE(canvasPixel(v, x3, bottom - 68), white); // the peak on top of the new bar
        // After some falling the old rows are background again and the peak floats.
        for (int t = 0; t < 20; ++t)
            v.advance();
        QCOMPARE(canvasPixel(v, x3, bottom - v.drawnBar(3) - 1), panel);
        int whiteRows = 0;
        for (int y = v.barY0(); y < bottom; ++y)
            whiteRows += canvasPixel(v, x3, y) == white;
        QCOMPARE(whiteRows > 0, peaks);
        if (peaks) {
            QCOMPARE(canvasPixel(v, x3, bottom - v.drawnPeak(3)), white);
            QCOMPARE(canvasPixel(v, x3, bottom - v.drawnPeak(3) - 1), panel); // old peak rows restored
        }
        // After the paint the tick asked for, a real repaint draws the frame afresh and the
        // bars start again from 0.
        v.grab();
        v.repaint();
        QCOMPARE(canvasPixel(v, x3, bottom - 1), panel);
        v.advance();
        QCOMPARE(v.drawnBar(3), 1);
    }

    void theControllerFeedsTheLeftChannel()
    {
        setDecoderFactory([](const QString&) -> Decoder* { return new ToneDecoder; });
        QTemporaryDir dir;
        QFile f(dir.path() + "/tone.mp3");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        LoopControl control;
        Visualization v(&control);
        QVERIFY(showAnalyzer(v, 10));
        QVERIFY(!v.isRunning()); // the main window starts it
        QCOMPARE(QList<int>({v.bandEdge(4), v.bandEdge(5)}), QList<int>({4, 51}));
        for (int t = 0; t < 13; ++t)
            v.advance();
        QCOMPARE(v.level(4), 0); // nothing plays
        QVERIFY(control.open(f.fileName()));
        control.play();
        QTRY_VERIFY(control.positionMs() > 0);
        for (int t = 0; t < 13; ++t)
            v.advance();
        control.stop();
        setDecoderFactory(nullptr);
        QVERIFY(v.level(4) > 0);  // bin 16, left channel
        QCOMPARE(v.level(5), 0);  // bin 80 is only in the right channel
    }
};

QUAVRIX_TEST_MAIN(TestVisualization)
#include "tst_visualization.moc"
