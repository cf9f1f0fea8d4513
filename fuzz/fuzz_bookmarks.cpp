// Arbitrary bytes as a bookmark file: the reader stops at damage without reading past the
// data, keeps only sound records, and what it kept writes back to bytes it reads whole.
#include "bookmarkfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<Bookmark> list;
    const bool whole = BookmarkFile::parse(bytes, &list);
    for (const Bookmark& b : list)
        if (b.position < 0)
            abort();
    const QByteArray again = BookmarkFile::serialise(list);
    QList<Bookmark> reread;
    if (!BookmarkFile::parse(again, &reread) || reread.size() != list.size())
        abort();
    if (whole && again != bytes)
        abort();
    return 0;
}
