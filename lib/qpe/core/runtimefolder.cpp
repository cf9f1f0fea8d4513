#include "runtimefolder.h"

#include <QDir>
#include <QFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeFolder {
namespace {

// A folder (not a link to one) that we own and that others cannot enter; created 0700
// when missing.
bool isPrivateFolder(const QString& folder, bool create)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) {
        if (!create || ::mkdir(name.constData(), 0700) != 0 || ::lstat(name.constData(), &st) != 0)
            return false;
    }
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

} // namespace

QString path()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        // Made by the session for this user alone; a folder of ours is enough.
        struct stat st;
        if (::stat(QFile::encodeName(runtime).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid())
            return runtime;
    }
    const QString fallback = QDir::tempPath() + QStringLiteral("/quavrix-") + QString::number(::getuid());
    return isPrivateFolder(fallback, true) ? fallback : QString();
}

QString privateFolder(const QString& name)
{
    const QString base = path();
    if (base.isEmpty())
        return QString();
    const QString folder = base + QLatin1Char('/') + name;
    return isPrivateFolder(folder, true) ? folder : QString();
}

QString socketPath(const QString& name)
{
    const QString base = path();
    return base.isEmpty() ? QString() : base + QLatin1Char('/') + name;
}

bool peerIsOurs(qintptr socketDescriptor)
{
    ucred credentials = {};
    socklen_t length = sizeof credentials;
    if (socketDescriptor < 0
        || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == ::getuid();
}

} // namespace RuntimeFolder
