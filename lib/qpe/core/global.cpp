#include "global.h"

#include <QCoreApplication>
#include <QDir>

// Stand-in until the platform layer lands.
QString Global::qpeDir()
{
    const QString env = qEnvironmentVariable("QUAVRIX_QPEDIR");
    if (!env.isEmpty())
        return env;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quavrix"));
}
