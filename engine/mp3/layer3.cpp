#include "layer3.h"

#include "bitreader.h"
#include "mp3tables.h"
#include "transforms.h"

#include <algorithm>
#include <cstring>

namespace mp3 {

namespace {

inline int32_t clampTo(int64_t v, int32_t limit)
{
    return v > limit ? limit : (v < -limit ? -limit : int32_t(v));
}

} // namespace

Layer3::Layer3()
    : m_window(synthWindowFunction())
    , m_dct(dct32Function())
    , m_alias(aliasFunction())
    , m_longSubband(longSubbandFunction())
{
    reset();
}

void Layer3::reset()
{
    std::memset(m_ix, 0, sizeof m_ix);
    std::memset(m_nonZero, 0, sizeof m_nonZero);
    std::memset(m_bands, 0, sizeof m_bands);
    std::memset(m_bandCount, 0, sizeof m_bandCount);
    std::memset(m_sfLong, 0, sizeof m_sfLong);
    std::memset(m_sfShort, 0, sizeof m_sfShort);
    std::memset(m_isMaxLong, 0, sizeof m_isMaxLong);
    std::memset(m_isMaxShort, 0, sizeof m_isMaxShort);
    std::memset(m_overlap, 0, sizeof m_overlap);
    std::memset(m_prevSubbands, 0, sizeof m_prevSubbands);
    std::memset(m_subband, 0, sizeof m_subband);
    std::memset(m_v, 0, sizeof m_v);
    std::memset(m_vPos, 0, sizeof m_vPos);
    std::memset(m_over, 0, sizeof m_over);
    std::memset(m_exponent, 0, sizeof m_exponent);
}

int Layer3::readScalefactors(const FrameHeader& h, const SideInfo& si, int gr, int ch, BitReader& br)
{
    const GranuleChannel& g = si.gr[gr][ch];
    uint8_t* sfl = m_sfLong[ch];
    uint8_t (*sfs)[3] = m_sfShort[ch];
    const bool shortBlock = g.windowSwitching && g.blockType == 2;
    if (h.version) {
        const int slen1 = kSlen[0][g.scalefacCompress];
        const int slen2 = kSlen[1][g.scalefacCompress];
        if (shortBlock) {
            int sfb = 0;
            if (g.mixedBlock) {
                for (; sfb < 8; ++sfb)
                    sfl[sfb] = uint8_t(br.get(slen1));
                sfb = 3;
            }
            for (; sfb < 12; ++sfb) {
                const int slen = sfb < 6 ? slen1 : slen2;
                for (int w = 0; w < 3; ++w)
                    sfs[sfb][w] = uint8_t(br.get(slen));
            }
            sfs[12][0] = sfs[12][1] = sfs[12][2] = 0;
        } else {
            static const int kGroups[5] = {0, 6, 11, 16, 21};
            for (int i = 0; i < 4; ++i) {
                if (gr == 1 && si.scfsi[ch][i])
                    continue; // kept from granule 0
                const int slen = i < 2 ? slen1 : slen2;
                for (int sfb = kGroups[i]; sfb < kGroups[i + 1]; ++sfb)
                    sfl[sfb] = uint8_t(br.get(slen));
            }
            sfl[21] = 0;
        }
        m_preflag[ch] = g.preflag;
        std::memset(m_isMaxLong[ch], 7, sizeof m_isMaxLong[ch]);
        std::memset(m_isMaxShort[ch], 7, sizeof m_isMaxShort[ch]);
        return 0;
    }

    // MPEG-2: four partitions whose sizes depend on scalefac_compress and the block type.
    int slen[4] = {};
    int table = 0;
    int preflag = 0;
    const bool intensityRight = ch == 1 && h.mode == 1 && (h.modeExtension & 1);
    if (!intensityRight) {
        const int sfc = g.scalefacCompress;
        if (sfc < 400) {
            slen[0] = (sfc >> 4) / 5;
            slen[1] = (sfc >> 4) % 5;
            slen[2] = (sfc & 15) >> 2;
            slen[3] = sfc & 3;
            table = 0;
        } else if (sfc < 500) {
            const int s = sfc - 400;
            slen[0] = (s >> 2) / 5;
            slen[1] = (s >> 2) % 5;
            slen[2] = s & 3;
            table = 1;
        } else {
            const int s = sfc - 500;
            slen[0] = s / 3;
            slen[1] = s % 3;
            table = 2;
            preflag = 1;
        }
    } else {
        const int isc = g.scalefacCompress >> 1;
        if (isc < 180) {
            slen[0] = isc / 36;
            slen[1] = (isc % 36) / 6;
            slen[2] = (isc % 36) % 6;
            table = 3;
        } else if (isc < 244) {
            const int s = isc - 180;
            slen[0] = (s % 64) >> 4;
            slen[1] = (s % 16) >> 2;
            slen[2] = s % 4;
            table = 4;
        } else {
            const int s = isc - 244;
            slen[0] = s / 3;
            slen[1] = s % 3;
            table = 5;
        }
    }
    m_preflag[ch] = preflag;
    const int blockIndex = shortBlock ? (g.mixedBlock ? 2 : 1) : 0;
    const uint8_t* counts = kLsfSfbCount[table][blockIndex];
    uint8_t values[40] = {};
    uint8_t maxima[40] = {};
    int n = 0;
    for (int part = 0; part < 4; ++part) {
        for (int i = 0; i < counts[part] && n < 40; ++i, ++n) {
            values[n] = uint8_t(br.get(slen[part]));
            maxima[n] = uint8_t((1 << slen[part]) - 1);
        }
    }
    int k = 0;
    if (!shortBlock) {
        for (int sfb = 0; sfb < 21; ++sfb, ++k) {
            sfl[sfb] = values[k];
            m_isMaxLong[ch][sfb] = maxima[k];
        }
        sfl[21] = 0;
        m_isMaxLong[ch][21] = m_isMaxLong[ch][20];
    } else {
        int sfb = 0;
        if (g.mixedBlock) {
            for (; sfb < 6; ++sfb, ++k) {
                sfl[sfb] = values[k];
                m_isMaxLong[ch][sfb] = maxima[k];
            }
            sfb = 3;
        }
        for (; sfb < 12; ++sfb) {
            for (int w = 0; w < 3; ++w, ++k) {
                sfs[sfb][w] = values[k];
                m_isMaxShort[ch][sfb][w] = maxima[k];
            }
        }
        for (int w = 0; w < 3; ++w) {
            sfs[12][w] = 0;
            m_isMaxShort[ch][12][w] = m_isMaxShort[ch][11][w];
        }
    }
    return 0;
}

// Requantization: |x|^(4/3) * 2^((global_gain - 210 - scale-factor terms) / 4), with kFrac
// fraction bits, at most 4.0 (far above full scale).
struct BandScale
{
    int end;          // first line after the band
    int shift;        // values below 16: (kPow43Small[x] * frac + round) >> shift
    int64_t frac;     // 2^(r/4), Q30; 0 when the band is inaudibly quiet
    int64_t round;
    int baseShift;    // larger values: with the exponent stored in kPow43
    int32_t one;      // the value of 1 (count1 quadruples), limited to kMaxLine
    bool oneOver;     // ... and whether it was limited
};

namespace {

constexpr int64_t kMaxLine = int64_t(1) << 28;

// A count1 code's four flags (first value in bit 3) and the signs that follow it: how
// many signs, and the four values as -1, 0 or 1 for each pattern of them.
struct QuadUnits
{
    int8_t count[16];
    int8_t units[16][16][4];
    constexpr QuadUnits()
        : count(), units()
    {
        for (int f = 0; f < 16; ++f) {
            const int n = ((f >> 3) & 1) + ((f >> 2) & 1) + ((f >> 1) & 1) + (f & 1);
            count[f] = int8_t(n);
            for (int s = 0; s < (1 << n); ++s) {
                int next = n - 1; // signs come first-value first, most significant bit first
                for (int k = 0; k < 4; ++k) {
                    if (!((f >> (3 - k)) & 1))
                        continue;
                    units[f][s][k] = int8_t(((s >> next) & 1) ? -1 : 1);
                    --next;
                }
            }
        }
    }
};
constexpr QuadUnits kQuad;
constexpr const int8_t (&kQuadSignCount)[16] = kQuad.count;
constexpr const int8_t (&kQuadUnits)[16][16][4] = kQuad.units;

// The leaf of a big-value pair's code in the multi-level lookup (length << 8 | x << 4 | y),
// the bits of the levels above it skipped; the cache must hold the whole code.
inline uint32_t pairEntry(BitReader& br, const uint16_t* tab, int firstBits)
{
    int bits = firstBits;
    uint32_t e = tab[br.peek(bits)];
    while (e & 0x8000) {
        br.skip(bits);
        bits = int(e & 15);
        e = tab[((e >> 4) & 0x7FF) + br.peek(bits)];
    }
    return e;
}

// Values beyond kMaxLine are limited to it and set over: the granule is then decoded
// again at a coarser scale.
inline int32_t requantValue(int ax, const BandScale& s, bool& over)
{
    int64_t v;
    if (ax < 16) {
        v = (kPow43Small[ax] * s.frac + s.round) >> s.shift;
    } else {
        const uint32_t p = kPow43[ax];
        const int shift = s.baseShift - int(p & 31);
        if (shift >= 62)
            v = 0;
        else if (shift <= 0)
            v = s.frac ? kMaxLine + 1 : 0;
        else
            v = ((int64_t(p >> 5) * s.frac) + (int64_t(1) << (shift - 1))) >> shift;
    }
    over |= v > kMaxLine;
    return int32_t(v > kMaxLine ? kMaxLine : v);
}

} // namespace

// Bit reading shifts by variable counts all the time: a BMI2 clone does each in one
// instruction without touching the flags. Not under the sanitizers, whose runtime is not
// ready when the clone is picked.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__) \
    && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("default", "bmi2")))
#endif
int Layer3::huffmanDecode(const FrameHeader& h, const GranuleChannel& g, int ch, BitReader& br, int endBit,
                          const BandScale* scale)
{
    int32_t* ix = m_ix[ch];
    const int bigEnd = g.bigValues * 2;
    int region1, region2;
    if (g.windowSwitching) {
        region1 = g.blockType == 2 ? 36 : kSfbLong[h.table][8];
        region2 = 576;
    } else {
        const int r1 = std::min(g.region0Count + 1, 22);
        const int r2 = std::min(g.region0Count + g.region1Count + 2, 22);
        region1 = kSfbLong[h.table][r1];
        region2 = kSfbLong[h.table][r2];
    }
    region1 = std::min(region1, bigEnd);
    region2 = std::min(region2, bigEnd);

    int i = 0;
    bool over = false;
    const int bounds[3] = {region1, region2, bigEnd};
    for (int r = 0; r < 3; ++r) {
        const int end = bounds[r];
        if (i >= end)
            continue;
        const HuffTable& t = kHuffTables[g.tableSelect[r]];
        if (g.tableSelect[r] == 0) {
            for (; i < end; ++i)
                ix[i] = 0;
            continue;
        }
        if (!t.valid)
            return -2;
        const uint16_t* tab = kHuffLookup + t.offset;
        const int linbits = t.linbits;
        const int firstBits = t.firstBits;
        if (linbits == 0) {
            // values below 16 (most of the spectrum at usual rates): no escapes, and the
            // requantisation takes the small-value table only
            for (; i < end; i += 2) {
                // a code of up to 19 bits and 2 signs
                if (br.count < 21)
                    br.refill();
                const uint32_t e = pairEntry(br, tab, firstBits);
                // the signs follow the code, one for each value that is not zero: one
                // skip for all, without branches on the values
                const int x = int((e >> 4) & 15);
                const int y = int(e & 15);
                const int nx = x != 0, ny = y != 0;
                const uint64_t after = br.cache << (e >> 8);
                const int sx = int(after >> 63) & nx;
                const int sy = int((after << nx) >> 63) & ny;
                br.skip(int(e >> 8) + nx + ny);
                while (i >= scale->end)
                    ++scale;
                const int64_t vx = (kPow43Small[x] * scale->frac + scale->round) >> scale->shift;
                const int64_t vy = (kPow43Small[y] * scale->frac + scale->round) >> scale->shift;
                over |= (vx > kMaxLine) | (vy > kMaxLine);
                const int32_t cx = int32_t(vx > kMaxLine ? kMaxLine : vx);
                const int32_t cy = int32_t(vy > kMaxLine ? kMaxLine : vy);
                ix[i] = sx ? -cx : cx;
                ix[i + 1] = sy ? -cy : cy;
            }
            if (br.position() > endBit)
                return -2;
            continue;
        }
        for (; i < end; i += 2) {
            // one refill covers a pair: a code of up to 19 bits, 2 x 13 linbits, 2 signs
            if (br.count < 47)
                br.refill();
            const uint32_t e = pairEntry(br, tab, firstBits);
            br.skip(int(e >> 8));
            int x = int((e >> 4) & 15);
            int y = int(e & 15);
            if (linbits && x == 15) {
                x += int(br.peek(linbits));
                br.skip(linbits);
            }
            const int sx = x ? int(br.peek(1)) : 0;
            br.skip(x != 0);
            if (linbits && y == 15) {
                y += int(br.peek(linbits));
                br.skip(linbits);
            }
            const int sy = y ? int(br.peek(1)) : 0;
            br.skip(y != 0);
            // bands end on even lines: both values share the band
            while (i >= scale->end)
                ++scale;
            const int32_t vx = requantValue(x, *scale, over);
            const int32_t vy = requantValue(y, *scale, over);
            ix[i] = sx ? -vx : vx;
            ix[i + 1] = sy ? -vy : vy;
        }
        if (br.position() > endBit)
            return -2;
    }

    // count1 region: quadruples of 0 or 1 until the granule's bits are used up; a code and
    // its signs come out of the cache in one read
    const uint16_t* quad = g.count1Table ? kQuadB : kQuadA;
    const int quadBits = g.count1Table ? 4 : 6;
    while (i + 4 <= 576 && br.position() < endBit) {
        // a code of up to 6 bits and 4 signs
        if (br.count < 10)
            br.refill();
        const uint32_t e = quad[br.peek(quadBits)];
        const uint32_t flags = e & 15;
        const int length = int(e >> 8) + kQuadSignCount[flags];
        const uint32_t signs = br.peek(length) & ((1u << kQuadSignCount[flags]) - 1);
        br.skip(length);
        if (br.position() > endBit)
            break; // the last quadruple ran past the granule: drop it
        const int8_t* unit = kQuadUnits[flags][signs];
        while (i >= scale->end)
            ++scale;
        if (i + 4 <= scale->end) {
            const int32_t one = scale->one;
            over |= scale->oneOver && flags != 0;
            for (int k = 0; k < 4; ++k)
                ix[i + k] = unit[k] * one;
            i += 4;
            continue;
        }
        for (int k = 0; k < 4; ++k, ++i) {
            while (i >= scale->end)
                ++scale;
            over |= unit[k] && scale->oneOver;
            ix[i] = unit[k] * scale->one;
        }
    }
    m_nonZero[ch] = i;
    m_over[ch] = over;
    for (int k = i; k < 576; ++k)
        ix[k] = 0;
    return 0;
}

void Layer3::buildBands(const FrameHeader& h, const GranuleChannel& g, int ch)
{
    Band* b = m_bands[ch];
    int n = 0;
    const int16_t* sl = kSfbLong[h.table];
    const int16_t* ss = kSfbShort[h.table];
    if (g.windowSwitching && g.blockType == 2) {
        int sfb = 0;
        if (g.mixedBlock) {
            const int longBands = h.version ? 8 : 6;
            for (int s = 0; s < longBands; ++s)
                b[n++] = {sl[s], sl[s + 1], -1, int8_t(s)};
            sfb = 3;
        }
        for (; sfb < 13; ++sfb) {
            const int width = ss[sfb + 1] - ss[sfb];
            for (int w = 0; w < 3; ++w) {
                const int start = 3 * ss[sfb] + w * width;
                b[n++] = {int16_t(start), int16_t(start + width), int8_t(w), int8_t(sfb)};
            }
        }
    } else {
        for (int s = 0; s < 22; ++s)
            b[n++] = {sl[s], sl[s + 1], -1, int8_t(s)};
    }
    m_bandCount[ch] = n;
}

void Layer3::computeScales(const GranuleChannel& g, int ch, int exponent, BandScale* scales)
{
    const int mult = g.scalefacScale ? 4 : 2;
    const Band* bands = m_bands[ch];
    for (int bi = 0; bi < m_bandCount[ch]; ++bi) {
        const Band& b = bands[bi];
        int exp4 = g.globalGain - 210;
        if (b.window < 0)
            exp4 -= mult * (m_sfLong[ch][b.sfb] + (m_preflag[ch] ? kPretab[b.sfb] : 0));
        else
            exp4 -= 8 * g.subblockGain[b.window] + mult * m_sfShort[ch][b.sfb][b.window];
        const int q = exp4 >> 2; // floor
        BandScale& s = scales[bi];
        s.end = b.end;
        s.frac = kPow2Quarter[exp4 & 3];
        // kPow43Small is Q25, frac Q30: the product has 55 - q fraction bits
        int shift = 55 - q - kFrac + exponent;
        if (shift >= 63) {
            s.frac = 0;
            shift = 1;
        } else if (shift < 1) {
            shift = 1; // loud beyond 4.0: every value saturates
        }
        s.shift = shift;
        s.round = int64_t(1) << (shift - 1);
        // kPow43 holds m * 2^(e - 26): (m * frac) >> (56 - q - e - kFrac)
        s.baseShift = 56 - q - kFrac + exponent;
        const int64_t one = (kPow43Small[1] * s.frac + s.round) >> s.shift;
        s.oneOver = one > kMaxLine;
        s.one = int32_t(s.oneOver ? kMaxLine : one);
    }
    // guard: a band that ends the list so that the decoder never runs past it
    scales[m_bandCount[ch]] = scales[m_bandCount[ch] - 1];
    scales[m_bandCount[ch]].end = 1 << 20;
}

void Layer3::intensity(const FrameHeader& h, const GranuleChannel& g, bool ms)
{
    // Bands of the right channel above its last non-zero value (per window for short
    // blocks) carry only a position; the left channel holds the sum signal.
    const Band* bands = m_bands[1];
    const int count = m_bandCount[1];
    const int32_t* quant = m_ix[1];
    int lastLong = -1;
    int lastShort[3] = {-1, -1, -1};
    for (int bi = 0; bi < count; ++bi) {
        const Band& b = bands[bi];
        bool zero = true;
        for (int i = b.start; i < b.end; ++i)
            if (quant[i]) {
                zero = false;
                break;
            }
        if (!zero) {
            if (b.window < 0)
                lastLong = b.sfb;
            else
                lastShort[b.window] = std::max(lastShort[b.window], int(b.sfb));
        }
    }
    const bool anyShort = lastShort[0] >= 0 || lastShort[1] >= 0 || lastShort[2] >= 0;
    int32_t* l = m_ix[0];
    int32_t* r = m_ix[1];
    for (int bi = 0; bi < count; ++bi) {
        const Band& b = bands[bi];
        bool isBand;
        int pos, maxPos;
        if (b.window < 0) {
            isBand = !anyShort && b.sfb > lastLong;
            const int s = b.sfb == 21 ? 20 : b.sfb;
            pos = m_sfLong[1][s];
            maxPos = m_isMaxLong[1][s];
        } else {
            isBand = b.sfb > lastShort[b.window];
            const int s = b.sfb == 12 ? 11 : b.sfb;
            pos = m_sfShort[1][s][b.window];
            maxPos = m_isMaxShort[1][s][b.window];
        }
        // MPEG-1 positions run 0..6 (7 marks a band without intensity coding)
        if (isBand && pos != maxPos && (h.version == 0 || pos < 7)) {
            int64_t kl, kr;
            if (h.version) {
                kl = kIntensity1[2 * pos];
                kr = kIntensity1[2 * pos + 1];
            } else {
                const int32_t* io = kIntensity2 + ((g.scalefacCompress & 1) ? 16 : 0);
                if (pos == 0) {
                    kl = kr = int64_t(1) << 30;
                } else if (pos & 1) {
                    kl = io[(pos + 1) >> 1];
                    kr = int64_t(1) << 30;
                } else {
                    kl = int64_t(1) << 30;
                    kr = io[pos >> 1];
                }
            }
            for (int i = b.start; i < b.end; ++i) {
                const int64_t v = l[i];
                l[i] = int32_t((v * kl) >> 30);
                r[i] = int32_t((v * kr) >> 30);
            }
        } else if (ms) {
            for (int i = b.start; i < b.end; ++i) {
                const int64_t m = l[i], s = r[i];
                l[i] = int32_t(((m + s) * kInvSqrt2) >> 30);
                r[i] = int32_t(((m - s) * kInvSqrt2) >> 30);
            }
        }
    }
}

void Layer3::stereo(const FrameHeader& h, const GranuleChannel& right, int channels)
{
    if (channels != 2 || h.mode != 1)
        return;
    const bool ms = h.modeExtension & 2;
    const bool is = h.modeExtension & 1;
    const int nz = std::max(m_nonZero[0], m_nonZero[1]);
    if (is) {
        intensity(h, right, ms);
        m_nonZero[0] = m_nonZero[1] = 576;
        // trim to the last non-zero line again
        int last = 576;
        while (last > 0 && m_ix[0][last - 1] == 0 && m_ix[1][last - 1] == 0)
            --last;
        m_nonZero[0] = m_nonZero[1] = last;
        return;
    }
    if (ms) {
        int32_t* l = m_ix[0];
        int32_t* r = m_ix[1];
        for (int i = 0; i < nz; ++i) {
            const int64_t m = l[i], s = r[i];
            l[i] = int32_t(((m + s) * kInvSqrt2) >> 30);
            r[i] = int32_t(((m - s) * kInvSqrt2) >> 30);
        }
    }
    m_nonZero[0] = m_nonZero[1] = nz;
}

void Layer3::reorder(const FrameHeader& h, const GranuleChannel& g, int ch)
{
    if (!(g.windowSwitching && g.blockType == 2))
        return;
    // Short blocks arrive band by band, window by window; the transform wants each
    // frequency's three windows side by side (line 3 f + w).
    int32_t* x = m_ix[ch];
    int32_t tmp[576];
    const int16_t* ss = kSfbShort[h.table];
    const int firstSfb = g.mixedBlock ? 3 : 0;
    const int base = 3 * ss[firstSfb];
    const int nz = m_nonZero[ch];
    int newNonZero = nz;
    for (int sfb = firstSfb; sfb < 13; ++sfb) {
        const int start = 3 * ss[sfb];
        const int width = ss[sfb + 1] - ss[sfb];
        for (int w = 0; w < 3; ++w)
            for (int f = 0; f < width; ++f)
                tmp[start + 3 * f + w] = x[start + w * width + f];
        if (nz > start && nz <= start + 3 * width)
            newNonZero = start + 3 * width;
    }
    std::memcpy(x + base, tmp + base, sizeof(int32_t) * size_t(576 - base));
    m_nonZero[ch] = newNonZero;
}

namespace {

// Three 12-point IMDCTs of interleaved short-block lines X[3k + w], windowed and placed.
inline void imdct12x3(const int32_t* X, int64_t* out)
{
    for (int i = 0; i < 36; ++i)
        out[i] = 0;
    for (int w = 0; w < 3; ++w) {
        int64_t x[6];
        for (int k = 0; k < 6; ++k)
            x[k] = X[3 * k + w];
        for (int i = 0; i < 12; ++i) {
            const int32_t* m = kImdctShort + 6 * i;
            const int64_t s = x[0] * m[0] + x[1] * m[1] + x[2] * m[2] + x[3] * m[3] + x[4] * m[4] + x[5] * m[5];
            out[6 + 6 * w + i] += s >> 28;
        }
    }
}

} // namespace

void Layer3::hybrid(const GranuleChannel& g, int ch)
{
    int32_t* x = m_ix[ch];
    const int nz = m_nonZero[ch];
    const bool shortBlock = g.windowSwitching && g.blockType == 2;
    int subbands;
    if (shortBlock) {
        subbands = (nz + 17) / 18;
        if (g.mixedBlock && subbands < 2)
            subbands = 2;
    } else {
        subbands = (nz + 26) / 18;
    }
    subbands = std::min(subbands, 32);

    // Requantized lines are at most 4.0 (2^28), after mid/side at most 5.7 and after the
    // alias butterflies below 8.0 (2^29): the bound the transforms are made for.
    m_alias(x, shortBlock ? (g.mixedBlock ? 2 : 0) : subbands);

    const int active = std::max(subbands, m_prevSubbands[ch]);
    for (int sb = 0; sb < 32; ++sb) {
        int32_t* ov = m_overlap[ch][sb];
        if (sb >= active) {
            for (int t = 0; t < 18; ++t)
                m_subband[sb][t] = 0;
            continue;
        }
        if (sb >= subbands) {
            // zero input: the previous overlap drains out
            for (int t = 0; t < 18; ++t) {
                const int32_t s = clampTo(ov[t], 1 << 28);
                m_subband[sb][t] = ((sb & 1) && (t & 1)) ? -s : s;
                ov[t] = 0;
            }
            continue;
        }
        const int32_t* X = x + 18 * sb;
        int32_t* out = m_subband[sb];
        if (!shortBlock || (g.mixedBlock && sb < 2)) {
            m_longSubband(X, (g.mixedBlock && sb < 2) ? 0 : g.blockType, ov, out, sb & 1);
            continue;
        }
        int64_t y[36];
        imdct12x3(X, y);
        for (int t = 0; t < 18; ++t) {
            const int32_t s = clampTo(y[t] + ov[t], 1 << 28);
            out[t] = ((sb & 1) && (t & 1)) ? -s : s;
            ov[t] = int32_t(y[18 + t]);
        }
    }
    m_prevSubbands[ch] = subbands;
}

void Layer3::synthesize(int ch, int16_t* pcm)
{
    int pos = m_vPos[ch];
    for (int t = 0; t < 18; ++t) {
        pos = (pos - 1) & 15;
        m_dct(&m_subband[0][t], 24, m_v[ch][pos]);
        if (m_exponent[ch] == 0)
            m_window(m_v[ch], pos, pcm + t * 64, ch);
        else
            synthWindowScaled(m_v[ch], pos, pcm + t * 64, ch, m_exponent[ch]);
    }
    m_vPos[ch] = pos;
}

// The fewest bits by which channel ch's overlap and synthesis history, now scaled down by
// m_exponent[ch], must stay scaled so that they fit the ranges of the normal path again.
int Layer3::historyExponent(int ch) const
{
    if (m_exponent[ch] == 0)
        return 0;
    int64_t overlap = 0, history = 0;
    for (int sb = 0; sb < 32; ++sb)
        for (int t = 0; t < 18; ++t)
            overlap = std::max<int64_t>(overlap, std::abs(int64_t(m_overlap[ch][sb][t])));
    for (int k = 0; k < 16; ++k)
        for (int i = 0; i < 64; ++i)
            history = std::max<int64_t>(history, std::abs(int64_t(m_v[ch][k][i])));
    int e = m_exponent[ch];
    while (e > 0 && (overlap << 1) <= (int64_t(1) << 27) && (history << 1) <= (int64_t(1) << 29)) {
        overlap <<= 1;
        history <<= 1;
        --e;
    }
    return e;
}

void Layer3::rescaleHistory(int ch, int exponent)
{
    const int k = exponent - m_exponent[ch];
    m_exponent[ch] = exponent;
    if (k == 0)
        return;
    auto scale = [k](int32_t& v) {
        v = k > 0 ? int32_t((int64_t(v) + (int64_t(1) << (k - 1))) >> k) : int32_t(int64_t(v) * (int64_t(1) << -k));
    };
    for (int sb = 0; sb < 32; ++sb)
        for (int t = 0; t < 18; ++t)
            scale(m_overlap[ch][sb][t]);
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 64; ++i)
            scale(m_v[ch][j][i]);
}

int Layer3::decodeGranule(const FrameHeader& h, const SideInfo& si, int gr, const uint8_t* data,
                          int dataBytes, int& bitPos, int16_t* pcm)
{
    const int nch = h.channels;
    int result = 0;
    const int totalBits = dataBytes * 8;
    int starts[2];
    for (int ch = 0; ch < nch; ++ch) {
        starts[ch] = bitPos;
        bitPos += si.gr[gr][ch].part23Length;
    }
    auto decodeChannels = [&](int exponent) {
        bool over = false;
        for (int ch = 0; ch < nch; ++ch) {
            const GranuleChannel& g = si.gr[gr][ch];
            const int start = starts[ch];
            const int end = start + g.part23Length;
            bool ok = end <= totalBits;
            buildBands(h, g, ch);
            m_over[ch] = false;
            if (ok) {
                BitReader br(data, start);
                readScalefactors(h, si, gr, ch, br);
                BandScale scales[41];
                computeScales(g, ch, exponent, scales);
                ok = br.position() <= end && huffmanDecode(h, g, ch, br, end, scales) == 0;
            }
            if (!ok) {
                std::memset(m_ix[ch], 0, sizeof m_ix[ch]);
                m_nonZero[ch] = 0;
                m_over[ch] = false;
                result = -2;
            }
            over = over || m_over[ch];
        }
        return over;
    };
    // Spectral values beyond the normal range (a high global gain on big values) are
    // carried scaled down by 2^exponent through to the final rounding, which scales
    // them back up; both channels share the scale for stereo processing.
    int exponent = 0;
    for (int ch = 0; ch < nch; ++ch)
        exponent = std::max(exponent, historyExponent(ch));
    if (decodeChannels(exponent)) {
        while (exponent < kMaxExponent - 2 && decodeChannels(exponent += 2)) {
        }
        // room for the transforms to grow past the spectral peak
        exponent += 2;
        decodeChannels(exponent);
    }
    for (int ch = 0; ch < nch; ++ch)
        rescaleHistory(ch, exponent);
    if (nch == 2) {
        // intensity stereo needs both channels in the same block form
        const GranuleChannel& g0 = si.gr[gr][0];
        const GranuleChannel& g1 = si.gr[gr][1];
        const bool sameBlocks = (g0.windowSwitching && g0.blockType == 2) == (g1.windowSwitching && g1.blockType == 2)
            && g0.mixedBlock == g1.mixedBlock;
        if (sameBlocks || !(h.modeExtension & 1))
            stereo(h, g1, nch);
    }
    for (int ch = 0; ch < nch; ++ch) {
        const GranuleChannel& g = si.gr[gr][ch];
        reorder(h, g, ch);
        hybrid(g, ch);
        synthesize(ch, pcm);
    }
    return result;
}

} // namespace mp3
