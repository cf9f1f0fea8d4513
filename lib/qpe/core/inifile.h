#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The text of a settings file: INI as QSettings writes it, so that files written by
// either read back the same in both. Groups map to sections ("[Options]"); keys with
// characters outside letters, digits, "_", "-" and "." are %-escaped; values that need it
// are quoted with C-style escapes, and a value starting with "@" is written "@@".
namespace IniFile {

// group -> key -> value. The group "" is the file's root section, "[General]".
using Groups = QMap<QString, QMap<QString, QString>>;

// Reads what it can: lines it does not understand are skipped, a damaged file gives the
// groups before and after the damage, anything at all gives some result. An unquoted
// value with commas comes back whole, as the text between "=" and the line's end.
Groups parse(const QByteArray& text);

// The file's text for the groups; empty groups are left out.
QByteArray serialise(const Groups& groups);

} // namespace IniFile
