#pragma once

#include <QString>
#include <cstdint>

struct AudioInfo;
struct PlayInfo;

// One audio format. A decoder opens one file, describes it, and delivers interleaved
// signed 16-bit little-endian PCM block by block.
class Decoder
{
public:
    virtual ~Decoder();

    virtual QString mimeType() const = 0;

    // With info null: prepare the file for playback. With info: fill only the tag fields
    // of info (title, artist, album, year, track, isUtf8); the decoder may stay closed.
    virtual bool open(const QString& file, AudioInfo* info) = 0;

    // Releases the open file; does nothing when closed.
    virtual void close() = 0;

    // Moves to the given second and returns the PCM byte count of the new position,
    // or -1 when the decoder cannot seek.
    virtual int64_t seek(int seconds);

    // Fills buffer with up to size bytes of PCM; *produced <= 0 means the end.
    virtual bool decode(char* buffer, int size, int* produced, PlayInfo* info) = 0;

    // Formats that resample for playback (MPEG-2 MP3 is upsampled to twice its rate)
    // deliver at the stream's own rate instead; for tools that compare decoders.
    virtual void setNativeRate(bool) {}

    // The formats every decoder accepts at open: 8000 to 192000 Hz, 1 to 8 channels.
    // Anything else is a damaged header, refused before it reaches the device.
    static bool formatSupported(long rate, int channels)
    {
        return rate >= 8000 && rate <= 192000 && channels >= 1 && channels <= 8;
    }
};
