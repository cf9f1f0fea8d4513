// The MP4 user-data walk, the file-level atom walk and the AAC configuration reader on
// arbitrary bytes.

#include "memoryfile.h"
#include "mp4atoms.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Mp4Atoms::Tags tags;
    Mp4Atoms::parseUserData(data, size, &tags);
    Mp4Atoms::parseItemList(data, size, &tags);

    Mp4Atoms::AudioConfig config;
    if (Mp4Atoms::parseAudioSpecificConfig(data, size, &config)) {
        uint8_t header[7];
        Mp4Atoms::makeAdtsHeader(config, static_cast<int>(size), header);
    }

    // The same bytes as a whole file, for every other input (file access is slow).
    if (size == 0 || (data[size - 1] & 1))
        return 0;
    const QString path = memoryFile(data, size);
    Mp4Atoms::FileSummary summary;
    if (!path.isEmpty())
        Mp4Atoms::readFileSummary(path, &summary);
    return 0;
}
