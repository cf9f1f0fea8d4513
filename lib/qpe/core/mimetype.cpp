#include "mimetype.h"

MimeType::MimeType(const QString& file)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return;
    const QString ext = file.mid(dot + 1).toLower();
    if (ext == QLatin1String("mp3"))
        m_id = QStringLiteral("audio/mpeg");
    else if (ext == QLatin1String("ogg") || ext == QLatin1String("oga"))
        m_id = QStringLiteral("audio/ogg");
    else if (ext == QLatin1String("m4a") || ext == QLatin1String("m4b") || ext == QLatin1String("mp4"))
        m_id = QStringLiteral("audio/quicktime");
}
