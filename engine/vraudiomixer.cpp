// The mixer helpers of VRAudioDevice: the master volume through the OSS mixer, or where
// there is none, through ALSA's default card.
#include "vraudiodevice.h"

#include "qcop.h"

#include <alsa/asoundlib.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<int> g_softwareVolume{100};
// Set once a step found no mixer: from then on the program's own level is the volume.
std::atomic<bool> g_software{false};

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
        VRAudioDevice::silenceAlsa();
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
        const bool read = VRAudioDevice::request(readFd, MixerReadVolume, &word) >= 0;
        ::close(readFd);
        const int writeFd = read ? ::open(path.constData(), O_RDWR | O_CLOEXEC) : -1;
        if (writeFd >= 0) {
            const long left = stepLevel(word & 0xff, 0, 100, step);
            const long right = stepLevel((word >> 8) & 0xff, 0, 100, step);
            int out = int(left | (right << 8));
            written = VRAudioDevice::request(writeFd, MixerWriteVolume, &out) >= 0;
            ::close(writeFd);
        }
    } else if (env.isEmpty()) {
        // No OSS mixer: the master volume of ALSA's default card, loaded once.
        AlsaMixer mixer;
        written = mixer.ok() && mixer.step(step);
    }
    if (!written) {
        g_software = true;
        const int before = g_softwareVolume;
        setSoftwareVolume(int(stepLevel(before, 0, 100, step)));
        written = g_softwareVolume != before;
    }
    // Announced only when the level really changed hands.
    if (written) {
        QCopEnvelope e(QStringLiteral("QPE/System"), "volumeChange(bool)");
        e << qint32(0);
    }
}

int VRAudioDevice::softwareVolume()
{
    return g_softwareVolume;
}

void VRAudioDevice::setSoftwareVolume(int percent)
{
    g_softwareVolume = qBound(0, percent, 100);
}

int32_t VRAudioDevice::softwareFactor()
{
    if (!g_software)
        return 65536;
    const int64_t p = g_softwareVolume;
    return int32_t(p * p * p * 65536 / 1000000);
}

int VRAudioDevice::volume()
{
    const QByteArray env = envPath("QUAVRIX_MIXER");
    const QByteArray path = mixerPath(env);
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        int word = 0;
        const int rc = VRAudioDevice::request(fd, MixerReadVolume, &word);
        ::close(fd);
        if (rc >= 0)
            return int(qMin(100u, qMax(unsigned(word) & 0xff, (unsigned(word) >> 8) & 0xff)));
    } else if (env.isEmpty()) {
        AlsaMixer mixer;
        const int level = mixer.ok() ? mixer.level() : -1;
        if (level >= 0)
            return level;
    }
    g_software = true;
    return g_softwareVolume;
}

void VRAudioDevice::volumeUp()
{
    changeVolume(2);
}

void VRAudioDevice::volumeDown()
{
    changeVolume(-2);
}
