#pragma once

#include <cstdint>

// The analyzer's transform: a 512-point real FFT in 32-bit fixed point. Bins 0..256 of
// the unnormalised DFT X[k] = sum s[n] e^(-2 pi i k n / 512), to within rounding.
// The samples are packed into 256 complex values (even + i odd), scaled by 128,
// transformed by an unscaled radix-2 FFT with 14-bit twiddle factors and split into the
// bins of the real signal.
class FixedFFT
{
public:
    static constexpr int Size = 512;
    static constexpr int Bins = Size / 2 + 1;

    // re and im receive Bins values each. Allocation-free; tables are built once.
    static void transform(const int16_t* samples, int32_t* re, int32_t* im);
};
