// Feeds arbitrary bytes through Mp3Decoder: written to a file, opened, decoded to the end,
// then once more after a seek and at the stream's own rate.
#include "audioinfo.h"
#include "mp3decoder.h"
#include "playinfo.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QString tempFile()
{
    static QString path;
    if (path.isEmpty()) {
        char name[] = "/tmp/fuzz_mp3_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0)
            close(fd);
        path = QString::fromLocal8Bit(name);
    }
    return path;
}

void drain(Mp3Decoder& d, int block)
{
    static char buf[8192];
    PlayInfo info;
    int produced = 0;
    // a stream cannot yield more than its bytes allow; the bound only guards against a hang
    for (int i = 0; i < 100000 && d.decode(buf, block, &produced, &info) && produced > 0; ++i) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = tempFile();
    FILE* f = std::fopen(QFile::encodeName(file).constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    Mp3Decoder d;
    AudioInfo info;
    d.open(file, &info);
    if (d.open(file, nullptr)) {
        drain(d, 2048);
        if (d.seek(1) >= 0)
            drain(d, 4608);
    }
    d.setNativeRate(true);
    if (d.open(file, nullptr))
        drain(d, 1000);
    d.close();
    return 0;
}
