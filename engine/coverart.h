#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// The cover picture of a track: the encoded bytes (JPEG, PNG, ... as stored) of the
// picture embedded in the file, else of a picture file beside it. Only regular files are
// opened (a FIFO named like a track or a cover would block the caller). Every size read
// from the data is checked against what holds it and against MaxPicture before anything
// is allocated for it, and the walk over a file stops after MaxScan bytes, so a lying
// size, a truncated file or garbage gives no picture, never a huge allocation or a stall.
// Files are read on the calling thread: call it off the GUI thread.
namespace CoverArt {

// No picture larger than this is taken.
constexpr uint32_t MaxPicture = 8 * 1024 * 1024;
// How far into a file the metadata is looked for.
constexpr int64_t MaxScan = 32 * 1024 * 1024;

// The embedded picture, else the one beside the track; empty when there is none.
QByteArray find(const QString& track);

// The picture embedded in the track: ID3v2 APIC (PIC in 2.2), MP4 "covr", FLAC PICTURE
// blocks, and METADATA_BLOCK_PICTURE comments of Ogg Vorbis, Opus and FLAC. Among several,
// the front cover (picture type 3) wins, else the first. Empty when there is none.
QByteArray embedded(const QString& track);

// The first of cover.jpg, folder.jpg, cover.png, folder.png (names in any case) in the
// track's folder that is a regular file of 1 to MaxPicture bytes; empty when none is.
QByteArray beside(const QString& track);

// The picture of a FLAC PICTURE block body (as FLAC stores it, and as the base64 of a
// METADATA_BLOCK_PICTURE comment holds it) and its picture type; false when the block is
// damaged, holds no picture data or one larger than MaxPicture.
bool parsePictureBlock(const uint8_t* data, size_t size, QByteArray* picture, int* type);

// The picture of an ID3v2 picture frame body: APIC, or PIC when v22 is set. False as above.
bool parsePictureFrame(const QByteArray& body, bool v22, QByteArray* picture, int* type);

// The picture of a list of Vorbis comments: the METADATA_BLOCK_PICTURE entries (any case
// of the name) decoded, the front cover winning. Empty when none is sound.
QByteArray fromComments(const QList<QByteArray>& comments);

} // namespace CoverArt
