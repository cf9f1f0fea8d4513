#include "atomicfile.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QAtomicInteger<unsigned> g_serial;

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

void syncFolder(const QByteArray& folder)
{
    // The rename is only as durable as the folder entry that records it.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

namespace AtomicFile {

QString reasonFor(int error)
{
    auto say = [](const char* text) { return QCoreApplication::translate("AtomicFile", text); };
    switch (error) {
    case ENOSPC: return say(QT_TRANSLATE_NOOP("AtomicFile", "no space left on the device"));
    case EDQUOT: return say(QT_TRANSLATE_NOOP("AtomicFile", "the disk quota is used up"));
    case EROFS: return say(QT_TRANSLATE_NOOP("AtomicFile", "the device is read-only"));
    case EACCES:
    case EPERM: return say(QT_TRANSLATE_NOOP("AtomicFile", "permission denied"));
    case ENOENT:
    case ENOTDIR: return say(QT_TRANSLATE_NOOP("AtomicFile", "the folder does not exist"));
    case EIO: return say(QT_TRANSLATE_NOOP("AtomicFile", "the device reported an error"));
    case ENODEV:
    case ENXIO: return say(QT_TRANSLATE_NOOP("AtomicFile", "the device is gone"));
    case EFBIG: return say(QT_TRANSLATE_NOOP("AtomicFile", "the file is too large"));
    case NotRegularFile: return say(QT_TRANSLATE_NOOP("AtomicFile", "it is not a regular file"));
    case ReadOnlyFile: return say(QT_TRANSLATE_NOOP("AtomicFile", "the file is read-only"));
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

bool write(const QString& path, const QByteArray& bytes, QString* reason)
{
    auto fail = [reason](int error) {
        if (reason)
            *reason = reasonFor(error);
        return false;
    };

    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QByteArray name = QFile::encodeName(target);
    if (name.isEmpty())
        return fail(ENOENT);

    struct stat old;
    const bool exists = ::stat(name.constData(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode))
            return fail(NotRegularFile);
        // Taking away the write bits is how a user says "keep this file as it is".
        if ((old.st_mode & 0222) == 0)
            return fail(ReadOnlyFile);
        if (::access(name.constData(), W_OK) != 0)
            return fail(errno);
    }

    const int slash = name.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? name.left(slash) : slash == 0 ? QByteArray("/") : QByteArray(".");
    const QByteArray base = slash >= 0 ? name.mid(slash + 1) : name;

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = folder + "/." + base + ".new-" + QByteArray::number(qint64(::getpid())) + '-'
                    + QByteArray::number(g_serial.fetchAndAddRelaxed(1));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);

    int error = 0;
    if (exists) {
        // The new file keeps the old one's permissions and, where allowed, its owner.
        ::fchmod(fd, old.st_mode & 07777);
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    if (!writeAll(fd, bytes.constData(), bytes.size()) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.constData(), name.constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        return fail(error);
    }
    syncFolder(folder);
    return true;
}

} // namespace AtomicFile
