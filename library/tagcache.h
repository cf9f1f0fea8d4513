#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>

struct AudioInfo;

// Track records from earlier media searches, so that a file is read once and not at every
// start: keyed by the file's path, trusted only while the file's size, modification time
// and change time are those recorded. One file in the data folder, written atomically;
// a damaged, foreign or older file is ignored whole (the search then reads every file
// again and writes a new one).
class TagCache
{
public:
    // What identifies one version of a file.
    struct Stamp
    {
        int64_t size = 0;
        int64_t modified = 0; // nanoseconds since the epoch
        int64_t changed = 0;  // inode change: a tagger that puts the old modification time
                              // back cannot put this back
        bool operator==(const Stamp& o) const
        {
            return size == o.size && modified == o.modified && changed == o.changed;
        }
    };

    enum class Found {
        Nothing,  // not cached, or the file changed: read it
        Record,   // the record was copied out
        NoRecord, // the file did not give a record last time and has not changed
    };

    // The cache kept at path; nothing is read until load().
    explicit TagCache(const QString& path = defaultPath());

    // "tagcache" in the application's data folder.
    static QString defaultPath();

    // The stamp of the file at path; false when it cannot be looked at.
    static bool stampOf(const QString& path, Stamp* stamp);

    // Replaces the entries with the cache file's. Returns false, and leaves the cache
    // empty, when the file is missing, damaged, of another version or not a cache.
    bool load();

    // Writes the entries atomically. With dropUnseen, only entries that were found or
    // stored since load() are kept (the others belong to files that are gone). Nothing is
    // written when that would give the file as loaded. False when nothing could be written.
    bool save(bool dropUnseen = true);

    // The record for the file when its stamp matches. On Record, the text fields, year,
    // track and isUtf8 of out are set (its file name is left alone).
    Found find(const QByteArray& path, const Stamp& stamp, AudioInfo* out);

    // Remembers what reading the file gave; record null: the file gave no record.
    void store(const QByteArray& path, const Stamp& stamp, const AudioInfo* record);

    int size() const { return int(m_entries.size()); }

    // The cache file's image of the entries, and the reverse; fromBytes returns false and
    // leaves the entries empty for anything that is not a sound cache of this version.
    QByteArray toBytes(bool dropUnseen) const;
    bool fromBytes(const QByteArray& bytes);

private:
    struct Entry
    {
        Stamp stamp;
        bool hasRecord = false;
        bool isUtf8 = false;
        bool seen = false;
        QByteArray title, artist, album;
        int32_t year = 0;
        int32_t track = 0;
        uint8_t gains = 0;
        int32_t trackGain = 0;
        int32_t albumGain = 0;
        int32_t trackPeak = 0;
        int32_t albumPeak = 0;
    };

    QString m_path;
    QHash<QByteArray, Entry> m_entries;
    bool m_loaded = false;  // the entries are the file's
    bool m_changed = false; // an entry was stored since
    int m_seen = 0;         // entries found or stored since load()
};
