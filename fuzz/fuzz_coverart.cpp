// Arbitrary bytes as a FLAC picture block, an ID3v2 picture frame and a comment list in
// memory, and as a whole track file for the cover search (ID3v2, FLAC, Ogg, MP4).
#include "coverart.h"
#include "memoryfile.h"
#include "vorbiscomments.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray picture;
    int type = 0;
    CoverArt::parsePictureBlock(data, size, &picture, &type);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    CoverArt::parsePictureFrame(bytes, false, &picture, &type);
    CoverArt::parsePictureFrame(bytes, true, &picture, &type);
    CoverArt::fromComments(VorbisComments::split(data, size));

    // The same bytes as a file: every input, as the file walk is the reader's main path.
    const QString path = memoryFile(data, size);
    if (!path.isEmpty())
        CoverArt::embedded(path);
    return 0;
}
