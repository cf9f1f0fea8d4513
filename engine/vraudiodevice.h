#pragma once

#include <QObject>

#include <chrono>
#include <mutex>

typedef struct _snd_pcm snd_pcm_t;

// Plays interleaved signed 16-bit little-endian PCM. Speaks OSS on "/dev/dsp" (or the
// path in QUAVRIX_DSP); where no OSS device opens, plays through ALSA's "default" PCM;
// with no sound at all, paces writes by the clock so playback still runs in real time.
// Writes block, and so pace the caller.
class VRAudioDevice : public QObject
{
    Q_OBJECT
public:
    enum Backend { Oss, Alsa, Clock };

    // OSS requests, with the values the driver interface defines.
    static constexpr unsigned long GetCaps = 0x8004500F;
    static constexpr unsigned long SetFragment = 0xC004500A;
    static constexpr unsigned long SetFormat = 0xC0045005;
    static constexpr unsigned long Speed = 0xC0045002;
    static constexpr unsigned long Channels = 0xC0045006;
    static constexpr unsigned long Reset = 0x5000;
    static constexpr unsigned long MixerReadVolume = 0x80044D00;
    static constexpr unsigned long MixerWriteVolume = 0xC0044D00;
    static constexpr int FragmentWord = 0x00080010; // 8 fragments of 64 KiB

    VRAudioDevice(int rate, int channels, bool secondary = false);
    ~VRAudioDevice() override;

    void configure(int rate, int channels);
    void write(const char* data, int length);
    int read(char* data, int length);
    Backend backend() const { return m_backend; }

    // Mixer helpers: master volume up or down by 2 per channel, announced to the platform
    // with "volumeChange(bool)" on "QPE/System".
    static void volumeUp();
    static void volumeDown();
    // The master volume in percent (the louder channel), or -1 without a mixer.
    static int volume();
    // Moves the master volume by step percent (at least one mixer unit), announced as above.
    static void changeVolume(int step);

    // Every request to the device and the mixer goes through this function; tests record
    // them. Null restores the system's ioctl.
    using IoctlFunction = int (*)(int fd, unsigned long request, void* arg);
    static void setIoctlFunction(IoctlFunction f);

private:
    static int request(int fd, unsigned long req, void* arg);
    void openAlsa();
    void configureAlsa();
    void writeAlsa(const char* data, int length);
    void paceByClock(int length);

    std::mutex m_writeLock;
    int m_fd = -1;
    snd_pcm_t* m_pcm = nullptr;
    Backend m_backend = Clock;
    int m_rate = 0;
    int m_channels = 0;
    // Clock pacing: when the first byte since (re)configuration was due, and how many
    // bytes have been "played" since.
    std::chrono::steady_clock::time_point m_clockStart;
    long long m_clockBytes = 0;
};
