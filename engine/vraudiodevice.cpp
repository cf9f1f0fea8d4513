#include "vraudiodevice.h"

#include <QCoreApplication>

#include <alsa/asoundlib.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

namespace {

std::atomic<VRAudioDevice::IoctlFunction> g_ioctl{nullptr};
// Shared by all devices for the whole run; the driver may write back into it.
int g_formatWord = 16; // AFMT_S16_LE
std::atomic<int> g_loggedBackend{-1};

// How long one wait for room lasts before the interrupt flag is looked at again; with a
// wake descriptor the interrupt ends the wait itself, and the slice only bounds how late
// a stalled output is noticed.
constexpr int SliceMs = 20;
constexpr int WakeableSliceMs = 250;
// How far below its limit a held queue is let run before it is filled again: about a
// 2048-byte block at 44.1 kHz stereo.
constexpr int QueueSlackMs = 12;
// What ALSA is asked to hold: the blocking write paces the worker, and stop, pause and
// seek act on the device itself, so this is not how late they are heard (the position
// shown leaves out what is queued). A period is a quarter of it: with output gathered
// into periods, the worker, a sound server and its client thread wake five times a second.
constexpr unsigned AlsaLatencyUs = 800000;
// How far the clock's pacing may run ahead of the time played, as a device buffer would.
constexpr int ClockLeadMs = 200;
// How long a playing device may take nothing before it counts as failed: many times its
// buffer, so only a dead one gets there.
constexpr int StallMs = 2000;
// An output lost again and again (a flapping connection) is given up for the clock.
constexpr int MaxReopens = 3;

const char* backendName(VRAudioDevice::Backend b)
{
    switch (b) {
    case VRAudioDevice::Oss: return "OSS";
    case VRAudioDevice::Alsa: return "ALSA default";
    case VRAudioDevice::Clock: return "no sound device, paced by the clock";
    }
    return "";
}

bool interrupted(const std::atomic<bool>* flag)
{
    return flag && flag->load();
}

extern "C" void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void VRAudioDevice::silenceAlsa()
{
    // ALSA reports every failed look-up on standard error; the device says once which
    // output it chose, which is all a user needs.
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsa); });
}

int VRAudioDevice::request(int fd, unsigned long req, void* arg)
{
    if (IoctlFunction f = g_ioctl.load())
        return f(fd, req, arg);
    return ::ioctl(fd, req, arg);
}

void VRAudioDevice::setIoctlFunction(IoctlFunction f)
{
    g_ioctl = f;
}

VRAudioDevice::VRAudioDevice(int rate, int channels, bool secondary)
{
    // A pipe whose reader went away must end in an error we handle, not end the process.
    static std::once_flag sigpipe;
    std::call_once(sigpipe, [] {
        struct sigaction old = {};
        if (::sigaction(SIGPIPE, nullptr, &old) == 0 && old.sa_handler == SIG_DFL)
            ::signal(SIGPIPE, SIG_IGN);
    });
    const QByteArray env = qgetenv(secondary ? "QUAVRIX_DSP1" : "QUAVRIX_DSP");
    m_named = !env.isEmpty();
    const QByteArray path = m_named ? env : QByteArray(secondary ? "/dev/dsp1" : "/dev/dsp");
    // Never wait in the open: a FIFO without a reader answers ENXIO, a busy card EBUSY.
    int flags = (secondary ? O_RDWR : O_WRONLY) | O_CLOEXEC | O_NONBLOCK;
    if (m_named)
        flags |= O_CREAT | O_APPEND; // a named file collects the PCM (tests, recording)
    m_fd = ::open(path.constData(), flags, 0644);
    if (m_fd >= 0) {
        m_backend = Oss;
    } else if (m_named) {
        // A named device that cannot be opened is not replaced by another one. Said once a
        // run: every track opens the device again.
        const int error = errno;
        static std::atomic<bool> said{false};
        if (!said.exchange(true)) {
            qDebug("audio output: %s cannot be opened (%s)", path.constData(), std::strerror(error));
            m_problem = tr("The sound device %1 cannot be opened (%2): playing on without sound.")
                            .arg(QString::fromLocal8Bit(path), QString::fromLocal8Bit(std::strerror(error)));
        }
    } else {
        openAlsa();
    }
    if (g_loggedBackend.exchange(m_backend) != m_backend)
        qDebug("audio output: %s", backendName(m_backend));
    configure(rate, channels);
}

VRAudioDevice::~VRAudioDevice()
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    closeOutput();
}

void VRAudioDevice::closeOutput()
{
    if (m_fd >= 0) {
        request(m_fd, Reset, nullptr); // drop queued audio at once
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_pcm) {
        snd_pcm_drop(m_pcm);
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
    }
}

bool VRAudioDevice::openAlsa()
{
    silenceAlsa();
    if (snd_pcm_open(&m_pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        m_pcm = nullptr;
        m_backend = Clock;
        return false;
    }
    m_backend = Alsa;
    return true;
}

void VRAudioDevice::configure(int rate, int channels)
{
    if (rate == m_rate && channels == m_channels)
        return;
    if (m_rate != 0)
        m_gathered.clear(); // in the old format: the caller played out what it wanted heard
    m_rate = rate;
    m_channels = channels;
    if (m_backend == Oss)
        configureOss();
    if (m_backend == Alsa)
        configureAlsa();
    m_clockBytes = 0;
    m_clockStart = std::chrono::steady_clock::now();
}

void VRAudioDevice::configureOss()
{
    int caps = 0;
    request(m_fd, GetCaps, &caps);
    int fragment = FragmentWord;
    request(m_fd, SetFragment, &fragment);
    request(m_fd, SetFormat, &g_formatWord);
    int speed = m_rate;
    request(m_fd, Speed, &speed);
    int ch = m_channels;
    request(m_fd, Channels, &ch);
}

void VRAudioDevice::configureAlsa()
{
    snd_pcm_drop(m_pcm);
    const int err = snd_pcm_set_params(m_pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                       unsigned(qMax(1, m_channels)), unsigned(qMax(1, m_rate)),
                                       1 /* resample */, AlsaLatencyUs);
    if (err < 0) {
        qDebug("audio output: ALSA refused %d Hz, %d channels (%s); paced by the clock", m_rate,
               m_channels, snd_strerror(err));
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
        m_backend = Clock;
        return;
    }
    snd_pcm_uframes_t buffer = 0, period = 0;
    snd_pcm_get_params(m_pcm, &buffer, &period);
    m_bufferFrames = long(buffer);
    snd_pcm_hw_params_t* hw;
    snd_pcm_hw_params_alloca(&hw);
    m_canPause = snd_pcm_hw_params_current(m_pcm, hw) == 0 && snd_pcm_hw_params_can_pause(hw);
    m_paused = false;
}

int VRAudioDevice::waitForRoom(int timeoutMs)
{
    pollfd fds[16];
    int n = 0;
    if (m_backend == Oss) {
        fds[n++] = {m_fd, POLLOUT, 0};
    } else if (m_backend == Alsa) {
        const int count = snd_pcm_poll_descriptors_count(m_pcm);
        if (count > 0 && count < 15)
            n = snd_pcm_poll_descriptors(m_pcm, fds, unsigned(count));
    }
    const int own = n;
    if (m_wakeFd >= 0)
        fds[n++] = {m_wakeFd, POLLIN, 0};
    if (n == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return 0;
    }
    if (::poll(fds, nfds_t(n), timeoutMs) <= 0 || own == 0)
        return 0;
    if (m_backend == Alsa) {
        unsigned short revents = 0;
        if (snd_pcm_poll_descriptors_revents(m_pcm, fds, unsigned(own), &revents) == 0 && (revents & POLLERR))
            return -1;
    }
    return 0;
}

int VRAudioDevice::roomSliceMs() const
{
    return m_wakeFd >= 0 ? WakeableSliceMs : SliceMs;
}

int VRAudioDevice::write(const char* data, int length, const std::atomic<bool>* interrupt, int wakeFd)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    m_wakeFd = wakeFd;
    int done = 0;
    while (done < length) {
        const int n = m_backend == Alsa ? gather(data + done, length - done, interrupt)
                                        : writeDirect(data + done, length - done, interrupt);
        done += n;
        // A failed output has been replaced: the rest goes to the next one. Otherwise
        // only an interrupt stops short.
        if (n == 0 && interrupted(interrupt))
            break;
    }
    return done;
}

int VRAudioDevice::writeDirect(const char* data, int length, const std::atomic<bool>* interrupt)
{
    switch (m_backend) {
    case Oss: return writeOss(data, length, interrupt);
    case Alsa: {
        const int whole = length - length % (2 * qMax(1, m_channels));
        const int n = writeAlsa(data, length, interrupt);
        return n == whole ? length : n; // a partial frame at the end cannot be played
    }
    case Clock: return paceByClock(length, interrupt);
    }
    return 0;
}

int VRAudioDevice::writeOss(const char* data, int length, const std::atomic<bool>* interrupt)
{
    int done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_fd, data + done, size_t(length - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            if (interrupted(interrupt))
                break;
            waitForRoom(roomSliceMs());
            continue;
        }
        fallBack("OSS", n < 0 ? errno : EIO);
        break;
    }
    return done;
}

int VRAudioDevice::writeAlsa(const char* data, int length, const std::atomic<bool>* interrupt)
{
    const int frameBytes = 2 * qMax(1, m_channels);
    // A partial frame at the end cannot be played: it counts as written.
    length -= length % frameBytes;
    int done = 0;
    // A sound server that dies can leave its stream looking merely full for ever: a
    // device that takes nothing for this long while playing has failed.
    auto lastProgress = std::chrono::steady_clock::now();
    auto stalled = [&] { return std::chrono::steady_clock::now() - lastProgress > std::chrono::milliseconds(StallMs); };
    while (done < length) {
        if (m_paused) {
            // Resumed by the caller; meanwhile only an interrupt ends the wait.
            if (interrupted(interrupt))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(SliceMs));
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (const int aheadMs = beyondQueueLimitMs(); aheadMs > 0) {
            if (interrupted(interrupt))
                break;
            if (stalled()) {
                fallBack("ALSA", -EIO);
                break;
            }
            // A little below the limit, so that a block goes in at each wakeup rather
            // than a wakeup every few milliseconds.
            rest(qMin(aheadMs + QueueSlackMs, 50));
            continue;
        }
        const snd_pcm_sframes_t n =
            snd_pcm_writei(m_pcm, data + done, snd_pcm_uframes_t((length - done) / frameBytes));
        if (n > 0) {
            done += int(n) * frameBytes;
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        int err = int(n);
        if (err == -EAGAIN || err == 0) {
            if (interrupted(interrupt))
                break;
            if (stalled()) {
                fallBack("ALSA", -EIO);
                break;
            }
            if (waitForRoom(roomSliceMs()) == 0)
                continue;
            // The output reported an error: its state says which.
            const snd_pcm_state_t state = snd_pcm_state(m_pcm);
            if (state == SND_PCM_STATE_XRUN)
                err = -EPIPE;
            else if (state == SND_PCM_STATE_SUSPENDED)
                err = -ESTRPIPE;
            else if (state == SND_PCM_STATE_DISCONNECTED)
                err = -ENODEV;
            else
                continue;
        }
        if (err == -EPIPE) {
            // An underrun (the worker was late): go on. A stream whose server has gone
            // cannot be prepared again, or keeps running under at once.
            const bool late = stalled();
            const int prepared = snd_pcm_prepare(m_pcm);
            if (prepared >= 0 && !late)
                continue;
            err = prepared < 0 ? prepared : -EIO;
        }
        if (err == -ESTRPIPE) {
            // The system was suspended: wake the stream again, or start it afresh.
            int r = -EAGAIN;
            for (int i = 0; i < 50 && r == -EAGAIN && !interrupted(interrupt); ++i) {
                r = snd_pcm_resume(m_pcm);
                if (r == -EAGAIN)
                    std::this_thread::sleep_for(std::chrono::milliseconds(SliceMs));
            }
            if (r < 0)
                snd_pcm_prepare(m_pcm);
            continue;
        }
        fallBack("ALSA", -err);
        break;
    }
    return done;
}

int VRAudioDevice::beyondQueueLimitMs()
{
    if (m_queueLimitMs <= 0 || snd_pcm_state(m_pcm) != SND_PCM_STATE_RUNNING)
        return 0;
    const snd_pcm_sframes_t avail = snd_pcm_avail_update(m_pcm);
    if (avail < 0)
        return 0;
    const long long queued = m_bufferFrames - avail;
    return int(qMax(0LL, (queued * 1000 / qMax(1, m_rate)) - m_queueLimitMs));
}

void VRAudioDevice::rest(int ms)
{
    if (m_wakeFd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    pollfd wake{m_wakeFd, POLLIN, 0};
    ::poll(&wake, 1, ms);
}

int VRAudioDevice::gather(const char* data, int length, const std::atomic<bool>* interrupt)
{
    const size_t frameBytes = size_t(2 * qMax(1, m_channels));
    // Paused, everything waits in the output, as it would without gathering.
    const size_t limit = m_paused ? 0 : size_t(qMax(1, m_rate)) * size_t(m_gatherMs) / 1000 * frameBytes;
    int done = 0;
    while (done < length) {
        if (!m_gathered.empty() && m_gathered.size() >= limit) {
            if (!flushGathered(interrupt) || m_backend != Alsa)
                break; // interrupted, or the rest is for the output that replaced this one
            continue;
        }
        if (limit == 0) {
            done += writeDirect(data + done, length - done, interrupt);
            break;
        }
        const int take = int(qMin(size_t(length - done), limit - m_gathered.size()));
        m_gathered.insert(m_gathered.end(), data + done, data + done + take);
        done += take;
    }
    return done;
}

bool VRAudioDevice::flushGathered(const std::atomic<bool>* interrupt)
{
    size_t sent = 0;
    while (sent < m_gathered.size()) {
        const int n = writeDirect(m_gathered.data() + sent, int(m_gathered.size() - sent), interrupt);
        sent += size_t(n);
        if (n == 0 && interrupted(interrupt))
            break;
    }
    m_gathered.erase(m_gathered.begin(), m_gathered.begin() + ptrdiff_t(sent));
    return m_gathered.empty();
}

void VRAudioDevice::fallBack(const char* what, int error)
{
    const Backend before = m_backend;
    closeOutput();
    m_backend = Clock;
    // A server restarted or a device plugged back: ALSA "default" again; a dead OSS
    // device or pipe gives way to ALSA unless it was named.
    if ((before == Alsa && ++m_reopened <= MaxReopens) || (before == Oss && !m_named))
        openAlsa();
    const int rate = m_rate, channels = m_channels;
    m_rate = m_channels = 0;
    configure(rate, channels);
    const char* reason = before == Alsa ? snd_strerror(-error) : std::strerror(error);
    qDebug("audio output: %s failed (%s); now %s", what, reason, backendName(m_backend));
    g_loggedBackend = m_backend;
    m_problem = m_backend == Clock
        ? tr("The sound output stopped working (%1): playing on without sound.").arg(QString::fromLocal8Bit(reason))
        : tr("The sound output stopped working (%1) and was opened again.").arg(QString::fromLocal8Bit(reason));
}

int VRAudioDevice::paceByClock(int length, const std::atomic<bool>* interrupt)
{
    using namespace std::chrono;
    const long long bytesPerSecond = 2LL * qMax(1, m_channels) * qMax(1, m_rate);
    const auto now = steady_clock::now();
    auto due = m_clockStart + microseconds(m_clockBytes * 1000000 / bytesPerSecond);
    if (now > due + milliseconds(200)) {
        // Resumed after a pause or a stall: start counting again from now.
        m_clockStart = now;
        m_clockBytes = 0;
        due = now;
    }
    // Like a device's buffer: blocks are taken up to ClockLeadMs ahead of the clock, then
    // the worker rests until half of that has passed, not once for every block.
    if (due > steady_clock::now() + milliseconds(ClockLeadMs)) {
        const auto resume = due - milliseconds(ClockLeadMs / 2);
        while (resume > steady_clock::now()) {
            if (interrupted(interrupt))
                return 0;
            const auto left = duration_cast<milliseconds>(resume - steady_clock::now()).count() + 1;
            waitForRoom(int(qMin<long long>(left, SliceMs * 10)));
        }
    }
    m_clockBytes += length;
    return length;
}

int VRAudioDevice::pendingMs()
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    const long long bytesPerSecond = 2LL * qMax(1, m_channels) * qMax(1, m_rate);
    // Rounded up: the last frames of a track are not counted as heard before they are.
    return int((m_gathered.size() * 1000LL + bytesPerSecond - 1) / bytesPerSecond) + queuedMs(bytesPerSecond);
}

int VRAudioDevice::queuedMs(long long bytesPerSecond)
{
    switch (m_backend) {
    case Oss: {
        int bytes = 0;
        // A pipe says what it holds where a driver says what it has not played.
        if (request(m_fd, GetOutputDelay, &bytes) < 0 && ::ioctl(m_fd, FIONREAD, &bytes) < 0)
            return 0;
        return int(qMax(0LL, bytes * 1000LL / bytesPerSecond));
    }
    case Alsa: {
        const snd_pcm_state_t state = snd_pcm_state(m_pcm);
        snd_pcm_sframes_t frames = 0;
        if (state == SND_PCM_STATE_PREPARED)
            frames = m_bufferFrames - snd_pcm_avail(m_pcm);
        else if ((state == SND_PCM_STATE_RUNNING || state == SND_PCM_STATE_PAUSED)
                 && snd_pcm_delay(m_pcm, &frames) < 0)
            frames = 0;
        return int(qMax<long long>(0, (frames * 1000LL + qMax(1, m_rate) - 1) / qMax(1, m_rate)));
    }
    case Clock: {
        using namespace std::chrono;
        const auto due = m_clockStart + microseconds(m_clockBytes * 1000000 / bytesPerSecond);
        return int(qMax<long long>(0, duration_cast<milliseconds>(due - steady_clock::now()).count()));
    }
    }
    return 0;
}

void VRAudioDevice::start(const std::atomic<bool>* interrupt)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (!flushGathered(interrupt))
        return;
    if (m_backend == Alsa && snd_pcm_state(m_pcm) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(m_pcm);
}

void VRAudioDevice::drop()
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    m_gathered.clear();
    switch (m_backend) {
    case Oss:
        request(m_fd, Reset, nullptr);
        break;
    case Alsa:
        snd_pcm_drop(m_pcm);
        snd_pcm_prepare(m_pcm);
        m_paused = false;
        break;
    case Clock:
        m_clockBytes = 0;
        m_clockStart = std::chrono::steady_clock::now();
        break;
    }
}

void VRAudioDevice::setPaused(bool paused)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_backend != Alsa || paused == m_paused)
        return;
    if (paused) {
        // Where the output cannot hold its queue, the little that is in it is let go.
        if (!(m_canPause && snd_pcm_state(m_pcm) == SND_PCM_STATE_RUNNING && snd_pcm_pause(m_pcm, 1) == 0)) {
            snd_pcm_drop(m_pcm);
            snd_pcm_prepare(m_pcm);
        }
        m_paused = true;
        return;
    }
    if (snd_pcm_state(m_pcm) == SND_PCM_STATE_PAUSED && snd_pcm_pause(m_pcm, 0) != 0)
        snd_pcm_prepare(m_pcm);
    m_paused = false;
}

QString VRAudioDevice::takeProblem()
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    QString p = m_problem;
    m_problem.clear();
    return p;
}

int VRAudioDevice::read(char* data, int length)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_fd < 0)
        return -1;
    return int(::read(m_fd, data, size_t(length)));
}
