#include "audioinfo.h"

#include <cstdlib>
#include <cstring>

namespace {
char* duplicate(const char* s)
{
    if (!s)
        return nullptr;
    const size_t n = std::strlen(s) + 1;
    char* copy = static_cast<char*>(std::malloc(n));
    std::memcpy(copy, s, n);
    return copy;
}

int compareText(const char* a, const char* b)
{
    const int c = std::strcmp(a, b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareUnsigned(int32_t a, int32_t b)
{
    const uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
    return ua < ub ? -1 : (ua > ub ? 1 : 0);
}
} // namespace

AudioInfo::AudioInfo(const AudioInfo& other)
{
    *this = other;
}

AudioInfo& AudioInfo::operator=(const AudioInfo& other)
{
    if (this == &other)
        return *this;
    std::free(fileName);
    fileName = duplicate(other.fileName);
    title = other.title;
    artist = other.artist;
    album = other.album;
    year = other.year;
    track = other.track;
    isUtf8 = other.isUtf8;
    gains = other.gains;
    trackGain = other.trackGain;
    albumGain = other.albumGain;
    trackPeak = other.trackPeak;
    albumPeak = other.albumPeak;
    return *this;
}

AudioInfo::~AudioInfo()
{
    std::free(fileName);
}

void AudioInfo::setFileName(const QByteArray& utf8Path)
{
    std::free(fileName);
    fileName = duplicate(utf8Path.constData());
}

namespace {
// The decimal number at the start of text (after spaces), at most maxDigits long;
// -1 when text does not start with a digit.
int64_t leadingNumber(const QByteArray& text, int maxDigits)
{
    int i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    int64_t n = -1;
    for (int k = 0; k < maxDigits && i < text.size() && text[i] >= '0' && text[i] <= '9'; ++k, ++i)
        n = (n < 0 ? 0 : n * 10) + (text[i] - '0');
    return n;
}
} // namespace

int32_t AudioInfo::trackNumberOf(const QByteArray& text)
{
    const int64_t n = leadingNumber(text, 9);
    return n > 0 && n < 100000 ? int32_t(n) : 0;
}

int32_t AudioInfo::yearOf(const QByteArray& text)
{
    const int64_t n = leadingNumber(text, 4);
    return n > 0 ? int32_t(n) : 0;
}

int compareAudioInfo(const AudioInfo& a, const AudioInfo& b)
{
    if (int c = compareText(a.artist, b.artist))
        return c;
    if (int c = compareText(a.album, b.album))
        return c;
    if (int c = compareUnsigned(a.year, b.year))
        return c;
    if (int c = compareUnsigned(a.track, b.track))
        return c;
    return compareText(a.title, b.title);
}

bool operator<(const AudioInfo& a, const AudioInfo& b) { return compareAudioInfo(a, b) < 0; }
bool operator>(const AudioInfo& a, const AudioInfo& b) { return compareAudioInfo(a, b) > 0; }
bool operator==(const AudioInfo& a, const AudioInfo& b) { return compareAudioInfo(a, b) == 0; }
