#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A named position in a track.
struct Bookmark
{
    QString name;
    QString file;
    int position = 0; // seconds
};

// The bookmark data file: a big-endian signed 32-bit count, then per record the name and
// the file as QDataStream strings (unsigned 32-bit byte length of the UTF-16 data,
// 0xFFFFFFFF for a null string, then the big-endian code units) and the position as a
// signed 32-bit number of seconds. No header; the file ends after the last record.
class BookmarkFile
{
public:
    // Larger files are not read past this many bytes (the rest counts as damage).
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;

    // Appends the records of data to out. Returns true when the data was whole; false when
    // it stopped at damage (a negative or overlarge count, a string length that is odd or
    // runs past the end, a negative position, a truncated record, bytes after the last
    // record), in which case out holds the records that were whole before it. Allocates
    // nothing from a length before checking it against the bytes present.
    static bool parse(const QByteArray& data, QList<Bookmark>* out);

    static QByteArray serialise(const QList<Bookmark>& list);
};
