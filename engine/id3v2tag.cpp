#include "id3v2tag.h"

#include "audioinfo.h"
#include "regularfile.h"
#include "replaygain.h"
#include "textcodec.h"

#include <QFile>

#include <cmath>
#include <cstring>
#include <memory>

namespace Id3v2 {
namespace {

constexpr int HeaderSize = 10;
// A tag unsynchronised as a whole has to be read whole; past this its later frames are lost.
constexpr uint32_t MaxWholeTag = 4 * 1024 * 1024;
// Text frames are short; a larger one is not what we look for (or lies about its size).
constexpr uint32_t MaxTextFrame = 64 * 1024;
// Frames looked at, so a tag of empty frames cannot stall the walk.
constexpr int MaxFrames = 10000;

uint32_t be24(const uint8_t* p) { return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | be24(p + 1); }
bool isSyncSafe(const uint8_t* p) { return !((p[0] | p[1] | p[2] | p[3]) & 0x80); }
uint32_t syncSafe(const uint8_t* p)
{
    return uint32_t(p[0] & 0x7f) << 21 | uint32_t(p[1] & 0x7f) << 14 | uint32_t(p[2] & 0x7f) << 7 | (p[3] & 0x7f);
}

// Undoes unsynchronisation: every 0xFF 0x00 pair stands for 0xFF.
QByteArray resync(const QByteArray& in)
{
    QByteArray out;
    out.reserve(in.size());
    const char* p = in.constData();
    const int n = int(in.size());
    for (int i = 0; i < n; ++i) {
        out += p[i];
        if (uint8_t(p[i]) == 0xFF && i + 1 < n && p[i + 1] == 0)
            ++i;
    }
    return out;
}

// The bytes of the tag after its header, read on demand.
class Source
{
public:
    virtual ~Source() = default;
    // n bytes at offset; false when they cannot all be read.
    virtual bool read(uint32_t offset, uint32_t n, QByteArray* out) = 0;
};

class MemorySource : public Source
{
public:
    MemorySource(const char* data, size_t size) : m_data(data), m_size(size) {}
    bool read(uint32_t offset, uint32_t n, QByteArray* out) override
    {
        if (offset > m_size || n > m_size - offset)
            return false;
        *out = QByteArray(m_data + offset, int(n));
        return true;
    }

private:
    const char* m_data;
    size_t m_size;
};

// Serves the start of the tag, where the text frames usually are, from one read; seeks
// past pictures and reads further only when a frame lies beyond it.
class FileSource : public Source
{
public:
    FileSource(QFile* file, uint32_t tagSize) : m_file(file)
    {
        m_head = m_file->read(qMin<uint32_t>(tagSize, HeadSize));
    }
    bool read(uint32_t offset, uint32_t n, QByteArray* out) override
    {
        if (offset <= uint32_t(m_head.size()) && n <= uint32_t(m_head.size()) - offset) {
            *out = m_head.mid(int(offset), int(n));
            return true;
        }
        if (!m_file->seek(qint64(HeaderSize) + offset))
            return false;
        *out = m_file->read(n);
        return uint32_t(out->size()) == n;
    }

private:
    static constexpr uint32_t HeadSize = 8192;
    QFile* m_file;
    QByteArray m_head;
};

bool validId(const uint8_t* p, int n)
{
    for (int i = 0; i < n; ++i)
        if (!((p[i] >= 'A' && p[i] <= 'Z') || (p[i] >= '0' && p[i] <= '9')))
            return false;
    return true;
}

// UTF-16 code units up to the first terminator, as UTF-8.
QByteArray fromUtf16(const uint8_t* p, size_t n, bool bigEndian)
{
    QString s;
    s.reserve(int(n / 2));
    for (size_t i = 0; i + 1 < n; i += 2) {
        const char16_t u = bigEndian ? char16_t(p[i] << 8 | p[i + 1]) : char16_t(p[i + 1] << 8 | p[i]);
        if (u == 0)
            break;
        s += QChar(u);
    }
    return s.toUtf8();
}

// The first string of a text frame body (encoding byte, then the text).
Text decodeText(const QByteArray& body)
{
    Text t;
    if (body.isEmpty())
        return t;
    const auto* p = reinterpret_cast<const uint8_t*>(body.constData()) + 1;
    const size_t n = size_t(body.size()) - 1;
    switch (body[0]) {
    case 0: // ISO-8859-1 in name; in practice whatever the writer's system used
    case 3: { // UTF-8
        const void* nul = std::memchr(p, 0, n);
        t.bytes = QByteArray(reinterpret_cast<const char*>(p), int(nul ? static_cast<const uint8_t*>(nul) - p : n));
        // Text that claims UTF-8 but is not is treated like single-byte text.
        t.latin1 = body[0] == 0 || TextCodec::heuristicContentMatch("UTF-8", t.bytes.constData(), int(t.bytes.size())) < 0;
        break;
    }
    case 1: { // UTF-16 with a byte-order mark
        if (n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
            t.bytes = fromUtf16(p + 2, n - 2, p[0] == 0xFE);
        } else {
            // No mark: Latin text shows its order by where the zero bytes are.
            int evenZeros = 0, oddZeros = 0;
            for (size_t i = 0; i + 1 < n && i < 64; i += 2) {
                evenZeros += p[i] == 0;
                oddZeros += p[i + 1] == 0;
            }
            t.bytes = fromUtf16(p, n, evenZeros > oddZeros);
        }
        break;
    }
    case 2: // UTF-16 big-endian, no mark (one written anyway is skipped)
        if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF)
            t.bytes = fromUtf16(p + 2, n - 2, true);
        else
            t.bytes = fromUtf16(p, n, true);
        break;
    default: // unknown encoding: the frame is not ours to read
        break;
    }
    return t;
}

enum class Field { None, Title, Artist, Album, Track, Year, Date, UserText, Volume, Picture };

Field fieldOf(const uint8_t* id, int version)
{
    if (version == 2) {
        static const struct { char id[4]; Field f; } v22[] = {
            {"TT2", Field::Title}, {"TP1", Field::Artist}, {"TAL", Field::Album}, {"TRK", Field::Track}, {"TYE", Field::Year},
            {"TXX", Field::UserText}, {"PIC", Field::Picture}};
        for (const auto& e : v22)
            if (std::memcmp(id, e.id, 3) == 0)
                return e.f;
        return Field::None;
    }
    static const struct { char id[5]; Field f; } v234[] = {{"TIT2", Field::Title}, {"TPE1", Field::Artist},
                                                         {"TALB", Field::Album}, {"TRCK", Field::Track},
                                                         {"TYER", Field::Year},  {"TDRC", Field::Date},
                                                         {"TXXX", Field::UserText}, {"RVA2", Field::Volume},
                                                         {"APIC", Field::Picture}};
    for (const auto& e : v234)
        if (std::memcmp(id, e.id, 4) == 0)
            return e.f;
    return Field::None;
}

// A TXXX body: the encoding byte, a description and its terminator, then the value.
void takeUserText(const QByteArray& body, Gains* gains)
{
    if (body.size() < 2)
        return;
    const bool wide = body[0] == 1 || body[0] == 2;
    qsizetype end = -1;
    for (qsizetype i = 1; i + (wide ? 1 : 0) < body.size(); i += wide ? 2 : 1) {
        if (body[i] == 0 && (!wide || body[i + 1] == 0)) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return;
    const QByteArray name = decodeText(body.left(end)).bytes;
    const QByteArray value = decodeText(body.left(1) + body.mid(end + (wide ? 2 : 1))).bytes;
    AudioInfo info;
    if (!ReplayGain::takeTag(name, value, &info))
        return;
    if (info.gains & AudioInfo::TrackGain) {
        gains->trackGain = info.trackGain;
        gains->flags |= AudioInfo::TrackGain;
    }
    if (info.gains & AudioInfo::AlbumGain) {
        gains->albumGain = info.albumGain;
        gains->flags |= AudioInfo::AlbumGain;
    }
    gains->trackPeak = info.trackPeak ? info.trackPeak : gains->trackPeak;
    gains->albumPeak = info.albumPeak ? info.albumPeak : gains->albumPeak;
}

// An RVA2 body: an identification ("track" or "album"), then per channel its type (1 is
// the master), the adjustment in 1/512 dB (16 bits, signed) and a peak of the given bits.
void takeVolume(const QByteArray& body, Gains* gains)
{
    const qsizetype nul = body.indexOf('\0');
    if (nul < 0)
        return;
    const QByteArray id = body.left(nul).toLower();
    const bool track = id == "track", album = id == "album";
    if (!track && !album)
        return;
    const auto* p = reinterpret_cast<const uint8_t*>(body.constData());
    for (qsizetype i = nul + 1; i + 4 <= body.size();) {
        const int type = p[i];
        const int adjustment = int16_t(uint16_t(p[i + 1] << 8 | p[i + 2]));
        const int bits = p[i + 3];
        const qsizetype peakBytes = (bits + 7) / 8;
        if (i + 4 + peakBytes > body.size())
            return;
        uint64_t peak = 0;
        for (qsizetype k = 0; k < peakBytes && k < 8; ++k)
            peak = peak << 8 | p[i + 4 + k];
        if (type == 1) {
            const int32_t centiDb = int32_t(std::lround(adjustment * 100.0 / 512.0));
            const int32_t micro = bits >= 1 && bits <= 32 ? int32_t(qMin(1e8, peak * 1e6 / double(uint64_t(1) << (bits - 1)))) : 0;
            (track ? gains->trackGain : gains->albumGain) = centiDb;
            (track ? gains->trackPeak : gains->albumPeak) = micro;
            gains->flags |= track ? AudioInfo::TrackGain : AudioInfo::AlbumGain;
            return;
        }
        i += 4 + peakBytes;
    }
}

struct Walk
{
    Source* src;
    uint32_t size; // bytes of the tag after its header (after resync when unsynchronised whole)
    int version;
    bool unsyncFrames; // 2.4: every frame unsynchronised
    Tag* tag;
    Pictures* pictures;
    int32_t date = 0; // TDRC, used when there is no TYER
};

// Reads the frame header at pos into h; false at padding, the end or a damaged header.
bool frameHeader(Walk& w, uint32_t pos, uint8_t* h, int headerSize)
{
    if (pos > w.size || uint32_t(headerSize) > w.size - pos)
        return false;
    QByteArray bytes;
    if (!w.src->read(pos, uint32_t(headerSize), &bytes))
        return false;
    std::memcpy(h, bytes.constData(), size_t(headerSize));
    return validId(h, w.version == 2 ? 3 : 4);
}

// Whether pos is where a frame, the padding or the tag's end starts.
bool landsOnFrame(Walk& w, uint32_t pos)
{
    if (pos == w.size)
        return true;
    uint8_t h[10];
    if (frameHeader(w, pos, h, 10))
        return true;
    QByteArray first;
    return pos < w.size && w.src->read(pos, 1, &first) && first[0] == 0;
}

// The size of the frame whose header is h, or false when it runs past the tag.
bool frameSize(Walk& w, uint32_t pos, const uint8_t* h, uint32_t* size)
{
    const int headerSize = w.version == 2 ? 6 : 10;
    const uint32_t room = w.size - pos - uint32_t(headerSize);
    if (w.version == 2) {
        *size = be24(h + 3);
    } else if (w.version == 3 || !isSyncSafe(h + 4)) {
        *size = be32(h + 4);
    } else {
        *size = syncSafe(h + 4);
        // Some writers put plain sizes into 2.4 tags. Where the two readings differ, the
        // plain one wins only if it lands on a frame header and the sync-safe one does not.
        const uint32_t plain = be32(h + 4);
        if (plain != *size && plain <= room) {
            const bool safeLands = *size <= room && landsOnFrame(w, pos + 10 + *size);
            const bool plainLands = landsOnFrame(w, pos + 10 + plain);
            if (!safeLands && plainLands)
                *size = plain;
        }
    }
    return *size <= room;
}

// The frame body without the bytes its flags add, resynchronised; false when the frame
// cannot be read (compressed or encrypted).
bool frameBody(Walk& w, uint32_t pos, const uint8_t* h, uint32_t size, QByteArray* body)
{
    const int headerSize = w.version == 2 ? 6 : 10;
    if (!w.src->read(pos + uint32_t(headerSize), size, body))
        return false;
    if (w.version == 3) {
        const uint8_t f = h[9];
        if (f & 0xC0) // compressed or encrypted
            return false;
        if (f & 0x20) // group identity byte
            body->remove(0, 1);
    } else if (w.version == 4) {
        const uint8_t f = h[9];
        if (f & 0x0C)
            return false;
        int extra = (f & 0x40 ? 1 : 0) + (f & 0x01 ? 4 : 0); // group byte, data length
        if (extra > body->size())
            return false;
        body->remove(0, extra);
        if ((f & 0x02) || w.unsyncFrames)
            *body = resync(*body);
    }
    return true;
}

void walkFrames(Walk& w, uint32_t pos)
{
    const int headerSize = w.version == 2 ? 6 : 10;
    uint8_t h[10];
    // Every frame is looked at: the ReplayGain frames may come after all the text.
    for (int count = 0; count < MaxFrames; ++count) {
        if (!frameHeader(w, pos, h, headerSize))
            return;
        uint32_t size;
        if (!frameSize(w, pos, h, &size))
            return; // a frame longer than the tag: nothing after it can be placed
        const Field field = fieldOf(h, w.version);
        QByteArray body;
        if (field == Field::Picture) {
            // Checked against what is left of the budget before the body is read.
            if (w.pictures && size <= w.pictures->budget && frameBody(w, pos, h, size, &body)) {
                w.pictures->budget -= size;
                w.pictures->bodies.append(body);
            }
        } else if (field != Field::None && size <= MaxTextFrame && frameBody(w, pos, h, size, &body)) {
            const Text t = field == Field::UserText || field == Field::Volume ? Text() : decodeText(body);
            switch (field) {
            case Field::UserText:
                takeUserText(body, &w.tag->userGains);
                break;
            case Field::Volume:
                takeVolume(body, &w.tag->volumeGains);
                break;
            case Field::Title:
                if (w.tag->title.isEmpty())
                    w.tag->title = t;
                break;
            case Field::Artist:
                if (w.tag->artist.isEmpty())
                    w.tag->artist = t;
                break;
            case Field::Album:
                if (w.tag->album.isEmpty())
                    w.tag->album = t;
                break;
            case Field::Track:
                if (!w.tag->track)
                    w.tag->track = AudioInfo::trackNumberOf(t.bytes);
                break;
            case Field::Year:
                if (!w.tag->year)
                    w.tag->year = AudioInfo::yearOf(t.bytes);
                break;
            case Field::Date:
                if (!w.date)
                    w.date = AudioInfo::yearOf(t.bytes);
                break;
            case Field::None:
            case Field::Picture:
                break;
            }
        }
        pos += uint32_t(headerSize) + size;
    }
}

// The tag whose 10-byte header is h, with the rest read through src (which holds at most
// available bytes after the header).
bool parseTag(const uint8_t* h, Source* src, uint32_t available, Tag* tag, Pictures* pictures)
{
    *tag = Tag();
    if (std::memcmp(h, "ID3", 3) != 0 || h[3] < 2 || h[3] > 4 || h[4] == 0xFF || !isSyncSafe(h + 6))
        return false;
    const int version = h[3];
    const uint8_t flags = h[5];
    if (version == 2 && (flags & 0x40)) // 2.2 compression: no way to read it
        return false;
    tag->version = version;
    Walk w{src, qMin(syncSafe(h + 6), available), version, version == 4 && (flags & 0x80), tag, pictures};

    QByteArray whole;
    std::unique_ptr<MemorySource> resynced;
    if (version < 4 && (flags & 0x80)) {
        // Unsynchronised as a whole, frame headers included: undo it first.
        if (!src->read(0, qMin(w.size, MaxWholeTag), &whole))
            return true;
        whole = resync(whole);
        resynced = std::make_unique<MemorySource>(whole.constData(), size_t(whole.size()));
        w.src = resynced.get();
        w.size = uint32_t(whole.size());
    }

    uint32_t pos = 0;
    if (version >= 3 && (flags & 0x40)) {
        QByteArray ext;
        if (!w.src->read(0, 4, &ext))
            return true;
        const auto* e = reinterpret_cast<const uint8_t*>(ext.constData());
        // 2.3 counts the size without its own four bytes, 2.4 with them (sync-safe).
        uint64_t extSize;
        if (version == 3) {
            extSize = uint64_t(be32(e)) + 4;
        } else {
            if (!isSyncSafe(e))
                return true;
            extSize = syncSafe(e);
        }
        if (extSize < 6 || extSize > w.size)
            return true;
        pos = uint32_t(extSize);
    }
    walkFrames(w, pos);
    if (!tag->year)
        tag->year = w.date;
    return true;
}

} // namespace

bool parse(const uint8_t* data, size_t size, Tag* tag, Pictures* pictures)
{
    *tag = Tag();
    if (!data || size < HeaderSize)
        return false;
    MemorySource src(reinterpret_cast<const char*>(data) + HeaderSize, size - HeaderSize);
    return parseTag(data, &src, uint32_t(qMin<size_t>(size - HeaderSize, 0xFFFFFFFFu)), tag, pictures);
}

bool readFile(const QString& file, Tag* tag, Pictures* pictures)
{
    *tag = Tag();
    QFile f(file);
    if (!RegularFile::open(f))
        return false;
    uint8_t h[HeaderSize];
    if (f.read(reinterpret_cast<char*>(h), HeaderSize) != HeaderSize)
        return false;
    if (std::memcmp(h, "ID3", 3) != 0)
        return false;
    const uint32_t available = uint32_t(qBound<qint64>(0, f.size() - HeaderSize, 0xFFFFFFFF));
    FileSource src(&f, qMin(syncSafe(h + 6), available));
    return parseTag(h, &src, available, tag, pictures);
}

uint32_t tagLength(const uint8_t header[10])
{
    if (std::memcmp(header, "ID3", 3) != 0 || !isSyncSafe(header + 6))
        return 0;
    const bool footer = header[3] == 4 && (header[5] & 0x10);
    return uint32_t(HeaderSize) * (footer ? 2 : 1) + syncSafe(header + 6);
}

} // namespace Id3v2
