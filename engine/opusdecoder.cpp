#include "opusdecoder.h"

#include "audioinfo.h"
#include "playinfo.h"
#include "regularfile.h"
#include "vorbiscomments.h"

#include <QFile>
#include <QtEndian>

#include <opusfile.h>

#include <cmath>
#include <unistd.h>

namespace {
// A gap in the page sequence is reported and read past; a stream of nothing but gaps is
// taken as ended after this many in a row.
constexpr int MaxConsecutiveHoles = 64;
} // namespace

OpusDecoder::OpusDecoder() = default;

OpusDecoder::~OpusDecoder()
{
    close();
}

QString OpusDecoder::mimeType() const
{
    return QStringLiteral("audio/opus");
}

bool OpusDecoder::open(const QString& file, AudioInfo* info)
{
    close();
    const int fd = RegularFile::openForReading(file);
    if (fd < 0)
        return info != nullptr; // an unreadable file still gets a record named after it
    OpusFileCallbacks callbacks;
    void* stream = op_fdopen(&callbacks, fd, "rb");
    if (!stream) {
        ::close(fd);
        return false;
    }
    int error = 0;
    m_file = op_open_callbacks(stream, &callbacks, nullptr, 0, &error);
    if (!m_file) {
        callbacks.close(stream); // opusfile takes the stream only when it opens
        return false;
    }
    const OpusHead* head = op_head(m_file, -1);
    m_channels = head ? head->channel_count : 0;
    if (m_channels < 1) {
        close();
        return false;
    }
    m_downmix = m_channels > 8;
    if (m_downmix)
        m_channels = 2;
    if (info) {
        QList<QByteArray> comments;
        if (const OpusTags* tags = op_tags(m_file, -1)) {
            for (int i = 0; i < tags->comments; ++i) {
                if (tags->user_comments[i] && tags->comment_lengths[i] >= 0)
                    comments << QByteArray(tags->user_comments[i], tags->comment_lengths[i]);
            }
        }
        VorbisComments::fill(comments, info, true);
        close();
        return true;
    }
    m_totalSamples = qMax<ogg_int64_t>(0, op_pcm_total(m_file, -1));
    const opus_int32 bitrate = op_bitrate(m_file, -1);
    m_bitrate = bitrate > 0 ? bitrate : 0;
    m_samplesOut = 0;
    m_atEnd = false;
    return true;
}

void OpusDecoder::close()
{
    if (m_file) {
        op_free(m_file); // closes the stream too
        m_file = nullptr;
    }
    m_channels = 0;
    m_totalSamples = m_samplesOut = 0;
}

void OpusDecoder::fillPlayInfo(PlayInfo* info) const
{
    if (!info)
        return;
    info->channels = m_channels;
    info->rate = Rate;
    info->bitrate = m_bitrate;
    info->length = int32_t(m_totalSamples / Rate);
    info->range = info->length;
    info->position = int32_t(m_samplesOut / Rate);
}

bool OpusDecoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    *produced = 0;
    if (!m_file) {
        fillPlayInfo(info);
        return false;
    }
    // Room for whole frames of the most channels a link may have.
    const int room = size / 2 / 8 * 8;
    if (int(m_float.size()) < room)
        m_float.resize(size_t(room));
    int n = 0;
    int link = -1;
    for (int holes = 0; holes < MaxConsecutiveHoles && !m_atEnd; ++holes) {
        n = m_downmix ? op_read_float_stereo(m_file, m_float.data(), room)
                      : op_read_float(m_file, m_float.data(), room, &link);
        if (n != OP_HOLE)
            break;
    }
    if (n > 0 && !m_downmix) {
        // A chained stream may change its channels from one link to the next.
        const int channels = op_channel_count(m_file, link);
        if (channels < 1 || channels > 8)
            n = 0;
        else
            m_channels = channels;
    }
    if (n > 0) {
        // Rounded to the nearest 16-bit value, without dither: the same PCM on every
        // machine, and what a reference decoder gives without dither to within a step.
        const int samples = n * m_channels;
        for (int i = 0; i < samples; ++i) {
            const long v = std::lround(double(m_float[size_t(i)]) * 32768.0);
            qToLittleEndian<int16_t>(int16_t(qBound(-32768L, v, 32767L)), buffer + 2 * i);
        }
        *produced = samples * 2;
        m_samplesOut += n;
    } else if (n < 0) {
        qDebug("opus: read error %d", n);
    }
    fillPlayInfo(info);
    return n > 0;
}

int64_t OpusDecoder::seek(int seconds)
{
    if (!m_file)
        return -1;
    int64_t sample = int64_t(qMax(0, seconds)) * Rate;
    if (m_totalSamples > 0)
        sample = qMin(sample, m_totalSamples);
    m_atEnd = m_totalSamples > 0 && sample == m_totalSamples;
    if (!m_atEnd && op_pcm_seek(m_file, sample) != 0) {
        const ogg_int64_t at = op_pcm_tell(m_file);
        if (at < 0)
            return -1;
        sample = at;
    }
    m_samplesOut = sample;
    return sample * m_channels * 2;
}
