// The MP4 user-data walk, the file-level atom walk and the AAC configuration reader on
// arbitrary bytes.

#include "mp4atoms.h"

#include <QString>

#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

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
    static const QString path = QStringLiteral("/tmp/fuzz_mp4atoms_%1.m4a").arg(::getpid());
    static const QByteArray encoded = path.toLocal8Bit();
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
        ::close(fd);
        Mp4Atoms::FileSummary summary;
        if (written)
            Mp4Atoms::readFileSummary(path, &summary);
    }
    return 0;
}
