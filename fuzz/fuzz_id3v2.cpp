// Arbitrary bytes as an ID3v2 tag, in memory and as the start of a file, and as tag text
// through the codec guess.
#include "id3v2tag.h"
#include "loopcontrol.h"
#include "textcodec.h"

#include <QString>

#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

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
    static const QString path = QStringLiteral("/tmp/fuzz_id3v2_%1.mp3").arg(::getpid());
    static const QByteArray encoded = path.toLocal8Bit();
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
        const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
        ::close(fd);
        if (written)
            Id3v2::readFile(path, &tag);
    }
    return 0;
}
