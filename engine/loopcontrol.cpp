#include "loopcontrol.h"

#include "audioinfo.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "mimetype.h"
#include "qcop.h"
#include "vraudiodevice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimerEvent>

#include <chrono>
#include <cstring>

namespace {

// The worker's report that a track ended; carries the generation it belongs to.
class EndOfTrack : public QEvent
{
public:
    explicit EndOfTrack(uint32_t generation)
        : QEvent(QEvent::Type(LoopControl::EndOfTrackEvent)), generation(generation) {}
    const uint32_t generation;
};

const QString SystemChannel = QStringLiteral("QPE/System");

} // namespace

LoopControl::LoopControl(QObject* parent)
    : QObject(parent)
{
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
    m_quit = true;
    if (m_worker.joinable())
        m_worker.join();
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

    std::lock_guard<std::mutex> lock(m_decoderLock);
    m_bytesPlayed = 0;
    ++m_generation;
    Decoder* decoder = playbackDecoderFor(file);
    std::unique_ptr<AudioInfo> info(readTrackInfo(decoder, file));
    bool ok = false;
    if (info && decoder->open(file, nullptr)) {
        std::lock_guard<std::mutex> deviceLock(m_deviceLock);
        m_device = std::make_unique<VRAudioDevice>(44000, 2, false);
        ok = true;
        emit setTrackDescription(info.get());
    }
    return ok;
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
        {
            std::lock_guard<std::mutex> deviceLock(m_deviceLock);
            m_device.reset();
        }
        if (m_decoder)
            m_decoder->close();
        m_playInfo = PlayInfo();
    }
    m_shownInfo = PlayInfo();
    emit stateChanged(Stopped);
}

void LoopControl::setPaused(bool paused)
{
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        std::memset(m_pcmBuffer, 0, sizeof m_pcmBuffer);
        std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
    }
    if (paused)
        halt();
    else
        resume();
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
    if (e->type() == QEvent::Type(DisplayControlEvent)) {
        handleDisplayControl();
        return true;
    }
    if (e->type() == QEvent::Type(EndOfTrackEvent)) {
        // Dropped when a stop or open has already ended that track.
        if (static_cast<EndOfTrack*>(e)->generation == m_generation) {
            stop();
            emit finished();
        }
        return true;
    }
    return QObject::event(e);
}

void LoopControl::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_timer)
        return QObject::timerEvent(e);
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        m_shownInfo = m_playInfo;
    }
    if (m_shownInfo.rate && m_shownInfo.channels) {
        const int64_t seconds = m_bytesPlayed / m_shownInfo.rate / m_shownInfo.channels / 2;
        emit positionChanged(int(seconds), &m_shownInfo);
    }
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
    return m_bytesPlayed * 1000 / rate / channels / 2;
}

void LoopControl::workerLoop()
{
    while (!m_quit) {
        if (!m_playing || !decodeStep())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool LoopControl::decodeStep()
{
    uint32_t generation;
    char block[BlockSize];
    int produced = 0;
    int rate = 0, channels = 0;
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        // stop() or open() may have run since the check outside the lock.
        if (!m_playing || !m_decoder || !m_device)
            return false;
        generation = m_generation;
        const int target = m_pendingSeek.exchange(-1);
        if (target != -1) {
            const int64_t bytes = m_decoder->seek(target);
            if (bytes != -1)
                m_bytesPlayed = bytes;
        }
        m_decoder->decode(m_pcmBuffer, BlockSize, &produced, &m_playInfo);
        std::memset(m_analyzerBuffer, 0, sizeof m_analyzerBuffer);
        if (produced > 0) {
            produced = qMin(produced, int(BlockSize));
            std::memcpy(m_analyzerBuffer, m_pcmBuffer, size_t(produced));
            std::memcpy(block, m_pcmBuffer, size_t(produced));
            rate = m_playInfo.rate;
            channels = m_playInfo.channels;
        } else {
            // End of the track: stop decoding here, and let the GUI thread stop and report.
            m_playing = false;
        }
    }
    if (produced <= 0) {
        QCoreApplication::postEvent(this, new EndOfTrack(generation));
        return true;
    }
    // The write blocks (or is paced by the clock) for the block's playing time: it runs
    // without the decoder lock, which the GUI thread takes for the position and the
    // analyzer. stop() takes the device lock only to drop the device.
    std::lock_guard<std::mutex> lock(m_deviceLock);
    if (!m_device || generation != m_generation)
        return true;
    m_device->configure(rate, channels);
    m_device->write(block, produced);
    m_bytesPlayed += produced;
    return true;
}
