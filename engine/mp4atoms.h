#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <cstddef>
#include <cstdint>

// Pure readers for the user-data tags of an MP4 file (udta, udta/meta, ilst) and the AAC
// AudioSpecificConfig; the frames are found by mp4sampletable. Every length read from the data is checked against its parent
// before use, so any byte sequence is safe input.
namespace Mp4Atoms {

// Text is UTF-8, as item lists define it; classic user-data text that is not valid UTF-8
// is taken as Latin-1 and converted.
struct Tags
{
    QByteArray name;   // "\251nam"
    QByteArray artist; // "\251ART"
    QByteArray album;  // "\251alb"
    QByteArray notice; // "\251cpy"
    QByteArray info;   // "\251inf"
    int32_t track = 0; // item "trkn": track number, 0 = none
    int32_t year = 0;  // item "\251day": leading year of "2020-05-01", 0 = none
    // Freeform items ("----") of the "com.apple.iTunes" kind: name and text of each, such
    // as ("replaygain_track_gain", "-6.02 dB").
    QList<QPair<QByteArray, QByteArray>> freeform;
    // Item "covr": the encoded bytes of its first picture (JPEG, PNG, ...), as stored.
    QByteArray cover;
};

// Walks the payload of a "udta" atom (everything after its 8-byte header).
void parseUserData(const uint8_t* data, size_t size, Tags* tags);

// Walks a list of items (the children of "meta" or "ilst").
void parseItemList(const uint8_t* data, size_t size, Tags* tags);

// Facts gathered from the top level of a file without reading the media.
struct FileSummary
{
    bool hasMovie = false;      // a "moov" atom was found
    int64_t mediaBytes = 0;     // total payload of the "mdat" atoms
    Tags tags;
};

// Reads the top-level atoms of a file, then moov/udta; false when the file cannot be
// read or has no "moov". Reads headers and the user data only.
bool readFileSummary(const QString& file, FileSummary* summary);

// The AAC decoder configuration stored with the track.
struct AudioConfig
{
    bool valid = false;
    int objectType = 0;      // core object type (2 = AAC LC)
    int frequencyIndex = -1; // core sampling frequency index, -1 when not a standard rate
    int coreRate = 0;        // Hz of the core stream
    int rate = 0;            // Hz of the decoded output (doubled by SBR when signalled)
    int channelConfig = 0;   // as coded; 0 = described by a program config element
    int channels = 0;        // channels of the decoded output
    int frameLength = 1024;  // core samples per frame (960 or 1024)
    bool sbr = false;
    bool ps = false;
};

bool parseAudioSpecificConfig(const uint8_t* data, size_t size, AudioConfig* config);

// Whether a stream with this configuration can be carried in ADTS frames.
bool adtsCapable(const AudioConfig& config);

// The 7-byte ADTS header (no CRC) for one raw frame of payloadLength bytes.
// False when the frame is too large or the configuration cannot be expressed.
bool makeAdtsHeader(const AudioConfig& config, int payloadLength, uint8_t header[7]);

} // namespace Mp4Atoms
