#include "mimetype.h"

#include "regularfile.h"

#include <QByteArray>

#include <unistd.h>

QString MimeType::oggContent(const QByteArray& start)
{
    // The first page: "OggS", version, flags, granule, serial, sequence, CRC, then the
    // segment count and table; the first packet follows the table.
    if (start.size() < 27 || !start.startsWith("OggS"))
        return QStringLiteral("audio/ogg");
    const int segments = uint8_t(start[26]);
    const QByteArray packet = start.mid(27 + segments, 8);
    if (packet.startsWith("OpusHead"))
        return QStringLiteral("audio/opus");
    if (packet.startsWith("\x7f" "FLAC"))
        return QStringLiteral("audio/flac");
    return QStringLiteral("audio/ogg");
}

MimeType::MimeType(const QString& file)
{
    const int slash = file.lastIndexOf(QLatin1Char('/'));
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return;
    const QString ext = file.mid(dot + 1).toLower();
    if (ext == QLatin1String("mp3")) {
        m_id = QStringLiteral("audio/mpeg");
    } else if (ext == QLatin1String("ogg") || ext == QLatin1String("oga")) {
        QByteArray start(27 + 255 + 8, '\0');
        const int fd = RegularFile::openForReading(file);
        const ssize_t n = fd >= 0 ? ::read(fd, start.data(), size_t(start.size())) : -1;
        if (fd >= 0)
            ::close(fd);
        start.truncate(qMax<ssize_t>(0, n));
        m_id = oggContent(start);
    } else if (ext == QLatin1String("m4a") || ext == QLatin1String("m4b") || ext == QLatin1String("mp4")) {
        m_id = QStringLiteral("audio/quicktime");
    } else if (ext == QLatin1String("flac")) {
        m_id = QStringLiteral("audio/flac");
    } else if (ext == QLatin1String("opus")) {
        m_id = QStringLiteral("audio/opus");
    }
}
