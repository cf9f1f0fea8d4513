#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// Reader for the ID3 version 2 tag (2.2, 2.3 and 2.4) at the start of an MP3 file: title,
// artist, album, track and year. Every size read from the data is checked against the tag
// before it is trusted (the tag against the file, the extended header and each frame
// against the tag), whole-tag and per-frame unsynchronisation are undone, and frames the
// reader cannot take apart (compressed, encrypted) are skipped. Any byte sequence is safe
// input.
namespace Id3v2 {

// One text field as the tag holds it.
struct Text
{
    QByteArray bytes;    // UTF-8, or the tag's own bytes when latin1 is set
    bool latin1 = false; // single-byte text: its codec is guessed like ID3 version 1 text
    bool isEmpty() const { return bytes.isEmpty(); }
};

// ReplayGain as a tag gives it: gains in hundredths of a dB (with their flags, as in
// AudioInfo), peaks in millionths of full scale, 0 when not given.
struct Gains
{
    uint8_t flags = 0; // AudioInfo::TrackGain, AudioInfo::AlbumGain
    int32_t trackGain = 0;
    int32_t albumGain = 0;
    int32_t trackPeak = 0;
    int32_t albumPeak = 0;
};

struct Tag
{
    int version = 0; // 2, 3 or 4 once a tag header was accepted
    Text title;      // TIT2 / TT2
    Text artist;     // TPE1 / TP1
    Text album;      // TALB / TAL
    int32_t track = 0; // TRCK / TRK: the leading number of "5/12"; 0 = none
    int32_t year = 0;  // TDRC / TYER / TYE: the leading year of "2020-05-01"; 0 = none
    Gains userGains;   // TXXX "REPLAYGAIN_TRACK_GAIN" and the like, any case
    Gains volumeGains; // RVA2 identified "track" or "album": the master channel
};

// Attached pictures (APIC, or PIC in a 2.2 tag) when a caller asks for them: each frame
// body as the frame holds it (encoding, format, picture type, description, data), with the
// frame's flags and unsynchronisation undone, in tag order. Collecting stops once the
// bodies would pass budget bytes in all; a larger frame is skipped unread.
struct Pictures
{
    uint32_t budget = 0;
    QList<QByteArray> bodies;
};

// Parses a tag held in memory; data starts with the 10-byte tag header. size may be less
// than the tag claims (the rest is then missing, not an error). Returns false when the
// bytes do not start with a tag header this reader accepts; fields it finds are filled
// even if later frames are damaged. With pictures, the picture frames are kept too.
bool parse(const uint8_t* data, size_t size, Tag* tag, Pictures* pictures = nullptr);

// Reads the tag at the start of a file, reading the frame headers and the text frames it
// needs, and the pictures only when asked. Returns false when the file cannot be read (or
// is not a regular file) or has no tag.
bool readFile(const QString& file, Tag* tag, Pictures* pictures = nullptr);

// Bytes the tag at the start of a file takes (header, frames, footer), 0 when none.
uint32_t tagLength(const uint8_t header[10]);

} // namespace Id3v2
