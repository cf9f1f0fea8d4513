// Feeds arbitrary bytes through OpusDecoder from memory: damaged headers and tags, lying
// granule positions, truncated pages. Opened with tags, decoded a few blocks, then after
// two seeks.
#include "audioinfo.h"
#include "memoryfile.h"
#include "opusdecoder.h"
#include "playinfo.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = memoryFile(data, size);
    if (file.isEmpty())
        return 0;
    OpusDecoder d;
    AudioInfo info;
    d.open(file, &info);
    if (d.open(file, nullptr)) {
        static char buf[8192];
        PlayInfo pi;
        int produced = 0;
        for (int i = 0; i < 8 && d.decode(buf, 4096, &produced, &pi) && produced > 0; ++i) {
        }
        if (d.seek(1) >= 0)
            d.decode(buf, 2048, &produced, &pi);
        if (d.seek(0) >= 0)
            d.decode(buf, 1000, &produced, &pi);
    }
    return 0;
}
