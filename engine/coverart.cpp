#include "coverart.h"

#include "id3v2tag.h"
#include "mp4atoms.h"
#include "oggpacketreader.h"
#include "regularfile.h"
#include "vorbiscomments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace CoverArt {
namespace {

constexpr int FrontCover = 3;
constexpr int FlacPicture = 6;
constexpr int FlacComments = 4;
// Metadata blocks looked at, so a file of empty blocks cannot stall the walk.
constexpr int MaxBlocks = 1000;
// A picture comment is the picture in base64 (4 bytes for 3) plus its block's fields.
constexpr int MaxCommentPacket = int(MaxPicture / 3 * 4 + 64 * 1024);

uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t be24(const uint8_t* p) { return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]; }

// Keeps the front cover, else the first picture offered.
class Choice
{
public:
    void offer(const QByteArray& picture, int type)
    {
        if (picture.isEmpty() || m_front)
            return;
        if (type == FrontCover || m_picture.isEmpty()) {
            m_picture = picture;
            m_front = type == FrontCover;
        }
    }
    bool done() const { return m_front; }
    QByteArray picture() const { return m_picture; }

private:
    QByteArray m_picture;
    bool m_front = false;
};

// The FLAC metadata blocks from the file's position (just after "fLaC").
QByteArray fromFlacBlocks(QFile& file)
{
    Choice choice;
    for (int i = 0; i < MaxBlocks && !choice.done(); ++i) {
        uint8_t h[4];
        if (file.read(reinterpret_cast<char*>(h), 4) != 4)
            break;
        const int type = h[0] & 0x7f;
        const uint32_t length = be24(h + 1);
        const qint64 end = file.pos() + length;
        if (end > file.size() || end > MaxScan)
            break;
        if (type == FlacPicture && length <= MaxPicture + 64 * 1024) {
            const QByteArray block = file.read(length);
            QByteArray picture;
            int pictureType = 0;
            if (parsePictureBlock(reinterpret_cast<const uint8_t*>(block.constData()), size_t(block.size()), &picture, &pictureType))
                choice.offer(picture, pictureType);
        }
        if ((h[0] & 0x80) || !file.seek(end))
            break;
    }
    return choice.picture();
}

// Vorbis and Opus keep the comments in the second header packet; Ogg FLAC keeps its
// metadata blocks one per packet after the first.
QByteArray fromOgg(QFile& file)
{
    OggPacketReader reader(&file, MaxScan);
    QByteArray id, p;
    if (!reader.next(&id, 64 * 1024))
        return QByteArray();
    const auto bytes = [](const QByteArray& b) { return reinterpret_cast<const uint8_t*>(b.constData()); };
    if (id.startsWith("\x01vorbis") || id.startsWith("OpusHead")) {
        if (!reader.next(&p, MaxCommentPacket))
            return QByteArray();
        const int magic = p.startsWith("\x03vorbis") ? 7 : p.startsWith("OpusTags") ? 8 : 0;
        if (!magic)
            return QByteArray();
        return fromComments(VorbisComments::split(bytes(p) + magic, size_t(p.size() - magic)));
    }
    if (!id.startsWith("\x7f" "FLAC"))
        return QByteArray();
    Choice choice;
    for (int i = 0; i < MaxBlocks && !choice.done() && reader.next(&p, MaxCommentPacket) && p.size() >= 4; ++i) {
        const int type = bytes(p)[0] & 0x7f;
        QByteArray picture;
        int pictureType = 0;
        if (type == FlacPicture && parsePictureBlock(bytes(p) + 4, size_t(p.size() - 4), &picture, &pictureType))
            choice.offer(picture, pictureType);
        else if (type == FlacComments)
            choice.offer(fromComments(VorbisComments::split(bytes(p) + 4, size_t(p.size() - 4))), 0);
        if (bytes(p)[0] & 0x80)
            break;
    }
    return choice.picture();
}

QByteArray fromId3v2(const QString& track)
{
    Id3v2::Tag tag;
    Id3v2::Pictures pictures;
    pictures.budget = MaxPicture + 64 * 1024;
    if (!Id3v2::readFile(track, &tag, &pictures))
        return QByteArray();
    Choice choice;
    for (const QByteArray& body : pictures.bodies) {
        QByteArray picture;
        int type = 0;
        if (parsePictureFrame(body, tag.version == 2, &picture, &type))
            choice.offer(picture, type);
    }
    return choice.picture();
}

// The whole of a regular file of 1 to MaxPicture bytes.
QByteArray wholeFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !RegularFile::open(file) || file.size() <= 0 || file.size() > MaxPicture)
        return QByteArray();
    const QByteArray bytes = file.read(file.size());
    return bytes.size() == file.size() ? bytes : QByteArray();
}

} // namespace

bool parsePictureBlock(const uint8_t* data, size_t size, QByteArray* picture, int* type)
{
    // Picture type, then the MIME type and the description with their lengths, four
    // numbers of the picture's geometry, the data with its length.
    size_t at = 0;
    const auto take32 = [&](uint32_t* v) {
        if (size - at < 4)
            return false;
        *v = be32(data + at);
        at += 4;
        return true;
    };
    uint32_t pictureType, n;
    if (!data || !take32(&pictureType))
        return false;
    for (int text = 0; text < 2; ++text) {
        if (!take32(&n) || n > size - at)
            return false;
        at += n;
    }
    if (size - at < 16)
        return false;
    at += 16;
    if (!take32(&n) || n == 0 || n > MaxPicture || n > size - at)
        return false;
    *picture = QByteArray(reinterpret_cast<const char*>(data + at), int(n));
    *type = int(pictureType);
    return true;
}

bool parsePictureFrame(const QByteArray& body, bool v22, QByteArray* picture, int* type)
{
    // Text encoding; the format (a MIME type ending in a zero byte, or three letters in
    // 2.2); the picture type; a description ending in a zero of the encoding's width.
    const int encoding = body.isEmpty() ? -1 : uint8_t(body[0]);
    if (encoding < 0 || encoding > 3)
        return false;
    qsizetype at = 1;
    if (v22) {
        at += 3;
    } else {
        const qsizetype nul = body.indexOf('\0', at);
        if (nul < 0)
            return false;
        at = nul + 1;
    }
    if (at >= body.size())
        return false;
    const int pictureType = uint8_t(body[at++]);
    const bool wide = encoding == 1 || encoding == 2;
    for (;; at += wide ? 2 : 1) {
        if (at + (wide ? 1 : 0) >= body.size())
            return false;
        if (body[at] == 0 && (!wide || body[at + 1] == 0))
            break;
    }
    at += wide ? 2 : 1;
    if (at >= body.size() || body.size() - at > qsizetype(MaxPicture))
        return false;
    *picture = body.mid(at);
    *type = pictureType;
    return true;
}

QByteArray fromComments(const QList<QByteArray>& comments)
{
    static const QByteArray name("METADATA_BLOCK_PICTURE=");
    Choice choice;
    for (const QByteArray& c : comments) {
        if (choice.done())
            break;
        if (c.size() <= name.size() || c.left(name.size()).toUpper() != name)
            continue;
        const auto decoded = QByteArray::fromBase64Encoding(c.mid(name.size()), QByteArray::AbortOnBase64DecodingErrors);
        QByteArray picture;
        int type = 0;
        if (decoded && parsePictureBlock(reinterpret_cast<const uint8_t*>(decoded.decoded.constData()), size_t(decoded.decoded.size()), &picture, &type))
            choice.offer(picture, type);
    }
    return choice.picture();
}

QByteArray embedded(const QString& track)
{
    QFile file(track);
    if (!QFileInfo(track).isFile() || !RegularFile::open(file))
        return QByteArray();
    uint8_t h[12];
    if (file.read(reinterpret_cast<char*>(h), sizeof h) != qint64(sizeof h))
        return QByteArray();
    qint64 start = 0;
    if (std::memcmp(h, "ID3", 3) == 0) {
        const QByteArray picture = fromId3v2(track);
        if (!picture.isEmpty())
            return picture;
        // Some writers put a tag before a FLAC stream too.
        start = Id3v2::tagLength(h);
        if (start > MaxScan || !file.seek(start) || file.read(reinterpret_cast<char*>(h), sizeof h) != qint64(sizeof h))
            return QByteArray();
    }
    if (std::memcmp(h, "fLaC", 4) == 0)
        return file.seek(start + 4) ? fromFlacBlocks(file) : QByteArray();
    if (std::memcmp(h, "OggS", 4) == 0)
        return file.seek(start) ? fromOgg(file) : QByteArray();
    if (std::memcmp(h + 4, "ftyp", 4) == 0) {
        Mp4Atoms::FileSummary summary;
        if (Mp4Atoms::readFileSummary(track, &summary) && summary.tags.cover.size() <= qsizetype(MaxPicture))
            return summary.tags.cover;
    }
    return QByteArray();
}

QByteArray beside(const QString& track)
{
    const QFileInfo info(track);
    QDir dir = info.absoluteDir();
    // Name filters match in any case unless told otherwise.
    const QStringList names = {QStringLiteral("cover.jpg"), QStringLiteral("folder.jpg"), QStringLiteral("cover.png"),
                               QStringLiteral("folder.png")};
    const QStringList found = dir.entryList(names, QDir::Files | QDir::Readable);
    for (const QString& wanted : names) {
        for (const QString& f : found) {
            if (f.compare(wanted, Qt::CaseInsensitive) != 0)
                continue;
            const QByteArray bytes = wholeFile(dir.filePath(f));
            if (!bytes.isEmpty())
                return bytes;
        }
    }
    return QByteArray();
}

QByteArray find(const QString& track)
{
    const QByteArray picture = embedded(track);
    return picture.isEmpty() ? beside(track) : picture;
}

} // namespace CoverArt
