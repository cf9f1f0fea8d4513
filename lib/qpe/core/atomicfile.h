#pragma once

#include <QByteArray>
#include <QString>

// Replacing a file that holds user data so that a full disk, a read-only folder or a crash
// never leaves it empty or half written: the new contents go to a file beside it, every
// write, the flush to the disk and the close are checked, and only then is it renamed over
// the old one. QSaveFile is not enough: it reports success when the flush at its close
// fails, and renames an empty file over the old one on a full disk.
namespace AtomicFile {

// True when path now holds exactly bytes. On false the old file (if any) is untouched, no
// file is left beside it, and *reason (when given) says why in words a user understands,
// such as "no space left on the device". A file whose write permission was taken away
// counts as read-only even for root, and a path that is not a regular file is never
// replaced. A link is followed: the file it points to is replaced.
bool write(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// Reasons of our own beside the errno values.
enum { NotRegularFile = -1, ReadOnlyFile = -2 };

// The words for an errno value (or one of the reasons above) as write() gives them.
QString reasonFor(int error);

} // namespace AtomicFile
