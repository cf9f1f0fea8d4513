#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

class QIODevice;

// The first audio track of an MP4 file and where each of its frames lies. Every count is
// checked against the size of its atom before anything is allocated, every frame against
// the end of the file, and the tables together stay under a fixed memory cap; so any
// byte sequence is safe input.
namespace Mp4SampleTable {

struct Track
{
    QByteArray fourcc;           // sample entry type, "mp4a" for AAC
    QByteArray decoderConfig;    // esds DecoderSpecificInfo (the AudioSpecificConfig)
    int objectTypeIndication = 0; // esds DecoderConfigDescriptor, 0x40 for MPEG-4 audio
    int64_t timescale = 0;       // mdhd: time units per second (> 0 in a read track)
    int64_t duration = 0;        // mdhd, in time units (as stored; may lie)

    // The first edit that shows media: where the track proper starts in the media's time
    // units and how long it lasts in the same units; editStart -1 without such an edit.
    int64_t editStart = -1;
    int64_t editDuration = 0;    // 0: to the end of the media

    // Frame i lies at offset[i], size[i] bytes, and starts at time[i]; time has one more
    // entry, the end of the last frame.
    std::vector<int64_t> offset;
    std::vector<uint32_t> size;
    std::vector<int64_t> time;
    bool truncated = false;      // frames past the end of the file were left out

    int frames() const { return int(size.size()); }
    int64_t endTime() const { return time.empty() ? 0 : time.back(); }
    // The frame that holds the given time (the last one when past the end), 0 when empty.
    int frameAt(int64_t t) const;
};

// The most frames a track may hold (19 hours of AAC at 44.1 kHz, 35 of HE-AAC) and so
// the table memory: 20 bytes a frame, 60 MB at most.
constexpr int MaxFrames = 3 * 1000 * 1000;
// The "moov" atom is read whole; real ones are well below this.
constexpr int64_t MaxMovieBytes = 64 * 1024 * 1024;

// Reads the movie atom of an open file of fileSize bytes and the first track whose
// handler is "soun" and whose first sample entry is "mp4a". False, with the reason in
// *why when given, when there is no such track or its tables cannot be trusted. A
// track whose frames run past the end of the file keeps those that are whole.
bool read(QIODevice* file, int64_t fileSize, Track* track, QByteArray* why = nullptr);
bool read(const QString& fileName, Track* track, QByteArray* why = nullptr);

// a * b / c without overflow, saturating at the int64_t range; 0 when c is not positive.
// Crafted durations and time scales reach far.
int64_t scaled(int64_t a, int64_t b, int64_t c);

// The same on a movie atom's payload held in memory (for the fuzzer and tests).
bool readMovie(const uint8_t* data, size_t size, int64_t fileSize, Track* track, QByteArray* why = nullptr);

} // namespace Mp4SampleTable
