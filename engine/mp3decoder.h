#pragma once

#include "decoder.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct AudioInfo;
struct PlayInfo;

namespace mp3 {
class Stream;
}

// The decoder for MPEG audio Layer III files (MPEG-1 and MPEG-2), "audio/mpeg"; also the
// decoder for files of unknown type.
class Mp3Decoder : public Decoder
{
public:
    Mp3Decoder();
    ~Mp3Decoder() override;

    QString mimeType() const override;
    bool open(const QString& file, AudioInfo* info) override;
    void close() override;
    int64_t seek(int seconds) override;
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override;
    void setNativeRate(bool native) override;

    int32_t length() const { return m_length; }
    int32_t firstBitrate() const { return m_firstBitrate; }
    int32_t firstRate() const { return m_firstRate; }
    // File offset where the audio starts (after an ID3 version 2 tag).
    int64_t audioStart() const { return m_audioStart; }
    // File offset of the frame that holds the first sample of second t (after the
    // encoder delay is dropped); the end of the audio when t lies beyond it, -1 when the
    // file has no frames. Frames the whole file once, on first use.
    int64_t seekOffset(int seconds);
    // The encoder's delay and padding from the LAME tag of the Xing/Info frame, in
    // samples at the stream's rate; -1 when the file has no such tag (or one that the
    // file cannot hold), and then nothing is trimmed.
    int encoderDelay() const { return m_gapless ? m_encoderDelay : -1; }
    int encoderPadding() const { return m_gapless ? m_encoderPadding : -1; }

    // Reads the ID3 version 1 tag of file into info (zeros when there is none); false
    // when the file cannot be read.
    static bool readId3v1(const QString& file, AudioInfo* info);
    // Length in bytes of the ID3 version 2 tags at the start of the file (0 when none).
    static int64_t id3v2Size(const QString& file);
    // The ReplayGain fields of the encoder's tag (the LAME tag in the first frame).
    static void readEncoderGains(const QString& file, AudioInfo* info);

private:
    bool nextFrame(PlayInfo* info);
    bool probe(const QByteArray& path);
    void trimmedRange(int64_t& start, int64_t& end) const;
    void setWindow();
    bool buildIndex();
    int64_t targetSample(int seconds) const;
    int64_t outputSamplesPerFrame() const;

    int32_t m_pcmLeft = 0;
    int32_t m_pcmOffset = 0;
    int32_t m_range = 0;
    int64_t m_bytesOut = 0;
    int32_t m_length = 0;
    QString m_fileName;
    int32_t m_firstBitrate = 0;
    int32_t m_firstRate = 0;
    int32_t m_firstChannels = 0;

    bool m_native = false;
    int64_t m_audioStart = 0;
    int64_t m_audioBytes = 0;   // bytes of audio frames (file less tags)
    int64_t m_xingFrame = -1;   // offset of the header frame that is not played
    bool m_mpeg2 = false;
    int m_samplesPerFrame = 0;  // at the stream's rate
    int m_frameOverhead = 0;    // header, CRC and side information bytes

    // Gapless playback: what is played is the window [m_begin, m_end) of the output
    // samples of all frames, counted from the first audio frame.
    bool m_gapless = false;
    int m_encoderDelay = 0;
    int m_encoderPadding = 0;
    int64_t m_streamSamples = 0; // frames of the Xing header x samples per frame
    int64_t m_begin = 0;
    int64_t m_end = 0;
    int64_t m_next = 0;          // output sample that is delivered next
    bool m_drained = false;

    std::vector<uint32_t> m_frames; // file offset of every frame, once a seek needed them
    bool m_indexed = false;
    std::unique_ptr<mp3::Stream> m_stream;
};
