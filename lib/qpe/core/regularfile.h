#pragma once

#include <QString>

#include <cstdio>

class QFile;

// Opening outside files for reading without blocking on a FIFO or a device: the file is
// opened non-blocking, refused unless it is a regular file, then switched back to
// blocking reads. A FIFO named like a track would otherwise stop the caller until
// something writes to it.
namespace RegularFile {

// The descriptor, or -1 (errno ENOENT, EACCES, ... or EINVAL for anything not a regular
// file). The caller closes it.
int openForReading(const QString& path);

// file (not yet open, its name set) opened read-only; false as above.
bool open(QFile& file);

// A stdio stream on the file, or null.
std::FILE* openStream(const QString& path);

// Whether path names an existing regular file (following links) that can be opened.
bool isReadable(const QString& path);

} // namespace RegularFile
