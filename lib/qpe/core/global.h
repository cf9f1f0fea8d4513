#pragma once

#include <QSet>
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

// True the first time a folder (by its canonical path, so links to it count as the same
// folder) is entered in a walk; false for a repeat or a folder that does not exist.
bool enterFolderOnce(const QString& folder, QSet<QString>* visited);

// Every document below the document folders whose MIME type is in the ';'-separated
// filter. Hidden files and folders are skipped; each canonical folder is visited once.
void findDocuments(DocLnkSet* set, const QString& mimeFilter);

// The folder of the running executable (also without an application object).
QString executableDir();

} // namespace Global
