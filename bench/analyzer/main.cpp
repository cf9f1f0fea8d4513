// bench_analyzer: microseconds per analyzer tick (copy, fixed-point FFT, bands, animation,
// drawing) and per fixed-point transform, against a straightforward double-precision
// radix-2 FFT of the same 512-sample block, all in one run.
#include "analyzersource.h"
#include "fixedfft.h"
#include "visualization.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cmath>
#include <complex>
#include <cstdio>
#include <random>
#include <vector>

namespace {

class ToneSource : public AnalyzerSource
{
public:
    std::vector<int16_t> blocks[8];
    int next = 0;
    bool isPlaying() const override { return true; }
    int64_t positionMs() const override { return 1000; }
    void copySamples(int16_t* out) override
    {
        const auto& b = blocks[next++ & 7];
        std::copy(b.begin(), b.end(), out);
    }
};

// Plain iterative radix-2 FFT on 512 complex doubles made from the real block.
void doubleFft(const int16_t* s, std::complex<double>* x)
{
    const int n = 512;
    for (int i = 0; i < n; ++i)
        x[i] = s[i];
    for (int i = 1, j = 0; i < n; ++i) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (int len = 2; len <= n; len <<= 1) {
        const std::complex<double> w = std::polar(1.0, -2 * M_PI / len);
        for (int i = 0; i < n; i += len) {
            std::complex<double> wk = 1;
            for (int j = 0; j < len / 2; ++j) {
                const std::complex<double> u = x[i + j];
                const std::complex<double> v = x[i + j + len / 2] * wk;
                x[i + j] = u + v;
                x[i + j + len / 2] = u - v;
                wk *= w;
            }
        }
    }
}

template <typename F> double microseconds(int rounds, F&& f)
{
    QElapsedTimer t;
    double best = 1e30;
    for (int r = 0; r < 5; ++r) {
        t.start();
        for (int i = 0; i < rounds; ++i)
            f();
        best = std::min(best, t.nsecsElapsed() / 1000.0 / rounds);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUAVRIX_QPEDIR"))
        qputenv("QUAVRIX_QPEDIR", QUAVRIX_SHARE_DIR);
    QApplication app(argc, argv);
    app.setObjectName(QStringLiteral("Quavrix"));

    ToneSource src;
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0, 2000);
    for (int b = 0; b < 8; ++b) {
        src.blocks[b].resize(512);
        for (int n = 0; n < 512; ++n) {
            const double v = 9000 * std::sin(2 * M_PI * (3 + b) * n / 512) + 4000 * std::sin(2 * M_PI * 40 * n / 512 + b)
                + noise(rng);
            src.blocks[b][n] = int16_t(std::clamp(v, -32768.0, 32767.0));
        }
    }

    const int16_t* block = src.blocks[0].data();
    int32_t re[257], im[257];
    std::complex<double> x[512];
    volatile int32_t sink = 0;
    volatile double dsink = 0;
    const double fixedUs = microseconds(20000, [&] {
        FixedFFT::transform(block, re, im);
        sink = sink + im[17];
    });
    const double doubleUs = microseconds(20000, [&] {
        doubleFft(block, x);
        dsink = dsink + x[17].imag();
    });
    std::printf("512-point transform: fixed point %.2f us, double precision %.2f us (fixed / double %.2f)\n",
                fixedUs, doubleUs, fixedUs / doubleUs);

    struct Setup { const char* name; int width, bars, barWidth, space, height; };
    const Setup setups[] = {{"240x320 defaults (17 bars of 7, height 50)", 240, 17, 7, 2, 50},
                            {"640x480 defaults (14 bars of 14, height 100)", 640, 14, 14, 6, 100},
                            {"100 bars of 3, height 300", 700, 100, 3, 3, 300}};
    for (const Setup& s : setups) {
        Visualization v(nullptr, &src);
        v.setAnalyzerOptions(true, s.bars, s.barWidth, s.space, s.height);
        v.resize(s.width, s.height);
        v.show();
        QCoreApplication::processEvents();
        v.repaint();
        for (int i = 0; i < 100; ++i)
            v.advance();
        const double tickUs = microseconds(2000, [&] { v.advance(); });
        std::printf("%s: %d bands, tick %.2f us = %.2f double-precision FFTs; %.3f %% of the 10 ms tick\n", s.name,
                    v.bands(), tickUs, tickUs / doubleUs, tickUs / 100.0);
        QCoreApplication::processEvents();
    }
    return 0;
}
