// Feeds arbitrary bytes through OpusDecoder from memory: damaged headers and tags, lying
// granule positions, truncated pages. Opened with tags, decoded a few blocks, then after
// two seeks.
#include "audioinfo.h"
#include "decodepasses.h"
#include "memoryfile.h"
#include "opusdecoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = memoryFile(data, size);
    if (file.isEmpty())
        return 0;
    OpusDecoder d;
    AudioInfo info;
    d.open(file, &info);
    decodeAndSeek(d, file, 4096, 8);
    return 0;
}
