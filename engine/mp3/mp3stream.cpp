#include "mp3stream.h"

#include <algorithm>
#include <cstring>

namespace mp3 {

namespace {

// Interpolation filter for doubling the rate of MPEG-2 streams (Q14 per phase).
const int32_t kUpsampleTaps[40] = {
    -30, -34, 44, 59, -82, -113, 153, 203, -265, -341, 434, 549, -693, -875, 1116, 1452,
    -1961, -2847, 4860, 14754, 14754, 4860, -2847, -1961, 1452, 1116, -875, -693, 549, 434,
    -341, -265, 203, 153, -113, -82, 59, 44, -34, -30,
};

} // namespace

Stream::Stream()
    : m_ring(new uint8_t[kRingSize])
{
    std::memset(m_ring, 0, kRingSize);
    std::memset(m_frame, 0, sizeof m_frame);
    std::memset(m_reservoir, 0, sizeof m_reservoir);
    std::memset(m_pcm, 0, sizeof m_pcm);
    std::memset(m_upHistory, 0, sizeof m_upHistory);
}

Stream::~Stream()
{
    close();
    delete[] m_ring;
}

bool Stream::open(const char* path, int64_t offset, int64_t skipFrameAt, int64_t firstFrame)
{
    close();
    m_file = std::fopen(path, "rb");
    if (!m_file)
        return false;
    if (offset > 0 && fseeko(m_file, offset, SEEK_SET) != 0)
        offset = 0;
    m_filePos = offset > 0 ? offset : 0;
    m_skipFrameAt = skipFrameAt;
    m_nextFrame = firstFrame;
    m_frameNumber = firstFrame - 1;
    m_frameAt = -1;
    m_eof = false;
    m_refillFlag = false;
    m_read = m_fill = 0;
    m_locked = false;
    m_freeSize = 0;
    m_header = FrameHeader();
    m_side = SideInfo();
    m_core.reset();
    m_reservoirFill = 0;
    std::memset(m_reservoir, 0, sizeof m_reservoir);
    std::memset(m_pcm, 0, sizeof m_pcm);
    std::memset(m_upHistory, 0, sizeof m_upHistory);
    m_pcmBytes = 0;
    return true;
}

void Stream::close()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool Stream::refill()
{
    if (!m_file)
        return false;
    size_t total = 0;
    while (m_fill < kRingSize) {
        const int write = (m_read + m_fill) & (kRingSize - 1);
        const int chunk = std::min(kRingSize - m_fill, kRingSize - write);
        const size_t got = std::fread(m_ring + write, 1, size_t(chunk), m_file);
        m_fill += int(got);
        m_filePos += int64_t(got);
        total += got;
        if (got < size_t(chunk))
            break;
    }
    if (total == 0)
        m_eof = true;
    return total > 0;
}

void Stream::copyOut(int offset, uint8_t* dst, int n) const
{
    const int start = (m_read + offset) & (kRingSize - 1);
    const int first = std::min(n, kRingSize - start);
    std::memcpy(dst, m_ring + start, size_t(first));
    if (first < n)
        std::memcpy(dst + first, m_ring, size_t(n - first));
}

void Stream::consume(int n)
{
    m_read = (m_read + n) & (kRingSize - 1);
    m_fill -= n;
}

// Looks for a header of the same stream as h between from and limit bytes ahead.
bool Stream::findNextHeader(const FrameHeader& h, int from, int limit, int& distance) const
{
    limit = std::min(limit, m_fill - 4);
    for (int i = from; i <= limit; ++i) {
        if (at(i) != 0xFF || (at(i + 1) & 0xF0) != 0xF0)
            continue;
        uint8_t b[4] = {at(i), at(i + 1), at(i + 2), at(i + 3)};
        FrameHeader n;
        if (parseHeader(b, n) && n.version == h.version && n.sampleIndex == h.sampleIndex
            && n.bitrateIndex == h.bitrateIndex) {
            distance = i;
            return true;
        }
    }
    return false;
}

int Stream::decodeFrame()
{
    if (m_fill < 4)
        return NeedData;

    // frame search
    int pos = 0;
    FrameHeader h;
    for (;; ++pos) {
        if (pos + 4 > m_fill) {
            consume(std::max(0, pos));
            return NoSync;
        }
        if (at(pos) != 0xFF || (at(pos + 1) & 0xF0) != 0xF0)
            continue;
        uint8_t b[4] = {at(pos), at(pos + 1), at(pos + 2), at(pos + 3)};
        if (!parseHeader(b, h))
            continue;
        if (m_locked && (h.version != m_lockVersion || h.sampleIndex != m_lockSampleIndex))
            continue;
        break;
    }
    consume(pos);

    const int crcBytes = h.protection ? 0 : 2;
    const int headBytes = 4 + crcBytes + h.sideInfoSize;
    int length = frameLength(h);
    if (h.bitrate == 0) {
        if (m_freeSize > 0) {
            length = m_freeSize + h.padding;
        } else {
            int distance = 0;
            if (!findNextHeader(h, headBytes, kMaxFrame, distance)) {
                if (m_fill < kMaxFrame + 4 && !m_eof)
                    return NeedData;
                if (m_eof && m_fill >= headBytes && m_fill <= kMaxFrame) {
                    // the last frame of a free-format stream ends with the file
                    distance = m_fill;
                } else {
                    consume(1);
                    return BadHeader;
                }
            }
            if (distance <= 0) {
                consume(1);
                return BadHeader;
            }
            length = distance;
            m_freeSize = distance - h.padding;
        }
    }
    if (length < headBytes || length > kMaxFrame) {
        consume(1);
        return BadHeader;
    }
    if (m_fill < length) {
        if (!m_eof)
            return NeedData;
        consume(1); // a truncated last frame is not played
        return BadHeader;
    }

    // A sync pattern outside a locked stream counts only when the next frame follows.
    if (!m_locked) {
        if (m_fill >= length + 4) {
            uint8_t b[4] = {at(length), at(length + 1), at(length + 2), at(length + 3)};
            FrameHeader next;
            if (!parseHeader(b, next) || next.version != h.version || next.sampleIndex != h.sampleIndex) {
                consume(1);
                return BadHeader;
            }
        } else if (!m_eof) {
            return NeedData;
        }
        m_locked = true;
        m_lockVersion = h.version;
        m_lockSampleIndex = h.sampleIndex;
    }

    const int64_t frameAt = m_filePos - m_fill;
    copyOut(0, m_frame, length);
    consume(length);
    if (frameAt == m_skipFrameAt)
        return NoMainData;
    // a frame keeps its number even when it cannot be played, so that time stays in step
    m_frameNumber = m_nextFrame++;
    m_frameAt = frameAt;
    if (m_scanOnly) {
        m_header = h;
        return Decoded;
    }

    m_header = h;
    if (!h.protection)
        m_header.crc = (m_frame[4] << 8) | m_frame[5];
    const int sideOk = parseSideInfo(m_frame + 4 + crcBytes, h, m_side);

    // main-data reservoir
    const int mainLength = length - headBytes;
    const uint8_t* main = m_frame + headBytes;
    const int begin = m_side.mainDataBegin;
    if (m_reservoirFill >= begin) {
        std::memmove(m_reservoir, m_reservoir + m_reservoirFill - begin, size_t(begin));
        m_reservoirFill = begin;
        std::memcpy(m_reservoir + m_reservoirFill, main, size_t(mainLength));
        m_reservoirFill += mainLength;
    } else {
        const int keep = std::min(m_reservoirFill, kReservoirSize - mainLength);
        std::memmove(m_reservoir, m_reservoir + m_reservoirFill - keep, size_t(keep));
        std::memcpy(m_reservoir + keep, main, size_t(mainLength));
        m_reservoirFill = keep + mainLength;
        return NoMainData;
    }
    // keep the padding after the data defined (it is only ever read, never used)
    std::memset(m_reservoir + m_reservoirFill, 0, 16);

    if (sideOk != 0) {
        std::memset(m_pcm, 0, sizeof m_pcm);
    } else {
        int bitPos = 0;
        for (int gr = 0; gr < h.granules; ++gr)
            m_core.decodeGranule(h, m_side, gr, m_reservoir, m_reservoirFill, bitPos, m_pcm + gr * 1152);
    }
    postProcess(h.granules, h.channels);
    return Decoded;
}

void Stream::postProcess(int granules, int channels)
{
    const int frames = granules * 576;
    if (channels == 1) {
        for (int i = 0; i < frames; ++i)
            m_pcm[2 * i + 1] = m_pcm[2 * i];
    }
    m_pcmBytes = frames * 4;
    if (granules == 1 && !m_native) {
        upsample();
        m_pcmBytes = kPcmBytes;
    }
}

void Stream::upsample()
{
    // 576 frames at the stream rate become 1152 at twice the rate: zeros between the
    // samples, then the interpolation filter (its two phases use even and odd taps).
    int32_t in[2][19 + 576];
    for (int ch = 0; ch < 2; ++ch) {
        std::memcpy(in[ch], m_upHistory[ch], sizeof m_upHistory[ch]);
        for (int i = 0; i < 576; ++i)
            in[ch][19 + i] = m_pcm[2 * i + ch];
        std::memcpy(m_upHistory[ch], in[ch] + 576, sizeof m_upHistory[ch]);
    }
    for (int m = 0; m < 576; ++m) {
        for (int ch = 0; ch < 2; ++ch) {
            const int32_t* x = in[ch] + 19 + m; // x[-j] is the sample j steps back
            int64_t even = 0, odd = 0;
            for (int j = 0; j < 20; ++j) {
                even += int64_t(kUpsampleTaps[2 * j]) * x[-j];
                odd += int64_t(kUpsampleTaps[2 * j + 1]) * x[-j];
            }
            const int64_t e = (even + 8192) >> 14;
            const int64_t o = (odd + 8192) >> 14;
            m_pcm[4 * m + ch] = int16_t(std::clamp<int64_t>(e, -32768, 32767));
            m_pcm[4 * m + 2 + ch] = int16_t(std::clamp<int64_t>(o, -32768, 32767));
        }
    }
}

bool Stream::scanFrames(std::vector<uint32_t>& offsets)
{
    if (!m_file)
        return false;
    m_scanOnly = true;
    for (;;) {
        const int code = decodeFrame();
        if (code == Decoded) {
            if (m_frameAt > int64_t(UINT32_MAX))
                break;
            offsets.push_back(uint32_t(m_frameAt));
        } else if (code == NoSync || code == NeedData) {
            if (!refill() && m_fill < 4)
                break;
        }
    }
    m_scanOnly = false;
    return true;
}

int Stream::drainUpsampler()
{
    if (m_native || m_header.version || m_header.sampleRate == 0)
        return 0;
    std::memset(m_pcm, 0, sizeof m_pcm);
    upsample();
    m_pcmBytes = kPcmBytes;
    m_frameNumber = m_nextFrame++;
    return m_pcmBytes;
}

int Stream::outputRate() const
{
    if (m_header.sampleRate == 0)
        return 0;
    return m_header.version || m_native ? m_header.sampleRate : 2 * m_header.sampleRate;
}

int Stream::readFrame()
{
    if (!m_file)
        return 0;
    for (;;) {
        const int code = decodeFrame();
        switch (code) {
        case Decoded:
            m_refillFlag = m_fill < kRefillBelow;
            if (m_refillFlag && !m_eof)
                refill();
            return m_pcmBytes;
        case NoSync:
        case NeedData:
            // at the end of the file the bytes left are still searched for frames
            if (!refill() && m_fill < 4)
                return 0;
            break;
        default:
            break;
        }
    }
}

} // namespace mp3
