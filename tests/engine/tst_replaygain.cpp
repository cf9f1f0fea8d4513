// ReplayGain: gains read from every place taggers keep them, and applied in playback. A
// file tagged -6.02 dB plays at half the amplitude of the same file untagged, in every
// format; the album gain wins in album mode; the peak limits a gain that would clip.
#include "decodehelpers.h"

#include "decoderfactory.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "replaygain.h"
#include "vraudiodevice.h"

#include <cmath>
#include <memory>

namespace {
// What the controller sends to the device for a file, in the ReplayGain mode given.
QByteArray played(const QString& file, int mode)
{
    ReplayGain::Options options;
    options.mode = mode;
    QByteArray pcm;
    return playThroughLoopControl(file, 20000, &pcm, nullptr, options) ? pcm : QByteArray();
}

// The largest step between what was heard and the reference scaled by factor.
int worstAgainstScaled(const QByteArray& heard, const QByteArray& reference, double factor)
{
    int worst = 0;
    for (int i = 0; i < qMin(heard.size(), reference.size()) / 2; ++i)
        worst = qMax(worst, std::abs(samples(heard)[i] - int(std::lround(samples(reference)[i] * factor))));
    return worst;
}
} // namespace

class TestReplayGain : public QObject
{
    Q_OBJECT

private slots:
    void tagValues_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("gain"); // a gain (else a peak)
        QTest::addColumn<int>("value"); // hundredths of a dB, millionths; -1: refused
        QTest::newRow("gain as written") << QByteArray("-6.02 dB") << true << -602;
        QTest::newRow("no space, lower case") << QByteArray(" +3.5db ") << true << 350;
        QTest::newRow("no unit") << QByteArray("-1") << true << -100;
        QTest::newRow("words") << QByteArray("abc dB") << true << -1;
        QTest::newRow("infinity") << QByteArray("inf") << true << -1;
        QTest::newRow("not a number") << QByteArray("nan dB") << true << -1;
        QTest::newRow("exponent") << QByteArray("1e3 dB") << true << -1;
        QTest::newRow("beyond 60 dB") << QByteArray("-61 dB") << true << -1;
        QTest::newRow("decimal comma") << QByteArray("-6,02 dB") << true << -1;
        QTest::newRow("empty") << QByteArray("") << true << -1;
        QTest::newRow("peak") << QByteArray("0.988") << false << 988000;
        QTest::newRow("negative peak") << QByteArray("-0.5") << false << -1;
    }
    void tagValues()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, gain);
        QFETCH(int, value);
        int32_t got = -1;
        const bool ok = gain ? ReplayGain::parseGain(text, &got) : ReplayGain::parsePeak(text, &got);
        QCOMPARE(ok ? int(got) : -1, value);
    }

    // The factor in 1/65536: 65536 leaves the sound alone, 32768 is half the amplitude.
    void factors_data()
    {
        QTest::addColumn<QList<int>>("in"); // gain flags, track gain, album gain, track peak, mode, pre-amp
        QTest::addColumn<int>("expected");
        const int track = AudioInfo::TrackGain, both = AudioInfo::TrackGain | AudioInfo::AlbumGain;
        QTest::newRow("off changes nothing") << QList<int>{both, -602, -1204, 0, 0, 0} << 65536;
        QTest::newRow("track -6.02 dB: half") << QList<int>{both, -602, -1204, 0, 1, 0} << 32770;
        QTest::newRow("album mode takes the album gain") << QList<int>{both, -602, -1204, 0, 2, 0} << 16386;
        QTest::newRow("album mode without one takes the track's") << QList<int>{track, -602, 0, 0, 2, 0} << 32770;
        QTest::newRow("pre-amp +6 dB on -6.02 dB") << QList<int>{track, -602, 0, 0, 1, 6} << 65385;
        QTest::newRow("+10 dB with peak 0.9: 1/0.9") << QList<int>{track, 1000, 0, 900000, 1, 0} << 72818;
        QTest::newRow("+10 dB without a peak") << QList<int>{track, 1000, 0, 0, 1, 0} << 207243;
        QTest::newRow("untagged: the pre-amp for files without") << QList<int>{0, 0, 0, 0, 1, 0} << 32845;
    }
    void factors()
    {
        QFETCH(QList<int>, in);
        QFETCH(int, expected);
        AudioInfo info;
        info.gains = uint8_t(in[0]);
        info.trackGain = in[1];
        info.albumGain = in[2];
        info.trackPeak = in[3];
        ReplayGain::Options o;
        o.mode = in[4];
        o.preampDb = in[5];
        o.preampNoneDb = -6; // only for the untagged row
        QVERIFY2(std::abs(ReplayGain::factor(info, o) - expected) <= 1, qPrintable(QString::number(ReplayGain::factor(info, o))));
    }

    // Each place a gain is kept, read and applied: the tagged file's samples are the
    // untagged file's scaled by 10^(dB/20), to within one step. The Opus header's output
    // gain is always applied (by the decoder), and the R128 tag on top of it.
    void everyFormatPlaysAtItsGain_data()
    {
        QTest::addColumn<QString>("tagged");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<int>("trackCentiDb");
        QTest::addColumn<int>("albumCentiDb"); // 0: none
        QTest::addColumn<int>("headerCentiDb"); // Opus output gain, 0: none
        QTest::newRow("MP3, ID3v2 TXXX") << fixture("replaygain/txxx.mp3") << fixture("replaygain/plain.mp3") << -602 << -1204 << 0;
        QTest::newRow("MP3, ID3v2 RVA2") << fixture("replaygain/rva2.mp3") << fixture("replaygain/plain.mp3") << -602 << -1204 << 0;
        QTest::newRow("MP3, the LAME tag") << fixture("replaygain/lame.mp3") << fixture("replaygain/plain.mp3") << -600 << 0 << 0;
        QTest::newRow("Ogg Vorbis") << fixture("replaygain/tagged.ogg") << fixture("replaygain/plain.ogg") << -602 << -1204 << 0;
        QTest::newRow("FLAC") << fixture("replaygain/tagged.flac") << fixture("replaygain/plain.flac") << -602 << -1204 << 0;
        QTest::newRow("Opus R128 (+5 dB)") << fixture("replaygain/tagged.opus") << fixture("replaygain/plain.opus") << -602 << -1204 << 0;
        // -1541/256 dB in the header: a quarter in all, within the rounding of two steps.
        QTest::newRow("Opus header gain and R128 tag both apply")
            << fixture("replaygain/headergain.opus") << fixture("replaygain/plain.opus") << -602 << -1204 << -602;
        QTest::newRow("MP4 freeform items") << fixture("replaygain/tagged.m4a") << fixture("replaygain/plain.m4a") << -602 << -1204 << 0;
    }
    void everyFormatPlaysAtItsGain()
    {
        QFETCH(QString, tagged);
        QFETCH(QString, plain);
        QFETCH(int, trackCentiDb);
        QFETCH(int, albumCentiDb);
        QFETCH(int, headerCentiDb);
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
        LoopControl control;
        std::unique_ptr<AudioInfo> info(LoopControl::readTrackInfo(control.decoderFor(tagged), tagged));
        QVERIFY(info);
        QVERIFY(info->gains & AudioInfo::TrackGain);
        QVERIFY2(std::abs(info->trackGain - trackCentiDb) <= 1, qPrintable(QString::number(info->trackGain)));
        QCOMPARE(bool(info->gains & AudioInfo::AlbumGain), albumCentiDb != 0);

        const QByteArray untagged = played(plain, ReplayGain::Options::Track);
        const QByteArray heard = played(tagged, ReplayGain::Options::Track);
        QVERIFY(untagged.size() > 40000);
        QCOMPARE(heard.size(), untagged.size());
        const int worst = worstAgainstScaled(heard, untagged, std::pow(10.0, (trackCentiDb + headerCentiDb) / 2000.0));
        QVERIFY2(worst <= (headerCentiDb ? 2 : 1), qPrintable(QString::number(worst)));
    }

    // Where no mixer can be found, Volume Down and Up still work: the program scales the
    // samples itself, in the same steps, on top of the gain.
    void withoutAMixerTheVolumeIsApplied()
    {
        qputenv("QUAVRIX_MIXER", "/nonexistent/mixer");
        const QString file = fixture("replaygain/tagged.flac");
        const QByteArray full = played(file, ReplayGain::Options::Track);
        QCOMPARE(VRAudioDevice::volume(), 100);
        for (int i = 0; i < 10; ++i)
            VRAudioDevice::volumeDown();
        QCOMPARE(VRAudioDevice::volume(), 80);
        const QByteArray quieter = played(file, ReplayGain::Options::Track);
        VRAudioDevice::changeVolume(20);
        QCOMPARE(VRAudioDevice::volume(), 100);
        qunsetenv("QUAVRIX_MIXER");
        QCOMPARE(quieter.size(), full.size());
        const int worst = worstAgainstScaled(quieter, full, 0.512);
        QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));
    }
};

QUAVRIX_TEST_MAIN(TestReplayGain)
#include "tst_replaygain.moc"
