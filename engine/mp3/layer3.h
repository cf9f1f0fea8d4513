#pragma once

#include <cstdint>

// The Layer III core: side information to 16-bit PCM, in integers only. Spectral and
// time-domain values are 32-bit fixed point with kFrac fraction bits; products are 64-bit.
namespace mp3 {

constexpr int kFrac = 26;

struct FrameHeader
{
    int version = 0;      // 1 MPEG-1, 0 MPEG-2 (low sampling frequencies)
    int layer = 0;        // header field: 1 is Layer III
    int protection = 0;   // header bit: 0 means a CRC follows the header
    int bitrateIndex = 0;
    int sampleIndex = 0;
    int padding = 0;
    int privateBit = 0;
    int mode = 0;         // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    int modeExtension = 0;
    int copyright = 0;
    int original = 0;
    int emphasis = 0;
    int crc = 0;

    // Derived
    int channels = 0;
    int granules = 0;
    int sideInfoSize = 0;
    int sampleRate = 0;   // table rate, Hz
    int bitrate = 0;      // kbit/s, 0 for free format
    int table = 0;        // scale-factor band table 0..5
};

// Parses the 4 header bytes; false when they are not a Layer III header we can play.
bool parseHeader(const uint8_t* b, FrameHeader& h);
// Frame length in bytes including padding, for a header with a bit rate (0 for free format).
int frameLength(const FrameHeader& h);
// Frame length without padding for a bit rate in kbit/s.
int frameLengthFor(int version, int kbps, int sampleRate);

struct GranuleChannel
{
    int part23Length = 0;
    int bigValues = 0;
    int globalGain = 0;
    int scalefacCompress = 0;
    int windowSwitching = 0;
    int blockType = 0;
    int mixedBlock = 0;
    int tableSelect[3] = {};
    int subblockGain[3] = {};
    int region0Count = 0;
    int region1Count = 0;
    int preflag = 0;
    int scalefacScale = 0;
    int count1Table = 0;
};

struct SideInfo
{
    int mainDataBegin = 0;
    int privateBits = 0;
    int scfsi[2][4] = {};
    GranuleChannel gr[2][2];
};

// Reads the side information (sideInfoSize bytes at p). Returns 0, or -2 when a field is
// out of its legal range (the frame is then still framed, but plays as silence).
int parseSideInfo(const uint8_t* p, const FrameHeader& h, SideInfo& si);

class Layer3
{
public:
    Layer3();
    void reset();

    // Decodes granule gr from the frame's main data (data[0..dataBytes), padded with at
    // least kMainDataPad readable bytes) into pcm: 576 interleaved stereo frames, channel
    // 0 at even and channel 1 at odd positions (mono frames write only even positions).
    // bitPos is the granule's first bit and is advanced past it. Returns 0, or -2 when
    // the granule was out of range and played as silence.
    int decodeGranule(const FrameHeader& h, const SideInfo& si, int gr, const uint8_t* data,
                      int dataBytes, int& bitPos, int16_t* pcm);

    static constexpr int kMainDataPad = 2312;
    // Largest scale-down of a granule beyond the normal range (values up to 2^31 or so).
    static constexpr int kMaxExponent = 40;

private:
    struct Band
    {
        int16_t start;
        int16_t end;
        int8_t window;  // -1 long, else short window 0..2
        int8_t sfb;
    };

    int readScalefactors(const FrameHeader& h, const SideInfo& si, int gr, int ch, struct BitReader& br);
    int huffmanDecode(const FrameHeader& h, const GranuleChannel& g, int ch, struct BitReader& br, int endBit,
                      const struct BandScale* scale);
    void computeScales(const GranuleChannel& g, int ch, int exponent, struct BandScale* scales);
    int historyExponent(int ch) const;
    void rescaleHistory(int ch, int exponent);
    void buildBands(const FrameHeader& h, const GranuleChannel& g, int ch);
    void stereo(const FrameHeader& h, const GranuleChannel& right, int channels);
    void intensity(const FrameHeader& h, const GranuleChannel& g, bool ms);
    void reorder(const FrameHeader& h, const GranuleChannel& g, int ch);
    void hybrid(const GranuleChannel& g, int ch);
    void synthesize(int ch, int16_t* pcm);

    int32_t m_ix[2][576];       // quantized values, then requantized spectrum (kFrac)
    int m_nonZero[2];
    int m_preflag[2];
    Band m_bands[2][40];
    int m_bandCount[2];
    uint8_t m_sfLong[2][22];
    uint8_t m_sfShort[2][13][3];
    uint8_t m_isMaxLong[2][22];     // MPEG-2: largest (illegal) intensity position per band
    uint8_t m_isMaxShort[2][13][3];
    int32_t m_overlap[2][32][24];   // 18 used; the rest lets vector code run over it
    int m_prevSubbands[2];
    int32_t m_subband[32][24];      // hybrid output of the channel being synthesized (18 used)
    int32_t m_v[2][16][64];         // synthesis history
    int m_vPos[2];
    bool m_over[2];                 // the last Huffman decode met values beyond the range
    int m_exponent[2];              // spectrum and history scaled down by 2^exponent
    void (*m_window)(const int32_t (*)[64], int, int16_t*, int);
    void (*m_dct)(const int32_t*, int, int32_t*);
    void (*m_alias)(int32_t*, int);
    void (*m_longSubband)(const int32_t*, int, int32_t*, int32_t*, bool);
};

} // namespace mp3
