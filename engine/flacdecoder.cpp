#include "flacdecoder.h"

#include "audioinfo.h"
#include "playinfo.h"
#include "regularfile.h"
#include "vorbiscomments.h"

#include <QFile>
#include <QFileInfo>

#include <FLAC/stream_decoder.h>

#include <cstring>

namespace {
FLAC__StreamDecoder* decoderOf(void* p) { return static_cast<FLAC__StreamDecoder*>(p); }
} // namespace

struct FlacDecoder::Callbacks
{
    static FLAC__StreamDecoderWriteStatus write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                                const FLAC__int32* const buffer[], void* self)
    {
        static_cast<FlacDecoder*>(self)->take(frame->header.channels, frame->header.blocksize,
                                              int(frame->header.bits_per_sample), buffer);
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }
    static void metadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* m, void* client)
    {
        auto* self = static_cast<FlacDecoder*>(client);
        if (m->type == FLAC__METADATA_TYPE_STREAMINFO) {
            self->m_rate = int32_t(m->data.stream_info.sample_rate);
            self->m_channels = int32_t(m->data.stream_info.channels);
            self->m_bits = int32_t(m->data.stream_info.bits_per_sample);
            self->m_totalSamples = int64_t(m->data.stream_info.total_samples);
        } else if (m->type == FLAC__METADATA_TYPE_VORBIS_COMMENT && self->m_info) {
            QList<QByteArray> comments;
            const auto& vc = m->data.vorbis_comment;
            for (FLAC__uint32 i = 0; i < vc.num_comments; ++i) {
                if (vc.comments[i].entry)
                    comments << QByteArray(reinterpret_cast<const char*>(vc.comments[i].entry), int(vc.comments[i].length));
            }
            VorbisComments::fill(comments, self->m_info);
        }
    }
    static void error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus status, void*)
    {
        // Lost sync or a bad frame: libFLAC goes on with the next frame it finds.
        qDebug("flac: %s", FLAC__StreamDecoderErrorStatusString[status]);
    }
};

FlacDecoder::FlacDecoder() = default;

FlacDecoder::~FlacDecoder()
{
    close();
}

QString FlacDecoder::mimeType() const
{
    return QStringLiteral("audio/flac");
}

bool FlacDecoder::open(const QString& file, AudioInfo* info)
{
    close();
    FILE* f = RegularFile::openStream(file);
    if (!f)
        return info != nullptr; // an unreadable file still gets a record named after it
    char magic[4] = {};
    const bool ogg = std::fread(magic, 1, 4, f) == 4 && std::memcmp(magic, "OggS", 4) == 0;
    std::rewind(f);

    FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
    if (!decoder) {
        std::fclose(f);
        return false;
    }
    m_info = info;
    if (info)
        FLAC__stream_decoder_set_metadata_respond(decoder, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    const FLAC__StreamDecoderInitStatus status =
        ogg ? FLAC__stream_decoder_init_ogg_FILE(decoder, f, Callbacks::write, Callbacks::metadata, Callbacks::error, this)
            : FLAC__stream_decoder_init_FILE(decoder, f, Callbacks::write, Callbacks::metadata, Callbacks::error, this);
    if (status != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        std::fclose(f); // only a successful init takes the file over
        FLAC__stream_decoder_delete(decoder);
        m_info = nullptr;
        return false;
    }
    m_decoder = decoder;
    const bool read = FLAC__stream_decoder_process_until_end_of_metadata(decoder) && m_rate > 0;
    m_info = nullptr;
    if (!read || !formatSupported(m_rate, m_channels) || m_bits < 4 || m_bits > 32) {
        if (!info)
            qDebug("open %s: not a FLAC stream that can be played", QFile::encodeName(file).constData());
        close();
        return false;
    }
    if (info) {
        close();
        return true;
    }
    // Over the exact length: a track under a second has a bit rate too.
    m_bitrate = m_totalSamples > 0
        ? int32_t(qMin<int64_t>(QFileInfo(file).size() * 8 * m_rate / m_totalSamples, INT32_MAX))
        : 0;
    // The largest block (65535 samples of 8 channels) fits without growing.
    m_pcm.reserve(65535 * 8 * 2);
    return true;
}

void FlacDecoder::close()
{
    if (m_decoder) {
        FLAC__stream_decoder_finish(decoderOf(m_decoder)); // closes the file too
        FLAC__stream_decoder_delete(decoderOf(m_decoder));
        m_decoder = nullptr;
    }
    m_pcm.clear();
    m_pcmStart = 0;
    m_rate = m_channels = m_bits = 0;
    m_totalSamples = m_samplesOut = 0;
    m_ended = false;
}

void FlacDecoder::take(unsigned channels, unsigned samples, int bits, const int32_t* const buffer[])
{
    // A frame that contradicts the stream's own description is not played: the device
    // was set up for that.
    if (int(channels) != m_channels || bits != m_bits) {
        m_ended = true;
        return;
    }
    if (m_pcmStart > 0 && m_pcmStart == m_pcm.size()) {
        m_pcm.clear();
        m_pcmStart = 0;
    }
    const size_t at = m_pcm.size();
    m_pcm.resize(at + size_t(samples) * channels * 2);
    auto* out = reinterpret_cast<uint8_t*>(m_pcm.data() + at);
    const int shift = bits - 16;
    for (unsigned i = 0; i < samples; ++i) {
        for (unsigned c = 0; c < channels; ++c) {
            int64_t v = buffer[c][i];
            if (shift > 0) {
                // To the nearest, halves away from zero: the same for either sign.
                const int64_t half = int64_t(1) << (shift - 1);
                v = v >= 0 ? (v + half) >> shift : -((-v + half) >> shift);
            } else if (shift < 0)
                v = v * (int64_t(1) << -shift);
            v = qBound<int64_t>(-32768, v, int64_t(32767));
            *out++ = uint8_t(v);
            *out++ = uint8_t(uint16_t(v) >> 8);
        }
    }
}

void FlacDecoder::fillPlayInfo(PlayInfo* info) const
{
    if (!info)
        return;
    info->channels = m_channels;
    info->rate = m_rate;
    info->bitrate = m_bitrate;
    info->length = m_rate ? int32_t(m_totalSamples / m_rate) : 0;
    info->range = info->length;
    info->position = m_rate ? int32_t(m_samplesOut / m_rate) : 0;
}

bool FlacDecoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    *produced = 0;
    if (!m_decoder) {
        fillPlayInfo(info);
        return false;
    }
    const size_t frameBytes = size_t(m_channels) * 2;
    const size_t wanted = size_t(size) / frameBytes * frameBytes;
    while (m_pcm.size() - m_pcmStart < wanted && !m_ended) {
        const FLAC__StreamDecoderState state = FLAC__stream_decoder_get_state(decoderOf(m_decoder));
        if (state == FLAC__STREAM_DECODER_END_OF_STREAM || state >= FLAC__STREAM_DECODER_OGG_ERROR)
            break;
        if (!FLAC__stream_decoder_process_single(decoderOf(m_decoder)))
            break;
    }
    const size_t n = qMin(wanted, m_pcm.size() - m_pcmStart);
    std::memcpy(buffer, m_pcm.data() + m_pcmStart, n);
    m_pcmStart += n;
    m_samplesOut += int64_t(n / frameBytes);
    *produced = int(n);
    fillPlayInfo(info);
    return n > 0;
}

int64_t FlacDecoder::seek(int seconds)
{
    if (!m_decoder || m_rate <= 0)
        return -1;
    int64_t sample = int64_t(qMax(0, seconds)) * m_rate;
    if (m_totalSamples > 0)
        sample = qMin(sample, m_totalSamples);
    // What libFLAC delivers while it seeks is the target frame from the target on.
    m_pcm.clear();
    m_pcmStart = 0;
    m_ended = false;
    if (m_totalSamples > 0 && sample >= m_totalSamples) {
        m_samplesOut = m_totalSamples; // at the end: nothing more to hear
        m_ended = true;
    } else if (!FLAC__stream_decoder_seek_absolute(decoderOf(m_decoder), FLAC__uint64(sample))) {
        // A failed seek leaves the decoder needing a flush; the track goes on from there.
        FLAC__stream_decoder_flush(decoderOf(m_decoder));
        m_pcm.clear();
        return -1;
    } else {
        m_samplesOut = sample;
    }
    return m_samplesOut * m_channels * 2;
}
