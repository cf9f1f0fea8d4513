#pragma once

#include "decoder.h"

#include <cstdint>
#include <vector>


// FLAC (native and in Ogg) through libFLAC's stream decoder: interleaved signed 16-bit PCM
// at the stream's own rate (up to 192 kHz) and channel count (1 to 8, delivered as the
// stream holds them). Samples of more than 16 bits are rounded to the nearest 16-bit
// value, without dither, so the result is the same on every machine. Only STREAMINFO and
// the Vorbis comments are read from the metadata: pictures and padding are skipped, never
// read into memory. Length and seeking are exact to the sample.
class FlacDecoder : public Decoder
{
public:
    FlacDecoder();
    ~FlacDecoder() override;

    QString mimeType() const override;
    bool open(const QString& file, AudioInfo* info) override;
    void close() override;
    int64_t seek(int seconds) override;
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override;

private:
    struct Callbacks; // libFLAC's, with access to what they fill
    void fillPlayInfo(PlayInfo* info) const;
    void take(unsigned channels, unsigned samples, int bits, const int32_t* const buffer[]);

    void* m_decoder = nullptr; // the libFLAC stream decoder
    AudioInfo* m_info = nullptr; // the record being filled by open(file, info)
    std::vector<char> m_pcm;     // decoded and not handed out yet
    size_t m_pcmStart = 0;
    int32_t m_rate = 0;
    int32_t m_channels = 0;
    int32_t m_bits = 0;
    int64_t m_totalSamples = 0;
    int64_t m_samplesOut = 0;
    int32_t m_bitrate = 0;
    bool m_ended = false; // at the end by a seek, or a frame that does not fit the stream
};
