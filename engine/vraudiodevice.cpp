#include "vraudiodevice.h"

#include "qcop.h"

#include <alsa/asoundlib.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

std::atomic<VRAudioDevice::IoctlFunction> g_ioctl{nullptr};
// Shared by all devices for the whole run; the driver may write back into it.
int g_formatWord = 16; // AFMT_S16_LE
std::atomic<int> g_loggedBackend{-1};

const char* backendName(VRAudioDevice::Backend b)
{
    switch (b) {
    case VRAudioDevice::Oss: return "OSS";
    case VRAudioDevice::Alsa: return "ALSA default";
    case VRAudioDevice::Clock: return "no sound device, paced by the clock";
    }
    return "";
}

// ALSA reports every failed look-up on standard error; the device says once which output
// it chose, which is all a user needs.
extern "C" void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsaOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quietAlsa); });
}

QByteArray envPath(const char* name)
{
    return qgetenv(name);
}

// The OSS mixer: the one named in the environment, else the system's.
QByteArray mixerPath(const QByteArray& env)
{
    return env.isEmpty() ? QByteArray("/dev/mixer") : env;
}

// Finds the mixer element that sets the master volume on ALSA's default card.
struct AlsaMixer
{
    snd_mixer_t* mixer = nullptr;
    snd_mixer_elem_t* elem = nullptr;

    AlsaMixer()
    {
        silenceAlsaOnce();
        if (snd_mixer_open(&mixer, 0) < 0)
            return;
        if (snd_mixer_attach(mixer, "default") < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0
            || snd_mixer_load(mixer) < 0) {
            snd_mixer_close(mixer);
            mixer = nullptr;
            return;
        }
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e)) {
            if (!snd_mixer_selem_has_playback_volume(e))
                continue;
            if (!elem || !strcmp(snd_mixer_selem_get_name(e), "Master"))
                elem = e;
        }
    }
    ~AlsaMixer()
    {
        if (mixer)
            snd_mixer_close(mixer);
    }
    bool ok() const { return elem; }

    // The louder front channel in percent, or -1.
    int level() const
    {
        long min = 0, max = 0;
        if (snd_mixer_selem_get_playback_volume_range(elem, &min, &max) < 0 || max <= min)
            return -1;
        long loudest = -1;
        for (snd_mixer_selem_channel_id_t ch : {SND_MIXER_SCHN_FRONT_LEFT, SND_MIXER_SCHN_FRONT_RIGHT}) {
            long v = 0;
            if (snd_mixer_selem_has_playback_channel(elem, ch) && snd_mixer_selem_get_playback_volume(elem, ch, &v) >= 0)
                loudest = qMax(loudest, v);
        }
        return loudest < 0 ? -1 : int((loudest - min) * 100 / (max - min));
    }

    // Steps every playback channel; false when a write failed or there was none.
    bool step(int percent)
    {
        long min = 0, max = 0;
        if (snd_mixer_selem_get_playback_volume_range(elem, &min, &max) < 0)
            return false;
        bool any = false;
        for (snd_mixer_selem_channel_id_t ch : {SND_MIXER_SCHN_FRONT_LEFT, SND_MIXER_SCHN_FRONT_RIGHT}) {
            long v = 0;
            if (!snd_mixer_selem_has_playback_channel(elem, ch) || snd_mixer_selem_get_playback_volume(elem, ch, &v) < 0)
                continue;
            if (snd_mixer_selem_set_playback_volume(elem, ch, VRAudioDevice::stepLevel(v, min, max, percent)) < 0)
                return false;
            any = true;
        }
        return any;
    }
};

} // namespace

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
    const QByteArray env = envPath(secondary ? "QUAVRIX_DSP1" : "QUAVRIX_DSP");
    const QByteArray path = !env.isEmpty() ? env : QByteArray(secondary ? "/dev/dsp1" : "/dev/dsp");
    int flags = (secondary ? O_RDWR : O_WRONLY) | O_CLOEXEC;
    if (!env.isEmpty())
        flags |= O_CREAT | O_APPEND; // a named file collects the PCM (tests, recording)
    m_fd = ::open(path.constData(), flags, 0644);
    if (m_fd >= 0)
        m_backend = Oss;
    else if (env.isEmpty())
        openAlsa(); // a named device that cannot be opened is not replaced by another one

    if (g_loggedBackend.exchange(m_backend) != m_backend)
        qDebug("audio output: %s", backendName(m_backend));
    configure(rate, channels);
}

VRAudioDevice::~VRAudioDevice()
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_fd >= 0) {
        request(m_fd, Reset, nullptr); // drop queued audio at once
        ::close(m_fd);
    }
    if (m_pcm) {
        snd_pcm_drop(m_pcm);
        snd_pcm_close(m_pcm);
    }
}

void VRAudioDevice::openAlsa()
{
    silenceAlsaOnce();
    if (snd_pcm_open(&m_pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) {
        m_pcm = nullptr;
        m_backend = Clock;
        return;
    }
    m_backend = Alsa;
}

void VRAudioDevice::configure(int rate, int channels)
{
    if (rate == m_rate && channels == m_channels)
        return;
    if (m_backend == Oss) {
        int caps = 0;
        request(m_fd, GetCaps, &caps);
        int fragment = FragmentWord;
        request(m_fd, SetFragment, &fragment);
        request(m_fd, SetFormat, &g_formatWord);
        int speed = rate;
        request(m_fd, Speed, &speed);
        int ch = channels;
        request(m_fd, Channels, &ch);
    }
    m_rate = rate;
    m_channels = channels;
    if (m_backend == Alsa)
        configureAlsa();
    m_clockBytes = 0;
    m_clockStart = std::chrono::steady_clock::now();
}

void VRAudioDevice::configureAlsa()
{
    snd_pcm_drop(m_pcm);
    const int err = snd_pcm_set_params(m_pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                                       unsigned(qMax(1, m_channels)), unsigned(qMax(1, m_rate)),
                                       1 /* resample */, 250000 /* us latency */);
    if (err < 0) {
        qDebug("audio output: ALSA refused %d Hz, %d channels (%s); paced by the clock", m_rate,
               m_channels, snd_strerror(err));
        snd_pcm_close(m_pcm);
        m_pcm = nullptr;
        m_backend = Clock;
    }
}

void VRAudioDevice::write(const char* data, int length)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (length <= 0)
        return;
    switch (m_backend) {
    case Oss: {
        const ssize_t r = ::write(m_fd, data, size_t(length));
        Q_UNUSED(r);
        break;
    }
    case Alsa:
        writeAlsa(data, length);
        break;
    case Clock:
        paceByClock(length);
        break;
    }
}

void VRAudioDevice::writeAlsa(const char* data, int length)
{
    const int frameBytes = 2 * qMax(1, m_channels);
    snd_pcm_uframes_t frames = snd_pcm_uframes_t(length / frameBytes);
    while (frames > 0) {
        snd_pcm_sframes_t n = snd_pcm_writei(m_pcm, data, frames);
        if (n < 0) {
            if (snd_pcm_recover(m_pcm, int(n), 1) < 0) {
                // The device went away: keep time instead of racing through the track.
                paceByClock(int(frames) * frameBytes);
                return;
            }
            continue;
        }
        frames -= snd_pcm_uframes_t(n);
        data += n * frameBytes;
    }
}

void VRAudioDevice::paceByClock(int length)
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
    m_clockBytes += length;
    if (due > now)
        std::this_thread::sleep_until(due);
}

int VRAudioDevice::read(char* data, int length)
{
    std::lock_guard<std::mutex> lock(m_writeLock);
    if (m_fd < 0)
        return -1;
    return int(::read(m_fd, data, size_t(length)));
}

long VRAudioDevice::stepLevel(long value, long min, long max, int percent)
{
    if (max <= min)
        return min;
    // A mixer of 32 steps moves by one where 2 % of its range rounds to nothing.
    long units = (max - min) * std::abs(percent) / 100;
    if (units < 1 && percent != 0)
        units = 1;
    const long level = percent > 0 ? value + units : value - units;
    return qBound(min, level, max);
}

void VRAudioDevice::changeVolume(int step)
{
    const QByteArray env = envPath("QUAVRIX_MIXER");
    const QByteArray path = mixerPath(env);
    bool written = false;

    // OSS: each access opens the mixer, issues one request and closes it again.
    const int readFd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (readFd >= 0) {
        int word = 0;
        const bool read = request(readFd, MixerReadVolume, &word) >= 0;
        ::close(readFd);
        const int writeFd = read ? ::open(path.constData(), O_RDWR | O_CLOEXEC) : -1;
        if (writeFd >= 0) {
            const long left = stepLevel(word & 0xff, 0, 100, step);
            const long right = stepLevel((word >> 8) & 0xff, 0, 100, step);
            int out = int(left | (right << 8));
            written = request(writeFd, MixerWriteVolume, &out) >= 0;
            ::close(writeFd);
        }
    } else if (env.isEmpty()) {
        // No OSS mixer: the master volume of ALSA's default card, loaded once.
        AlsaMixer mixer;
        written = mixer.ok() && mixer.step(step);
    }
    // Announced only when the level really changed hands.
    if (written) {
        QCopEnvelope e(QStringLiteral("QPE/System"), "volumeChange(bool)");
        e << qint32(0);
    }
}

int VRAudioDevice::volume()
{
    const QByteArray env = envPath("QUAVRIX_MIXER");
    const QByteArray path = mixerPath(env);
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        int word = 0;
        const int rc = request(fd, MixerReadVolume, &word);
        ::close(fd);
        if (rc < 0)
            return -1;
        return int(qMin(100u, qMax(unsigned(word) & 0xff, (unsigned(word) >> 8) & 0xff)));
    }
    if (!env.isEmpty())
        return -1;
    AlsaMixer mixer;
    return mixer.ok() ? mixer.level() : -1;
}

void VRAudioDevice::volumeUp()
{
    changeVolume(2);
}

void VRAudioDevice::volumeDown()
{
    changeVolume(-2);
}
