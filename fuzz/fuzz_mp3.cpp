// Feeds arbitrary bytes through Mp3Decoder from memory: the input lives in an anonymous
// in-memory file (no disk, no file per input) that the decoder opens by its /proc path, so
// the stream reader, the Xing/VBRI and ID3 probes, the frame decoder and the seek index all
// run exactly as for a file. Opened with tags, decoded at the stream's own rate, then after
// two seeks, then (MPEG-2 only) briefly upsampled.
#include "audioinfo.h"
#include "decodepasses.h"
#include "memoryfile.h"
#include "mp3decoder.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = memoryFile(data, size);
    if (file.isEmpty())
        return 0;

    Mp3Decoder d;
    AudioInfo info;
    d.open(file, &info);
    // The frames at their own rate first: the MPEG-2 upsampler is plain arithmetic that a
    // short pass at the end covers.
    d.setNativeRate(true);
    // Half a dozen frames reach every path a frame and the reservoir can take.
    decodeAndSeek(d, file, 4608, 4);
    // Only MPEG-2 streams (all below 32 kHz) are upsampled; for MPEG-1 this pass would
    // repeat the first frames above. A file without frames tries it too.
    if (d.firstRate() < 32000) {
        d.setNativeRate(false);
        if (d.open(file, nullptr))
            drain(d, 4608, 1);
    }
    d.close();
    return 0;
}
