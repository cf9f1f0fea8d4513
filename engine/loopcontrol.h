#pragma once

#include "playinfo.h"

#include <QObject>
#include <QString>

#include <atomic>
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
// signals live on the GUI thread; the worker never emits.
class LoopControl : public QObject
{
    Q_OBJECT
public:
    static constexpr int BlockSize = 2048;
    enum State { Playing = 0, Stopped = 1, Paused = 2, Resumed = 3 };
    // Custom events posted to this object.
    enum { DisplayControlEvent = 1001, EndOfTrackEvent = 1003 };

    explicit LoopControl(QObject* parent = nullptr);
    ~LoopControl() override;

    bool open(const QString& file);
    int64_t positionMs() const;
    void setDisplayOptions(bool backlightOff, bool displayOff);

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

protected:
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void halt();
    void resume();
    void postDisplayControl(bool stopped);
    void handleDisplayControl();
    void workerLoop();
    bool decodeStep();

    Decoder* playbackDecoderFor(const QString& file);

    std::unique_ptr<Decoder> m_decoder;                         // playback's decoder
    std::map<QString, std::unique_ptr<Decoder>> m_infoDecoders; // one per MIME type
    PlayInfo m_playInfo;  // written by decode steps, under the decoder lock
    PlayInfo m_shownInfo; // the GUI thread's copy, sent with positionChanged
    std::atomic<int64_t> m_bytesPlayed{0};
    std::unique_ptr<VRAudioDevice> m_device;
    char m_pcmBuffer[BlockSize];
    char m_analyzerBuffer[BlockSize];
    mutable std::mutex m_decoderLock;
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_quit{false};
    std::atomic<int> m_pendingSeek{-1};
    // Counts opens and stops: an end of track reported for an older generation belongs
    // to a track that was already stopped or replaced and is dropped.
    std::atomic<uint32_t> m_generation{0};

    // Display control: last stopped state sent, wanted stopped state, the two options.
    bool m_lastStopped = true;
    std::atomic<bool> m_wantedStopped{true};
    bool m_backlightOff = false;
    bool m_displayOff = false;

    int m_timer = 0;
    std::thread m_worker;
};
