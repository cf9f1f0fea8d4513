#include "vorbiscomments.h"

#include "audioinfo.h"
#include "replaygain.h"

#include <QSet>

namespace VorbisComments {

void fill(const QList<QByteArray>& comments, AudioInfo* info, bool r128)
{
    QSet<QByteArray> seen;
    for (const QByteArray& comment : comments) {
        const int eq = comment.indexOf('=');
        if (eq <= 0)
            continue;
        const QByteArray name = comment.left(eq).toUpper();
        if (seen.contains(name))
            continue;
        seen.insert(name);
        const QByteArray value = comment.mid(eq + 1);
        if (name == "TITLE") {
            AudioInfo::setText(info->title, value);
        } else if (name == "ARTIST") {
            AudioInfo::setText(info->artist, value);
        } else if (name == "ALBUM") {
            AudioInfo::setText(info->album, value);
        } else if (name == "DATE") {
            info->year = AudioInfo::yearOf(value);
        } else if (name == "TRACKNUMBER") {
            info->track = AudioInfo::trackNumberOf(value);
        } else if (r128 && (name == "R128_TRACK_GAIN" || name == "R128_ALBUM_GAIN")) {
            // A signed Q7.8 number and nothing else.
            bool ok = false;
            const int q78 = value.trimmed().toInt(&ok);
            if (!ok || q78 < -32768 || q78 > 32767)
                continue;
            const bool track = name == "R128_TRACK_GAIN";
            (track ? info->trackGain : info->albumGain) = ReplayGain::fromR128(q78);
            info->gains |= track ? AudioInfo::TrackGain : AudioInfo::AlbumGain;
        } else {
            ReplayGain::takeTag(name, value, info);
        }
    }
    info->isUtf8 = 1;
}

QList<QByteArray> split(const uint8_t* data, size_t size, int maxComments)
{
    QList<QByteArray> comments;
    const auto le32 = [](const uint8_t* p) {
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    };
    if (size < 4 || le32(data) > size - 4)
        return comments;
    size_t at = 4 + le32(data); // past the vendor string
    if (size - at < 4)
        return comments;
    const uint32_t count = le32(data + at);
    at += 4;
    for (uint32_t i = 0; i < count && int(i) < maxComments && size - at >= 4; ++i) {
        const uint32_t n = le32(data + at);
        at += 4;
        if (n > size - at)
            break;
        comments.append(QByteArray(reinterpret_cast<const char*>(data + at), int(n)));
        at += n;
    }
    return comments;
}

} // namespace VorbisComments
