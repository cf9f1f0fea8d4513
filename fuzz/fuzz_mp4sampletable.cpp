// The whole MP4 reader on arbitrary bytes taken as a file: the top-level walk, the movie,
// the first audio track's sample tables, its decoder configuration and the ADTS header of
// every frame it lists.

#include "mp4atoms.h"
#include "mp4sampletable.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    Mp4SampleTable::Track track;
    if (!Mp4SampleTable::read(&file, int64_t(size), &track))
        return 0;

    // What the decoder relies on: every frame inside the file, times that never fall.
    if (track.offset.size() != track.size.size() || track.time.size() != track.size.size() + 1
        || track.frames() == 0 || track.timescale <= 0)
        std::abort();
    for (int i = 0; i < track.frames(); ++i) {
        const size_t k = size_t(i);
        if (track.offset[k] < 0 || track.offset[k] + int64_t(track.size[k]) > int64_t(size)
            || track.time[k + 1] < track.time[k])
            std::abort();
    }
    const int at = track.frameAt(track.endTime() / 2);
    if (at < 0 || at >= track.frames())
        std::abort();

    Mp4Atoms::AudioConfig config;
    const QByteArray& asc = track.decoderConfig;
    if (Mp4Atoms::parseAudioSpecificConfig(reinterpret_cast<const uint8_t*>(asc.constData()), size_t(asc.size()),
                                           &config)) {
        uint8_t header[7];
        for (uint32_t frameSize : track.size)
            Mp4Atoms::makeAdtsHeader(config, int(qMin<uint32_t>(frameSize, 1 << 20)), header);
    }
    return 0;
}
