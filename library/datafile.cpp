#include "datafile.h"

#include "atomicfile.h"
#include "global.h"
#include "regularfile.h"
#include "settingskeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

QString applicationName()
{
    QString name = qApp ? qApp->objectName() : QString();
    if (name.isEmpty())
        name = QString::fromLatin1(Settings::AppFile);
    return name;
}

QString dataFilePath(const QString& fileName, bool forWriting)
{
    const QString app = applicationName();
    const QString user = Global::applicationFileName(app + QStringLiteral("Data"), fileName);
    if (forWriting || QFileInfo::exists(user))
        return user;
    return Global::qpeDir() + QStringLiteral("/etc/") + app + QLatin1Char('/') + fileName;
}

QStringList readStringList(const QString& fileName)
{
    QFile f(dataFilePath(fileName, false));
    if (!RegularFile::open(f))
        return {}; // a FIFO or a folder in its place reads as empty, without waiting
    // A list of 100,000 files is a few megabytes; a file far beyond that is not one of
    // ours whole, and is read no further than its last line before the bound.
    constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    QByteArray bytes = f.read(qBound<qint64>(0, f.size(), MaxBytes));
    if (f.size() > MaxBytes)
        bytes.truncate(bytes.lastIndexOf('\n') + 1);
    const QString text = QString::fromUtf8(bytes);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // A file edited on another system may end its lines in CR LF.
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

bool writeStringList(const QString& fileName, const QStringList& lines, QString* reason)
{
    return AtomicFile::write(dataFilePath(fileName, true), lines.join(QLatin1Char('\n')).toUtf8(), reason);
}

QString sanitiseName(const QString& name)
{
    QString s = name;
    s.remove(QLatin1Char('|'));
    s.remove(QLatin1Char('/'));
    if (s == QLatin1String(".") || s == QLatin1String(".."))
        s = QStringLiteral("...");
    return s;
}
