#pragma once

#include "decoder.h"

#include <QString>
#include <cstdint>
#include <memory>

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
    // Byte offset that seek(seconds) reopens the stream at.
    int64_t seekOffset(int seconds) const;

    // Reads the ID3 version 1 tag of file into info (zeros when there is none); false
    // when the file cannot be read.
    static bool readId3v1(const QString& file, AudioInfo* info);
    // Length in bytes of the ID3 version 2 tags at the start of the file (0 when none).
    static int64_t id3v2Size(const QString& file);

private:
    bool nextFrame(PlayInfo* info);
    bool probe(const QByteArray& path);

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
    bool m_hasToc = false;
    uint8_t m_toc[100] = {};
    int64_t m_tocBytes = 0;
    std::unique_ptr<mp3::Stream> m_stream;
};
