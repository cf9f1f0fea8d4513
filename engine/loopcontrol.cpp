#include "loopcontrol.h"

#include "audioinfo.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "mimetype.h"
#include "qcop.h"
#include "vraudiodevice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTimerEvent>

#include <chrono>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// The worker's report that a track ended; carries the generation it belongs to.
class EndOfTrack : public QEvent
{
public:
    explicit EndOfTrack(uint32_t generation)
        : QEvent(QEvent::Type(LoopControl::EndOfTrackEvent)), generation(generation) {}
    const uint32_t generation;
};

// The worker went on with the next file without a gap; its record goes to the GUI thread.
class TrackAdvanced : public QEvent
{
public:
    TrackAdvanced(uint32_t generation, AudioInfo* info, const QString& file)
        : QEvent(QEvent::Type(LoopControl::TrackAdvancedEvent)), generation(generation), info(info), file(file) {}
    const uint32_t generation;
    std::unique_ptr<AudioInfo> info;
    const QString file;
};

// The first block of a track was decoded: its rate and bit rate can be shown at once,
// without waiting for the once-a-second position.
class StreamKnown : public QEvent
{
public:
    explicit StreamKnown(uint32_t generation)
        : QEvent(QEvent::Type(LoopControl::StreamKnownEvent)), generation(generation) {}
    const uint32_t generation;
};

class OutputProblem : public QEvent
{
public:
    explicit OutputProblem(const QString& message)
        : QEvent(QEvent::Type(LoopControl::OutputProblemEvent)), message(message) {}
    const QString message;
};

const QString SystemChannel = QStringLiteral("QPE/System");
// While the device plays out the end of the list, how often the worker looks.
constexpr int PlayOutSliceMs = 50;
// Output gathered before a write while the analyzer is not shown (an ALSA period): a sound
// server and its client thread then wake five times a second instead of at every
// 2048-byte block.
constexpr int GatherMs = 200;
constexpr int WatchedQueueMs = 250;

} // namespace

LoopControl::LoopControl(QObject* parent)
    : QObject(parent)
{
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::memset(m_pcmBuffer, 0, sizeof m_pcmBuffer);
    std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
    stop();
    m_pendingSeek = -1;
    m_quit = false;
    m_worker = std::thread([this] { workerLoop(); });
}

LoopControl::~LoopControl()
{
    stop();
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        m_quit = true;
        interruptDevice();
    }
    m_wake.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void LoopControl::interruptDevice()
{
    m_interrupt = true;
    if (m_wakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
}

Decoder* LoopControl::playbackDecoderFor(const QString& file)
{
    // Kept between tracks of the same type; closed and reopened, not recreated.
    const QString mime = MimeType(file).id();
    if (!m_decoder || m_decoder->mimeType() != mime)
        m_decoder.reset(createDecoder(mime));
    return m_decoder.get();
}

Decoder* LoopControl::decoderFor(const QString& file)
{
    // Keyed by the file's type, so types without a decoder of their own (which get the
    // MP3 decoder) keep theirs too instead of making a new one each time.
    const QString mime = MimeType(file).id();
    std::unique_ptr<Decoder>& slot = m_infoDecoders[mime];
    if (!slot)
        slot.reset(createDecoder(mime));
    return slot.get();
}

bool LoopControl::open(const QString& file)
{
    stop();
    if (!QFileInfo::exists(file))
        return false;

    std::unique_ptr<AudioInfo> info;
    bool ok = false;
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        m_bytesPlayed = 0;
        m_queuedMs = 0;
        ++m_generation;
        Decoder* decoder = playbackDecoderFor(file);
        info.reset(readTrackInfo(decoder, file));
        ok = info && decoder->open(file, nullptr);
        m_trackOpen = ok;
        m_decoderOpen = ok;
        m_streamKnown = false;
        if (ok)
            takeGains(*info);
    }
    if (ok) {
        m_currentFile = file;
        emit setTrackDescription(info.get());
    }
    return ok;
}

void LoopControl::takeGains(const AudioInfo& info)
{
    m_trackGains.gains = info.gains;
    m_trackGains.trackGain = info.trackGain;
    m_trackGains.albumGain = info.albumGain;
    m_trackGains.trackPeak = info.trackPeak;
    m_trackGains.albumPeak = info.albumPeak;
    m_gainFactor = ReplayGain::factor(m_trackGains, m_gainOptions);
}

void LoopControl::setReplayGain(const ReplayGain::Options& options)
{
    std::lock_guard<std::mutex> lock(m_decoderLock);
    m_gainOptions = options;
    m_gainFactor = ReplayGain::factor(m_trackGains, m_gainOptions);
}

int32_t LoopControl::gainFactor() const
{
    std::lock_guard<std::mutex> lock(m_decoderLock);
    return m_gainFactor;
}

void LoopControl::setNext(const QString& file)
{
    std::lock_guard<std::mutex> lock(m_decoderLock);
    m_nextFile = file;
}

void LoopControl::play()
{
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        std::memset(m_pcmBuffer, 0, sizeof m_pcmBuffer);
        std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
    }
    resume();
    emit stateChanged(Playing);
}

void LoopControl::stop()
{
    halt();
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        ++m_generation; // an end of track reported before this stop is no longer ours
        std::memset(m_pcmBuffer, 0, sizeof m_pcmBuffer);
        std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
        // The worker drops what the device holds and closes it; a write waiting for room
        // gives up at once.
        m_closeDevice = true;
        m_pauseDevice = -1;
        interruptDevice();
        m_carryLength = 0;
        m_ended = false;
        m_trackOpen = false;
        m_decoderOpen = false;
        m_nextFile.clear();
        if (m_decoder)
            m_decoder->close();
        m_playInfo = PlayInfo();
    }
    m_wake.notify_all();
    { std::lock_guard<std::mutex> gate(m_writeGate); }
    m_currentFile.clear();
    m_shownInfo = PlayInfo();
    emit stateChanged(Stopped);
}

void LoopControl::setPaused(bool paused)
{
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        std::memset(m_pcmBuffer, 0, sizeof m_pcmBuffer);
        std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
        // Silence at once: the device is paused, not left to play what it holds.
        m_pauseDevice = paused ? 1 : 0;
        if (paused)
            interruptDevice();
    }
    if (paused)
        halt();
    else
        resume();
    m_wake.notify_all();
    emit stateChanged(paused ? Paused : Resumed);
}

void LoopControl::seek(int seconds)
{
    m_pendingSeek = seconds;
}

void LoopControl::halt()
{
    if (m_timer) {
        killTimer(m_timer);
        m_timer = 0;
    }
    m_playing = false;
    postDisplayControl(true);
}

void LoopControl::resume()
{
    if (!m_timer)
        m_timer = startTimer(1000);
    m_playing = true;
    m_wake.notify_all();
    postDisplayControl(false);
}

void LoopControl::postDisplayControl(bool stopped)
{
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(DisplayControlEvent)));
    m_wantedStopped = stopped;
}

void LoopControl::setDisplayOptions(bool backlightOff, bool displayOff)
{
    m_backlightOff = backlightOff;
    m_displayOff = displayOff;
}

void LoopControl::handleDisplayControl()
{
    const bool stopped = m_wantedStopped;
    if (stopped == m_lastStopped)
        return;
    m_lastStopped = stopped;
    {
        QCopEnvelope e(SystemChannel, "setScreenSaverMode(int)");
        e << qint32(stopped ? 100 : 2);
    }
    if (stopped) {
        if (m_backlightOff || m_displayOff) {
            QCopEnvelope e(SystemChannel, "setBacklight(int)");
            e << qint32(-3);
        }
        return;
    }
    if (m_displayOff) {
        QCopEnvelope e(SystemChannel, "setBacklight(int)");
        e << qint32(-5);
    }
    if (m_backlightOff) {
        QCopEnvelope e(SystemChannel, "setBacklight(int)");
        e << qint32(0);
    }
}

bool LoopControl::event(QEvent* e)
{
    switch (int(e->type())) {
    case DisplayControlEvent:
        handleDisplayControl();
        return true;
    case EndOfTrackEvent:
        // Dropped when a stop or open has already ended that track.
        if (static_cast<EndOfTrack*>(e)->generation == m_generation) {
            stop();
            emit finished();
        }
        return true;
    case TrackAdvancedEvent: {
        auto* advanced = static_cast<TrackAdvanced*>(e);
        if (advanced->generation == m_generation) {
            m_currentFile = advanced->file;
            emit setTrackDescription(advanced->info.get());
            m_continuedWith = advanced->file;
            emit finished();
            m_continuedWith.clear();
        }
        return true;
    }
    case OutputProblemEvent:
        emit outputProblem(static_cast<OutputProblem*>(e)->message);
        return true;
    case StreamKnownEvent:
        if (static_cast<StreamKnown*>(e)->generation == m_generation)
            showPosition();
        return true;
    default:
        return QObject::event(e);
    }
}

void LoopControl::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_timer)
        return QObject::timerEvent(e);
    showPosition();
}

void LoopControl::showPosition()
{
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        m_shownInfo = m_playInfo;
    }
    if (m_shownInfo.rate && m_shownInfo.channels)
        emit positionChanged(int(heardMs(m_shownInfo.rate, m_shownInfo.channels) / 1000), &m_shownInfo);
}

int64_t LoopControl::positionMs() const
{
    int rate, channels;
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        rate = m_playInfo.rate;
        channels = m_playInfo.channels;
    }
    if (!rate || !channels)
        return 0;
    return heardMs(rate, channels);
}

int64_t LoopControl::heardMs(int rate, int channels) const
{
    // What the device still holds is not heard yet: the time shown, a bookmark and "Prev
    // within five seconds" go by what the user hears.
    return qMax<int64_t>(0, m_bytesPlayed * 1000 / rate / channels / 2 - m_queuedMs);
}

void LoopControl::workerLoop()
{
    std::unique_lock<std::mutex> lock(m_decoderLock);
    while (!m_quit) {
        applyDeviceRequests();
        if (!m_playing || !m_trackOpen) {
            // Nothing to play: sleep until there is, without waking on a timer.
            m_wake.wait(lock, [this] { return m_quit || hasDeviceRequest() || (m_playing && m_trackOpen); });
            continue;
        }
        lock.unlock();
        const int waitMs = decodeStep();
        lock.lock();
        if (waitMs > 0) {
            m_wake.wait_for(lock, std::chrono::milliseconds(waitMs),
                            [this] { return m_quit || hasDeviceRequest() || !m_playing; });
        }
    }
    m_device.reset();
}

void LoopControl::applyDeviceRequests()
{
    if (m_interrupt.exchange(false) && m_wakeFd >= 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &count, sizeof count);
    }
    if (m_closeDevice) {
        m_closeDevice = false;
        m_device.reset();
    }
    if (m_pauseDevice >= 0) {
        if (m_device)
            m_device->setPaused(m_pauseDevice == 1);
        m_pauseDevice = -1;
    }
}

bool LoopControl::goOnWithNext(uint32_t generation)
{
    if (m_nextFile.isEmpty())
        return false;
    const QString next = m_nextFile;
    m_nextFile.clear();
    m_decoder->close();
    Decoder* decoder = playbackDecoderFor(next);
    std::unique_ptr<AudioInfo> info(QFileInfo::exists(next) ? readTrackInfo(decoder, next) : nullptr);
    if (!info || !decoder->open(next, nullptr)) {
        // The window tries it again the usual way and sees what is wrong with it.
        qDebug("+ cannot go on with %s", QFile::encodeName(next).constData());
        m_decoderOpen = false;
        return false;
    }
    m_decoderOpen = true;
    m_streamKnown = false;
    m_bytesPlayed = 0;
    takeGains(*info);
    QCoreApplication::postEvent(this, new TrackAdvanced(generation, info.release(), next));
    return true;
}

void LoopControl::playOut()
{
    m_device->start(&m_interrupt);
    while (!m_interrupt) {
        const int pending = m_device->pendingMs();
        if (pending <= 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin(pending, 20)));
    }
}

void LoopControl::reportProblem()
{
    const QString problem = m_device->takeProblem();
    if (!problem.isEmpty())
        QCoreApplication::postEvent(this, new OutputProblem(problem));
}

int LoopControl::decodeStep()
{
    uint32_t generation;
    char block[BlockSize];
    int length = 0;
    int rate = 0, channels = 0;
    bool dropQueued = false;
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        // stop() or open() may have run since the check outside the lock.
        if (!m_playing || !m_trackOpen || hasDeviceRequest())
            return 0;
        generation = m_generation;
        const int target = m_decoderOpen ? m_pendingSeek.exchange(-1) : -1;
        if (target != -1) {
            const int64_t bytes = m_decoder->seek(target);
            if (bytes != -1)
                m_bytesPlayed = bytes;
            m_queuedMs = 0;
            // What the device holds, and the rest of a block, belong to the old place.
            dropQueued = true;
            m_carryLength = 0;
            m_ended = false;
        }
        if (m_carryLength > 0) {
            length = m_carryLength;
            std::memcpy(block, m_carry, size_t(length));
            rate = m_carryRate;
            channels = m_carryChannels;
            m_carryLength = 0;
        } else if (m_ended) {
            ended = true;
        } else {
            int produced = 0;
            if (m_decoderOpen)
                m_decoder->decode(m_pcmBuffer, BlockSize, &produced, &m_playInfo);
            std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
            if (produced <= 0) {
                // The end of the track: on with the next file, or play out what is left.
                if (!goOnWithNext(generation))
                    m_ended = true;
                return 0;
            }
            length = qMin(produced, int(BlockSize));
            // Loudness first: the device and the analyzer get what is heard.
            ReplayGain::apply(m_pcmBuffer, length, m_gainFactor);
            std::memcpy(m_analyzerBuffer, m_pcmBuffer, size_t(length));
            std::memcpy(block, m_pcmBuffer, size_t(length));
            // The volume the program sets where no mixer does: like a mixer's, it leaves
            // the analyzer alone.
            ReplayGain::apply(block, length, VRAudioDevice::softwareFactor());
            rate = m_playInfo.rate;
            channels = m_playInfo.channels;
            if (!m_streamKnown) {
                m_streamKnown = true;
                QCoreApplication::postEvent(this, new StreamKnown(generation));
            }
        }
    }

    // The device is the worker's: opened, written, replaced here, never under the decoder
    // lock, which the GUI thread takes for the position and the analyzer.
    if (ended) {
        // The decoder is done and nothing follows: the end is reported once the device has
        // played what it holds (a stream that waits for more is started first).
        int pending = 0;
        if (m_device) {
            m_device->start(&m_interrupt);
            pending = m_device->pendingMs();
        }
        m_queuedMs = pending;
        if (pending > 0)
            return qMin(pending, PlayOutSliceMs);
        std::lock_guard<std::mutex> lock(m_decoderLock);
        if (generation == m_generation && m_ended) {
            m_ended = false;
            m_playing = false;
            QCoreApplication::postEvent(this, new EndOfTrack(generation));
        }
        return 0;
    }
    if (!m_device) {
        m_device = std::make_unique<VRAudioDevice>(rate, channels, false);
    } else if (dropQueued) {
        m_device->drop();
    } else if (m_device->rate() != rate || m_device->channels() != channels) {
        // A new format after the change to the next track: what is queued in the old one
        // plays first.
        playOut();
    }
    m_device->configure(rate, channels);
    // The analyzer shows the last block written: while it is on screen the output gets every
    // block at once and queues no more than it shows ahead of the sound.
    const bool watched = m_analyzerWatched;
    m_device->setGatherMs(watched ? 0 : GatherMs);
    m_device->setQueueLimitMs(watched ? WatchedQueueMs : 0);
    int written = 0;
    {
        // stop() and open() wait here for a write in progress (the interrupt makes it
        // short), so nothing of a track they ended is written after they return.
        std::lock_guard<std::mutex> gate(m_writeGate);
        if (generation == m_generation)
            written = m_device->write(block, length, &m_interrupt, m_wakeFd);
    }
    const int queued = m_device->pendingMs();
    reportProblem();

    std::lock_guard<std::mutex> lock(m_decoderLock);
    if (generation != m_generation)
        return 0;
    m_bytesPlayed += written;
    m_queuedMs = queued;
    if (written < length && !m_closeDevice) {
        // A pause came in the middle of the block: the rest is heard on resume.
        m_carryLength = length - written;
        std::memmove(m_carry, block + written, size_t(m_carryLength));
        m_carryRate = rate;
        m_carryChannels = channels;
    }
    return 0;
}
