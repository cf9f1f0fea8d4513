#pragma once

#include "decoder.h"

#include <cstdint>
#include <vector>

struct OggOpusFile;

// Ogg Opus through opusfile: interleaved signed 16-bit PCM at 48 kHz with the stream's
// channels (1 to 8 as the stream holds them; more are mixed down to stereo), rounded to
// the nearest step without dither. The header's output gain is applied, as the format
// requires; the pre-skip and the end trimmed by the last granule position make it
// gapless, and length and seeking are exact to the sample.
class OpusDecoder : public Decoder
{
public:
    OpusDecoder();
    ~OpusDecoder() override;

    QString mimeType() const override;
    bool open(const QString& file, AudioInfo* info) override;
    void close() override;
    int64_t seek(int seconds) override;
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override;

    static constexpr int Rate = 48000;

private:
    void fillPlayInfo(PlayInfo* info) const;

    OggOpusFile* m_file = nullptr;
    int32_t m_channels = 0;
    bool m_downmix = false;
    int64_t m_totalSamples = 0;
    int64_t m_samplesOut = 0;
    bool m_atEnd = false; // sought to the last instant, which the stream's seek refuses
    int32_t m_bitrate = 0;
    std::vector<float> m_float; // what opusfile decodes, before rounding
};
