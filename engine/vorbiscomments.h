#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

struct AudioInfo;

// Tags of the Vorbis comment kind, as Ogg Vorbis, FLAC and Opus carry them: "NAME=value",
// names in any case, values UTF-8.
namespace VorbisComments {

// Fills title, artist, album, year ("2020-05-01" is 2020), track ("3/12" is 3) and the
// ReplayGain fields, the first comment of each name winning, and marks the text UTF-8.
// With r128 (Opus) the R128_TRACK_GAIN and R128_ALBUM_GAIN comments count too.
void fill(const QList<QByteArray>& comments, AudioInfo* info, bool r128 = false);

// The comments of a comment list as Vorbis, Opus and FLAC store it (after any packet
// magic): the vendor string, the count and each comment, lengths 32-bit little-endian.
// Each length is checked against the bytes left before it is taken; a list cut short
// gives the comments before the cut. At most maxComments are taken.
QList<QByteArray> split(const uint8_t* data, size_t size, int maxComments = 10000);

} // namespace VorbisComments
