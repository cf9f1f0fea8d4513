#pragma once

// Decoding through libmpg123 (the float reference) and through Mp3Decoder, and the
// comparison of the two; shared by the accuracy tests and the benchmark.

#include "mp3decoder.h"
#include "playinfo.h"

#include <QString>
#include <mpg123.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace mp3ref {

struct Pcm
{
    std::vector<int16_t> samples; // interleaved stereo
    int rate = 0;
};

// Always two channels, at the stream's own rate; with gapless, the encoder's delay and
// padding are dropped as the LAME tag gives them, else every frame is kept.
inline bool decodeMpg123(const char* file, Pcm& out, bool gapless = true)
{
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised)
        return false;
    int err = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh)
        return false;
    mpg123_param(mh, gapless ? MPG123_ADD_FLAGS : MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_FORCE_STEREO | MPG123_QUIET, 0.0);
    mpg123_format_none(mh);
    for (long r : {16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
        mpg123_format(mh, r, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh, file) != MPG123_OK) {
        mpg123_delete(mh);
        return false;
    }
    out.samples.clear();
    unsigned char buf[16384];
    for (int r = MPG123_OK; r == MPG123_OK || r == MPG123_NEW_FORMAT;) {
        size_t done = 0;
        r = mpg123_read(mh, buf, sizeof buf, &done);
        const int16_t* s = reinterpret_cast<const int16_t*>(buf);
        out.samples.insert(out.samples.end(), s, s + done / 2);
    }
    long rate = 0;
    int channels = 0, enc = 0;
    mpg123_getformat(mh, &rate, &channels, &enc);
    out.rate = int(rate);
    mpg123_close(mh);
    mpg123_delete(mh);
    return true;
}

inline bool decodeQuavrix(const QString& file, bool native, Pcm& out)
{
    Mp3Decoder d;
    d.setNativeRate(native);
    if (!d.open(file, nullptr))
        return false;
    out.samples.clear();
    PlayInfo info;
    char block[2048];
    int produced = 0;
    while (d.decode(block, sizeof block, &produced, &info) && produced > 0) {
        const int16_t* s = reinterpret_cast<const int16_t*>(block);
        out.samples.insert(out.samples.end(), s, s + produced / 2);
    }
    out.rate = info.rate;
    d.close();
    return true;
}

struct Accuracy
{
    double rmsLsb = 0;
    int maxLsb = 0;
    int64_t compared = 0;
    int64_t lengthA = 0;
    int64_t lengthB = 0;
    // ISO/IEC 11172-4 full accuracy for 16-bit output: RMS of the difference at most
    // 2^-15/sqrt(12) of full scale (1/sqrt(12) LSB), maximum at most 2^-14 (2 LSB).
    bool fullAccuracy() const { return compared > 0 && rmsLsb <= 1.0 / std::sqrt(12.0) && maxLsb <= 2; }
};

inline Accuracy compare(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    Accuracy r;
    r.lengthA = int64_t(a.size());
    r.lengthB = int64_t(b.size());
    const size_t n = std::min(a.size(), b.size());
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        const int d = std::abs(int(a[i]) - int(b[i]));
        sum += double(d) * d;
        if (d > r.maxLsb)
            r.maxLsb = d;
    }
    r.compared = int64_t(n);
    r.rmsLsb = n ? std::sqrt(sum / double(n)) : 0;
    return r;
}

} // namespace mp3ref
