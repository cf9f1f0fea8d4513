#pragma once

// Decoders for tests: a tone-like byte pattern of a chosen length, and tags from a table.
#include "audioinfo.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "playinfo.h"

#include <QHash>
#include <QSet>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

// What the pattern decoder plays; tests set it before opening.
struct TestTrack
{
    static inline std::atomic<int64_t> totalBytes{4096};
    static inline int rate = 44100;
    static inline int channels = 2;
    static inline std::atomic<int> blockDelayUs{0}; // makes a decode step take time
    static inline bool failOpen = false;
    static inline QSet<QString> damaged; // files that are there but never open
    static inline QHash<QString, AudioInfo> tags; // by file name; missing: no tags

    static char byteAt(int64_t offset) { return char((offset * 7 + (offset >> 11)) & 0xff); }
    static void reset()
    {
        totalBytes = 4096;
        rate = 44100;
        channels = 2;
        blockDelayUs = 0;
        failOpen = false;
        damaged.clear();
        tags.clear();
    }
};

class PatternDecoder : public Decoder
{
public:
    explicit PatternDecoder(const QString& mime) : m_mime(mime) {}
    QString mimeType() const override { return m_mime; }

    bool open(const QString& file, AudioInfo* info) override
    {
        if (TestTrack::failOpen || TestTrack::damaged.contains(file))
            return false;
        if (info) {
            const auto it = TestTrack::tags.constFind(file);
            if (it != TestTrack::tags.constEnd()) {
                info->title = it->title;
                info->artist = it->artist;
                info->album = it->album;
                info->year = it->year;
                info->track = it->track;
                info->isUtf8 = it->isUtf8;
            }
            return true;
        }
        m_open = true;
        m_position = 0;
        return true;
    }

    void close() override { m_open = false; }
    bool isOpen() const { return m_open; }

    int64_t seek(int seconds) override
    {
        const int64_t bytesPerSecond = int64_t(TestTrack::rate) * TestTrack::channels * 2;
        m_position = qMin<int64_t>(int64_t(seconds) * bytesPerSecond, TestTrack::totalBytes);
        return m_position;
    }

    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override
    {
        if (!m_open) { // a decode on a closed decoder is a controller fault
            *produced = 0;
            ++closedDecodes;
            return false;
        }
        if (const int us = TestTrack::blockDelayUs)
            std::this_thread::sleep_for(std::chrono::microseconds(us));
        const int n = int(qMin<int64_t>(size, TestTrack::totalBytes - m_position));
        for (int i = 0; i < n; ++i)
            buffer[i] = TestTrack::byteAt(m_position + i);
        m_position += qMax(n, 0);
        *produced = qMax(n, 0);
        info->channels = TestTrack::channels;
        info->rate = TestTrack::rate;
        info->bitrate = 128000;
        info->length = info->range = int(TestTrack::totalBytes / (int64_t(TestTrack::rate) * TestTrack::channels * 2));
        info->position = int(m_position / (int64_t(TestTrack::rate) * TestTrack::channels * 2));
        return n > 0;
    }

    static inline std::atomic<int> closedDecodes{0};

private:
    QString m_mime;
    bool m_open = false;
    int64_t m_position = 0;
};

inline Decoder* makePatternDecoder(const QString& mime)
{
    return new PatternDecoder(mime.isEmpty() ? QStringLiteral("audio/mpeg") : mime);
}

inline AudioInfo makeTags(const char* title, const char* artist = "", const char* album = "", int year = 0,
                          int track = 0, bool utf8 = false)
{
    AudioInfo a;
    AudioInfo::setText(a.title, QByteArray(title), false);
    AudioInfo::setText(a.artist, QByteArray(artist), false);
    AudioInfo::setText(a.album, QByteArray(album), false);
    a.year = year;
    a.track = track;
    a.isUtf8 = utf8;
    return a;
}
