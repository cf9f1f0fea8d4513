#pragma once

#include <cstdint>
#include <cstring>

namespace mp3 {

inline uint64_t loadBe64(const uint8_t* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return __builtin_bswap64(v);
}

// Reads MSB first through a 64-bit cache; needs 8 readable bytes past the last one read.
struct BitReader
{
    const uint8_t* start;
    const uint8_t* p;
    uint64_t cache;
    int count;

    BitReader(const uint8_t* data, int bitPos)
        : start(data), p(data + (bitPos >> 3)), cache(0), count(0)
    {
        refill();
        skip(bitPos & 7);
    }
    void refill()
    {
        cache |= loadBe64(p) >> count;
        const int n = (63 - count) >> 3;
        p += n;
        count += n << 3;
    }
    uint32_t peek(int n) const { return uint32_t(cache >> (64 - n)); }
    void skip(int n)
    {
        cache <<= n;
        count -= n;
    }
    uint32_t get(int n)
    {
        if (n == 0)
            return 0;
        if (count < n)
            refill();
        const uint32_t v = peek(n);
        skip(n);
        return v;
    }
    int position() const { return int(p - start) * 8 - count; }
};

} // namespace mp3
