#pragma once

#include <cstdint>
#include <memory>

class LoopControl;

// Where the analyzer's samples come from: the playback controller, or in tests and
// benchmarks a generator.
class AnalyzerSource
{
public:
    static constexpr int Samples = 512;

    virtual ~AnalyzerSource() = default;
    virtual bool isPlaying() const = 0;
    virtual int64_t positionMs() const = 0;
    // 512 samples: the first 16-bit sample of every 4-byte group of the last PCM block
    // (the left channel of interleaved stereo).
    virtual void copySamples(int16_t* out) = 0;
    // Whether the analyzer is ticking on screen (it then wants every block as it goes).
    virtual void setWatched(bool) {}

    // The controller's analyzer buffer, copied under its decoder lock.
    static std::unique_ptr<AnalyzerSource> fromLoopControl(LoopControl* control);
};
