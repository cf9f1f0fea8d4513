// What a listener hears at a real sound server (a private PulseAudio daemon, the engine on
// ALSA "default"), measured from the server's own recording of its output:
// - the gap from the last sample of one track to the first of the next, when the
//   controller goes on with the next file by itself (goal: 0 frames);
// - the time from Pause to silence (goal: under 50 ms). The recorder trails the server by
//   up to one fragment (20 ms), so this figure is an upper bound.
// Run: build/bin/quavrix-soundbench [ROUNDS]
#include "pulsesession.h"

#include "decoder.h"
#include "decoderfactory.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "playinfo.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {
const QString kData = QStringLiteral(QUAVRIX_TEST_DATA "/sound/");

QByteArray decodeFile(const QString& file)
{
    std::unique_ptr<Decoder> d(createDecoder(MimeType(file).id()));
    QByteArray pcm;
    if (!d->open(file, nullptr))
        return pcm;
    char block[LoopControl::BlockSize];
    PlayInfo info;
    for (int produced = 1; produced > 0;) {
        produced = 0;
        d->decode(block, sizeof block, &produced, &info);
        if (produced > 0)
            pcm.append(block, produced);
    }
    return pcm;
}

void summarise(const char* what, std::vector<double> v, const char* unit)
{
    if (v.empty()) {
        std::printf("%-34s no result\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    std::printf("%-34s median %7.2f %s   min %7.2f   max %7.2f   (%zu rounds)\n", what, v[v.size() / 2], unit, v.front(),
                v.back(), v.size());
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, std::atoi(argv[1])) : 5;
    PulseSession pulse;
    if (!pulse.start()) {
        std::fprintf(stderr, "soundbench: %s\n", qPrintable(pulse.whyNot()));
        return 1;
    }
    pulse.applyToThisProcess();
    qunsetenv("QUAVRIX_DSP"); // no OSS: ALSA "default", the server

    const QString a = kData + "tone-a.mp3", b = kData + "tone-b.mp3", ramp = kData + "ramp.mp3";
    const QByteArray pcmA = decodeFile(a), pcmB = decodeFile(b);
    std::vector<double> gaps, pauses;
    for (int round = 0; round < rounds; ++round) {
        {
            LoopControl control;
            const qint64 from = pulse.recordedFrames();
            control.open(a);
            control.setNext(b);
            control.play();
            if (!QTest::qWaitFor([&] { return !control.isPlaying(); }, 10000))
                std::fprintf(stderr, "soundbench: the tracks did not end\n");
            pulse.waitForQuiet(from, PulsePcm::Rate / 10);
            const QByteArray heard = pulse.recording(from);
            const qint64 startA = PulsePcm::findStart(heard, pcmA);
            const qint64 startB = PulsePcm::findStart(heard, pcmB, qMax<qint64>(0, startA));
            if (startA >= 0 && startB >= 0)
                gaps.push_back(double(startB - (startA + PulsePcm::frames(pcmA))));
            else
                std::fprintf(stderr, "soundbench: round %d: %s not heard as it is\n", round, startA < 0 ? "the first track" : "the second track");
        }
        {
            LoopControl control;
            const qint64 from = pulse.recordedFrames();
            control.open(ramp);
            control.play();
            QTest::qWait(1500);
            const qint64 atPause = pulse.recordedFrames() - from;
            control.setPaused(true);
            QTest::qWait(400);
            const QByteArray heard = pulse.recording(from);
            qint64 lastSound = -1;
            for (qint64 i = PulsePcm::frames(heard) - 1; i >= 0 && lastSound < 0; --i)
                if (!PulsePcm::isSilent(heard.constData(), i))
                    lastSound = i;
            if (lastSound >= 0)
                pauses.push_back(double(qMax<qint64>(0, lastSound + 1 - atPause)) * 1000.0 / PulsePcm::Rate);
            control.stop();
        }
    }
    std::printf("Through ALSA \"default\" into PulseAudio (null sink, monitor recorded):\n");
    summarise("gap between tracks", gaps, "frames");
    summarise("Pause to silence", pauses, "ms");
    return 0;
}
