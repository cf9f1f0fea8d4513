#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

typedef struct _snd_pcm snd_pcm_t;

// Plays interleaved signed 16-bit little-endian PCM. Speaks OSS on "/dev/dsp" (or the
// path in QUAVRIX_DSP); where no OSS device opens, plays through ALSA's "default" PCM;
// with no sound at all, paces writes by the clock so playback still runs in real time.
//
// Nothing here blocks without end: the device is opened without waiting (a FIFO without a
// reader, a busy card), and a write waits for room in short slices that an interrupt flag
// can end. An output that fails while playing (a pipe whose reader died, headphones
// unplugged, a sound server restarted) is opened again or replaced by the next one (OSS,
// ALSA, the clock); problem() then has words for the user. The player uses one device
// from one thread (its worker); the mixer helpers below are separate.
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
    static constexpr unsigned long GetOutputDelay = 0x80045017;
    static constexpr unsigned long MixerReadVolume = 0x80044D00;
    static constexpr unsigned long MixerWriteVolume = 0xC0044D00;
    static constexpr int FragmentWord = 0x00080010; // 8 fragments of 64 KiB

    VRAudioDevice(int rate, int channels, bool secondary = false);
    // Drops what is still queued, at once: a stop is heard as a stop.
    ~VRAudioDevice() override;

    // Sets the format when it differs from the current one. What is queued in the old
    // format is the caller's to play out first (pendingMs()).
    void configure(int rate, int channels);

    // Writes the block, waiting for room as long as it takes, unless *interrupt (when
    // given) turns true meanwhile. Returns the bytes written: all of them, or fewer after
    // an interrupt. A failing output is replaced on the way; the block goes on there.
    // wakeFd (an eventfd, or -1) ends a wait at once: who sets *interrupt writes to it.
    int write(const char* data, int length, const std::atomic<bool>* interrupt = nullptr, int wakeFd = -1);
    // How much ALSA output is gathered before it goes to the device, in milliseconds (0:
    // every block at once). Each write to a sound server wakes it and its client thread,
    // so while nobody watches the blocks as they go (the analyzer) they go out together.
    // What is gathered counts as written and as pending; start() and pendingMs() see it
    // out, drop() discards it. Taken by the next write.
    void setGatherMs(int ms) { m_gatherMs = ms; }
    // At most this much ALSA output queued, in milliseconds (0: the whole buffer), for
    // whoever follows the blocks as they are written (the analyzer shows the last one).
    void setQueueLimitMs(int ms) { m_queueLimitMs = ms; }
    int read(char* data, int length);
    Backend backend() const { return m_backend; }
    int rate() const { return m_rate; }
    int channels() const { return m_channels; }

    // Milliseconds of what was written that are not heard yet; 0 when nothing is queued or
    // the output cannot tell (a plain file).
    int pendingMs();
    // Makes an output that waits for more before it starts play what it holds (a track
    // shorter than the buffer, the end of the list).
    // Gathered output goes out first (waiting for room unless *interrupt turns true).
    void start(const std::atomic<bool>* interrupt = nullptr);
    // Discards what is queued (a seek), keeping the device open.
    void drop();
    // Silence at once; what is queued plays on resume where the output can hold it (ALSA),
    // and is dropped where it cannot.
    void setPaused(bool paused);
    // What went wrong with the output since the last call, in words for the user; empty
    // when nothing did.
    QString takeProblem();

    // Mixer helpers: master volume up or down by 2 per channel, announced to the platform
    // with "volumeChange(bool)" on "QPE/System".
    static void volumeUp();
    // The level after a step of percent of the mixer's range, in its own units and by at
    // least one unit, kept within [min, max].
    static long stepLevel(long value, long min, long max, int percent);
    static void volumeDown();
    // The master volume in percent (the louder channel); without a mixer, the level the
    // program applies itself (softwareVolume()).
    static int volume();
    // Moves the master volume by step percent (at least one mixer unit), announced as above.
    // Without a mixer the program's own level moves instead, so volume works everywhere.
    static void changeVolume(int step);
    // The level applied to the samples where no mixer can be found, in percent (100: as
    // decoded), and its factor in 1/65536 for ReplayGain::apply (a cubic curve, near to
    // how loud each step sounds). Ignored while a mixer sets the volume.
    static int softwareVolume();
    static void setSoftwareVolume(int percent);
    static int32_t softwareFactor();

    // Every request to the device and the mixer goes through this function; tests record
    // them. Null restores the system's ioctl.
    using IoctlFunction = int (*)(int fd, unsigned long request, void* arg);
    static void setIoctlFunction(IoctlFunction f);
    static int request(int fd, unsigned long req, void* arg);
    // ALSA's own messages go nowhere: the device says what matters itself.
    static void silenceAlsa();

private:
    bool openOss();
    bool openAlsa();
    void configureOss();
    void configureAlsa();
    int writeOss(const char* data, int length, const std::atomic<bool>* interrupt);
    int writeAlsa(const char* data, int length, const std::atomic<bool>* interrupt);
    int paceByClock(int length, const std::atomic<bool>* interrupt);
    // Writes to whichever output there is now, without gathering; the bytes taken.
    int writeDirect(const char* data, int length, const std::atomic<bool>* interrupt);
    // Gathers ALSA output; returns the bytes of data taken.
    int gather(const char* data, int length, const std::atomic<bool>* interrupt);
    // Writes what is gathered to whichever output there now is; false when an interrupt
    // left some of it.
    bool flushGathered(const std::atomic<bool>* interrupt);
    // Waits up to timeoutMs for room in the output (or for the wake descriptor); -1 when
    // the output reports an error, else 0.
    int waitForRoom(int timeoutMs);
    int roomSliceMs() const;
    // How far the ALSA queue is beyond its limit, in milliseconds (0: within it).
    int beyondQueueLimitMs();
    // Waits ms milliseconds, or until the wake descriptor is written.
    void rest(int ms);
    // What the output itself holds, in milliseconds.
    int queuedMs(long long bytesPerSecond);
    // The output failed: open it again or take the next one, and say so once.
    void fallBack(const char* what, int error);
    void closeOutput();

    std::mutex m_writeLock;
    int m_fd = -1;
    snd_pcm_t* m_pcm = nullptr;
    Backend m_backend = Clock;
    bool m_named = false;      // the OSS path was given: never replaced by another device
    bool m_canPause = false;   // ALSA can hold what is queued while paused
    bool m_paused = false;
    long m_bufferFrames = 0;   // ALSA buffer size
    std::atomic<int> m_gatherMs{0};
    std::atomic<int> m_queueLimitMs{0};
    std::vector<char> m_gathered; // ALSA output not yet handed over
    int m_rate = 0;
    int m_channels = 0;
    int m_reopened = 0;        // ALSA reopened after a loss, this device's lifetime
    int m_wakeFd = -1;         // of the write in progress
    QString m_problem;
    // Clock pacing: when the first byte since (re)configuration was due, and how many
    // bytes have been "played" since.
    std::chrono::steady_clock::time_point m_clockStart;
    long long m_clockBytes = 0;
};
