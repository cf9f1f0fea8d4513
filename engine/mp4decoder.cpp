#include "mp4decoder.h"

#include "aacdecoder.h"
#include "audioinfo.h"
#include "mp4atoms.h"
#include "mp4sampletable.h"
#include "playinfo.h"
#include "replaygain.h"
#include "regularfile.h"

#include <QFile>

#include <cstring>
#include <limits>

namespace {
constexpr int PcmBufferSize = 65536;
// An ADTS frame is at most 8191 bytes, header included.
constexpr int FrameBufferSize = 8192;
constexpr int AdtsHeaderSize = 7;
// PCM frame positions are capped here, so that byte positions (frames times frame
// bytes) and sums of them cannot overflow on a crafted duration; 2^40 frames are years.
constexpr int64_t MaxPcmFrames = int64_t(1) << 40;

} // namespace

using Mp4SampleTable::scaled;

struct Mp4Decoder::State
{
    QFile file;
    Mp4SampleTable::Track table;
    char pcm[PcmBufferSize];
    int buffered = 0;
    std::unique_ptr<AACDecoder> proxy;

    Mp4Atoms::AudioConfig config;
    int next = 0;                // the next frame to hand over
    bool inputEnded = false;     // no more frames will be handed over
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

    bool isOpen() const { return file.isOpen(); }
    int64_t ticksToFrames(int64_t ticks) const
    {
        return qBound<int64_t>(0, scaled(ticks, config.rate, timescale), MaxPcmFrames);
    }
    int64_t framesToTicks(int64_t frames) const { return scaled(frames, timescale, config.rate); }
    // PCM samples per channel that one frame decodes to.
    int samplesPerFrame() const { return config.frameLength * (config.sbr ? 2 : 1); }

    // Puts frame i, with its ADTS header, into frame; its whole length, 0 when it cannot
    // be carried in ADTS (then it stands for a frame of silence), -1 on a read error.
    int readFrame(int i);
    void silence();
    void receive(const char* pcmStart, int bytes);
};

int Mp4Decoder::State::readFrame(int i)
{
    const int raw = int(table.size[size_t(i)]);
    if (raw <= 0 || raw > FrameBufferSize - AdtsHeaderSize
        || !Mp4Atoms::makeAdtsHeader(config, raw, frame))
        return 0;
    if (!file.seek(table.offset[size_t(i)])
        || file.read(reinterpret_cast<char*>(frame + AdtsHeaderSize), raw) != raw)
        return -1;
    return raw + AdtsHeaderSize;
}

// A frame that cannot be handed over still takes its time: one frame of silence keeps
// the track in step.
void Mp4Decoder::State::silence()
{
    const int bytes = qMin(samplesPerFrame() * frameBytes, PcmBufferSize - buffered);
    std::memset(pcm + buffered, 0, size_t(bytes));
    receive(pcm + buffered, bytes);
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
    qDebug("open %s", QFile::encodeName(file).constData());
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
        for (const auto& [name, value] : summary.tags.freeform)
            ReplayGain::takeTag(name, value, info);
        info->isUtf8 = 1;
        return true;
    }

    State& s = *d;
    s.file.setFileName(file);
    QByteArray why;
    if (!RegularFile::open(s.file) || !Mp4SampleTable::read(&s.file, s.file.size(), &s.table, &why)) {
        qDebug("open %s: %s", QFile::encodeName(file).constData(), why.isEmpty() ? "cannot open" : why.constData());
        close();
        return false;
    }
    const QByteArray& asc = s.table.decoderConfig;
    if (!Mp4Atoms::parseAudioSpecificConfig(reinterpret_cast<const uint8_t*>(asc.constData()), size_t(asc.size()),
                                            &s.config)
        || !Mp4Atoms::adtsCapable(s.config) || !Decoder::formatSupported(s.config.rate, s.config.channels)) {
        qDebug("open %s: no AAC track that can be decoded", QFile::encodeName(file).constData());
        close();
        return false;
    }
    if (s.table.truncated)
        qDebug("open %s: the media data is cut short; playing the %d whole frames", QFile::encodeName(file).constData(),
               s.table.frames());

    s.timescale = s.table.timescale;
    s.frameBytes = s.config.channels * 2;

    // Encoder priming and end padding: the first edit that shows media says which part of
    // the decoded stream is the track.
    const int64_t totalFrames = s.ticksToFrames(s.table.endTime());
    s.trimStart = 0;
    s.trimEnd = totalFrames;
    if (s.table.editStart >= 0) {
        const int64_t first = s.ticksToFrames(s.table.editStart);
        if (first < totalFrames) {
            s.trimStart = first;
            if (s.table.editDuration > 0)
                s.trimEnd = qMin(totalFrames, first + s.ticksToFrames(s.table.editDuration));
        }
    }
    s.keepFrom = s.trimStart;
    s.receivedBytes = 0;
    s.deliveredBytes = 0;
    s.buffered = 0;
    s.next = 0;
    s.inputEnded = false;

    const int64_t frames = s.trimEnd - s.trimStart;
    s.length = int32_t(qMin<int64_t>(frames / s.config.rate, std::numeric_limits<int32_t>::max()));
    int64_t mediaBytes = 0;
    for (uint32_t bytes : s.table.size)
        mediaBytes += bytes;
    s.bitrate = frames > 0 ? int32_t(qMin<int64_t>(scaled(mediaBytes * 8, s.config.rate, frames),
                                                   std::numeric_limits<int32_t>::max()))
                           : 0;

    s.proxy.reset(new AACDecoder);
    s.proxy->setOutputFormat(s.config.channels, s.config.sbr);
    s.proxy->init();
    return true;
}

void Mp4Decoder::close()
{
    d->file.close();
    d->table = Mp4SampleTable::Track();
    if (d->proxy) {
        d->proxy->close();
        d->proxy.reset();
    }
    d->buffered = 0;
}

int64_t Mp4Decoder::seek(int seconds)
{
    State& s = *d;
    if (!s.isOpen() || s.frameBytes <= 0 || s.config.rate <= 0)
        return -1;
    seconds = qBound(0, seconds, s.length);
    const int64_t target = s.trimStart + int64_t(seconds) * s.config.rate;
    const int64_t targetTick = s.framesToTicks(target);

    // Start one frame early: the decoder's first frame only primes it, so the frame that
    // holds the target comes out whole.
    if (targetTick >= s.table.endTime()) {
        s.next = s.table.frames();
    } else {
        s.next = qMax(0, s.table.frameAt(targetTick) - 1);
    }
    s.inputEnded = s.next >= s.table.frames();

    // The program starts afresh at that frame; what it and we held belongs to the old
    // position.
    s.buffered = 0;
    s.receivedBytes = s.inputEnded ? target * s.frameBytes
                                   : s.ticksToFrames(s.table.time[size_t(s.next)]) * s.frameBytes;
    s.keepFrom = target;
    s.deliveredBytes = int64_t(seconds) * s.config.rate * s.frameBytes;
    if (s.proxy) {
        s.proxy->close();
        s.proxy->init();
    }
    return s.deliveredBytes;
}

bool Mp4Decoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    State& s = *d;
    *produced = 0;

    while (s.isOpen() && s.proxy && size > 0) {
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
        if (s.inputEnded || s.next >= s.table.frames()) {
            s.inputEnded = true;
            if (s.proxy->process() > 0) {
                // The program holds the last frame's PCM until it is asked for it.
                s.proxy->drain(s.pcm + s.buffered, &got, PcmBufferSize - s.buffered);
                s.proxy->close();
                s.receive(s.pcm + s.buffered, got);
                continue;
            }
            break;
        }
        const int length = s.readFrame(s.next++);
        if (length < 0) {
            qDebug("aac frame %d cannot be read", s.next - 1);
            s.inputEnded = true;
            continue;
        }
        if (length == 0) {
            qDebug("aac frame %d of %u bytes cannot be carried", s.next - 1, s.table.size[size_t(s.next - 1)]);
            s.silence();
            continue;
        }
        s.proxy->decode(s.pcm + s.buffered, &got, reinterpret_cast<const char*>(s.frame), length,
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
