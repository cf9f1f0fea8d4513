#pragma once

// The input as a file that lives in memory (no disk, nothing left behind): an anonymous
// in-memory file, rewritten for each input, opened by readers through its /proc path.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

// The path of a file holding exactly data, or an empty string if it could not be written.
inline QString memoryFile(const uint8_t* data, size_t size)
{
    static const int fd = ::memfd_create("quavrix-fuzz", MFD_CLOEXEC);
    static const QString path = fd >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(fd) : QString();
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != ssize_t(size))
        return QString();
    return path;
}
