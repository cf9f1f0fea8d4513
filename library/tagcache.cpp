#include "tagcache.h"

#include "atomicfile.h"
#include "audioinfo.h"
#include "datafile.h"

#include <QFile>

#include <cstring>
#include <sys/stat.h>

// File layout, little-endian:
//   magic "QVXTAGC\n", version u32, entry count u32,
//   per entry: path length u16, path (UTF-8), size i64, modified i64, changed i64,
//              flags u8 (1 = has a record, 2 = isUtf8), then with a record: three texts
//              (length u16 up to TagText::MaxBytes, bytes), year i32, track i32, gain flags u8, track gain,
//              album gain, track peak, album peak (i32 each);
//   FNV-1a 64 of everything before it, u64.
namespace {

const char Magic[8] = {'Q', 'V', 'X', 'T', 'A', 'G', 'C', '\n'};
// Raised whenever the layout or the way tags are read changes: records read the old way
// are then read again.
constexpr uint32_t Version = 3; // 2: the ReplayGain fields; 3: whole texts
constexpr qint64 MaxFileSize = 256 * 1024 * 1024;
constexpr uint32_t MaxEntries = 2000000;
constexpr int MaxPath = 4096;
constexpr int MaxText = TagText::MaxBytes;

uint64_t fnv1a(const char* p, qsizetype n)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (qsizetype i = 0; i < n; ++i) {
        h ^= uint8_t(p[i]);
        h *= 0x100000001b3ull;
    }
    return h;
}

void put(QByteArray& out, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i));
}

// Reads fields off the file image; every read checks what is left, and once one fails all
// later ones do too.
class Reader
{
public:
    Reader(const char* p, qsizetype n) : m_p(p), m_left(n) {}
    bool ok() const { return m_ok; }
    qsizetype left() const { return m_left; }

    uint64_t number(int bytes)
    {
        if (!take(bytes))
            return 0;
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint64_t(uint8_t(m_p[i - bytes])) << (8 * i);
        return v;
    }
    QByteArray text(qsizetype n, bool nulAllowed = false)
    {
        if (!take(n))
            return QByteArray();
        QByteArray t(m_p - n, n);
        if (!nulAllowed && t.contains('\0'))
            m_ok = false;
        return t;
    }

private:
    bool take(qsizetype n)
    {
        if (!m_ok || n < 0 || n > m_left) {
            m_ok = false;
            return false;
        }
        m_p += n;
        m_left -= n;
        return true;
    }
    const char* m_p;
    qsizetype m_left;
    bool m_ok = true;
};


} // namespace

TagCache::TagCache(const QString& path)
    : m_path(path)
{
}

QString TagCache::defaultPath()
{
    return dataFilePath(QStringLiteral("tagcache"), true);
}

bool TagCache::stampOf(const QString& path, Stamp* stamp)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    stamp->size = int64_t(st.st_size);
    stamp->modified = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp->changed = int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return true;
}

bool TagCache::load()
{
    m_entries.clear();
    m_changed = false;
    m_seen = 0;
    QFile f(m_path);
    m_loaded = f.open(QIODevice::ReadOnly) && f.size() <= MaxFileSize && fromBytes(f.readAll());
    return m_loaded;
}

bool TagCache::save(bool dropUnseen)
{
    if (m_loaded && !m_changed && (!dropUnseen || m_seen == size()))
        return true;
    return AtomicFile::write(m_path, toBytes(dropUnseen));
}

TagCache::Found TagCache::find(const QByteArray& path, const Stamp& stamp, AudioInfo* out)
{
    const auto it = m_entries.find(path);
    if (it == m_entries.end() || !(it->stamp == stamp))
        return Found::Nothing;
    if (!it->seen) {
        it->seen = true;
        ++m_seen;
    }
    if (!it->hasRecord)
        return Found::NoRecord;
    out->title.assign(it->title);
    out->artist.assign(it->artist);
    out->album.assign(it->album);
    out->year = it->year;
    out->track = it->track;
    out->isUtf8 = it->isUtf8;
    out->gains = it->gains;
    out->trackGain = it->trackGain;
    out->albumGain = it->albumGain;
    out->trackPeak = it->trackPeak;
    out->albumPeak = it->albumPeak;
    return Found::Record;
}

void TagCache::store(const QByteArray& path, const Stamp& stamp, const AudioInfo* record)
{
    if (path.isEmpty() || path.size() > MaxPath)
        return;
    Entry e;
    e.stamp = stamp;
    e.seen = true;
    const auto old = m_entries.constFind(path);
    if (old == m_entries.cend() || !old->seen)
        ++m_seen;
    m_changed = true;
    if (record) {
        e.hasRecord = true;
        e.isUtf8 = record->isUtf8;
        e.title = record->title.bytes();
        e.artist = record->artist.bytes();
        e.album = record->album.bytes();
        e.year = record->year;
        e.track = record->track;
        e.gains = record->gains;
        e.trackGain = record->trackGain;
        e.albumGain = record->albumGain;
        e.trackPeak = record->trackPeak;
        e.albumPeak = record->albumPeak;
    }
    m_entries.insert(path, e);
}

QByteArray TagCache::toBytes(bool dropUnseen) const
{
    QByteArray out(Magic, sizeof Magic);
    put(out, Version, 4);
    const int countAt = int(out.size());
    put(out, 0, 4);
    uint32_t count = 0;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        const Entry& e = it.value();
        if (dropUnseen && !e.seen)
            continue;
        put(out, uint64_t(it.key().size()), 2);
        out += it.key();
        put(out, uint64_t(e.stamp.size), 8);
        put(out, uint64_t(e.stamp.modified), 8);
        put(out, uint64_t(e.stamp.changed), 8);
        out += char((e.hasRecord ? 1 : 0) | (e.isUtf8 ? 2 : 0));
        if (e.hasRecord) {
            for (const QByteArray* t : {&e.title, &e.artist, &e.album}) {
                put(out, uint64_t(t->size()), 2);
                out += *t;
            }
            put(out, uint32_t(e.year), 4);
            put(out, uint32_t(e.track), 4);
            out += char(e.gains);
            for (int32_t v : {e.trackGain, e.albumGain, e.trackPeak, e.albumPeak})
                put(out, uint32_t(v), 4);
        }
        ++count;
    }
    for (int i = 0; i < 4; ++i)
        out[countAt + i] = char(count >> (8 * i));
    put(out, fnv1a(out.constData(), out.size()), 8);
    return out;
}

bool TagCache::fromBytes(const QByteArray& bytes)
{
    m_entries.clear();
    m_changed = false;
    m_seen = 0;
    const qsizetype headerSize = qsizetype(sizeof Magic) + 8;
    if (bytes.size() < headerSize + 8 || bytes.size() > MaxFileSize)
        return false;
    const qsizetype body = bytes.size() - 8;
    Reader sum(bytes.constData() + body, 8);
    if (fnv1a(bytes.constData(), body) != sum.number(8))
        return false;
    Reader r(bytes.constData(), body);
    if (r.text(sizeof Magic, true) != QByteArray(Magic, sizeof Magic) || r.number(4) != Version)
        return false;
    const uint64_t count = r.number(4);
    // The smallest entry takes 26 bytes beyond its path: a count beyond that is a lie.
    if (count > MaxEntries || count > uint64_t(r.left() / 26))
        return false;
    QHash<QByteArray, Entry> entries;
    entries.reserve(qsizetype(count));
    for (uint64_t i = 0; i < count && r.ok(); ++i) {
        const qsizetype pathLength = qsizetype(r.number(2));
        if (pathLength == 0 || pathLength > MaxPath)
            return false;
        const QByteArray path = r.text(pathLength);
        Entry e;
        e.stamp.size = int64_t(r.number(8));
        e.stamp.modified = int64_t(r.number(8));
        e.stamp.changed = int64_t(r.number(8));
        const uint64_t flags = r.number(1);
        if (flags > 3)
            return false;
        e.hasRecord = flags & 1;
        e.isUtf8 = flags & 2;
        if (e.hasRecord) {
            for (QByteArray* t : {&e.title, &e.artist, &e.album}) {
                const qsizetype n = qsizetype(r.number(2));
                if (n > MaxText)
                    return false;
                *t = r.text(n);
            }
            e.year = int32_t(uint32_t(r.number(4)));
            e.track = int32_t(uint32_t(r.number(4)));
            e.gains = uint8_t(r.number(1));
            for (int32_t* v : {&e.trackGain, &e.albumGain, &e.trackPeak, &e.albumPeak})
                *v = int32_t(uint32_t(r.number(4)));
        }
        if (!r.ok() || entries.contains(path))
            return false;
        entries.insert(path, e);
    }
    if (!r.ok() || r.left() != 0)
        return false;
    m_entries = std::move(entries);
    return true;
}
