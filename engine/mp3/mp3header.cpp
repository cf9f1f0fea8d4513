#include "bitreader.h"
#include "layer3.h"

#include <cstring>

namespace mp3 {

namespace {

const int kBitrates[2][15] = {
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
};
const int kRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};

} // namespace

bool parseHeader(const uint8_t* b, FrameHeader& h)
{
    if (b[0] != 0xFF || (b[1] & 0xF0) != 0xF0)
        return false;
    h.version = (b[1] >> 3) & 1;
    h.layer = (b[1] >> 1) & 3;
    h.protection = b[1] & 1;
    h.bitrateIndex = b[2] >> 4;
    h.sampleIndex = (b[2] >> 2) & 3;
    h.padding = (b[2] >> 1) & 1;
    h.privateBit = b[2] & 1;
    h.mode = b[3] >> 6;
    h.modeExtension = (b[3] >> 4) & 3;
    h.copyright = (b[3] >> 3) & 1;
    h.original = (b[3] >> 2) & 1;
    h.emphasis = b[3] & 3;
    if (h.layer != 1 || h.bitrateIndex == 15 || h.sampleIndex == 3)
        return false;
    h.channels = h.mode == 3 ? 1 : 2;
    h.granules = h.version ? 2 : 1;
    h.sideInfoSize = h.version ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
    h.sampleRate = kRates[h.version][h.sampleIndex];
    h.bitrate = kBitrates[h.version][h.bitrateIndex];
    h.table = (h.version ? 0 : 3) + h.sampleIndex;
    return true;
}

int frameLengthFor(int version, int kbps, int sampleRate)
{
    return (version ? 144000 : 72000) * kbps / sampleRate;
}

int frameLength(const FrameHeader& h)
{
    if (h.bitrate == 0)
        return 0;
    return frameLengthFor(h.version, h.bitrate, h.sampleRate) + h.padding;
}

int parseSideInfo(const uint8_t* p, const FrameHeader& h, SideInfo& si)
{
    uint8_t buf[32 + 8] = {};
    std::memcpy(buf, p, size_t(h.sideInfoSize));
    BitReader br(buf, 0);
    const int nch = h.channels;
    int result = 0;
    if (h.version) {
        si.mainDataBegin = int(br.get(9));
        si.privateBits = int(br.get(nch == 1 ? 5 : 3));
        for (int ch = 0; ch < nch; ++ch)
            for (int i = 0; i < 4; ++i)
                si.scfsi[ch][i] = int(br.get(1));
    } else {
        si.mainDataBegin = int(br.get(8));
        si.privateBits = int(br.get(nch == 1 ? 1 : 2));
    }
    for (int gr = 0; gr < h.granules; ++gr) {
        for (int ch = 0; ch < nch; ++ch) {
            GranuleChannel& g = si.gr[gr][ch];
            g.part23Length = int(br.get(12));
            g.bigValues = int(br.get(9));
            g.globalGain = int(br.get(8));
            g.scalefacCompress = int(br.get(h.version ? 4 : 9));
            g.windowSwitching = int(br.get(1));
            if (g.windowSwitching) {
                g.blockType = int(br.get(2));
                g.mixedBlock = int(br.get(1));
                g.tableSelect[0] = int(br.get(5));
                g.tableSelect[1] = int(br.get(5));
                g.tableSelect[2] = 0;
                for (int w = 0; w < 3; ++w)
                    g.subblockGain[w] = int(br.get(3));
                // Block type 0 is not allowed with window switching.
                if (g.blockType == 0)
                    result = -2;
                g.region0Count = (g.blockType == 2 && !g.mixedBlock) ? 8 : 7;
                g.region1Count = 36;
            } else {
                g.blockType = 0;
                g.mixedBlock = 0;
                for (int i = 0; i < 3; ++i)
                    g.tableSelect[i] = int(br.get(5));
                g.subblockGain[0] = g.subblockGain[1] = g.subblockGain[2] = 0;
                g.region0Count = int(br.get(4));
                g.region1Count = int(br.get(3));
            }
            g.preflag = h.version ? int(br.get(1)) : 0;
            g.scalefacScale = int(br.get(1));
            g.count1Table = int(br.get(1));
            if (g.bigValues > 288)
                result = -2;
        }
    }
    return result;
}

} // namespace mp3
