// Arbitrary bytes as a tag cache file: either refused whole, or every entry read back
// gives a record whose text fields end in a NUL, and writing it again gives the same bytes.
#include "audioinfo.h"
#include "tagcache.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {
// The file's own checksum (FNV-1a 64), so that half the inputs get past it to the entries.
QByteArray withChecksum(QByteArray bytes)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        h ^= uint8_t(c);
        h *= 0x100000001b3ull;
    }
    for (int i = 0; i < 8; ++i)
        bytes += char(h >> (8 * i));
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TagCache cache(QStringLiteral("/nonexistent/tagcache"));
    QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (size > 0 && (data[0] & 1))
        bytes = withChecksum(bytes.chopped(qMin<int>(8, int(bytes.size()))));
    if (!cache.fromBytes(bytes)) {
        if (cache.size() != 0)
            std::abort();
        return 0;
    }
    // A sound file writes back to itself (entries may come out in another order, so only
    // the size is compared) and reads again.
    const QByteArray again = cache.toBytes(false);
    if (again.size() != bytes.size() || !cache.fromBytes(again))
        std::abort();
    AudioInfo info;
    cache.find(QByteArray("/"), TagCache::Stamp{}, &info);
    for (const TagText* t : {&info.title, &info.artist, &info.album})
        if (t->size() > TagText::MaxBytes)
            std::abort();
    return 0;
}
