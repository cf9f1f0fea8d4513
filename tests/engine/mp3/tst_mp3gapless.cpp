// Mp3Decoder plays what was encoded: the encoder's delay and padding dropped as the LAME
// tag gives them, lengths and seeks to the sample (tests/data/mp3/README).

#include "../decodehelpers.h"

#include "mp3/layer3.h"
#include "mp3decoder.h"
#include "mp3frames.h"

#include <cmath>

namespace {

QString track(const char* name)
{
    return fixture("mp3/") + QLatin1String(name);
}

// The signals the gapless fixtures were encoded from (make-fixtures.sh).
double chirp(int channel, double t)
{
    if (channel == 0)
        return 0.5 * std::sin(2 * M_PI * (300 * t + 1300 * t * t));
    return 0.4 * std::sin(2 * M_PI * (2500 * t - 600 * t * t)) + 0.2 * std::sin(2 * M_PI * (150 * t + 400 * t * t));
}

// The lag (in samples, within +-range) at which channel ch of pcm best matches the source
// channel: pcm[i] against source[i + lag], over a stretch in the middle.
int bestLag(const QByteArray& pcm, int ch, int sourceChannel, int rate, int range)
{
    const int16_t* s = samples(pcm);
    const int n = pcm.size() / 4;
    const int from = n / 3;
    const int count = std::min(8192, n - from - range);
    std::vector<double> src(size_t(count + 2 * range));
    for (int i = 0; i < int(src.size()); ++i)
        src[size_t(i)] = chirp(sourceChannel, double(from - range + i) / rate);
    int best = 0;
    double bestValue = -1e300;
    for (int lag = -range; lag <= range; ++lag) {
        double sum = 0;
        for (int i = 0; i < count; ++i)
            sum += s[2 * (from + i) + ch] * src[size_t(i + range + lag)];
        if (sum > bestValue) {
            bestValue = sum;
            best = lag;
        }
    }
    return best;
}

QByteArray decodeWhole(const QString& file, bool native, Mp3Decoder* keep = nullptr)
{
    Mp3Decoder own;
    Mp3Decoder& d = keep ? *keep : own;
    d.setNativeRate(native);
    return d.open(file, nullptr) ? decodeAll(d, nullptr, 4096) : QByteArray();
}

constexpr int kEncoderDelay = 576;  // LAME's, as its tag states
constexpr int kDecoderDelay = 529;  // a Layer III decoder's own

} // namespace

class TestMp3Gapless : public QObject
{
    Q_OBJECT

private slots:
    // Sources of known length come out exactly that long and in line with the source.
    void exactLengthAndAlignment_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("native");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("mono");
        QTest::newRow("CBR stereo") << track("gapless-cbr.mp3") << false << 44100 << 74970 << false;
        QTest::newRow("VBR joint stereo") << track("gapless-vbr.mp3") << false << 44100 << 74970 << false;
        QTest::newRow("single channel") << track("gapless-mono.mp3") << false << 44100 << 74970 << true;
        QTest::newRow("MPEG-2 VBR at its own rate") << track("gapless-mpeg2-vbr.mp3") << true << 22050 << 37485 << false;
        QTest::newRow("MPEG-2 VBR upsampled") << track("gapless-mpeg2-vbr.mp3") << false << 44100 << 74970 << false;
    }
    void exactLengthAndAlignment()
    {
        QFETCH(QString, file);
        QFETCH(bool, native);
        QFETCH(int, rate);
        QFETCH(int, expected);
        QFETCH(bool, mono);
        Mp3Decoder d;
        const QByteArray pcm = decodeWhole(file, native, &d);
        QCOMPARE(pcm.size() / 4, expected);
        // 1.7 s; an MPEG-2 Xing count taken as 1152 samples a frame would give 3
        QCOMPARE(d.length(), 1);
        QCOMPARE(d.encoderDelay(), kEncoderDelay);
        for (int ch = 0; ch < 2; ++ch) {
            // wide enough to see a delay of 529, 576 or both left in
            const int lag = bestLag(pcm, ch, mono ? 0 : ch, rate, 1200);
            if (native || !file.contains(QLatin1String("mpeg2")))
                QCOMPARE(lag, 0);
            else // upsampling by two with an even-length filter leaves half a sample
                QVERIFY2(lag == 0 || lag == -1, qPrintable(QString::number(lag)));
        }
        if (native || !file.contains(QLatin1String("mpeg2")))
            return;
        // Upsampled: interpolation of the native signal, not noise (each native sample
        // against the mean of its two).
        const QByteArray half = decodeWhole(file, true);
        QCOMPARE(half.size() * 2, pcm.size());
        const int16_t *a = samples(half), *b = samples(pcm);
        double err = 0, sig = 0;
        for (int i = 1000; i < half.size() / 4 - 1000; ++i) {
            const double x = a[2 * i], y = 0.5 * (b[4 * i] + b[4 * i + 2]);
            err += (x - y) * (x - y);
            sig += x * x;
        }
        QVERIFY2(err < sig * 0.02, qPrintable(QString::number(err / sig)));
    }

    void withoutTagNothingIsTrimmed()
    {
        // The same stream with the encoder's tag made unreadable plays every frame, and the
        // trimmed sound is that, less the delays at the start.
        QByteArray data = readFile(track("stereo128.mp3"));
        const int tag = data.indexOf("LAME");
        QVERIFY(tag > 0 && tag < 200);
        data.replace(tag, 4, QByteArray(4, '\0'));
        Mp3Decoder plain;
        const QByteArray all = decodeWhole(writeFile(QStringLiteral("untagged.mp3"), data), false, &plain);
        QCOMPARE(plain.encoderDelay(), -1);
        QCOMPARE(all.size(), (frames(data).size() - 1) * 1152 * 4); // the Info frame is not played
        const QByteArray trimmed = decodeWhole(track("stereo128.mp3"), false);
        QVERIFY(trimmed.size() < all.size() - (kEncoderDelay + kDecoderDelay) * 4);
        QCOMPARE(trimmed, all.mid((kEncoderDelay + kDecoderDelay) * 4, trimmed.size()));
    }

    // Tags and counts that lie: each row edits the Info frame of gapless-cbr.mp3 (67 audio
    // frames of 1152 samples, padding 1638) and keeps the first frames of the file.
    void lyingTags_data()
    {
        QTest::addColumn<int>("keepFrames");   // audio frames left in the file, -1 all
        QTest::addColumn<qint64>("frameCount"); // -1: as encoded
        QTest::addColumn<int>("delay");         // -1: as encoded
        QTest::addColumn<int>("padding");
        QTest::addColumn<bool>("text");         // encoder name readable
        QTest::addColumn<int>("expected");      // samples played
        QTest::addColumn<int>("length");        // seconds
        const int all = 67 * 1152;
        QTest::newRow("encoder name not text: every frame plays") << -1 << qint64(-1) << -1 << -1 << false << all << 1;
        QTest::newRow("frame count the file cannot hold: size estimate, every frame plays")
            << -1 << qint64(0xFFFFFFFF) << -1 << -1 << true << all << 1;
        QTest::newRow("file cut short: plays what is there, trimmed at the start")
            << 20 << qint64(-1) << -1 << -1 << true << 20 * 1152 - 1105 << 1;
        QTest::newRow("padding below the decoder delay: nothing trimmed at the end")
            << -1 << qint64(-1) << -1 << 0 << true << all - 1105 << 1;
        QTest::newRow("delay and padding beyond a short stream: silence, no crash")
            << 3 << qint64(3) << 4095 << 4095 << true << 0 << 0;
    }
    void lyingTags()
    {
        QFETCH(int, keepFrames);
        QFETCH(qint64, frameCount);
        QFETCH(int, delay);
        QFETCH(int, padding);
        QFETCH(bool, text);
        QFETCH(int, expected);
        QFETCH(int, length);
        QByteArray data = readFile(track("gapless-cbr.mp3"));
        const auto list = frames(data);
        QCOMPARE(list.size(), 68);
        const int info = data.indexOf("Info");
        const int tag = data.indexOf("LAME");
        QVERIFY(info > 0 && tag > info && tag < list[0].second);
        if (frameCount >= 0)
            data.replace(info + 8, 4, be32(uint32_t(frameCount)));
        if (!text)
            data.replace(tag, 4, QByteArray("\x01\x02\x03\x04", 4));
        const int d = delay >= 0 ? delay : 576;
        const int p = padding >= 0 ? padding : 1638;
        data[tag + 21] = char(d >> 4);
        data[tag + 22] = char((d & 15) << 4 | p >> 8);
        data[tag + 23] = char(p & 255);
        if (keepFrames >= 0)
            data.truncate(list[keepFrames + 1].first);
        Mp3Decoder dec;
        const QByteArray pcm = decodeWhole(writeFile(QStringLiteral("lying.mp3"), data), false, &dec);
        QCOMPARE(pcm.size() / 4, expected);
        QCOMPARE(dec.length(), length);
    }

    void upsampledFileCutShort()
    {
        // Upsampled MPEG-2 ends with the interpolation filter's tail: after the last frame
        // of a cut file only the filter's delay follows, not a frame of silence.
        QByteArray data = readFile(track("gapless-mpeg2-vbr.mp3"));
        const auto list = frames(data);
        QVERIFY(list.size() > 30);
        data.truncate(list[21].first); // the Xing frame and 20 frames of 576 samples
        const QByteArray pcm = decodeWhole(writeFile(QStringLiteral("cut-mpeg2.mp3"), data), false);
        QCOMPARE(pcm.size() / 4, 2 * (20 * 576 - kEncoderDelay - kDecoderDelay));
    }

    // A seek to t gives the samples of a decode from the start from t on, whatever the
    // reservoir, block types and rates.
    void seekIsSampleExact_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("native");
        QByteArray untagged = readFile(track("joint320.mp3"));
        untagged.replace(untagged.indexOf("LAME"), 4, QByteArray(4, '\0'));
        for (const char* name : {"gapless-cbr.mp3", "gapless-vbr.mp3", "gapless-mono.mp3", "joint320.mp3",
                                 "free200.mp3", "mixed.mp3", "intensity-short.mp3", "tagged-v2.mp3"})
            QTest::newRow(name) << track(name) << false;
        QTest::newRow("MPEG-2 at its own rate") << track("gapless-mpeg2-vbr.mp3") << true;
        QTest::newRow("MPEG-2 upsampled") << track("mpeg2-24k-ms.mp3") << false;
        QTest::newRow("no encoder tag") << writeFile(QStringLiteral("untagged320.mp3"), untagged) << false;
    }
    void seekIsSampleExact()
    {
        QFETCH(QString, file);
        QFETCH(bool, native);
        const QByteArray whole = decodeWhole(file, native);
        Mp3Decoder d;
        d.setNativeRate(native);
        QVERIFY(d.open(file, nullptr));
        const int64_t bytesPerSecond = int64_t(d.firstRate()) * 4;
        QVERIFY(whole.size() > bytesPerSecond);
        for (int t : {1, 0}) {
            QCOMPARE(d.seek(t), t * bytesPerSecond);
            PlayInfo info;
            const QByteArray rest = decodeAll(d, &info, 4096);
            QCOMPARE(rest.size(), int(whole.size() - t * bytesPerSecond));
            QVERIFY2(rest == whole.mid(int(t * bytesPerSecond)), qPrintable(QString::number(maxDifference(rest, whole.mid(int(t * bytesPerSecond))))));
            QCOMPARE(info.position, int(whole.size() / bytesPerSecond));
        }
        QVERIFY(d.seek(3) > 0); // past the end: nothing more
        QVERIFY(decodeAll(d).isEmpty());
    }
};

QUAVRIX_TEST_MAIN(TestMp3Gapless)
#include "tst_mp3gapless.moc"
