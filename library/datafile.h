#pragma once

#include <QString>
#include <QStringList>

// The application's data files: a per-user copy in the platform's data folder
// ("<application>Data"), and a read-only default shipped under qpeDir()/etc/<application>/.

// The application object's name ("Quavrix").
QString applicationName();

// Reading prefers the user's file and falls back to the installed default when the user has
// none; writing, deleting and renaming always use the user's file.
QString dataFilePath(const QString& fileName, bool forWriting);

// The lines of a data file (UTF-8, split on line feeds, empty lines dropped); an empty list
// when the file cannot be opened.
QStringList readStringList(const QString& fileName);

// Replaces the user's file with the lines joined by line feeds (UTF-8, no final line feed).
// The file is replaced atomically: a crash, a full disk or a read-only folder keeps the old
// contents. Returns false when nothing could be written, with the reason in words.
bool writeStringList(const QString& fileName, const QStringList& lines, QString* reason = nullptr);

// A playlist name made safe for a file name and for the "|"-joined list of names: "|" and
// "/" are removed, and "." or ".." become "...".
QString sanitiseName(const QString& name);
