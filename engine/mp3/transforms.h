#pragma once

// The transforms of the Layer III core: polyphase synthesis (DCT and window), the alias
// reduction and the long-block IMDCT, each in a plain version and, where the processor has
// them, with AVX2 and 512-bit (AVX-512F/BW) vectors. QUAVRIX_MP3_SIMD=plain or =avx2 in
// the environment caps the choice (tests and benchmarks).

#include <cstdint>

namespace mp3 {

// The windowing step of the polyphase synthesis: 32 output samples, each the sum over the
// 16 history vectors of window x V (2^27 per 16-bit step), rounded and limited to 16 bits,
// written to channel ch of 32 interleaved stereo frames at pcm. ring holds 16 vectors of
// 64 values; pos is the newest.
using SynthWindowFn = void (*)(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch);

// The fastest version this processor runs.
SynthWindowFn synthWindowFunction();
void synthWindowPlain(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch);
// The same for a history scaled down by 2^exponent (granules beyond the normal range).
void synthWindowScaled(const int32_t (*ring)[64], int pos, int16_t* pcm, int ch, int exponent);

// 32-point DCT-II of the sub-band samples x[k * stride],
// A[m] = sum_k x[k] cos(m (2k+1) pi / 64), |x| <= 2^28, written as the 64 values of the
// history vector the window reads: V[i] = A[16 + i], V[16] = 0, V[32 - i] = -A[16 + i],
// V[32 + i] = -A[16 - i], V[48] = -A[0], V[48 + i] = -A[i].
using Dct32Fn = void (*)(const int32_t* x, int stride, int32_t* V);
Dct32Fn dct32Function();
void dct32Plain(const int32_t* x, int stride, int32_t* V);

// One long-block sub-band of the hybrid filter bank: the 36-point IMDCT of X[0..17] with
// the window of blockType, added to the overlap ov, clamped to +-2^28 and written to
// out[0..17] (odd time slots negated when invert); the second half becomes the new
// overlap. |X| <= 2^29; ov and out have 24 writable values (18 used).
using LongSubbandFn = void (*)(const int32_t* X, int blockType, int32_t* ov, int32_t* out, bool invert);
LongSubbandFn longSubbandFunction();
void longSubbandPlain(const int32_t* X, int blockType, int32_t* ov, int32_t* out, bool invert);

// The alias reduction butterflies between sub-bands 1..subbands-1 of the 576 lines x
// (|x| <= 2^29 after them).
using AliasFn = void (*)(int32_t* x, int subbands);
AliasFn aliasFunction();
void aliasReducePlain(int32_t* x, int subbands);

} // namespace mp3
