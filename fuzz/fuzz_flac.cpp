// Feeds arbitrary bytes through FlacDecoder from memory (native or Ogg FLAC): damaged
// metadata blocks, lying sizes, truncated streams. Opened with tags, decoded a few blocks,
// then after two seeks.
#include "audioinfo.h"
#include "decodepasses.h"
#include "flacdecoder.h"
#include "memoryfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = memoryFile(data, size);
    if (file.isEmpty())
        return 0;
    FlacDecoder d;
    AudioInfo info;
    d.open(file, &info);
    decodeAndSeek(d, file, 4096, 8);
    return 0;
}
