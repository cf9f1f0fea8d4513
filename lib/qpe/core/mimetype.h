#pragma once

#include <QString>

// The MIME type of a file, by its extension (case-insensitive): "audio/mpeg" (mp3),
// "audio/ogg" (ogg, oga), "audio/quicktime" (m4a, m4b, mp4), "audio/flac" (flac),
// "audio/opus" (opus), or empty for anything else. An Ogg file (ogg, oga) is told apart by
// its first packet: Vorbis is "audio/ogg", Opus "audio/opus", FLAC "audio/flac"; one that
// cannot be read stays "audio/ogg".
class MimeType
{
public:
    explicit MimeType(const QString& file);
    QString id() const { return m_id; }

    // The type of an Ogg stream by the first bytes of the file (at least its first page).
    static QString oggContent(const QByteArray& start);

private:
    QString m_id;
};
