#pragma once

#include "tagtext.h"

#include <QByteArray>
#include <cstdint>

// What a track is. Text fields hold the tag's whole text (see TagText); after
// LoopControl::readTrackInfo they are UTF-8. A new record is entirely empty.
struct AudioInfo
{
    char* fileName = nullptr; // UTF-8 copy of the full path, owned
    TagText title;
    TagText artist;
    TagText album;
    int32_t year = 0;
    int32_t track = 0;
    uint8_t isUtf8 = 0;

    // ReplayGain as the tags give it, relative to the -18 LUFS reference: gains in
    // hundredths of a dB, peaks in millionths of full scale (0: not given). A gain counts
    // only with its flag in gains.
    enum GainFlag : uint8_t { TrackGain = 1, AlbumGain = 2 };
    uint8_t gains = 0;
    int32_t trackGain = 0;
    int32_t albumGain = 0;
    int32_t trackPeak = 0;
    int32_t albumPeak = 0;

    AudioInfo() = default;
    AudioInfo(const AudioInfo& other);
    AudioInfo& operator=(const AudioInfo& other);
    ~AudioInfo();

    void setFileName(const QByteArray& utf8Path);
    QByteArray fileNameBytes() const { return QByteArray(fileName ? fileName : ""); }

    // Stores text into one of the text fields (title, artist, album): see TagText::assign.
    static void setText(TagText& field, const QByteArray& text, bool utf8 = true) { field.assign(text, utf8); }

    // Numbers as tags write them, base 10 whatever leading zeros they have: the track of
    // "5/12" or "05" is 5 (0 when there is none or it is past 99999); the year of
    // "2020-05-01" is 2020 (its first four digits; 0 when it does not start with one).
    static int32_t trackNumberOf(const QByteArray& text);
    static int32_t yearOf(const QByteArray& text);
};

// Order by artist, album, year, track, title.
int compareAudioInfo(const AudioInfo& a, const AudioInfo& b); // -1, 0 or 1
bool operator<(const AudioInfo& a, const AudioInfo& b);
bool operator>(const AudioInfo& a, const AudioInfo& b);
bool operator==(const AudioInfo& a, const AudioInfo& b);
