#include "global.h"

#include "doclnk.h"
#include "mimetype.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

QString DocLnk::name() const
{
    return QFileInfo(m_file).completeBaseName();
}

namespace Global {

QString applicationFileName(const QString& app, const QString& file)
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString dir = base + QLatin1Char('/') + app;
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + file;
}

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString qpeDir()
{
    const QString env = qEnvironmentVariable("QUAVRIX_QPEDIR");
    if (!env.isEmpty())
        return env;
    return QDir::cleanPath(executableDir() + QStringLiteral("/../share/quavrix"));
}

QStringList documentFolders()
{
    if (qEnvironmentVariableIsSet("QUAVRIX_DOCUMENTS"))
        return qEnvironmentVariable("QUAVRIX_DOCUMENTS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QStringList dirs;
    for (auto loc : {QStandardPaths::MusicLocation, QStandardPaths::DocumentsLocation}) {
        const QString d = QStandardPaths::writableLocation(loc);
        if (!d.isEmpty() && d != QDir::homePath() && !dirs.contains(d))
            dirs << d;
    }
    return dirs;
}

bool enterFolderOnce(const QString& folder, QSet<QString>* visited)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited->contains(canonical))
        return false;
    visited->insert(canonical);
    return true;
}

void findDocuments(DocLnkSet* set, const QString& mimeFilter)
{
    const QStringList types = mimeFilter.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QSet<QString> visited;
    QStringList pending = documentFolders();
    while (!pending.isEmpty()) {
        const QString dir = pending.takeFirst();
        if (!enterFolderOnce(dir, &visited))
            continue;
        const QFileInfoList entries = QDir(dir).entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
        for (const QFileInfo& fi : entries) {
            if (fi.isDir())
                pending << fi.absoluteFilePath();
            else if (types.contains(MimeType(fi.fileName()).id()))
                set->add(DocLnk(fi.absoluteFilePath()));
        }
    }
}

} // namespace Global
