#pragma once

#include "layer3.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace mp3 {

// Reads an MPEG audio Layer III file through a ring buffer, frames it, keeps the main
// data reservoir and turns each frame into 16-bit stereo PCM. One object per stream: no
// state is shared between streams.
class Stream
{
public:
    static constexpr int kRingSize = 65536;
    static constexpr int kRefillBelow = 2880;
    static constexpr int kPcmBytes = 4608;
    static constexpr int kMaxFrame = 3584;
    static constexpr int kReservoirSize = 4096;
    // Output samples by which the MPEG-2 interpolation filter delays the signal (its
    // 40 taps centre on 19.5).
    static constexpr int kUpsampleDelay = 19;

    // Results of decodeFrame()
    enum Code {
        Decoded = 0,
        NoSync = 100,
        NeedData = 101,
        NoMainData = 102,
        BadHeader = 103,
    };

    Stream();
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Opens the file and resets every state; decoding starts at byte offset. The frame
    // at skipFrameAt (a file offset, -1 for none) is not played (a Xing/VBRI header).
    // Frames are numbered from firstFrame on, whether they decode or not.
    bool open(const char* path, int64_t offset, int64_t skipFrameAt = -1, int64_t firstFrame = 0);
    void close();
    bool isOpen() const { return m_file != nullptr; }

    // MPEG-2 frames stay at their own rate instead of being upsampled by two.
    void setNativeRate(bool native) { m_native = native; }

    // Decodes the next frame into pcm(); returns its byte count, 0 at the end.
    int readFrame();
    // One attempt at decoding a frame; returns a Code.
    int decodeFrame();
    // Reads more of the file into the ring; false when nothing more could be read.
    bool refill();
    // Frames the rest of the stream without decoding it: the file offset of every frame
    // that would be numbered, in order (4 bytes a frame: the scan stops at 4 GiB). False
    // when the stream is not open.
    bool scanFrames(std::vector<uint32_t>& offsets);
    // After the end of an MPEG-2 stream that is upsampled: the interpolation filter's tail
    // (a frame of silent input) as the next frame; returns its byte count, 0 otherwise.
    int drainUpsampler();

    const int16_t* pcm() const { return m_pcm; }
    const FrameHeader& header() const { return m_header; }
    // Rate of the PCM that readFrame() delivers for the last frame.
    int outputRate() const;
    int bufferedBytes() const { return m_fill; }
    // Number of the frame whose PCM pcm() holds (see open()).
    int64_t frameNumber() const { return m_frameNumber; }
    bool atEof() const { return m_eof; }

    // Test access to the ring: where the next byte will be read.
    int ringReadIndex() const { return m_read; }

private:
    uint8_t at(int offset) const { return m_ring[(m_read + offset) & (kRingSize - 1)]; }
    void copyOut(int offset, uint8_t* dst, int n) const;
    void consume(int n);
    bool findNextHeader(const FrameHeader& h, int from, int limit, int& distance) const;
    void postProcess(int granules, int channels);
    void upsample();

    FILE* m_file = nullptr;
    bool m_eof = false;
    bool m_refillFlag = false;
    bool m_native = false;
    uint8_t* m_ring;            // kRingSize bytes
    int m_read = 0;             // index of the next unread byte
    int m_fill = 0;             // unread bytes
    int64_t m_filePos = 0;      // file offset of the byte after the last one in the ring
    int64_t m_skipFrameAt = -1;
    int64_t m_nextFrame = 0;
    int64_t m_frameNumber = -1;
    int64_t m_frameAt = -1;     // file offset of the last frame numbered
    bool m_scanOnly = false;

    bool m_locked = false;      // a frame was accepted; later headers must match it
    int m_lockVersion = 0;
    int m_lockSampleIndex = 0;
    int m_freeSize = 0;         // free-format frame length without padding, once known

    FrameHeader m_header;
    SideInfo m_side;
    Layer3 m_core;
    uint8_t m_frame[kMaxFrame + 8];
    uint8_t m_reservoir[kReservoirSize + Layer3::kMainDataPad];
    int m_reservoirFill = 0;
    int16_t m_pcm[kPcmBytes / 2];
    int m_pcmBytes = 0;
    int32_t m_upHistory[2][19];
};

} // namespace mp3
