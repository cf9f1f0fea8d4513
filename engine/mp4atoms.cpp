#include "mp4atoms.h"

#include "audioinfo.h"
#include "regularfile.h"
#include "textcodec.h"

#include <QFile>

#include <cstring>

namespace Mp4Atoms {
namespace {

constexpr uint32_t fourcc(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8
        | uint32_t(uint8_t(d));
}

constexpr uint32_t Copyright = fourcc('\251', 'c', 'p', 'y');
constexpr uint32_t Name = fourcc('\251', 'n', 'a', 'm');
constexpr uint32_t Info = fourcc('\251', 'i', 'n', 'f');
constexpr uint32_t Artist = fourcc('\251', 'A', 'R', 'T');
constexpr uint32_t Album = fourcc('\251', 'a', 'l', 'b');
constexpr uint32_t Day = fourcc('\251', 'd', 'a', 'y');
constexpr uint32_t TrackNumber = fourcc('t', 'r', 'k', 'n');
constexpr uint32_t Meta = fourcc('m', 'e', 't', 'a');
constexpr uint32_t ItemList = fourcc('i', 'l', 's', 't');
constexpr uint32_t Data = fourcc('d', 'a', 't', 'a');
constexpr uint32_t Handler = fourcc('h', 'd', 'l', 'r');
constexpr uint32_t Movie = fourcc('m', 'o', 'o', 'v');
constexpr uint32_t MediaData = fourcc('m', 'd', 'a', 't');
constexpr uint32_t UserData = fourcc('u', 'd', 't', 'a');
constexpr uint32_t Freeform = fourcc('-', '-', '-', '-');
constexpr uint32_t Mean = fourcc('m', 'e', 'a', 'n');
constexpr uint32_t ItemName = fourcc('n', 'a', 'm', 'e');
constexpr uint32_t Cover = fourcc('c', 'o', 'v', 'r');
// Freeform items kept per file: the few ReplayGain ones are all we look for.
constexpr int MaxFreeform = 32;

// Item lists nest only through "ilst"; real files go one level deep.
constexpr int MaxDepth = 8;
// The user data is read whole; cover pictures make it large, the text items are small.
constexpr int64_t MaxUserData = 8 * 1024 * 1024;
// Atoms looked at per level of the file walk, so a file of tiny atoms cannot stall us.
constexpr int MaxAtomsPerLevel = 100000;

uint32_t be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint64_t be64(const uint8_t* p) { return uint64_t(be32(p)) << 32 | be32(p + 4); }

struct Atom
{
    uint32_t type = 0;
    size_t header = 0; // 8, or 16 with a 64-bit size
    size_t size = 0;   // whole atom, header included
};

// The atom at p within remaining bytes of its parent; false when the header does not fit
// or its length lies (shorter than its header, longer than the parent).
bool readAtom(const uint8_t* p, size_t remaining, Atom* atom)
{
    if (remaining < 8)
        return false;
    uint64_t size = be32(p);
    atom->type = be32(p + 4);
    atom->header = 8;
    if (size == 1) {
        if (remaining < 16)
            return false;
        size = be64(p + 8);
        atom->header = 16;
    } else if (size == 0) {
        size = remaining; // extends to the end of the parent
    }
    if (size < atom->header || size > remaining)
        return false;
    atom->size = static_cast<size_t>(size);
    return true;
}

QByteArray textUpToNul(const uint8_t* p, size_t n)
{
    const void* nul = std::memchr(p, 0, n);
    if (nul)
        n = static_cast<size_t>(static_cast<const uint8_t*>(nul) - p);
    QByteArray text(reinterpret_cast<const char*>(p), static_cast<int>(n));
    // Callers take the text as UTF-8; bytes that are not came from an old writer.
    if (TextCodec::heuristicContentMatch("UTF-8", text.constData(), int(text.size())) < 0)
        text = QString::fromLatin1(text).toUtf8();
    return text;
}

QByteArray* fieldFor(uint32_t type, Tags* tags)
{
    switch (type) {
    case Name: return &tags->name;
    case Artist: return &tags->artist;
    case Album: return &tags->album;
    case Copyright: return &tags->notice;
    default: return nullptr;
    }
}

void walkItems(const uint8_t* data, size_t size, Tags* tags, int depth)
{
    if (depth > MaxDepth)
        return;
    size_t offset = 0;
    Atom atom;
    while (size - offset >= 8 && readAtom(data + offset, size - offset, &atom)) {
        const uint8_t* body = data + offset + atom.header;
        const size_t bodySize = atom.size - atom.header;
        if (atom.type == TrackNumber || atom.type == Day) {
            // One "data" atom as for text; trkn holds binary: 2 bytes of padding, the
            // track number and the count, 16 bits each.
            const uint32_t dataSize = bodySize >= 16 ? be32(body) : 0;
            if (bodySize >= 16 && be32(body + 4) == Data && dataSize >= 16 && dataSize <= bodySize) {
                const uint8_t* value = body + 16;
                const size_t valueSize = dataSize - 16;
                if (atom.type == TrackNumber && valueSize >= 4)
                    tags->track = int32_t(be16(value + 2));
                else if (atom.type == Day)
                    tags->year = AudioInfo::yearOf(textUpToNul(value, valueSize));
            }
        } else if (QByteArray* field = fieldFor(atom.type, tags)) {
            // The item holds a "data" atom: 8 bytes of header, 4 of type, 4 of locale,
            // then the text. The text ends at the data atom's end when that length is
            // sound, else at the item's end.
            if (bodySize >= 17) {
                size_t textSize = bodySize - 16;
                const uint32_t dataSize = be32(body);
                if (be32(body + 4) == Data && dataSize >= 16 && dataSize <= bodySize)
                    textSize = dataSize - 16;
                *field = textUpToNul(body + 16, textSize);
            }
        } else if (atom.type == Cover && tags->cover.isEmpty()) {
            // One "data" atom per picture: 4 bytes of type, 4 of locale, the picture.
            Atom part;
            if (readAtom(body, bodySize, &part) && part.type == Data && part.size - part.header > 8)
                tags->cover = QByteArray(reinterpret_cast<const char*>(body + part.header + 8),
                                         int(part.size - part.header - 8));
        } else if (atom.type == ItemList) {
            walkItems(body, bodySize, tags, depth + 1);
        } else if (atom.type == Freeform && tags->freeform.size() < MaxFreeform) {
            // "mean" and "name" (4 bytes of version and flags, then text) and "data".
            QByteArray mean, name, value;
            size_t at = 0;
            Atom part;
            while (bodySize - at >= 8 && readAtom(body + at, bodySize - at, &part)) {
                const uint8_t* p = body + at + part.header;
                const size_t n = part.size - part.header;
                if ((part.type == Mean || part.type == ItemName) && n >= 4)
                    (part.type == Mean ? mean : name) = textUpToNul(p + 4, n - 4);
                else if (part.type == Data && n >= 8)
                    value = textUpToNul(p + 8, n - 8);
                at += part.size;
            }
            if (mean == "com.apple.iTunes" && !name.isEmpty())
                tags->freeform.append({name, value});
        }
        offset += atom.size;
    }
}

} // namespace

void parseItemList(const uint8_t* data, size_t size, Tags* tags)
{
    walkItems(data, size, tags, 0);
}

void parseUserData(const uint8_t* data, size_t size, Tags* tags)
{
    size_t offset = 0;
    Atom atom;
    while (size - offset >= 8 && readAtom(data + offset, size - offset, &atom)) {
        const uint8_t* body = data + offset + atom.header;
        const size_t bodySize = atom.size - atom.header;
        switch (atom.type) {
        case Copyright:
        case Name:
        case Info: {
            // Classic text item: 16-bit length, 16-bit language, the text.
            QByteArray text;
            if (bodySize >= 4) {
                const size_t n = qMin<size_t>(be16(body), bodySize - 4);
                text = textUpToNul(body + 4, n);
            }
            if (atom.type == Copyright)
                tags->notice = text;
            else if (atom.type == Name)
                tags->name = text;
            else
                tags->info = text;
            break;
        }
        case Meta:
            // Normally a full atom with 4 bytes of version and flags; QuickTime writes it
            // without them, which shows as a handler atom right at the start.
            if (bodySize >= 8 && be32(body + 4) == Handler)
                walkItems(body, bodySize, tags, 0);
            else if (bodySize >= 4)
                walkItems(body + 4, bodySize - 4, tags, 0);
            break;
        default:
            break;
        }
        offset += atom.size;
    }
}

namespace {

// Reads the header of the atom at pos in a file whose parent ends at end.
bool readFileAtom(QFile& file, int64_t pos, int64_t end, Atom* atom, int64_t* atomSize)
{
    if (end - pos < 8 || !file.seek(pos))
        return false;
    uint8_t header[16];
    const int64_t want = qMin<int64_t>(16, end - pos);
    if (file.read(reinterpret_cast<char*>(header), want) != want)
        return false;
    uint64_t size = be32(header);
    atom->type = be32(header + 4);
    atom->header = 8;
    if (size == 1) {
        if (want < 16)
            return false;
        size = be64(header + 8);
        atom->header = 16;
    } else if (size == 0) {
        size = static_cast<uint64_t>(end - pos);
    }
    if (size < atom->header || size > uint64_t(end - pos))
        return false;
    *atomSize = static_cast<int64_t>(size);
    return true;
}

} // namespace

bool readFileSummary(const QString& fileName, FileSummary* summary)
{
    *summary = FileSummary();
    QFile file(fileName);
    if (!RegularFile::open(file))
        return false;
    const int64_t fileSize = file.size();

    int64_t pos = 0;
    int64_t moovPos = -1, moovEnd = -1;
    Atom atom;
    int64_t atomSize = 0;
    for (int count = 0; count < MaxAtomsPerLevel && pos < fileSize; ++count) {
        if (!readFileAtom(file, pos, fileSize, &atom, &atomSize)) {
            // A media atom cut short by a truncated download still counts up to the end.
            if (atom.type == MediaData && fileSize - pos > 16)
                summary->mediaBytes += fileSize - pos - 8;
            break;
        }
        if (atom.type == MediaData)
            summary->mediaBytes += atomSize - int64_t(atom.header);
        else if (atom.type == Movie && moovPos < 0) {
            moovPos = pos + int64_t(atom.header);
            moovEnd = pos + atomSize;
        }
        pos += atomSize;
        atom = Atom();
    }
    if (moovPos < 0)
        return false;
    summary->hasMovie = true;

    pos = moovPos;
    for (int count = 0; count < MaxAtomsPerLevel && pos < moovEnd; ++count) {
        if (!readFileAtom(file, pos, moovEnd, &atom, &atomSize))
            break;
        if (atom.type == UserData) {
            const int64_t bodySize = qMin<int64_t>(atomSize - int64_t(atom.header), MaxUserData);
            if (file.seek(pos + int64_t(atom.header))) {
                const QByteArray body = file.read(bodySize);
                parseUserData(reinterpret_cast<const uint8_t*>(body.constData()),
                              static_cast<size_t>(body.size()), &summary->tags);
            }
            break;
        }
        pos += atomSize;
    }
    return true;
}

// ---- AudioSpecificConfig and ADTS ----

namespace {

const int SampleRates[13] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                             22050, 16000, 12000, 11025, 8000, 7350};

class BitReader
{
public:
    BitReader(const uint8_t* data, size_t size) : m_data(data), m_bits(size * 8) {}

    // Reads n (<= 32) bits; sets the failure flag when the data runs out.
    uint32_t read(int n)
    {
        uint32_t value = 0;
        for (int i = 0; i < n; ++i) {
            if (m_pos >= m_bits) {
                m_failed = true;
                return 0;
            }
            value = value << 1 | ((m_data[m_pos >> 3] >> (7 - (m_pos & 7))) & 1);
            ++m_pos;
        }
        return value;
    }
    size_t left() const { return m_bits - m_pos; }
    bool failed() const { return m_failed; }

private:
    const uint8_t* m_data;
    size_t m_bits;
    size_t m_pos = 0;
    bool m_failed = false;
};

int readObjectType(BitReader& bits)
{
    int type = static_cast<int>(bits.read(5));
    if (type == 31)
        type = 32 + static_cast<int>(bits.read(6));
    return type;
}

// Reads a frequency index (and an explicit rate for index 15); returns the rate.
int readRate(BitReader& bits, int* index)
{
    *index = static_cast<int>(bits.read(4));
    if (*index == 15) {
        const int rate = static_cast<int>(bits.read(24));
        *index = -1;
        for (int i = 0; i < 13; ++i)
            if (SampleRates[i] == rate)
                *index = i;
        return rate;
    }
    if (*index >= 13) {
        *index = -1;
        return 0;
    }
    return SampleRates[*index];
}

int channelsOf(int config)
{
    if (config >= 1 && config <= 6)
        return config;
    if (config == 7)
        return 8;
    return 0;
}

} // namespace

bool parseAudioSpecificConfig(const uint8_t* data, size_t size, AudioConfig* config)
{
    *config = AudioConfig();
    if (!data || size < 2)
        return false;
    BitReader bits(data, size);
    int objectType = readObjectType(bits);
    int index = -1;
    const int rate = readRate(bits, &index);
    const int channelConfig = static_cast<int>(bits.read(4));
    int outputRate = rate;
    bool sbr = false, ps = false;

    if (objectType == 5 || objectType == 29) {
        // Explicit SBR (and parametric stereo): the extension rate, then the core type.
        sbr = true;
        ps = objectType == 29;
        int extensionIndex = -1;
        outputRate = readRate(bits, &extensionIndex);
        objectType = readObjectType(bits);
    }

    int frameLength = 1024;
    if (objectType >= 1 && objectType <= 4 && !bits.failed()) {
        // GASpecificConfig, as far as needed to reach a backward-compatible extension.
        if (bits.read(1))
            frameLength = 960;
        if (bits.read(1)) // depends on core coder
            bits.read(14);
        bits.read(1); // extension flag
        if (!sbr && channelConfig != 0 && bits.left() >= 16 && !bits.failed()) {
            if (bits.read(11) == 0x2b7 && readObjectType(bits) == 5 && bits.read(1)) {
                int extensionIndex = -1;
                const int extensionRate = readRate(bits, &extensionIndex);
                if (!bits.failed() && extensionRate > 0) {
                    sbr = true;
                    outputRate = extensionRate;
                    if (bits.left() >= 12 && bits.read(11) == 0x548 && bits.read(1))
                        ps = true;
                }
            }
        }
    }
    config->objectType = objectType;
    config->frequencyIndex = index;
    config->coreRate = rate;
    config->rate = outputRate > 0 ? outputRate : rate;
    config->channelConfig = channelConfig;
    config->channels = channelsOf(channelConfig);
    if (ps && config->channels == 1)
        config->channels = 2;
    config->frameLength = frameLength;
    config->sbr = sbr;
    config->ps = ps;
    config->valid = rate > 0 && config->channels > 0;
    return config->valid;
}

bool adtsCapable(const AudioConfig& config)
{
    return config.valid && config.objectType >= 1 && config.objectType <= 4
        && config.frequencyIndex >= 0 && config.channelConfig >= 1 && config.channelConfig <= 7;
}

bool makeAdtsHeader(const AudioConfig& config, int payloadLength, uint8_t header[7])
{
    const int length = payloadLength + 7;
    if (!adtsCapable(config) || payloadLength < 0 || length > 0x1fff)
        return false;
    const int profile = config.objectType - 1;
    header[0] = 0xff;
    header[1] = 0xf1; // MPEG-4, layer 0, no CRC
    header[2] = uint8_t(profile << 6 | config.frequencyIndex << 2 | (config.channelConfig >> 2 & 1));
    header[3] = uint8_t((config.channelConfig & 3) << 6 | (length >> 11 & 3));
    header[4] = uint8_t(length >> 3 & 0xff);
    header[5] = uint8_t((length & 7) << 5 | 0x1f); // buffer fullness 0x7ff: variable rate
    header[6] = 0xfc;                              // one raw data block
    return true;
}

} // namespace Mp4Atoms
