#include "mp4decoder.h"

#include "aacdecoder.h"
#include "audioinfo.h"
#include "mp4atoms.h"
#include "playinfo.h"

#include <QFile>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

extern "C" {
#include <lqt/lqt.h>
#include <lqt/quicktime.h>
#include <lqt/compression.h>
}

namespace {
constexpr int PcmBufferSize = 65536;
// An ADTS frame is at most 8191 bytes, header included.
constexpr int FrameBufferSize = 8192;

void logMessage(lqt_log_level_t, const char* domain, const char* message, void*)
{
    qDebug("libquicktime %s: %s", domain ? domain : "", message ? message : "");
}

// Set-up before the first use of libquicktime: it looks for its settings below $HOME
// and waits forever without one, and it writes its complaints to stderr unless given a
// log of ours.
void prepareLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            ::setenv("HOME", pw && pw->pw_dir && *pw->pw_dir ? pw->pw_dir : "/tmp", 0);
        }
        lqt_set_log_callback(logMessage, nullptr);
    });
}
} // namespace

struct Mp4Decoder::State
{
    quicktime_t* container = nullptr;
    int track = 0;
    char pcm[PcmBufferSize];
    int buffered = 0;
    std::unique_ptr<AACDecoder> proxy;
    bool firstCall = false;

    QByteArray path; // local 8-bit, for reopening on a backward seek
    Mp4Atoms::AudioConfig config;
    lqt_packet_t packet;
    bool pending = false;        // packet holds a frame not yet handed over
    bool inputEnded = false;     // no more frames will be handed over
    int64_t packetsRead = 0;
    int64_t lastTimestamp = -1;
    int64_t totalTicks = 0;      // track duration in its own time units
    int64_t timescale = 0;       // time units per second
    uint8_t frame[FrameBufferSize];

    int frameBytes = 0;          // bytes of one PCM frame (all channels)
    int64_t trimStart = 0;       // first PCM frame of the track proper (after priming)
    int64_t trimEnd = 0;         // PCM frame after its last one
    int64_t keepFrom = 0;        // PCM frames before this one are dropped (trim, seek)
    int64_t receivedBytes = 0;   // PCM timeline position of the next byte from the program
    int64_t deliveredBytes = 0;  // bytes of the track proper handed out, from its start
    int32_t length = 0;
    int32_t bitrate = 0;

    State() { std::memset(&packet, 0, sizeof packet); }
    ~State() { lqt_packet_free(&packet); }

    int64_t ticksToFrames(int64_t ticks) const
    {
        return timescale > 0 ? ticks * config.rate / timescale : ticks;
    }
    int64_t framesToTicks(int64_t frames) const
    {
        return config.rate > 0 ? frames * timescale / config.rate : frames;
    }

    bool openContainer();
    void closeContainer();
    bool readPacket();
    void receive(const char* pcmStart, int bytes);
};

bool Mp4Decoder::State::openContainer()
{
    container = quicktime_open(path.constData(), 1, 0);
    if (!container)
        return false;
    pending = false;
    inputEnded = false;
    packetsRead = 0;
    lastTimestamp = -1;
    return true;
}

void Mp4Decoder::State::closeContainer()
{
    if (container)
        quicktime_close(container);
    container = nullptr;
    pending = false;
}

// Reads the next frame into packet (pending); false at the end of the track. The packet
// reader wraps to the first frame after the last one, so the end is judged by the
// timestamps as well as by the result: they must keep rising and stay inside the track.
bool Mp4Decoder::State::readPacket()
{
    if (pending)
        return true;
    if (!container || inputEnded)
        return false;
    if (!lqt_read_audio_packet(container, &packet, track)) {
        inputEnded = true;
        return false;
    }
    if (packet.timestamp <= lastTimestamp || (totalTicks > 0 && packet.timestamp >= totalTicks)) {
        inputEnded = true;
        return false;
    }
    lastTimestamp = packet.timestamp;
    ++packetsRead;
    pending = true;
    return true;
}

// Takes bytes of PCM that the program returned into pcm + buffered, keeping only the part
// inside the track proper and after the last seek target.
void Mp4Decoder::State::receive(const char* pcmStart, int bytes)
{
    const int64_t from = receivedBytes;
    const int64_t to = receivedBytes + bytes;
    receivedBytes = to;
    const int64_t keepStart = qMax(from, keepFrom * frameBytes);
    const int64_t keepEnd = qMin(to, trimEnd * frameBytes);
    if (keepEnd > keepStart) {
        const int n = static_cast<int>(keepEnd - keepStart);
        std::memmove(pcm + buffered, pcmStart + (keepStart - from), static_cast<size_t>(n));
        buffered += n;
    }
    if (receivedBytes >= trimEnd * frameBytes)
        inputEnded = true;
}

Mp4Decoder::Mp4Decoder() : d(new State) {}

Mp4Decoder::~Mp4Decoder()
{
    close();
}

QString Mp4Decoder::mimeType() const
{
    return QStringLiteral("audio/quicktime");
}

bool Mp4Decoder::open(const QString& file, AudioInfo* info)
{
    const QByteArray path = QFile::encodeName(file);
    qDebug("open %s", path.constData());
    close();

    if (info) {
        // Track information stays cheap: headers and user data only, no decoder.
        Mp4Atoms::FileSummary summary;
        if (!Mp4Atoms::readFileSummary(file, &summary))
            return false;
        AudioInfo::setText(info->title, summary.tags.name);
        AudioInfo::setText(info->artist, summary.tags.artist);
        AudioInfo::setText(info->album, summary.tags.album);
        info->track = summary.tags.track;
        info->year = summary.tags.year;
        info->isUtf8 = 1;
        return true;
    }

    prepareLibrary();
    d->path = path;
    if (!d->openContainer())
        return false;
    d->track = 0;
    const lqt_compression_info_t* ci = quicktime_audio_tracks(d->container) > 0
        ? lqt_get_audio_compression_info(d->container, d->track) : nullptr;
    if (!ci || ci->id != LQT_COMPRESSION_AAC
        || !Mp4Atoms::parseAudioSpecificConfig(ci->global_header, size_t(qMax(ci->global_header_len, 0)), &d->config)
        || !Mp4Atoms::adtsCapable(d->config)) {
        qDebug("open %s: no AAC track that can be decoded", path.constData());
        d->closeContainer();
        return false;
    }

    // The track's time units, judged from the first frame: one frame is frameLength
    // samples of the core stream (twice that after SBR).
    d->totalTicks = quicktime_audio_length(d->container, d->track);
    d->timescale = d->config.rate;
    if (d->readPacket() && d->packet.duration > 0) {
        const int64_t samplesPerFrame = int64_t(d->config.frameLength) * (d->config.sbr ? 2 : 1);
        d->timescale = int64_t(d->packet.duration) * d->config.rate / samplesPerFrame;
        if (d->timescale <= 0)
            d->timescale = d->config.rate;
    }
    d->frameBytes = d->config.channels * 2;

    // Encoder priming and end padding: the first edit that shows media says which part of
    // the decoded stream is the track.
    const int64_t totalFrames = d->ticksToFrames(d->totalTicks);
    d->trimStart = 0;
    d->trimEnd = totalFrames;
    const long edits = lqt_audio_edit_list_total_entries(d->container, d->track);
    for (long i = 0; i < edits; ++i) {
        const long start = lqt_audio_edit_time(d->container, d->track, int(i));
        const long duration = lqt_audio_edit_duration(d->container, d->track, int(i));
        if (start < 0)
            continue; // an empty edit: silence before the media, nothing to cut
        const int64_t first = d->ticksToFrames(start);
        if (first < totalFrames) {
            d->trimStart = first;
            if (duration > 0)
                d->trimEnd = qMin(totalFrames, first + d->ticksToFrames(duration));
        }
        break;
    }
    d->keepFrom = d->trimStart;
    d->receivedBytes = 0;
    d->deliveredBytes = 0;
    d->buffered = 0;

    const int64_t frames = d->trimEnd - d->trimStart;
    d->length = d->config.rate > 0 ? int32_t(frames / d->config.rate) : 0;
    d->bitrate = 0;
    Mp4Atoms::FileSummary summary;
    if (frames > 0 && Mp4Atoms::readFileSummary(file, &summary) && summary.mediaBytes > 0)
        d->bitrate = int32_t(summary.mediaBytes * 8 * d->config.rate / frames);

    d->proxy.reset(new AACDecoder);
    d->proxy->setOutputFormat(d->config.channels, d->config.sbr);
    d->proxy->init();
    d->firstCall = true;
    return true;
}

void Mp4Decoder::close()
{
    d->closeContainer();
    if (d->proxy) {
        d->proxy->close();
        d->proxy.reset();
    }
    d->buffered = 0;
}

int64_t Mp4Decoder::seek(int seconds)
{
    if (!d->container || d->frameBytes <= 0 || d->config.rate <= 0)
        return -1;
    seconds = qBound(0, seconds, d->length);
    const int64_t target = d->trimStart + int64_t(seconds) * d->config.rate;
    const int64_t targetTick = d->framesToTicks(target);

    // The packet reader only goes forward: going back means reading from the start.
    const bool ahead = d->pending ? d->packet.timestamp <= targetTick
                                  : d->lastTimestamp >= 0 && d->lastTimestamp < targetTick;
    if (!ahead || d->inputEnded) {
        d->closeContainer();
        if (!d->openContainer())
            return -1;
    }
    // Stop one frame early: the decoder's first frame only primes it, so the frame that
    // holds the target comes out whole.
    while (d->readPacket() && d->packet.timestamp + 2 * int64_t(d->packet.duration) <= targetTick)
        d->pending = false;

    // The program starts afresh at the frame holding the target; what it and we held
    // belongs to the old position.
    d->buffered = 0;
    d->receivedBytes = d->pending ? d->ticksToFrames(d->packet.timestamp) * d->frameBytes : target * d->frameBytes;
    d->keepFrom = target;
    d->deliveredBytes = int64_t(seconds) * d->config.rate * d->frameBytes;
    if (d->proxy) {
        d->proxy->close();
        d->proxy->init();
    }
    return d->deliveredBytes;
}

bool Mp4Decoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    State& s = *d;
    s.firstCall = false;
    *produced = 0;

    while (s.container && s.proxy && size > 0) {
        const int n = qMin(size, s.buffered);
        if (n > 0) {
            std::memcpy(buffer + *produced, s.pcm, static_cast<size_t>(n));
            std::memmove(s.pcm, s.pcm + n, static_cast<size_t>(s.buffered - n));
            *produced += n;
            s.buffered -= n;
            size -= n;
            s.deliveredBytes += n;
        }
        if (size == 0)
            break;
        if (s.proxy->finished())
            break; // the decoder program gave up or is gone: nothing more will come
        int got = 0;
        if (!s.readPacket()) {
            if (s.inputEnded && s.proxy->process() > 0) {
                // The program holds the last frame's PCM until it is asked for it.
                s.proxy->drain(s.pcm + s.buffered, &got, PcmBufferSize - s.buffered);
                s.proxy->close();
                s.receive(s.pcm + s.buffered, got);
                continue;
            }
            break;
        }
        const int raw = s.packet.data_len - s.packet.header_size;
        s.pending = false;
        if (raw <= 0)
            continue;
        if (raw > FrameBufferSize - 7) {
            qDebug("aac frame of %d bytes is too large", raw);
            s.inputEnded = true;
            continue;
        }
        Mp4Atoms::makeAdtsHeader(s.config, raw, s.frame);
        std::memcpy(s.frame + 7, s.packet.data + s.packet.header_size, static_cast<size_t>(raw));
        s.proxy->decode(s.pcm + s.buffered, &got, reinterpret_cast<const char*>(s.frame), raw + 7,
                        PcmBufferSize - s.buffered);
        s.receive(s.pcm + s.buffered, got);
    }

    if (info) {
        info->channels = s.config.channels;
        info->rate = s.config.rate;
        info->bitrate = s.bitrate;
        info->length = s.length;
        info->range = s.length;
        const int64_t perSecond = int64_t(s.config.rate) * s.frameBytes;
        info->position = perSecond > 0 ? int32_t(s.deliveredBytes / perSecond) : 0;
    }
    return *produced > 0;
}
