#pragma once

#include <QByteArray>
#include <QList>

struct AudioInfo;

// Tags of the Vorbis comment kind, as Ogg Vorbis, FLAC and Opus carry them: "NAME=value",
// names in any case, values UTF-8.
namespace VorbisComments {

// Fills title, artist, album, year ("2020-05-01" is 2020), track ("3/12" is 3) and the
// ReplayGain fields, the first comment of each name winning, and marks the text UTF-8.
// With r128 (Opus) the R128_TRACK_GAIN and R128_ALBUM_GAIN comments count too.
void fill(const QList<QByteArray>& comments, AudioInfo* info, bool r128 = false);

} // namespace VorbisComments
