#include "fixedfft.h"

#include <cmath>

namespace {

constexpr int M = FixedFFT::Size / 2; // complex points
constexpr int Shift = 14;             // twiddle fraction bits
constexpr int64_t Half = 1 << (Shift - 1);

struct Tables
{
    int16_t cosM[M / 2]; // e^(-2 pi i k / 256) = cos - i sin, k < 128
    int16_t sinM[M / 2];
    int16_t cosN[M];     // e^(-2 pi i k / 512), k < 256
    int16_t sinN[M];
    uint8_t reverse[M];

    Tables()
    {
        const double pi = std::acos(-1.0);
        for (int k = 0; k < M / 2; ++k) {
            cosM[k] = int16_t(std::lround(std::cos(2 * pi * k / M) * (1 << Shift)));
            sinM[k] = int16_t(std::lround(std::sin(2 * pi * k / M) * (1 << Shift)));
        }
        for (int k = 0; k < M; ++k) {
            cosN[k] = int16_t(std::lround(std::cos(2 * pi * k / (2 * M)) * (1 << Shift)));
            sinN[k] = int16_t(std::lround(std::sin(2 * pi * k / (2 * M)) * (1 << Shift)));
        }
        for (int i = 0; i < M; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b)
                r |= ((i >> b) & 1) << (7 - b);
            reverse[i] = uint8_t(r);
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

} // namespace

void FixedFFT::transform(const int16_t* s, int32_t* outRe, int32_t* outIm)
{
    const Tables& t = tables();
    // Packed, scaled input in bit-reversed order. With 16-bit samples every stage stays
    // inside 32 bits: |component| <= 256 * sqrt(2) * 32768 * 128 < 2^31.
    int32_t re[M];
    int32_t im[M];
    for (int n = 0; n < M; ++n) {
        const int r = t.reverse[n];
        re[r] = int32_t(s[2 * n]) * 128;
        im[r] = int32_t(s[2 * n + 1]) * 128;
    }
    for (int len = 2; len <= M; len <<= 1) {
        const int half = len >> 1;
        const int step = M / len;
        for (int base = 0; base < M; base += len) {
            for (int j = 0; j < half; ++j) {
                const int64_t wr = t.cosM[j * step];
                const int64_t wi = -int64_t(t.sinM[j * step]);
                const int a = base + j;
                const int b = a + half;
                const int32_t tr = int32_t((re[b] * wr - im[b] * wi + Half) >> Shift);
                const int32_t ti = int32_t((re[b] * wi + im[b] * wr + Half) >> Shift);
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
        }
    }
    // Split into the bins of the real signal. The sums can reach 512 * 32768 * 128 = 2^31:
    // work in 64 bits here.
    auto round7 = [](int64_t v) { return int32_t((v + 64) >> 7); };
    outRe[0] = round7(int64_t(re[0]) + im[0]);
    outIm[0] = 0;
    outRe[M] = round7(int64_t(re[0]) - im[0]);
    outIm[M] = 0;
    for (int k = 1; k < M; ++k) {
        const int64_t ar = re[k], ai = im[k];
        const int64_t br = re[M - k], bi = im[M - k];
        const int64_t er = (ar + br) >> 1;
        const int64_t ei = (ai - bi) >> 1;
        const int64_t orr = (ai + bi) >> 1;  // odd part = (Z[k] - conj Z[M-k]) / 2i
        const int64_t oi = -((ar - br) >> 1);
        const int64_t c = t.cosN[k];
        const int64_t sn = t.sinN[k];
        outRe[k] = round7(er + ((c * orr + sn * oi + Half) >> Shift));
        outIm[k] = round7(ei + ((c * oi - sn * orr + Half) >> Shift));
    }
}
