#include "replaygain.h"

#include "audioinfo.h"

#include <QtEndian>

#include <cmath>

namespace ReplayGain {
namespace {

// A plain decimal number: sign, digits, an optional fraction; nothing else but the unit.
bool parseNumber(QByteArray text, const char* unit, double* value)
{
    text = text.trimmed();
    if (unit && text.toLower().endsWith(unit))
        text = text.left(text.size() - qsizetype(qstrlen(unit))).trimmed();
    if (text.isEmpty() || text.size() > 32)
        return false;
    int i = 0;
    if (text[0] == '+' || text[0] == '-')
        ++i;
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && digits > 0;
}

} // namespace

bool parseGain(const QByteArray& text, int32_t* centiDb)
{
    double db = 0;
    if (!parseNumber(text, "db", &db) || std::fabs(db) > 60)
        return false;
    *centiDb = int32_t(std::lround(db * 100));
    return true;
}

bool parsePeak(const QByteArray& text, int32_t* micro)
{
    double peak = 0;
    if (!parseNumber(text, nullptr, &peak) || peak < 0 || peak > 100)
        return false;
    *micro = int32_t(std::lround(peak * 1e6));
    return true;
}

bool takeTag(const QByteArray& name, const QByteArray& value, AudioInfo* info)
{
    const QByteArray n = name.trimmed().toUpper();
    int32_t v = 0;
    if (n == "REPLAYGAIN_TRACK_GAIN" && parseGain(value, &v)) {
        info->trackGain = v;
        info->gains |= AudioInfo::TrackGain;
    } else if (n == "REPLAYGAIN_ALBUM_GAIN" && parseGain(value, &v)) {
        info->albumGain = v;
        info->gains |= AudioInfo::AlbumGain;
    } else if (n == "REPLAYGAIN_TRACK_PEAK" && parsePeak(value, &v)) {
        info->trackPeak = v;
    } else if (n == "REPLAYGAIN_ALBUM_PEAK" && parsePeak(value, &v)) {
        info->albumPeak = v;
    } else {
        return false;
    }
    return true;
}

int32_t fromR128(int q78)
{
    // Q7.8 dB to hundredths, and from -23 LUFS up to the -18 LUFS of the other formats.
    return int32_t(std::lround(q78 * 100.0 / 256.0)) + 500;
}

int32_t factor(const AudioInfo& info, const Options& options)
{
    if (options.mode == Options::Off)
        return One;
    int32_t centiDb = 0;
    int32_t peak = 0;
    bool tagged = true;
    if (options.mode == Options::Album && (info.gains & AudioInfo::AlbumGain)) {
        centiDb = info.albumGain;
        peak = info.albumPeak;
    } else if (info.gains & AudioInfo::TrackGain) {
        centiDb = info.trackGain;
        peak = info.trackPeak;
    } else {
        tagged = false;
    }
    const double db = tagged ? centiDb / 100.0 + qBound(-12, options.preampDb, 12)
                             : qBound(-12, options.preampNoneDb, 12);
    double linear = std::pow(10.0, db / 20.0);
    if (options.preventClipping && tagged && peak > 0)
        linear = std::min(linear, 1e6 / peak);
    return int32_t(std::lround(std::min(linear, 32000.0) * One));
}

void apply(char* pcm, int bytes, int32_t factor)
{
    if (factor == One)
        return;
    for (int i = 0; i + 1 < bytes; i += 2) {
        const int64_t s = qFromLittleEndian<int16_t>(pcm + i);
        // Rounded to the nearest, halves away from zero, so a gain of one half is exact
        // within one step for either sign.
        int64_t v = s * factor;
        v = v >= 0 ? (v + (One >> 1)) >> 16 : -((-v + (One >> 1)) >> 16);
        qToLittleEndian<int16_t>(int16_t(qBound<int64_t>(-32768, v, int64_t(32767))), pcm + i);
    }
}

} // namespace ReplayGain
