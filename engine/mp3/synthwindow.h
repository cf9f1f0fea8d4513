#pragma once

#include <cstdint>

namespace mp3 {

// The windowing step of the polyphase synthesis: out[i] (i < 32) is the sum over the 16
// history vectors of window x V, before rounding, in units of 2^27 per 16-bit step.
// ring holds 16 vectors of 64 values; pos is the newest.
using SynthWindowFn = void (*)(const int32_t (*ring)[64], int pos, int32_t* out);

// The fastest version this processor runs.
SynthWindowFn synthWindowFunction();
void synthWindowPlain(const int32_t (*ring)[64], int pos, int32_t* out);

// 32-point DCT-II of the sub-band samples: A[m] = sum_k x[k] cos(m (2k+1) pi / 64), |x| <= 2^28.
using Dct32Fn = void (*)(const int32_t* x, int64_t* A);
Dct32Fn dct32Function();
void dct32Plain(const int32_t* x, int64_t* A);

} // namespace mp3
