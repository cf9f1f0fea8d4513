#pragma once

#include <QString>
#include <QStringList>

class DocLnkSet;

namespace Global {

// A writable per-user path: $XDG_DATA_HOME/<app>/<file> (the folder is created).
QString applicationFileName(const QString& app, const QString& file);

// The installation folder with pics/, pics144/, lib/ and etc/Quavrix/:
// $QUAVRIX_QPEDIR if set, else <folder of the executable>/../share/quavrix.
QString qpeDir();

// The folders that make up the document store: the user's Music and Documents folders,
// or the ':'-separated list in $QUAVRIX_DOCUMENTS.
QStringList documentFolders();

// Every document below the document folders whose MIME type is in the ';'-separated
// filter. Hidden files and folders are skipped; each canonical folder is visited once.
void findDocuments(DocLnkSet* set, const QString& mimeFilter);

// The folder of the running executable (also without an application object).
QString executableDir();

} // namespace Global
