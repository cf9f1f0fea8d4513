#pragma once

#include "audioinfo.h"
#include "playinfo.h"
#include "replaygain.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class Decoder;
class VRAudioDevice;
struct AudioInfo;

// The playback controller: owns the decoder, the audio device and one worker thread that
// pulls 2048-byte PCM blocks from the decoder and writes them to the device. Slots and
// signals live on the GUI thread; the worker never emits, and only the worker touches the
// device (opening it, writing, pausing, dropping its queue), so no call on the GUI thread
// waits for the sound output.
//
// A track that ends by itself is heard to its last sample: the worker goes on at once
// with the file given to setNext() (through the same device, without a gap), or, with
// none, lets the device play out what it holds before the end is reported.
class LoopControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int BlockSize = 2048;
    enum State { Playing = 0, Stopped = 1, Paused = 2, Resumed = 3 };
    // Custom events posted to this object.
    enum {
        DisplayControlEvent = 1001,
        EndOfTrackEvent = 1003,
        TrackAdvancedEvent = 1004,
        OutputProblemEvent = 1005,
        StreamKnownEvent = 1006
    };

    explicit LoopControl(QObject* parent = nullptr);
    ~LoopControl() override;

    bool open(const QString& file);
    int64_t positionMs() const;
    void setDisplayOptions(bool backlightOff, bool displayOff);
    // How loud each track plays (ReplayGain); takes effect at once.
    void setReplayGain(const ReplayGain::Options& options);
    // The factor in use for the track playing (ReplayGain::One is unity).
    int32_t gainFactor() const;

    // The file to go on with when the open track ends by itself; empty for none. Cleared
    // by open() and stop(), and once taken. When it cannot be opened then, the track ends
    // as without one.
    void setNext(const QString& file);
    // The file playing (or paused): since open(), or since the worker went on with the next.
    QString currentFile() const { return m_currentFile; }
    // While finished() is emitted: the file the worker already went on with, without a gap
    // (its description came just before); empty when the track simply ended.
    QString continuedWith() const { return m_continuedWith; }

    // The decoder for a file's type, for reading track information. It is kept apart from
    // the one playback uses, so reading another file's tags never disturbs playback; the
    // same object comes back for every file of the same type.
    Decoder* decoderFor(const QString& file);
    static AudioInfo* readTrackInfo(Decoder* decoder, const QString& file);

    // Runs f with the decoder lock held: the analyzer copies analyzerBuffer() under it.
    template <typename F> void withDecoderLock(F&& f)
    {
        std::lock_guard<std::mutex> lock(m_decoderLock);
        f();
    }
    const char* analyzerBuffer() const { return m_analyzerBuffer; }
    // Whether someone follows analyzerBuffer() block by block (the analyzer on screen).
    // While nobody does, output goes to the device in larger, rarer writes.
    void setAnalyzerWatched(bool watched) { m_analyzerWatched = watched; }
    bool isPlaying() const { return m_playing.load(); }
    // The second a seek waits to apply, or -1.
    int pendingSeek() const { return m_pendingSeek.load(); }

    // Tag text: the codec that fits the bytes best, and the word capitalisation rule.
    static const char* guessCodec(const char* text);
    static void capitalizeWords(QString& text);

public slots:
    void play();
    void stop();
    void setPaused(bool paused);
    void seek(int seconds);

signals:
    void positionChanged(int seconds, PlayInfo* info);
    void setTrackDescription(AudioInfo* info);
    void stateChanged(int state);
    void finished();
    // The sound output failed and was replaced (or reopened): words for the user.
    void outputProblem(const QString& message);

protected:
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void halt();
    void resume();
    void postDisplayControl(bool stopped);
    void handleDisplayControl();
    void workerLoop();
    // One step of the worker: milliseconds to wait before the next one (0: at once).
    int decodeStep();
    // At the end of the open track, with the decoder lock held: opens the next file;
    // false when there is none or it does not open.
    bool goOnWithNext(uint32_t generation);
    // With the decoder lock held: the gains of the track that now plays.
    void takeGains(const AudioInfo& info);
    // With the decoder lock held: what stop() and setPaused() asked of the device.
    void applyDeviceRequests();
    bool hasDeviceRequest() const { return m_closeDevice || m_pauseDevice >= 0; }
    // Lets what the device holds play out (before a change of format), unless interrupted.
    void playOut();
    void reportProblem();
    // Sends the position and the stream's description to the displays.
    void showPosition();
    int64_t heardMs(int rate, int channels) const;

    Decoder* playbackDecoderFor(const QString& file);

    std::unique_ptr<Decoder> m_decoder;                         // playback's decoder
    std::map<QString, std::unique_ptr<Decoder>> m_infoDecoders; // one per MIME type
    PlayInfo m_playInfo;  // written by decode steps, under the decoder lock
    PlayInfo m_shownInfo; // the GUI thread's copy, sent with positionChanged
    std::atomic<int64_t> m_bytesPlayed{0};
    std::atomic<int> m_queuedMs{0}; // written but not yet heard, as of the last write
    std::unique_ptr<VRAudioDevice> m_device; // the worker's alone
    char m_pcmBuffer[BlockSize];
    char m_analyzerBuffer[BlockSize];
    mutable std::mutex m_decoderLock;
    // Held by the worker while it writes a block; never together with the decoder lock.
    std::mutex m_writeGate;
    std::condition_variable m_wake; // the worker waits on it, with the decoder lock
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_pendingSeek{-1};
    // Ends a device write that waits for room, so a stop or a pause acts at once; the
    // eventfd wakes the wait itself.
    std::atomic<bool> m_interrupt{false};
    std::atomic<bool> m_analyzerWatched{false};
    int m_wakeFd = -1;
    void interruptDevice();
    // Counts opens and stops: an end of track reported for an older generation belongs
    // to a track that was already stopped or replaced and is dropped.
    std::atomic<uint32_t> m_generation{0};

    // Under the decoder lock.
    bool m_trackOpen = false;   // a track is playing, to its end
    bool m_decoderOpen = false; // ... and the decoder holds it (not after a failed change)
    bool m_ended = false;       // the decoder is done: the device plays out, then the end
    bool m_streamKnown = false; // the track's first block was decoded and reported
    bool m_closeDevice = false; // stop(): drop the queue and close the device
    int m_pauseDevice = -1;     // setPaused(): 1 pause, 0 resume, -1 nothing asked
    QString m_nextFile;
    // Part of a block not written when a pause came (worker only): it goes first on resume.
    char m_carry[BlockSize];
    int m_carryLength = 0;
    int m_carryRate = 0;
    int m_carryChannels = 0;

    // Under the decoder lock: the ReplayGain of the track playing, and its factor.
    ReplayGain::Options m_gainOptions;
    AudioInfo m_trackGains; // the gain fields only
    int32_t m_gainFactor = ReplayGain::One;

    // The GUI thread's.
    QString m_currentFile;
    QString m_continuedWith;

    // Display control: last stopped state sent, wanted stopped state, the two options.
    bool m_lastStopped = true;
    std::atomic<bool> m_wantedStopped{true};
    bool m_backlightOff = false;
    bool m_displayOff = false;

    int m_timer = 0;
    std::thread m_worker;
};
