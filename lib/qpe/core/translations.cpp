#include "translations.h"

#include "global.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Translations {

QString folder()
{
    return Global::qpeDir() + QStringLiteral("/translations");
}

QString install()
{
    static QTranslator own, qt;
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&qt);

    const QString wanted = qEnvironmentVariable("QUAVRIX_LANG");
    // QTranslator tries each of the locale's UI languages and their shorter forms, so
    // "de_AT" finds quavrix_de and "pt_BR" finds quavrix_pt_BR; "pt_PT" finds nothing.
    const QLocale locale = wanted.isEmpty() ? QLocale::system() : QLocale(wanted);
    if (!own.load(locale, QStringLiteral("quavrix"), QStringLiteral("_"), folder()))
        return QStringLiteral("en");
    QCoreApplication::installTranslator(&own);
    const QString language = own.language();
    // Qt's catalogue for the language we show, not for the locale's first wish.
    if (qt.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    return language;
}

} // namespace Translations
