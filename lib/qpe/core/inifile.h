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
using Keys = QMap<QString, QString>;
using Groups = QMap<QString, Keys>;

// Reads what it can: lines it does not understand are skipped, a damaged file gives the
// groups before and after the damage, anything at all gives some result. An unquoted
// value with commas comes back whole, as the text between "=" and the line's end.
Groups parse(const QByteArray& text);

// The file's text for the groups; empty groups are left out.
QByteArray serialise(const Groups& groups);

// The same in two steps, so that a large group (a long play list) is taken apart only when
// someone reads it: the text of each section (lines after its header, sections of one name
// joined), then the keys of one section's text.
QMap<QString, QByteArray> sections(const QByteArray& text);
Keys parseSection(const QByteArray& body);
// The header line of a group ("[Options]\n") and its keys as text.
QByteArray sectionHeader(const QString& group);
QByteArray serialiseKeys(const Keys& keys);

} // namespace IniFile
