#include "analyzersource.h"

#include "loopcontrol.h"

#include <cstring>

namespace {

class LoopControlSource : public AnalyzerSource
{
public:
    explicit LoopControlSource(LoopControl* c)
        : m_control(c)
    {
    }
    bool isPlaying() const override { return m_control->isPlaying(); }
    int64_t positionMs() const override { return m_control->positionMs(); }
    void copySamples(int16_t* out) override
    {
        static_assert(LoopControl::BlockSize >= Samples * 4, "analyzer buffer too small");
        m_control->withDecoderLock([&] {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(m_control->analyzerBuffer());
            // PCM is little-endian whatever the host.
            for (int i = 0; i < Samples; ++i)
                out[i] = int16_t(uint16_t(b[4 * i] | (b[4 * i + 1] << 8)));
        });
    }

    void setWatched(bool watched) override { m_control->setAnalyzerWatched(watched); }

private:
    LoopControl* m_control;
};

} // namespace

std::unique_ptr<AnalyzerSource> AnalyzerSource::fromLoopControl(LoopControl* control)
{
    if (!control)
        return nullptr;
    return std::make_unique<LoopControlSource>(control);
}
