#pragma once

#include "decoder.h"

#include <cstdint>
#include <cstdio>

struct OggVorbis_File;

// Ogg Vorbis through Tremor's file-level interface: integer decoding to interleaved
// signed 16-bit PCM at the stream's own rate and channel count.
class OggDecoder : public Decoder
{
public:
    OggDecoder();
    ~OggDecoder() override;

    QString mimeType() const override;
    bool open(const QString& file, AudioInfo* info) override;
    void close() override;
    int64_t seek(int seconds) override;
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override;

private:
    void fillPlayInfo(PlayInfo* info) const;
    void updatePosition();

    FILE* m_file = nullptr;
    int32_t m_channels = 0;
    int32_t m_rate = 0;
    int32_t m_bitrate = 0;
    int32_t m_length = 0;
    int32_t m_range = 0;
    int32_t m_position = 0;
    OggVorbis_File* m_vorbis = nullptr;
    int m_section = 0;
    int64_t m_bytesOut = 0;
    bool m_atEnd = false; // sought to the last instant, which the stream's seek refuses
};
