#pragma once

#include <QByteArray>

#include <cstdint>

struct AudioInfo;

// ReplayGain: loudness that does not jump from track to track. The tags' gains are read
// into AudioInfo (the formats' readers call takeTag); playback scales each block by one
// factor per track, in integers, after decoding and before the device and the analyzer.
namespace ReplayGain {

// What the user chose ("replaygain", "rgpreamp", "rgpreampnone", "rgclip").
struct Options
{
    enum Mode { Off = 0, Track = 1, Album = 2 };
    int mode = Off;
    int preampDb = 0;     // added to a tag's gain, -12 to 12
    int preampNoneDb = 0; // the gain of a file without one, -12 to 12
    bool preventClipping = true; // never above 1 / peak
};

// Unity in the factor's fixed point.
constexpr int32_t One = 1 << 16;

// "-6.02 dB", "+3 dB", "-6.02" as hundredths of a dB; false for anything else ("abc dB",
// "inf", "nan") and for more than 60 dB either way.
bool parseGain(const QByteArray& text, int32_t* centiDb);
// "0.988" as millionths of full scale; false for anything else and above 100.
bool parsePeak(const QByteArray& text, int32_t* micro);

// A name and value from a tag ("REPLAYGAIN_TRACK_GAIN", any case, and the _PEAK and ALBUM
// ones): stored into info when it is one and the value is sound. True when stored.
bool takeTag(const QByteArray& name, const QByteArray& value, AudioInfo* info);

// An Opus R128 gain (Q7.8 dB relative to -23 LUFS) moved to the -18 LUFS reference.
int32_t fromR128(int q78);

// The factor for a track (One is unity): its album or track gain as the mode says (album
// falling back to track), plus the pre-amp, or the pre-amp for files without a gain; with
// clipping prevention never more than 1 / the peak that goes with the gain.
int32_t factor(const AudioInfo& info, const Options& options);

// Scales interleaved signed 16-bit PCM in place, rounding and saturating.
void apply(char* pcm, int bytes, int32_t factor);

} // namespace ReplayGain
