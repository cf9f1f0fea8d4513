#include "oggdecoder.h"

#include "audioinfo.h"
#include "playinfo.h"
#include "regularfile.h"
#include "vorbiscomments.h"

#include <QFile>

#include <tremor/ivorbisfile.h>

#include <cstdlib>
#include <cstring>

namespace {
// ov_read reports a gap in the page sequence as OV_HOLE and carries on after it; a
// stream that is nothing but holes is treated as ended after this many in a row.
constexpr int MaxConsecutiveHoles = 64;

} // namespace

OggDecoder::OggDecoder() = default;

OggDecoder::~OggDecoder()
{
    close();
}

QString OggDecoder::mimeType() const
{
    return QStringLiteral("audio/ogg");
}

bool OggDecoder::open(const QString& file, AudioInfo* info)
{
    close();

    m_file = RegularFile::openStream(file);
    if (!m_file)
        return info != nullptr; // an unreadable file still gets a record named after it

    m_vorbis = new OggVorbis_File;
    std::memset(m_vorbis, 0, sizeof *m_vorbis);
    if (ov_open(m_file, m_vorbis, nullptr, 0) != 0) {
        // On failure Tremor has not taken the file: it is still ours to close.
        std::fclose(m_file);
        m_file = nullptr;
        delete m_vorbis;
        m_vorbis = nullptr;
        return false;
    }

    const vorbis_info* vi = ov_info(m_vorbis, -1);
    if (!info && (!vi || !formatSupported(vi->rate, vi->channels))) {
        // A damaged identification header (a rate of 0xffffffff, say) never reaches the
        // device.
        qDebug("open %s: not a format that can be played", QFile::encodeName(file).constData());
        close();
        return false;
    }
    if (vi) {
        m_rate = static_cast<int32_t>(vi->rate);
        m_bitrate = static_cast<int32_t>(vi->bitrate_nominal);
        m_channels = vi->channels;
    }
    const ogg_int64_t totalMs = ov_time_total(m_vorbis, -1);
    m_length = totalMs > 0 ? static_cast<int32_t>(totalMs / 1000) : 0;
    m_range = m_length;
    m_position = 0;
    m_section = 0;
    m_bytesOut = 0;
    m_atEnd = false;

    if (info) {
        QList<QByteArray> comments;
        if (const vorbis_comment* vc = ov_comment(m_vorbis, -1)) {
            for (int i = 0; i < vc->comments; ++i) {
                if (vc->user_comments[i] && vc->comment_lengths[i] >= 0)
                    comments << QByteArray(vc->user_comments[i], vc->comment_lengths[i]);
            }
        }
        VorbisComments::fill(comments, info);
        close();
    }
    return true;
}

void OggDecoder::close()
{
    m_section = 0;
    if (m_file) {
        ov_clear(m_vorbis); // closes the file as well
        delete m_vorbis;
        m_vorbis = nullptr;
        m_file = nullptr;
    }
}

void OggDecoder::updatePosition()
{
    if (m_rate && m_channels)
        m_position = static_cast<int32_t>(m_bytesOut / m_rate / m_channels / 2);
}

void OggDecoder::fillPlayInfo(PlayInfo* info) const
{
    if (!info)
        return;
    info->channels = m_channels;
    info->rate = m_rate;
    info->bitrate = m_bitrate;
    info->length = m_length;
    info->range = m_range;
    info->position = m_position;
}

bool OggDecoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    *produced = 0;
    if (!m_file) {
        fillPlayInfo(info);
        return false;
    }

    long n = 0;
    for (int holes = 0; holes < MaxConsecutiveHoles && !m_atEnd; ++holes) {
        n = ov_read(m_vorbis, buffer, size, &m_section);
        if (n != OV_HOLE)
            break;
    }
    // Zero is the end of the stream; a negative result is damage Tremor cannot get past.
    // Neither moves the position.
    if (n > 0) {
        *produced = static_cast<int>(n);
        m_bytesOut += n;
        updatePosition();
    } else if (n < 0) {
        qDebug("ogg: read error %ld", n);
    }
    fillPlayInfo(info);
    return n > 0;
}

int64_t OggDecoder::seek(int seconds)
{
    if (!m_file)
        return -1;
    if (seconds < 0)
        seconds = 0;
    if (m_length > 0 && seconds > m_length)
        seconds = m_length;

    m_atEnd = false;
    const ogg_int64_t total = ov_pcm_total(m_vorbis, -1);
    if (ov_time_seek(m_vorbis, static_cast<ogg_int64_t>(seconds) * 1000) == 0) {
        m_bytesOut = int64_t(m_channels) * m_rate * seconds * 2;
    } else if (total > 0 && int64_t(seconds) * m_rate >= total) {
        // The end itself: nothing is left to play.
        m_atEnd = true;
        m_bytesOut = int64_t(total) * m_channels * 2;
    } else {
        // The stream stayed where it was: report where that is rather than the request.
        const ogg_int64_t frames = ov_pcm_tell(m_vorbis);
        if (frames < 0)
            return -1;
        m_bytesOut = int64_t(frames) * m_channels * 2;
    }
    updatePosition();
    return m_bytesOut;
}
