#pragma once

// Damaged MP4 files made from the fixtures: one field of one atom set to a lie, a file
// cut short, the movie moved in front of the media ("fast start"); and the frame tables
// ffmpeg's demuxer reported for the fixtures (tests/data/mp4/*.packets).

#include "../decodehelpers.h"

#include <QtEndian>

namespace Mp4Damage {

// Position of the payload (after the 8-byte header) of the first atom of this type.
inline int payload(const QByteArray& file, const char* type)
{
    const int at = file.indexOf(QByteArray(type, 4));
    if (at < 4)
        qFatal("no %s atom in the fixture", type);
    return at + 4;
}

inline uint32_t get32(const QByteArray& file, int pos)
{
    return qFromBigEndian<uint32_t>(reinterpret_cast<const uchar*>(file.constData() + pos));
}

inline void put32(QByteArray& file, int pos, uint32_t value)
{
    qToBigEndian(value, reinterpret_cast<uchar*>(file.data() + pos));
}

// The file with the 32-bit field at offset within the payload of the first atom of
// this type set to value (offset -8 is the atom's own length).
inline QByteArray with32(QByteArray file, const char* type, int offset, uint32_t value)
{
    put32(file, payload(file, type) + offset, value);
    return file;
}

// The ffmpeg fixtures keep the movie after the media; a fast-start file has it in front,
// the chunk offsets moved by its length.
inline QByteArray fastStart(const QByteArray& file)
{
    const int moov = payload(file, "moov") - 8;
    const int mdat = payload(file, "mdat") - 8;
    QByteArray movie = file.mid(moov, int(get32(file, moov)));
    const int stco = payload(movie, "stco");
    const uint32_t chunks = get32(movie, stco + 4);
    for (uint32_t i = 0; i < chunks; ++i)
        put32(movie, stco + 8 + int(i) * 4, get32(movie, stco + 8 + int(i) * 4) + uint32_t(movie.size()));
    return file.left(mdat) + movie + file.mid(mdat, moov - mdat) + file.mid(moov + movie.size());
}

struct Packet
{
    int64_t position;
    uint32_t size;
    int64_t dts;
    int64_t duration;
};

// The frame table ffprobe recorded next to a fixture.
inline QList<Packet> packets(const char* fixtureName)
{
    QList<Packet> list;
    const QByteArray text = readFile(fixture(fixtureName));
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> f = line.split(' ');
        if (f.size() == 4)
            list.append({f[0].toLongLong(), f[1].toUInt(), f[2].toLongLong(), f[3].toLongLong()});
    }
    return list;
}

} // namespace Mp4Damage
