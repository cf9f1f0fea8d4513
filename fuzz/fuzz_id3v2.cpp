// Arbitrary bytes as an ID3v2 tag, in memory and as the start of a file, and as tag text
// through the codec guess.
#include "id3v2tag.h"
#include "loopcontrol.h"
#include "memoryfile.h"
#include "textcodec.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Id3v2::Tag tag;
    Id3v2::parse(data, size, &tag);
    for (const Id3v2::Text* t : {&tag.title, &tag.artist, &tag.album})
        if (t->latin1)
            TextCodec::toUnicode(LoopControl::guessCodec(t->bytes.constData()), t->bytes);

    // The same bytes as a file, for every other input (file access is slow).
    if (size == 0 || (data[size - 1] & 1))
        return 0;
    const QString path = memoryFile(data, size);
    if (!path.isEmpty())
        Id3v2::readFile(path, &tag);
    return 0;
}
