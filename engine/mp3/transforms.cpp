#include "transforms.h"

#include "mp3tables.h"

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUAVRIX_MP3_X86 1
#endif

// The plain transforms are written so that compilers vectorise them (the 32 x 32 -> 64-bit
// multiply-adds map onto NEON's widening multiply-add); on x86 a clone for SSE4.1, which
// has the signed widening multiply that the base instruction set lacks, is picked at
// load time. Not under the sanitizers: the pick runs before their runtime is ready.
#if defined(QUAVRIX_MP3_X86) && defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) \
    && !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define QUAVRIX_PLAIN_CLONES __attribute__((target_clones("default", "sse4.1")))
#else
#define QUAVRIX_PLAIN_CLONES
#endif

namespace mp3 {

namespace {

inline int32_t roundTo16(int64_t acc)
{
    // 16-bit steps are 2^27; results of windowing stay far inside 32 bits
    const int64_t v = (acc + (int64_t(1) << 26)) >> 27;
    return int32_t(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}

} // namespace

namespace {

inline int64_t mulShift(int64_t a, int32_t c, int shift)
{
    return (a * c) >> shift;
}

// 9-point DCT-III: F[n] = sum_j a[j] cos(pi j (2n+1) / 18), inputs below 2^31.
inline void dct3x9(const int64_t* a, int64_t* F)
{
    for (int n = 0; n < 4; ++n) {
        const int32_t* c = kCos9 + 9 * n;
        const int64_t pe = a[0] * (int64_t(1) << 28) + a[2] * c[2] + a[4] * c[4] + a[6] * c[6] + a[8] * c[8];
        const int64_t po = a[1] * c[1] + a[3] * c[3] + a[5] * c[5] + a[7] * c[7];
        F[n] = (pe + po) >> 28;
        F[8 - n] = (pe - po) >> 28;
    }
    F[4] = a[0] - a[2] + a[4] - a[6] + a[8];
}

// 36-point IMDCT of 18 lines (|X| <= 2^29), windowed: out[0..35].
inline void imdct36(const int32_t* X, const int32_t* window, int64_t* out)
{
    // 18-point DCT-IV through 2 cos(a) c[n] = DCT-III(X[k] + X[k-1]), split into even
    // and odd halves of 9 points each.
    int64_t e[9], v[9];
    e[0] = X[0];
    for (int j = 1; j < 9; ++j)
        e[j] = int64_t(X[2 * j]) + X[2 * j - 1];
    // odd part: o[j] = X[2j+1] + X[2j]; v[m] = o[m] + o[m-1]
    int64_t o[9];
    for (int j = 0; j < 9; ++j)
        o[j] = int64_t(X[2 * j + 1]) + X[2 * j];
    v[0] = o[0];
    for (int m = 1; m < 9; ++m)
        v[m] = o[m] + o[m - 1];
    int64_t E[9], F[9], Y[18];
    dct3x9(e, E);
    dct3x9(v, F);
    for (int n = 0; n < 9; ++n) {
        const int64_t O = mulShift(F[n], kDct4Scale9[n], 24);
        Y[n] = E[n] + O;
        Y[17 - n] = E[n] - O;
    }
    for (int i = 0; i < 9; ++i)
        out[i] = mulShift(Y[i + 9], window[i], 24);
    for (int i = 9; i < 27; ++i)
        out[i] = mulShift(Y[26 - i], window[i], 24);
    for (int i = 27; i < 36; ++i)
        out[i] = mulShift(Y[i - 27], window[i], 24);
}

} // namespace

QUAVRIX_PLAIN_CLONES void longSubbandPlain(const int32_t* X, int blockType, int32_t* ov, int32_t* out, bool invert)
{
    int64_t y[36];
    imdct36(X, kImdctWindow + 36 * blockType, y);
    for (int t = 0; t < 18; ++t) {
        const int64_t v = y[t] + ov[t];
        const int32_t s = int32_t(v > (1 << 28) ? (1 << 28) : (v < -(1 << 28) ? -(1 << 28) : v));
        out[t] = (invert && (t & 1)) ? -s : s;
        ov[t] = int32_t(y[18 + t]);
    }
}

QUAVRIX_PLAIN_CLONES void aliasReducePlain(int32_t* x, int subbands)
{
    for (int sb = 1; sb < subbands; ++sb) {
        int32_t* a = x + 18 * sb;
        for (int i = 0; i < 8; ++i) {
            const int64_t lo = a[-1 - i];
            const int64_t hi = a[i];
            a[-1 - i] = int32_t((lo * kAliasCs[i] - hi * kAliasCa[i]) >> 30);
            a[i] = int32_t((hi * kAliasCs[i] + lo * kAliasCa[i]) >> 30);
        }
    }
}

QUAVRIX_PLAIN_CLONES void synthWindowPlain(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch)
{
    // Taps alternate between the first half of an even-aged vector and the second half
    // of an odd-aged one. Straight runs over the 32 outputs, so that compilers turn them
    // into widening multiply-adds (NEON's smlal).
    int64_t acc[32] = {};
    for (int j = 0; j < 8; ++j) {
        const int32_t* v0 = ring[(pos + 2 * j) & 15];
        const int32_t* v1 = ring[(pos + 2 * j + 1) & 15] + 32;
        const int32_t* d0 = kSynthWindow + 64 * j;
        const int32_t* d1 = d0 + 32;
        for (int i = 0; i < 32; ++i)
            acc[i] += int64_t(d0[i]) * v0[i] + int64_t(d1[i]) * v1[i];
    }
    for (int i = 0; i < 32; ++i)
        pcm[2 * i + ch] = int16_t(roundTo16(acc[i]));
}

void synthWindowScaled(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch, int exponent)
{
    int64_t acc[32] = {};
    for (int j = 0; j < 8; ++j) {
        const int32_t* v0 = ring[(pos + 2 * j) & 15];
        const int32_t* v1 = ring[(pos + 2 * j + 1) & 15] + 32;
        const int32_t* d0 = kSynthWindow + 64 * j;
        const int32_t* d1 = d0 + 32;
        for (int i = 0; i < 32; ++i)
            acc[i] += int64_t(d0[i]) * v0[i] + int64_t(d1[i]) * v1[i];
    }
    const int shift = 27 - exponent;
    for (int i = 0; i < 32; ++i) {
        int64_t v;
        if (shift > 0)
            v = (acc[i] + (int64_t(1) << (shift - 1))) >> shift;
        else if (acc[i] > (int64_t(32767) >> -shift) || acc[i] < -(int64_t(32768) >> -shift))
            v = acc[i] > 0 ? 32767 : -32768;
        else
            v = acc[i] * (int64_t(1) << -shift);
        pcm[2 * i + ch] = int16_t(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
}

namespace {

// The last halving steps of the DCT, from the even half of the second step.
inline void dct32Tail(const int32_t* s2, int64_t* A)
{
    int64_t s3[4], d3[4];
    for (int k = 0; k < 4; ++k) {
        s3[k] = int64_t(s2[k]) + s2[7 - k];
        d3[k] = int64_t(s2[k]) - s2[7 - k];
    }
    for (int m = 0; m < 4; ++m) {
        const int32_t* c = kDctOdd8 + 4 * m;
        A[8 * m + 4] = (d3[0] * c[0] + d3[1] * c[1] + d3[2] * c[2] + d3[3] * c[3]) >> 28;
    }
    const int64_t s40 = s3[0] + s3[3], s41 = s3[1] + s3[2];
    const int64_t d40 = s3[0] - s3[3], d41 = s3[1] - s3[2];
    A[8] = (d40 * kDctOdd4[0] + d41 * kDctOdd4[1]) >> 28;
    A[24] = (d40 * kDctOdd4[2] + d41 * kDctOdd4[3]) >> 28;
    A[0] = s40 + s41;
    A[16] = ((s40 - s41) * kCosPi4) >> 28;
}

// The DCT outputs as the history vector the window reads: V[i] = A[16 + i], V[16] = 0,
// V[32 - i] = -A[16 + i], V[32 + i] = -A[16 - i], V[48] = -A[0], V[48 + i] = -A[i].
// Values stay within 32 bits for every stream an encoder makes; garbage wraps.
inline void toHistory(const int64_t* A, int32_t* V)
{
    for (int i = 0; i < 16; ++i)
        V[i] = int32_t(A[16 + i]);
    V[16] = 0;
    for (int i = 17; i < 32; ++i)
        V[i] = int32_t(-A[48 - i]);
    for (int i = 0; i < 16; ++i)
        V[32 + i] = int32_t(-A[16 - i]);
    V[48] = int32_t(-A[0]);
    for (int i = 49; i < 64; ++i)
        V[i] = int32_t(-A[i - 48]);
}

} // namespace

QUAVRIX_PLAIN_CLONES void dct32Plain(const int32_t* x, int stride, int32_t* V)
{
    int64_t A[32];
    int64_t s1[16], d1[16];
    for (int k = 0; k < 16; ++k) {
        s1[k] = int64_t(x[k * stride]) + x[(31 - k) * stride];
        d1[k] = int64_t(x[k * stride]) - x[(31 - k) * stride];
    }
    for (int m = 0; m < 16; ++m) {
        const int32_t* c = kDctOdd32 + 16 * m;
        int64_t acc = 0;
        for (int k = 0; k < 16; ++k)
            acc += d1[k] * c[k];
        A[2 * m + 1] = acc >> 28;
    }
    // |x| <= 2^28: the sums of the second step fit 32 bits
    int32_t s2[8];
    int64_t d2[8];
    for (int k = 0; k < 8; ++k) {
        s2[k] = int32_t(s1[k] + s1[15 - k]);
        d2[k] = s1[k] - s1[15 - k];
    }
    for (int m = 0; m < 8; ++m) {
        const int32_t* c = kDctOdd16 + 8 * m;
        int64_t acc = 0;
        for (int k = 0; k < 8; ++k)
            acc += d2[k] * c[k];
        A[4 * m + 2] = acc >> 28;
    }
    dct32Tail(s2, A);
    toHistory(A, V);
}


#ifdef QUAVRIX_MP3_X86
namespace {

// The window with each odd coefficient moved into the low half of a 64-bit lane, so that
// 32 x 32 -> 64-bit products (which read the low halves) need no shift for it.
struct OddWindow
{
    int32_t w[512];
    OddWindow()
    {
        for (int i = 0; i < 512; i += 2) {
            w[i] = kSynthWindow[i + 1];
            w[i + 1] = 0;
        }
    }
};
const OddWindow g_oddWindow;

__attribute__((target("avx2"))) void synthWindowAvx2(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch)
{
    __m256i even[4], odd[4];
    for (int q = 0; q < 4; ++q)
        even[q] = odd[q] = _mm256_setzero_si256();
    for (int j = 0; j < 16; ++j) {
        // taps alternate between the first half of an even-aged vector and the second
        // half of an odd-aged one
        const int32_t* v = ring[(pos + j) & 15] + ((j & 1) ? 32 : 0);
        const int32_t* d = kSynthWindow + 32 * j;
        const int32_t* dOdd = g_oddWindow.w + 32 * j;
        for (int q = 0; q < 4; ++q) {
            const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(v + 8 * q));
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + 8 * q));
            const __m256i cOdd = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dOdd + 8 * q));
            even[q] = _mm256_add_epi64(even[q], _mm256_mul_epi32(x, c));
            odd[q] = _mm256_add_epi64(odd[q], _mm256_mul_epi32(_mm256_srli_epi64(x, 32), cOdd));
        }
    }
    const __m256i half = _mm256_set1_epi64x(int64_t(1) << 26);
    const __m256i lo = _mm256_set1_epi32(-32768);
    const __m256i hi = _mm256_set1_epi32(32767);
    for (int q = 0; q < 4; ++q) {
        // the low 32 bits of a logical shift equal those of the arithmetic one
        const __m256i e = _mm256_srli_epi64(_mm256_add_epi64(even[q], half), 27);
        const __m256i o = _mm256_slli_epi64(_mm256_srli_epi64(_mm256_add_epi64(odd[q], half), 27), 32);
        __m256i r = _mm256_blend_epi32(e, o, 0xAA);
        r = _mm256_max_epi32(_mm256_min_epi32(r, hi), lo);
        // 8 stereo frames: this channel's 16 bits of each 32-bit frame change
        __m256i* frames = reinterpret_cast<__m256i*>(pcm + 16 * q);
        const __m256i old = _mm256_loadu_si256(frames);
        if (ch == 0)
            _mm256_storeu_si256(frames, _mm256_blend_epi16(old, r, 0x55));
        else
            _mm256_storeu_si256(frames, _mm256_blend_epi16(old, _mm256_slli_epi32(r, 16), 0xAA));
    }
}


// The odd halves of the first two halving steps as 64-bit lanes (constant in the low half)
// laid out by input: lane m of row k is cos((2m+1)(2k+1) pi / 2N).
struct DctLanes
{
    int64_t m32[16][16];
    int64_t m16[8][8];
    DctLanes()
    {
        for (int k = 0; k < 16; ++k)
            for (int m = 0; m < 16; ++m)
                m32[k][m] = kDctOdd32[16 * m + k];
        for (int k = 0; k < 8; ++k)
            for (int m = 0; m < 8; ++m)
                m16[k][m] = kDctOdd16[8 * m + k];
    }
};
const DctLanes g_dctLanes;

// Lanes of v in the order given.
__attribute__((target("avx2"))) inline __m256i at(__m256i v, int a, int b, int c, int d, int e, int f, int g, int h)
{
    return _mm256_permutevar8x32_epi32(v, _mm256_setr_epi32(a, b, c, d, e, f, g, h));
}

// Two vectors of 64-bit lanes shifted right, their low halves as 8 int32 in order.
__attribute__((target("avx2"))) inline __m256i narrowLanes(__m256i first, __m256i second, int shift)
{
    const __m256i mixed = _mm256_blend_epi32(_mm256_srli_epi64(first, shift), _mm256_slli_epi64(_mm256_srli_epi64(second, shift), 32), 0xAA);
    return at(mixed, 0, 2, 4, 6, 1, 3, 5, 7);
}

// The history vector from the DCT's outputs as 32-bit values in registers (what the history
// keeps): the odd ones (A1, A3 .. A15 and A17 .. A31), those at 4m + 2 (A2, A6 .. A30)
// and the rest from the scalar tail in A.
__attribute__((target("avx2"))) inline void historyFromParts(__m256i oddLo, __m256i oddHi, __m256i e2, const int64_t* A, int32_t* V)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i e4 = _mm256_setr_epi32(int32_t(A[4]), int32_t(A[12]), int32_t(A[20]), int32_t(A[28]),
                                         int32_t(A[0]), int32_t(A[8]), int32_t(A[16]), int32_t(A[24]));
    __m256i N[4]; // A[8g .. 8g + 7]
    for (int g = 0; g < 4; ++g) {
        const int b = 4 * (g & 1);
        const __m256i odd = at(g < 2 ? oddLo : oddHi, 0, b, 0, b + 1, 0, b + 2, 0, b + 3);
        const __m256i even = _mm256_blend_epi32(at(e4, 4 + g, 0, 0, 0, g, 0, 0, 0), at(e2, 0, 0, 2 * g, 0, 0, 0, 2 * g + 1, 0), 0x44);
        N[g] = _mm256_blend_epi32(even, odd, 0xAA);
    }
    // V[0..15] = A16..A31, V[16..31] = 0, -A31 .. -A17, V[32..47] = -A16 .. -A1,
    // V[48..63] = -A0 .. -A15
    const __m256i down = _mm256_setr_epi32(0, 7, 6, 5, 4, 3, 2, 1);
    __m256i* out = reinterpret_cast<__m256i*>(V);
    _mm256_storeu_si256(out, N[2]);
    _mm256_storeu_si256(out + 1, N[3]);
    _mm256_storeu_si256(out + 2, _mm256_sub_epi32(zero, _mm256_blend_epi32(_mm256_permutevar8x32_epi32(N[3], down), zero, 0x01)));
    for (int g = 2; g >= 0; --g)
        _mm256_storeu_si256(out + 5 - g, _mm256_sub_epi32(zero, _mm256_blend_epi32(_mm256_permutevar8x32_epi32(N[g], down), N[g + 1], 0x01)));
    _mm256_storeu_si256(out + 6, _mm256_sub_epi32(zero, N[0]));
    _mm256_storeu_si256(out + 7, _mm256_sub_epi32(zero, N[1]));
}


__attribute__((target("avx2"))) void dct32Avx2(const int32_t* x, int stride, int32_t* V)
{
    int64_t A[32];
    // |x| <= 2^28: the sums and differences of the first two steps fit 32 bits
    int32_t s1[16], d1[16];
    for (int k = 0; k < 16; ++k) {
        s1[k] = x[k * stride] + x[(31 - k) * stride];
        d1[k] = x[k * stride] - x[(31 - k) * stride];
    }
    __m256i acc[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
    for (int k = 0; k < 16; ++k) {
        const __m256i b = _mm256_set1_epi32(d1[k]);
        const int64_t* c = g_dctLanes.m32[k];
        for (int q = 0; q < 4; ++q)
            acc[q] = _mm256_add_epi64(acc[q], _mm256_mul_epi32(b, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c + 4 * q))));
    }
    int32_t s2[8], d2[8];
    for (int k = 0; k < 8; ++k) {
        s2[k] = s1[k] + s1[15 - k];
        d2[k] = s1[k] - s1[15 - k];
    }
    __m256i a0 = _mm256_setzero_si256(), a1 = _mm256_setzero_si256();
    for (int k = 0; k < 8; ++k) {
        const __m256i b = _mm256_set1_epi32(d2[k]);
        const int64_t* c = g_dctLanes.m16[k];
        a0 = _mm256_add_epi64(a0, _mm256_mul_epi32(b, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c))));
        a1 = _mm256_add_epi64(a1, _mm256_mul_epi32(b, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(c + 4))));
    }
    dct32Tail(s2, A);

    historyFromParts(narrowLanes(acc[0], acc[1], 28), narrowLanes(acc[2], acc[3], 28), narrowLanes(a0, a1, 28), A, V);
}

// The DCT-IV matrix and the windows with even and odd lanes apart, each value in the low
// half of a 64-bit lane (what 32 x 32 -> 64-bit products read): outputs 8g..8g+7 of a row
// as [even 4 | odd 4]; outputs 16 and 17 in a 128-bit row of their own.
struct ImdctLanes
{
    int32_t m[18][2][16];
    int32_t tail[18][4];
    int32_t w[4][5][16];
    ImdctLanes()
    {
        auto split = [](const int32_t* src, int32_t* dst) {
            for (int l = 0; l < 4; ++l) {
                dst[2 * l] = src[2 * l];
                dst[2 * l + 1] = 0;
                dst[8 + 2 * l] = src[2 * l + 1];
                dst[8 + 2 * l + 1] = 0;
            }
        };
        for (int k = 0; k < 18; ++k) {
            for (int g = 0; g < 2; ++g)
                split(kImdctDct4 + 18 * k + 8 * g, m[k][g]);
            tail[k][0] = kImdctDct4[18 * k + 16];
            tail[k][1] = 0;
            tail[k][2] = kImdctDct4[18 * k + 17];
            tail[k][3] = 0;
        }
        for (int bt = 0; bt < 4; ++bt)
            for (int g = 0; g < 5; ++g)
                split(kImdctWindowLanes + 40 * bt + 8 * g, w[bt][g]);
    }
};
const ImdctLanes g_imdctLanes;

// 64-bit lanes of even and odd outputs, rounded by shift, back to 8 int32 in order (the
// low 32 bits of a logical shift equal those of the arithmetic one).
__attribute__((target("avx2"))) inline __m256i joinLanes(__m256i even, __m256i odd, __m256i half, int shift)
{
    const __m256i e = _mm256_srli_epi64(_mm256_add_epi64(even, half), shift);
    const __m256i o = _mm256_slli_epi64(_mm256_srli_epi64(_mm256_add_epi64(odd, half), shift), 32);
    return _mm256_blend_epi32(e, o, 0xAA);
}


__attribute__((target("avx2"))) void longSubbandAvx2(const int32_t* X, int blockType, int32_t* ov, int32_t* out, bool invert)
{
    // the 18-point DCT-IV as a matrix: 18 outputs (half the lanes of the windowed 36)
    __m256i ev0 = _mm256_setzero_si256(), od0 = ev0, ev1 = ev0, od1 = ev0;
    __m128i tail = _mm_setzero_si128();
    for (int k = 0; k < 18; ++k) {
        const __m256i xb = _mm256_set1_epi32(X[k]);
        const int32_t (*row)[16] = g_imdctLanes.m[k];
        ev0 = _mm256_add_epi64(ev0, _mm256_mul_epi32(xb, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row[0]))));
        od0 = _mm256_add_epi64(od0, _mm256_mul_epi32(xb, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row[0] + 8))));
        ev1 = _mm256_add_epi64(ev1, _mm256_mul_epi32(xb, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row[1]))));
        od1 = _mm256_add_epi64(od1, _mm256_mul_epi32(xb, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row[1] + 8))));
        tail = _mm_add_epi64(tail, _mm_mul_epi32(_mm256_castsi256_si128(xb),
                                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(g_imdctLanes.tail[k]))));
    }
    const __m256i half29 = _mm256_set1_epi64x(int64_t(1) << 28);
    const __m256i y0 = joinLanes(ev0, od0, half29, 29);
    const __m256i y1 = joinLanes(ev1, od1, half29, 29);
    tail = _mm_srli_epi64(_mm_add_epi64(tail, _mm256_castsi256_si128(half29)), 29);
    const __m256i t = _mm256_zextsi128_si256(_mm_move_epi64(_mm_shuffle_epi32(tail, 0x08))); // Y16, Y17, 0...

    // each window lane one DCT-IV value: the first output half runs Y[9..17] then back
    // down, the second Y[8..0] then up again (lanes 18, 19 and from 38 on zero); built in
    // registers, since reading back what was just stored at another offset stalls
    const __m256i zero = _mm256_setzero_si256();
    const __m256i p[5] = {
        _mm256_blend_epi32(at(y1, 1, 2, 3, 4, 5, 6, 7, 0), at(t, 0, 0, 0, 0, 0, 0, 0, 0), 0x80),          // Y9..Y16
        _mm256_blend_epi32(at(t, 1, 1, 0, 0, 0, 0, 0, 0), at(y1, 0, 0, 0, 7, 6, 5, 4, 3), 0xF8),          // Y17, Y17..Y11
        _mm256_blend_epi32(_mm256_blend_epi32(at(y1, 2, 1, 0, 0, 0, 0, 0, 0), at(y0, 0, 0, 0, 0, 0, 7, 6, 5), 0xE0),
                           zero, 0x0C),                                                                    // Y10, Y9, 0, 0, Y8..Y5
        at(y0, 4, 3, 2, 1, 0, 0, 1, 2),                                                                    // Y4..Y0, Y0..Y2
        _mm256_blend_epi32(_mm256_blend_epi32(at(y0, 3, 4, 5, 6, 7, 0, 0, 0), at(y1, 0, 0, 0, 0, 0, 0, 0, 0), 0x20), zero,
                           0xC0),                                                                  // Y3..Y8, 0, 0
    };
    const __m256i half30 = _mm256_set1_epi64x(int64_t(1) << 29);
    __m256i r[5];
    for (int g = 0; g < 5; ++g) {
        const int32_t* w = g_imdctLanes.w[blockType][g];
        r[g] = joinLanes(_mm256_mul_epi32(p[g], _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w))),
                         _mm256_mul_epi32(_mm256_srli_epi64(p[g], 32), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + 8))),
                         half30, 30);
    }
    const __m256i lo = _mm256_set1_epi32(-(1 << 28));
    const __m256i hi = _mm256_set1_epi32(1 << 28);
    const __m256i sign = invert ? _mm256_setr_epi32(1, -1, 1, -1, 1, -1, 1, -1) : _mm256_set1_epi32(1);
    for (int g = 0; g < 3; ++g) {
        __m256i s = _mm256_add_epi32(r[g], _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ov + 8 * g)));
        s = _mm256_sign_epi32(_mm256_max_epi32(_mm256_min_epi32(s, hi), lo), sign);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * g), s);
    }
    // the new overlap: window lanes 20..43
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(ov), _mm256_permute2x128_si256(r[2], r[3], 0x21));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(ov + 8), _mm256_permute2x128_si256(r[3], r[4], 0x21));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(ov + 16), _mm256_permute2x128_si256(r[4], zero, 0x21));
}

// The butterfly coefficients in both lane parities of 64-bit lanes: [even 4 | odd 4] of
// the eight, each in the low half.
struct AliasLanes
{
    int32_t cs[16], ca[16];
    AliasLanes()
    {
        for (int l = 0; l < 4; ++l) {
            cs[2 * l] = kAliasCs[2 * l];
            cs[8 + 2 * l] = kAliasCs[2 * l + 1];
            ca[2 * l] = kAliasCa[2 * l];
            ca[8 + 2 * l] = kAliasCa[2 * l + 1];
            cs[2 * l + 1] = cs[8 + 2 * l + 1] = ca[2 * l + 1] = ca[8 + 2 * l + 1] = 0;
        }
    }
};
const AliasLanes g_aliasLanes;

__attribute__((target("avx2"))) void aliasReduceAvx2(int32_t* x, int subbands)
{
    const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const __m256i csEven = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g_aliasLanes.cs));
    const __m256i csOdd = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g_aliasLanes.cs + 8));
    const __m256i caEven = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g_aliasLanes.ca));
    const __m256i caOdd = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g_aliasLanes.ca + 8));
    const __m256i zero = _mm256_setzero_si256();
    for (int sb = 1; sb < subbands; ++sb) {
        int32_t* a = x + 18 * sb;
        // lane i: lo = a[-1 - i], hi = a[i]
        const __m256i lo = _mm256_permutevar8x32_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a - 8)), reverse);
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a));
        const __m256i loOdd = _mm256_srli_epi64(lo, 32), hiOdd = _mm256_srli_epi64(hi, 32);
        const __m256i newLo = joinLanes(_mm256_sub_epi64(_mm256_mul_epi32(lo, csEven), _mm256_mul_epi32(hi, caEven)),
                                        _mm256_sub_epi64(_mm256_mul_epi32(loOdd, csOdd), _mm256_mul_epi32(hiOdd, caOdd)), zero, 30);
        const __m256i newHi = joinLanes(_mm256_add_epi64(_mm256_mul_epi32(hi, csEven), _mm256_mul_epi32(lo, caEven)),
                                        _mm256_add_epi64(_mm256_mul_epi32(hiOdd, csOdd), _mm256_mul_epi32(loOdd, caOdd)), zero, 30);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a - 8), _mm256_permutevar8x32_epi32(newLo, reverse));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a), newHi);
    }
}

// GCC 12 takes the undefined first operand inside its own 512-bit intrinsics for an
// uninitialised read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// The same three with 512-bit vectors: twice the products an instruction, and processors
// that have them run those multiplies at twice the rate of the 256-bit ones.
__attribute__((target("avx512f,avx512bw"))) void synthWindowAvx512(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch)
{
    __m512i even[2], odd[2];
    for (int q = 0; q < 2; ++q)
        even[q] = odd[q] = _mm512_setzero_si512();
    for (int j = 0; j < 16; ++j) {
        const int32_t* v = ring[(pos + j) & 15] + ((j & 1) ? 32 : 0);
        const int32_t* d = kSynthWindow + 32 * j;
        const int32_t* dOdd = g_oddWindow.w + 32 * j;
        for (int q = 0; q < 2; ++q) {
            const __m512i x = _mm512_loadu_si512(v + 16 * q);
            even[q] = _mm512_add_epi64(even[q], _mm512_mul_epi32(x, _mm512_loadu_si512(d + 16 * q)));
            odd[q] = _mm512_add_epi64(odd[q], _mm512_mul_epi32(_mm512_srli_epi64(x, 32), _mm512_loadu_si512(dOdd + 16 * q)));
        }
    }
    const __m512i half = _mm512_set1_epi64(int64_t(1) << 26);
    const __m512i lo = _mm512_set1_epi32(-32768);
    const __m512i hi = _mm512_set1_epi32(32767);
    for (int q = 0; q < 2; ++q) {
        const __m512i e = _mm512_srli_epi64(_mm512_add_epi64(even[q], half), 27);
        const __m512i o = _mm512_slli_epi64(_mm512_srli_epi64(_mm512_add_epi64(odd[q], half), 27), 32);
        __m512i r = _mm512_mask_blend_epi32(0xAAAA, e, o);
        r = _mm512_max_epi32(_mm512_min_epi32(r, hi), lo);
        // 16 stereo frames: this channel's 16 bits of each 32-bit frame change
        int16_t* frames = pcm + 32 * q;
        const __m512i old = _mm512_loadu_si512(frames);
        if (ch == 0)
            _mm512_storeu_si512(frames, _mm512_mask_blend_epi16(0x55555555, old, r));
        else
            _mm512_storeu_si512(frames, _mm512_mask_blend_epi16(0xAAAAAAAA, old, _mm512_slli_epi32(r, 16)));
    }
}

__attribute__((target("avx512f,avx512bw"))) void dct32Avx512(const int32_t* x, int stride, int32_t* V)
{
    int64_t A[32];
    int32_t s1[16], d1[16];
    for (int k = 0; k < 16; ++k) {
        s1[k] = x[k * stride] + x[(31 - k) * stride];
        d1[k] = x[k * stride] - x[(31 - k) * stride];
    }
    __m512i acc0 = _mm512_setzero_si512(), acc1 = _mm512_setzero_si512();
    for (int k = 0; k < 16; ++k) {
        const __m512i b = _mm512_set1_epi32(d1[k]);
        const int64_t* c = g_dctLanes.m32[k];
        acc0 = _mm512_add_epi64(acc0, _mm512_mul_epi32(b, _mm512_loadu_si512(c)));
        acc1 = _mm512_add_epi64(acc1, _mm512_mul_epi32(b, _mm512_loadu_si512(c + 8)));
    }
    int32_t s2[8], d2[8];
    for (int k = 0; k < 8; ++k) {
        s2[k] = s1[k] + s1[15 - k];
        d2[k] = s1[k] - s1[15 - k];
    }
    __m512i a = _mm512_setzero_si512();
    for (int k = 0; k < 8; ++k)
        a = _mm512_add_epi64(a, _mm512_mul_epi32(_mm512_set1_epi32(d2[k]), _mm512_loadu_si512(g_dctLanes.m16[k])));
    dct32Tail(s2, A);
    historyFromParts(_mm512_cvtepi64_epi32(_mm512_srai_epi64(acc0, 28)), _mm512_cvtepi64_epi32(_mm512_srai_epi64(acc1, 28)),
                     _mm512_cvtepi64_epi32(_mm512_srai_epi64(a, 28)), A, V);
}

// The DCT-IV matrix and the signed windows for 512-bit rows: 16 outputs as [even 8 | odd 8],
// each value in the low half of a 64-bit lane; the window lanes of kImdctWindowLanes in
// three rows (the last one half empty).
struct ImdctLanes512
{
    int32_t m[18][32];
    int32_t w[4][3][32];
    ImdctLanes512()
        : w()
    {
        auto split = [](const int32_t* src, int count, int32_t* dst) {
            for (int l = 0; l < 8; ++l) {
                dst[2 * l] = 2 * l < count ? src[2 * l] : 0;
                dst[2 * l + 1] = 0;
                dst[16 + 2 * l] = 2 * l + 1 < count ? src[2 * l + 1] : 0;
                dst[16 + 2 * l + 1] = 0;
            }
        };
        for (int k = 0; k < 18; ++k)
            split(kImdctDct4 + 18 * k, 16, m[k]);
        for (int bt = 0; bt < 4; ++bt)
            for (int h = 0; h < 3; ++h)
                split(kImdctWindowLanes + 40 * bt + 16 * h, h < 2 ? 16 : 8, w[bt][h]);
    }
};
const ImdctLanes512 g_imdctLanes512;

// 64-bit lanes of even and odd outputs, rounded by shift, back to 16 int32 in order.
__attribute__((target("avx512f,avx512bw"))) inline __m512i joinLanes512(__m512i even, __m512i odd, __m512i half, int shift)
{
    const __m512i e = _mm512_srli_epi64(_mm512_add_epi64(even, half), shift);
    const __m512i o = _mm512_slli_epi64(_mm512_srli_epi64(_mm512_add_epi64(odd, half), shift), 32);
    return _mm512_mask_blend_epi32(0xAAAA, e, o);
}

__attribute__((target("avx512f,avx512bw"))) void longSubbandAvx512(const int32_t* X, int blockType, int32_t* ov, int32_t* out, bool invert)
{
    // the 18-point DCT-IV as a matrix: outputs 0..15 in 512-bit rows, 16 and 17 apart;
    // products read only the low half of each lane, so a 32-bit broadcast will do
    __m512i ev = _mm512_setzero_si512(), od = ev;
    __m128i tail = _mm_setzero_si128();
    for (int k = 0; k < 18; ++k) {
        const __m512i xb = _mm512_set1_epi32(X[k]);
        const int32_t* row = g_imdctLanes512.m[k];
        ev = _mm512_add_epi64(ev, _mm512_mul_epi32(xb, _mm512_loadu_si512(row)));
        od = _mm512_add_epi64(od, _mm512_mul_epi32(xb, _mm512_loadu_si512(row + 16)));
        tail = _mm_add_epi64(tail, _mm_mul_epi32(_mm512_castsi512_si128(xb),
                                                 _mm_loadu_si128(reinterpret_cast<const __m128i*>(g_imdctLanes.tail[k]))));
    }
    const __m512i half29 = _mm512_set1_epi64(int64_t(1) << 28);
    const __m512i y = joinLanes512(ev, od, half29, 29);
    tail = _mm_srli_epi64(_mm_add_epi64(tail, _mm512_castsi512_si128(half29)), 29);
    // Y16, Y17, then zeros
    const __m512i t = _mm512_zextsi128_si512(_mm_move_epi64(_mm_shuffle_epi32(tail, 0x08)));

    // each window lane one DCT-IV value: the first output half runs Y[9..17] then back
    // down, the second Y[8..0] then up again (lanes 18, 19 and from 38 on zero); built in
    // registers, since reading back what was just stored at another offset stalls
    const __m512i p[3] = {
        _mm512_permutex2var_epi32(y, _mm512_setr_epi32(9, 10, 11, 12, 13, 14, 15, 16, 17, 17, 16, 15, 14, 13, 12, 11), t),
        _mm512_permutex2var_epi32(y, _mm512_setr_epi32(10, 9, 18, 18, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 1, 2), t),
        _mm512_permutex2var_epi32(y, _mm512_setr_epi32(3, 4, 5, 6, 7, 8, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18), t),
    };
    const __m512i half30 = _mm512_set1_epi64(int64_t(1) << 29);
    __m512i r[3];
    for (int h = 0; h < 3; ++h) {
        const int32_t* w = g_imdctLanes512.w[blockType][h];
        r[h] = joinLanes512(_mm512_mul_epi32(p[h], _mm512_loadu_si512(w)),
                            _mm512_mul_epi32(_mm512_srli_epi64(p[h], 32), _mm512_loadu_si512(w + 16)), half30, 30);
    }
    const __m512i lo = _mm512_set1_epi32(-(1 << 28));
    const __m512i hi = _mm512_set1_epi32(1 << 28);
    const __m512i zero = _mm512_setzero_si512();
    const __mmask16 odd = invert ? 0xAAAA : 0;
    __m512i s0 = _mm512_add_epi32(r[0], _mm512_loadu_si512(ov));
    s0 = _mm512_max_epi32(_mm512_min_epi32(s0, hi), lo);
    _mm512_storeu_si512(out, _mm512_mask_sub_epi32(s0, odd, zero, s0));
    __m512i s1 = _mm512_add_epi32(r[1], _mm512_maskz_loadu_epi32(0x0003, ov + 16));
    s1 = _mm512_max_epi32(_mm512_min_epi32(s1, hi), lo);
    _mm512_mask_storeu_epi32(out + 16, 0x0003, _mm512_mask_sub_epi32(s1, odd, zero, s1));
    // the new overlap: window lanes 20..37
    _mm512_storeu_si512(ov, _mm512_permutex2var_epi32(
                                r[1], _mm512_setr_epi32(4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19), r[2]));
    _mm512_mask_storeu_epi32(ov + 16, 0x0003, _mm512_permutexvar_epi32(_mm512_setr_epi32(4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), r[2]));
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

} // namespace
#endif

namespace {

// Slower versions can be asked for, so that tests and benchmarks cover them on any x86
// processor: QUAVRIX_MP3_SIMD=plain for the plain ones, QUAVRIX_MP3_SIMD=avx2 for no
// 512-bit vectors.
enum class Simd { Plain, Avx2, Avx512 };

Simd simdLevel()
{
#ifdef QUAVRIX_MP3_X86
    const char* cap = std::getenv("QUAVRIX_MP3_SIMD");
    if (cap && std::strcmp(cap, "plain") == 0)
        return Simd::Plain;
    if (!__builtin_cpu_supports("avx2"))
        return Simd::Plain;
    if (cap && std::strcmp(cap, "avx2") == 0)
        return Simd::Avx2;
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") ? Simd::Avx512 : Simd::Avx2;
#else
    return Simd::Plain;
#endif
}

} // namespace

SynthWindowFn synthWindowFunction()
{
#ifdef QUAVRIX_MP3_X86
    switch (simdLevel()) {
    case Simd::Avx512: return synthWindowAvx512;
    case Simd::Avx2: return synthWindowAvx2;
    case Simd::Plain: break;
    }
#endif
    return synthWindowPlain;
}

LongSubbandFn longSubbandFunction()
{
#ifdef QUAVRIX_MP3_X86
    switch (simdLevel()) {
    case Simd::Avx512: return longSubbandAvx512;
    case Simd::Avx2: return longSubbandAvx2;
    case Simd::Plain: break;
    }
#endif
    return longSubbandPlain;
}

AliasFn aliasFunction()
{
#ifdef QUAVRIX_MP3_X86
    if (simdLevel() != Simd::Plain)
        return aliasReduceAvx2;
#endif
    return aliasReducePlain;
}

Dct32Fn dct32Function()
{
#ifdef QUAVRIX_MP3_X86
    switch (simdLevel()) {
    case Simd::Avx512: return dct32Avx512;
    case Simd::Avx2: return dct32Avx2;
    case Simd::Plain: break;
    }
#endif
    return dct32Plain;
}

} // namespace mp3
