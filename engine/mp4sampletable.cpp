#include "mp4sampletable.h"

#include "regularfile.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace Mp4SampleTable {
namespace {

constexpr uint32_t fourcc(const char (&s)[5])
{
    return uint32_t(uint8_t(s[0])) << 24 | uint32_t(uint8_t(s[1])) << 16 | uint32_t(uint8_t(s[2])) << 8
        | uint32_t(uint8_t(s[3]));
}

// Atoms looked at per level, so a movie of tiny atoms cannot stall us.
constexpr int MaxAtomsPerLevel = 100000;

uint32_t be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint64_t be64(const uint8_t* p) { return uint64_t(be32(p)) << 32 | be32(p + 4); }

// A run of bytes inside the movie atom.
struct Span
{
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool empty() const { return data == nullptr; }
};

// Steps through the atoms of a parent; stops at the end or at the first atom whose length
// lies (shorter than its header, longer than what is left of the parent).
class Atoms
{
public:
    explicit Atoms(Span parent) : m_parent(parent) {}

    bool next(uint32_t* type, Span* body)
    {
        if (++m_count > MaxAtomsPerLevel || m_parent.size - m_pos < 8)
            return false;
        const uint8_t* p = m_parent.data + m_pos;
        const size_t remaining = m_parent.size - m_pos;
        uint64_t size = be32(p);
        size_t header = 8;
        if (size == 1) {
            if (remaining < 16)
                return false;
            size = be64(p + 8);
            header = 16;
        } else if (size == 0) {
            size = remaining; // extends to the end of the parent
        }
        if (size < header || size > remaining)
            return false;
        *type = be32(p + 4);
        *body = Span{p + header, size_t(size) - header};
        m_pos += size_t(size);
        return true;
    }

private:
    Span m_parent;
    size_t m_pos = 0;
    int m_count = 0;
};

// The payload of the first child of the given type, empty when there is none.
Span child(Span parent, uint32_t type)
{
    if (parent.empty())
        return Span();
    Atoms atoms(parent);
    uint32_t t = 0;
    Span body;
    while (atoms.next(&t, &body))
        if (t == type)
            return body;
    return Span();
}

Span path(Span parent, std::initializer_list<uint32_t> types)
{
    for (uint32_t t : types)
        parent = child(parent, t);
    return parent;
}

bool fail(QByteArray* why, const char* text)
{
    if (why)
        *why = text;
    return false;
}


// An MPEG-4 descriptor inside an esds payload: tag, a length of one to four 7-bit groups,
// the body. False when the header or the body does not fit in what is left.
bool readDescriptor(Span* rest, int* tag, Span* body)
{
    if (rest->size < 2)
        return false;
    size_t pos = 1;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= rest->size)
            return false;
        const uint8_t b = rest->data[pos++];
        length = length << 7 | (b & 0x7f);
        if (!(b & 0x80))
            break;
    }
    if (length > rest->size - pos)
        return false;
    *tag = rest->data[0];
    *body = Span{rest->data + pos, length};
    rest->data += pos + length;
    rest->size -= pos + length;
    return true;
}

bool readEsds(Span esds, Track* track)
{
    if (esds.size < 4)
        return false;
    Span rest{esds.data + 4, esds.size - 4}; // version and flags
    int tag = 0;
    Span es;
    if (!readDescriptor(&rest, &tag, &es) || tag != 3 || es.size < 3)
        return false;
    const uint8_t flags = es.data[2];
    size_t skip = 3;
    if (flags & 0x80)
        skip += 2;
    if (flags & 0x40) {
        if (skip >= es.size)
            return false;
        skip += 1 + size_t(es.data[skip]);
    }
    if (flags & 0x20)
        skip += 2;
    if (skip > es.size)
        return false;
    Span inner{es.data + skip, es.size - skip};
    Span config;
    tag = 0;
    while (tag != 4 && readDescriptor(&inner, &tag, &config)) {
    }
    if (tag != 4 || config.size < 13)
        return false;
    track->objectTypeIndication = config.data[0];
    Span specific{config.data + 13, config.size - 13};
    Span info;
    while (readDescriptor(&specific, &tag, &info)) {
        if (tag == 5) {
            track->decoderConfig = QByteArray(reinterpret_cast<const char*>(info.data), int(info.size));
            return true;
        }
    }
    return false;
}

// The first sample entry of stsd: its type and, for "mp4a", the esds inside it (directly
// or in QuickTime's "wave" atom).
bool readSampleEntry(Span stsd, Track* track, QByteArray* why)
{
    if (stsd.size < 16 || be32(stsd.data + 4) == 0)
        return fail(why, "no sample entry");
    Span entries{stsd.data + 8, stsd.size - 8};
    const uint32_t size = be32(entries.data);
    if (size < 8 + 28 || size > entries.size)
        return fail(why, "sample entry longer than its atom");
    track->fourcc = QByteArray(reinterpret_cast<const char*>(entries.data + 4), 4);
    if (track->fourcc != "mp4a")
        return fail(why, "not an AAC track");
    // The audio sample entry: 28 bytes, 16 or 36 more in QuickTime's versions 1 and 2.
    const uint8_t* body = entries.data + 8;
    const uint32_t version = be16(body + 8);
    size_t fixed = 28;
    if (version == 1)
        fixed += 16;
    else if (version == 2)
        fixed += 36;
    if (size < 8 + fixed)
        return fail(why, "sample entry too short");
    const Span children{body + fixed, size - 8 - fixed};
    Span esds = child(children, fourcc("esds"));
    if (esds.empty())
        esds = path(children, {fourcc("wave"), fourcc("esds")});
    if (esds.empty() || !readEsds(esds, track))
        return fail(why, "no decoder configuration");
    return true;
}

bool readEdits(Span elst, int64_t movieTimescale, Track* track)
{
    if (elst.size < 8)
        return false;
    const int version = elst.data[0];
    const size_t entrySize = version == 1 ? 20 : 12;
    const uint64_t count = std::min<uint64_t>(be32(elst.data + 4), (elst.size - 8) / entrySize);
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* e = elst.data + 8 + i * entrySize;
        const int64_t duration = version == 1 ? int64_t(be64(e) & 0x7fffffffffffffffULL) : int64_t(be32(e));
        const int64_t start = version == 1 ? int64_t(be64(e + 8)) : int64_t(int32_t(be32(e + 4)));
        if (start < 0)
            continue; // an empty edit: silence before the media, nothing to cut
        track->editStart = start;
        track->editDuration = std::max<int64_t>(0, scaled(duration, track->timescale, movieTimescale));
        break;
    }
    return true;
}

// Fills the frame tables from stsz/stz2, stsc, stco/co64 and stts.
bool readTables(Span stbl, int64_t fileSize, Track* track, QByteArray* why)
{
    // Frame sizes. The count is trusted only as far as its atom holds entries.
    Span stsz = child(stbl, fourcc("stsz"));
    Span stz2 = stsz.empty() ? child(stbl, fourcc("stz2")) : Span();
    uint32_t constantSize = 0;
    uint64_t frames = 0;
    int fieldBits = 32;
    const uint8_t* sizes = nullptr;
    if (!stsz.empty()) {
        if (stsz.size < 12)
            return fail(why, "sample size atom too short");
        constantSize = be32(stsz.data + 4);
        frames = be32(stsz.data + 8);
        if (constantSize == 0) {
            if (frames > (stsz.size - 12) / 4)
                return fail(why, "more sample sizes than the atom holds");
            sizes = stsz.data + 12;
        }
    } else if (!stz2.empty()) {
        if (stz2.size < 12)
            return fail(why, "compact sample size atom too short");
        fieldBits = stz2.data[7];
        frames = be32(stz2.data + 8);
        if (fieldBits != 4 && fieldBits != 8 && fieldBits != 16)
            return fail(why, "compact sample sizes of an unknown width");
        if (frames > (uint64_t(stz2.size) - 12) * 8 / uint64_t(fieldBits))
            return fail(why, "more sample sizes than the atom holds");
        sizes = stz2.data + 12;
    } else {
        return fail(why, "no sample sizes");
    }
    if (frames > uint64_t(MaxFrames))
        return fail(why, "too many frames");

    // Chunk offsets.
    Span stco = child(stbl, fourcc("stco"));
    Span co64 = stco.empty() ? child(stbl, fourcc("co64")) : Span();
    const Span chunkTable = stco.empty() ? co64 : stco;
    const size_t offsetBytes = stco.empty() ? 8 : 4;
    if (chunkTable.empty() || chunkTable.size < 8)
        return fail(why, "no chunk offsets");
    const uint64_t chunks = be32(chunkTable.data + 4);
    if (chunks > (chunkTable.size - 8) / offsetBytes)
        return fail(why, "more chunk offsets than the atom holds");

    // Frames per chunk, in runs.
    Span stsc = child(stbl, fourcc("stsc"));
    if (stsc.empty() || stsc.size < 8)
        return fail(why, "no chunk map");
    const uint64_t runs = be32(stsc.data + 4);
    if (runs == 0 || runs > (stsc.size - 8) / 12)
        return fail(why, "more chunk runs than the atom holds");

    // Durations, in runs.
    Span stts = child(stbl, fourcc("stts"));
    if (stts.empty() || stts.size < 8)
        return fail(why, "no frame durations");
    const uint64_t timeRuns = be32(stts.data + 4);
    if (timeRuns > (stts.size - 8) / 8)
        return fail(why, "more duration runs than the atom holds");

    const size_t n = size_t(frames);
    track->offset.clear();
    track->size.clear();
    track->time.clear();
    // With one size for all frames the count is not bounded by an atom: the file is.
    const uint64_t fitting = uint64_t(fileSize) / std::max<uint32_t>(constantSize, 1) + 1;
    const size_t expected = sizes ? n : size_t(std::min<uint64_t>(n, fitting));
    track->offset.reserve(expected);
    track->size.reserve(expected);
    track->time.reserve(expected + 1);

    auto sizeOf = [&](size_t i) -> uint32_t {
        if (!sizes)
            return constantSize;
        if (fieldBits == 32)
            return be32(sizes + 4 * i);
        if (fieldBits == 16)
            return be16(sizes + 2 * i);
        if (fieldBits == 8)
            return sizes[i];
        const uint8_t b = sizes[i / 2];
        return i % 2 ? b & 0x0f : b >> 4;
    };

    // Walk the chunks; a frame that is not wholly inside the file ends the track there.
    size_t frame = 0;
    uint64_t run = 0;
    for (uint64_t chunk = 0; chunk < chunks && frame < n && !track->truncated; ++chunk) {
        // The run that covers this chunk (first chunks are numbered from 1, rising).
        while (run + 1 < runs && be32(stsc.data + 8 + (run + 1) * 12) <= chunk + 1)
            ++run;
        const uint32_t firstChunk = be32(stsc.data + 8 + run * 12);
        if (firstChunk == 0 || firstChunk > chunk + 1)
            return fail(why, "chunk map out of order");
        const uint64_t perChunk = be32(stsc.data + 8 + run * 12 + 4);
        int64_t pos = offsetBytes == 4 ? int64_t(be32(chunkTable.data + 8 + chunk * 4))
                                       : int64_t(be64(chunkTable.data + 8 + chunk * 8) & 0x7fffffffffffffffULL);
        for (uint64_t k = 0; k < perChunk && frame < n; ++k, ++frame) {
            const uint32_t bytes = sizeOf(frame);
            if (pos > fileSize || int64_t(bytes) > fileSize - pos) {
                track->truncated = true;
                break;
            }
            track->offset.push_back(pos);
            track->size.push_back(bytes);
            pos += bytes;
        }
    }

    // Start times; frames the duration table does not reach are left out.
    int64_t t = 0;
    size_t timed = 0;
    for (uint64_t r = 0; r < timeRuns && timed < track->size.size(); ++r) {
        const uint64_t count = be32(stts.data + 8 + r * 8);
        const int64_t delta = be32(stts.data + 8 + r * 8 + 4);
        for (uint64_t k = 0; k < count && timed < track->size.size(); ++k, ++timed) {
            track->time.push_back(t);
            t += delta;
        }
    }
    track->time.push_back(t);
    track->offset.resize(timed);
    track->size.resize(timed);
    if (timed == 0)
        return fail(why, "no frame inside the file");
    return true;
}

bool readTrack(Span trak, int64_t movieTimescale, int64_t fileSize, Track* track, QByteArray* why)
{
    const Span mdia = child(trak, fourcc("mdia"));
    const Span hdlr = child(mdia, fourcc("hdlr"));
    if (hdlr.size < 12 || be32(hdlr.data + 8) != fourcc("soun"))
        return fail(why, "not a sound track");
    const Span mdhd = child(mdia, fourcc("mdhd"));
    if (mdhd.size < 4)
        return fail(why, "no media header");
    if (mdhd.data[0] == 1 && mdhd.size >= 32) {
        track->timescale = be32(mdhd.data + 20);
        track->duration = int64_t(be64(mdhd.data + 24) & 0x7fffffffffffffffULL);
    } else if (mdhd.data[0] == 0 && mdhd.size >= 20) {
        track->timescale = be32(mdhd.data + 12);
        track->duration = be32(mdhd.data + 16);
    } else {
        return fail(why, "media header too short");
    }
    if (track->timescale <= 0)
        return fail(why, "no time scale");
    const Span stbl = path(mdia, {fourcc("minf"), fourcc("stbl")});
    if (stbl.empty())
        return fail(why, "no sample table");
    const Span stsd = child(stbl, fourcc("stsd"));
    if (stsd.empty() || !readSampleEntry(stsd, track, why))
        return false;
    const Span elst = path(trak, {fourcc("edts"), fourcc("elst")});
    if (!elst.empty())
        readEdits(elst, movieTimescale, track);
    return readTables(stbl, fileSize, track, why);
}

} // namespace

int Track::frameAt(int64_t t) const
{
    if (size.empty())
        return 0;
    // time is sorted: durations are unsigned.
    const auto it = std::upper_bound(time.begin(), time.end() - 1, t);
    return it == time.begin() ? 0 : int(it - time.begin()) - 1;
}

bool readMovie(const uint8_t* data, size_t size, int64_t fileSize, Track* track, QByteArray* why)
{
    *track = Track();
    const Span moov{data, size};
    int64_t movieTimescale = 0;
    const Span mvhd = child(moov, fourcc("mvhd"));
    if (mvhd.size >= 24)
        movieTimescale = be32(mvhd.data + (mvhd.data[0] == 1 ? 20 : 12));

    // The first sound track that reads; a damaged one before it does not hide it.
    QByteArray firstWhy = "no audio track";
    Atoms atoms(moov);
    uint32_t type = 0;
    Span body;
    while (atoms.next(&type, &body)) {
        if (type != fourcc("trak"))
            continue;
        QByteArray trackWhy;
        Track candidate;
        if (readTrack(body, movieTimescale, fileSize, &candidate, &trackWhy)) {
            *track = std::move(candidate);
            return true;
        }
        if (trackWhy != "not a sound track" && firstWhy == "no audio track")
            firstWhy = trackWhy;
    }
    return fail(why, firstWhy.constData());
}

bool read(QIODevice* file, int64_t fileSize, Track* track, QByteArray* why)
{
    *track = Track();
    int64_t pos = 0;
    for (int count = 0; count < MaxAtomsPerLevel && fileSize - pos >= 8; ++count) {
        uint8_t header[16];
        const int64_t want = std::min<int64_t>(16, fileSize - pos);
        if (!file->seek(pos) || file->read(reinterpret_cast<char*>(header), want) != want)
            return fail(why, "read error");
        uint64_t size = be32(header);
        int64_t headerSize = 8;
        if (size == 1) {
            if (want < 16)
                break;
            size = be64(header + 8);
            headerSize = 16;
        } else if (size == 0) {
            size = uint64_t(fileSize - pos);
        }
        if (size < uint64_t(headerSize) || size > uint64_t(fileSize - pos))
            break;
        if (be32(header + 4) == fourcc("moov")) {
            const int64_t bodySize = int64_t(size) - headerSize;
            if (bodySize > MaxMovieBytes)
                return fail(why, "movie atom too large");
            if (!file->seek(pos + headerSize))
                return fail(why, "read error");
            const QByteArray body = file->read(bodySize);
            if (body.size() != bodySize)
                return fail(why, "read error");
            return readMovie(reinterpret_cast<const uint8_t*>(body.constData()), size_t(body.size()), fileSize,
                             track, why);
        }
        pos += int64_t(size);
    }
    return fail(why, "no movie atom");
}

bool read(const QString& fileName, Track* track, QByteArray* why)
{
    QFile file(fileName);
    if (!RegularFile::open(file))
        return fail(why, "not a regular file that can be read");
    return read(&file, file.size(), track, why);
}

} // namespace Mp4SampleTable

int64_t Mp4SampleTable::scaled(int64_t a, int64_t b, int64_t c)
{
    if (c <= 0)
        return 0;
    int64_t product;
    if (!__builtin_mul_overflow(a, b, &product))
        return product / c;
    // The product needs more than 64 bits. 32-bit processors have no 128-bit integers, so
    // it is formed from 32-bit halves and divided bit by bit (rare: only lying files get
    // here), truncated towards zero and saturated like the plain division.
    const bool negative = (a < 0) != (b < 0);
    const uint64_t ua = a < 0 ? 0 - uint64_t(a) : uint64_t(a), ub = b < 0 ? 0 - uint64_t(b) : uint64_t(b);
    const uint64_t a0 = ua & 0xffffffffu, a1 = ua >> 32, b0 = ub & 0xffffffffu, b1 = ub >> 32;
    const uint64_t low = a0 * b0, mid1 = a1 * b0, mid2 = a0 * b1;
    const uint64_t carry = ((low >> 32) + (mid1 & 0xffffffffu) + (mid2 & 0xffffffffu)) >> 32;
    const uint64_t hi = a1 * b1 + (mid1 >> 32) + (mid2 >> 32) + carry;
    const uint64_t lo = ua * ub;
    uint64_t quotientHi = 0, quotientLo = 0, rest = 0;
    const uint64_t divisor = uint64_t(c);
    for (int bit = 127; bit >= 0; --bit) {
        const bool top = rest >> 63;
        rest = rest << 1 | ((bit >= 64 ? hi >> (bit - 64) : lo >> bit) & 1);
        if (top || rest >= divisor) {
            rest -= divisor;
            (bit >= 64 ? quotientHi : quotientLo) |= uint64_t(1) << (bit & 63);
        }
    }
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    if (quotientHi || quotientLo > limit)
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return negative ? int64_t(0 - quotientLo) : int64_t(quotientLo);
}
