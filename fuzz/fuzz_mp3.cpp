// Feeds arbitrary bytes through Mp3Decoder from memory: the input lives in an anonymous
// in-memory file (no disk, no file per input) that the decoder opens by its /proc path, so
// the stream reader, the Xing/VBRI and ID3 probes, the frame decoder and the seek index all
// run exactly as for a file. Opened with tags, decoded to the end, then after a seek, then
// at the stream's own rate.
#include "audioinfo.h"
#include "mp3decoder.h"
#include "playinfo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

int memoryFile()
{
    static const int fd = ::memfd_create("fuzz_mp3", MFD_CLOEXEC);
    return fd;
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
    const int fd = memoryFile();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size))
        return 0;
    const QString file = QStringLiteral("/proc/self/fd/%1").arg(fd);

    Mp3Decoder d;
    AudioInfo info;
    d.open(file, &info);
    if (d.open(file, nullptr)) {
        drain(d, 2048);
        if (d.seek(1) >= 0)
            drain(d, 4608);
        if (d.seek(0) >= 0)
            drain(d, 1000);
    }
    d.setNativeRate(true);
    if (d.open(file, nullptr))
        drain(d, 2048);
    d.close();
    return 0;
}
