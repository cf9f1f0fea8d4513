#pragma once

#include <QString>

// The MIME type of a file, by its extension (case-insensitive): "audio/mpeg",
// "audio/ogg", "audio/quicktime", or empty for anything else.
class MimeType
{
public:
    explicit MimeType(const QString& file);
    QString id() const { return m_id; }

private:
    QString m_id;
};
