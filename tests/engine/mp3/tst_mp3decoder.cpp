// Mp3Decoder on lame-made files (tests/data/mp3/README): accuracy against libmpg123, what
// was encoded played exactly (the encoder's delay and padding dropped as the LAME tag gives
// them, lengths and seeks to the sample), tags, and files that are damaged, cut or not audio.

#include "../decodehelpers.h"

#include "mp3/layer3.h"
#include "mp3decoder.h"

#ifdef QUAVRIX_HAVE_MPG123
#include "mp3reference.h"
#endif

#include <cmath>

#include <sys/stat.h>

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

// The whole file through the decoder (a fresh one, or the one given), in blocks of the size given.
QByteArray decodeMp3(const QString& file, bool native = false, int block = 4096, Mp3Decoder* keep = nullptr)
{
    Mp3Decoder own;
    Mp3Decoder& d = keep ? *keep : own;
    d.setNativeRate(native);
    return d.open(file, nullptr) ? decodeAll(d, nullptr, block) : QByteArray();
}

// Offset and length of every frame with a table bit rate, found by walking the headers: an
// independent count to check framing, lengths and seeks against.
QList<QPair<int, int>> frames(const QByteArray& data)
{
    QList<QPair<int, int>> result;
    const uint8_t* b = reinterpret_cast<const uint8_t*>(data.constData());
    for (int i = 0; i + 4 <= data.size();) {
        mp3::FrameHeader h;
        const int len = mp3::parseHeader(b + i, h) ? mp3::frameLength(h) : 0;
        if (len)
            result.append({i, len});
        i += len ? len : 1;
    }
    return result;
}

constexpr int kEncoderDelay = 576;  // LAME's, as its tag states
constexpr int kDecoderDelay = 529;  // a Layer III decoder's own

} // namespace

class TestMp3Decoder : public QObject
{
    Q_OBJECT

private slots:
    // Block types, stereo modes, MPEG-2 rates, CRC, free format, VBR and tags; "plain" rows
    // take the transforms without vectors (other processors), "avx2" rows those without
    // 512-bit vectors. loud-linbits.mp3 holds granules hundreds of times full scale: the
    // reference clips only its output, and between two clipped runs a lone sample crosses
    // the whole range, where the float reference itself is good to a few LSB only.
    void accuracy_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("simd");
        QTest::addColumn<int>("maxLsb");
        for (const char* name : {"stereo128.mp3", "joint320.mp3", "midside128.mp3", "mono64.mp3", "vbr.mp3",
                                 "crc48.mp3", "free200.mp3", "mpeg2-22k.mp3", "mpeg2-16k-mono.mp3",
                                 "mpeg2-24k-ms.mp3", "intensity-long.mp3", "intensity-short.mp3", "mixed.mp3",
                                 "tagged-v2.mp3"})
            QTest::newRow(name) << track(name) << QByteArray() << 2;
        for (const char* simd : {"plain", "avx2"})
            for (const char* name : {"joint320.mp3", "midside128.mp3", "mixed.mp3"})
                QTest::addRow("%s %s", name, simd) << track(name) << QByteArray(simd) << 2;
        for (const char* simd : {"fastest", "plain", "avx2"})
            QTest::addRow("loud-linbits.mp3 %s", simd) << track("loud-linbits.mp3") << QByteArray(simd) << 8;
    }
    void accuracy()
    {
#ifndef QUAVRIX_HAVE_MPG123
        QSKIP("libmpg123 not found");
#else
        QFETCH(QString, file);
        QFETCH(QByteArray, simd);
        QFETCH(int, maxLsb);
        if (!simd.isEmpty() && simd != "fastest")
            qputenv("QUAVRIX_MP3_SIMD", simd);
        mp3ref::Pcm ours, ref;
        const bool decoded = mp3ref::decodeQuavrix(file, true, ours);
        qunsetenv("QUAVRIX_MP3_SIMD");
        QVERIFY(decoded && mp3ref::decodeMpg123(QFile::encodeName(file).constData(), ref));
        QCOMPARE(ours.rate, ref.rate);
        // The same samples: encoder delay and padding dropped alike, to the sample.
        QCOMPARE(ours.samples.size(), ref.samples.size());
        // The last frame is left out: on intensity-long.mp3 libmpg123 decodes it differently
        // from libmad, and libmad agrees with us.
        ours.samples.resize(ref.samples.size() - 2304);
        const mp3ref::Accuracy acc = mp3ref::compare(ours.samples, ref.samples);
        // ISO/IEC 11172-4 full accuracy: RMS at most 1/sqrt(12) LSB.
        QVERIFY2(acc.compared > 0 && acc.rmsLsb <= 1.0 / std::sqrt(12.0) && acc.maxLsb <= maxLsb,
                 qPrintable(QStringLiteral("RMS %1 LSB, max %2 LSB").arg(acc.rmsLsb).arg(acc.maxLsb)));
#endif
    }

    void lengthAndSeekFigures()
    {
        // A constant 128 kbit/s stream of exactly 1,600,000 bytes: 16,000 bytes a second.
        const QByteArray src = readFile(track("stereo128.mp3"));
        const auto list = frames(src);
        QByteArray data;
        while (data.size() < 1600000)
            for (int i = 1; i < list.size(); ++i) // without the Info frame
                data += src.mid(list[i].first, list[i].second);
        data.truncate(1600000);
        Mp3Decoder d;
        QVERIFY(d.open(writeFile(QStringLiteral("cbr.mp3"), data), nullptr));
        QCOMPARE(d.firstBitrate(), 128000);
        QCOMPARE(d.length(), 100);
        // A seek finds the frame that holds its first sample (no tag: nothing trimmed).
        QCOMPARE(d.seekOffset(60), int64_t(frames(data)[60 * 44100 / 1152].first));
        QCOMPARE(d.seek(60), int64_t(44100) * 60 * 4);
        PlayInfo info;
        QCOMPARE(decodeAll(d, &info, 2048, 1).size(), 2048);
        QCOMPARE(QList<int>({info.position, info.length, info.range, info.rate, info.channels, info.bitrate}),
                 QList<int>({60, 100, 100, 44100, 2, 128000}));
        // Byte counts past 2^31 stay exact; beyond the end there is nothing.
        QCOMPARE(d.seek(20000), int64_t(44100) * 20000 * 4);
        QCOMPARE(d.seekOffset(20000), int64_t(1600000));
        QVERIFY(decodeAll(d, &info).isEmpty());
        d.close();
        QCOMPARE(d.seek(1), int64_t(-1));
    }

    void id3v1Tags()
    {
        Mp3Decoder d;
        AudioInfo info, none, v10;
        QVERIFY(d.open(track("tagged-v1.mp3"), &info));
        QCOMPARE(describe(info), QByteArray("Title Of Track|Some Artist|An Album|1999|7|0"));
        QVERIFY(d.open(track("stereo128.mp3"), &none));
        QCOMPARE(describe(none), QByteArray("|||0|0|0"));
        // Version 1.0: a comment running into byte 126 leaves a space there (track 32).
        QByteArray data = readFile(track("tagged-v1.mp3"));
        data[data.size() - 3] = data[data.size() - 2] = ' ';
        QVERIFY(d.open(writeFile(QStringLiteral("v10.mp3"), data), &v10));
        QCOMPARE(v10.track, 32);
        // (A version 2 tag before the audio is skipped: tagged-v2.mp3 in the accuracy and
        // seek tables.)
    }

    void blocksOfAnySizeAndDamagedFiles()
    {
        const QByteArray all = decodeMp3(track("stereo128.mp3"), false, 4);
        QVERIFY(all.size() > 10000 && all.size() % 10000 != 0);
        Mp3Decoder d;
        QVERIFY(d.open(track("stereo128.mp3"), nullptr));
        QCOMPARE(decodeAll(d, nullptr, 10000), all); // the last block partly filled
        char block[10000];
        int produced = 1;
        PlayInfo info;
        QVERIFY(!d.decode(block, sizeof block, &produced, &info));
        QCOMPARE(produced, 0);
        // 65534 bytes that are not audio in front: the same sound.
        const QByteArray data = readFile(track("stereo128.mp3"));
        QCOMPARE(decodeMp3(writeFile(QStringLiteral("padded.mp3"), QByteArray(65534, '\0') + data), false, 4), all);
        // Half a file plays its half.
        const QByteArray half = decodeMp3(writeFile(QStringLiteral("half.mp3"), data.left(data.size() / 2 + 77)), false, 4);
        QVERIFY(half.size() > all.size() / 2 - 20000 && half.size() < all.size());
        QCOMPARE(half, all.left(half.size()));
        // Frames whose side information and main data are garbage (lengths out of range,
        // Huffman data running past the granule) decode to something in their own place:
        // nothing before them changes, the stream keeps its length, and a few frames later
        // the output is exact again.
        QByteArray garbled = data;
        const auto list = frames(data);
        uint32_t x = 99;
        for (int f = 20; f < 30; ++f)
            for (int i = list[f].first + 4; i < list[f].first + list[f].second; ++i)
                garbled[i] = char((x = x * 1664525u + 1013904223u) >> 24);
        const QByteArray damaged = decodeMp3(writeFile(QStringLiteral("damaged.mp3"), garbled), false, 2048);
        const int frameBytes = 1152 * 4;
        QCOMPARE(damaged.size(), all.size());
        QCOMPARE(damaged.left(18 * frameBytes), all.left(18 * frameBytes));
        QCOMPARE(damaged.right(all.size() - 36 * frameBytes), all.right(all.size() - 36 * frameBytes));
    }

    void garbageEmptyAndMissingFiles()
    {
        // Random bytes: opens (the file is readable) and ends without a crash.
        QByteArray bytes(200000, '\0');
        uint32_t x = 12345;
        for (char& c : bytes)
            c = char((x = x * 1103515245u + 12345u) >> 24);
        Mp3Decoder d;
        QVERIFY(d.open(writeFile(QStringLiteral("noise.mp3"), bytes), nullptr));
        decodeAll(d);
        // Empty and missing files.
        QVERIFY(d.open(writeFile(QStringLiteral("empty.mp3"), QByteArray()), nullptr));
        QVERIFY(decodeAll(d).isEmpty());
        QCOMPARE(d.length(), 0);
        QCOMPARE(d.seek(3), int64_t(-1));
        AudioInfo info;
        QVERIFY(!d.open(quavrixTestRoot() + QStringLiteral("/missing.mp3"), &info));
        // A FIFO nobody writes to is refused, not waited on (ctest's timeout would tell).
        const QString fifo = quavrixTestRoot() + QStringLiteral("/fifo.mp3");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(!d.open(fifo, nullptr));
        QVERIFY(!d.open(fifo, &info));
    }

    void playsThroughLoopControl()
    {
        const QByteArray expected = decodeMp3(track("stereo128.mp3"), false, LoopControl::BlockSize);
        QByteArray device, title;
        QVERIFY(playThroughLoopControl(track("stereo128.mp3"), 30000, &device, &title));
        QCOMPARE(device, expected);
        QCOMPARE(title, QByteArray("stereo128")); // no tag: made from the file name
    }

    // Tags and counts that lie: each row edits the Info frame of gapless-cbr.mp3 (67 audio
    // frames of 1152 samples, delay 576, padding 1638) and keeps the first frames of the file.
    void lyingTags_data()
    {
        QTest::addColumn<QList<qint64>>("edit");  // audio frames kept (-1 all), frame count, delay, padding (-1: as
                                                  // encoded), encoder name readable
        QTest::addColumn<QList<int>>("played");   // samples, seconds
        const int all = 67 * 1152;
        QTest::newRow("encoder name not text: every frame plays") << QList<qint64>{-1, -1, -1, -1, 0} << QList<int>{all, 1};
        QTest::newRow("frame count the file cannot hold: size estimate, every frame plays")
            << QList<qint64>{-1, 0xFFFFFFFF, -1, -1, 1} << QList<int>{all, 1};
        QTest::newRow("file cut short: plays what is there, trimmed at the start")
            << QList<qint64>{20, -1, -1, -1, 1} << QList<int>{20 * 1152 - 1105, 1};
        QTest::newRow("padding below the decoder delay: nothing trimmed at the end")
            << QList<qint64>{-1, -1, -1, 0, 1} << QList<int>{all - 1105, 1};
        QTest::newRow("delay and padding beyond a short stream: silence, no crash")
            << QList<qint64>{3, 3, 4095, 4095, 1} << QList<int>{0, 0};
    }
    void lyingTags()
    {
        QFETCH(QList<qint64>, edit);
        QByteArray data = readFile(track("gapless-cbr.mp3"));
        const auto list = frames(data);
        QCOMPARE(list.size(), 68);
        const int info = data.indexOf("Info");
        const int tag = data.indexOf("LAME");
        QVERIFY(info > 0 && tag > info && tag < list[0].second);
        if (edit[1] >= 0)
            data.replace(info + 8, 4, be32(uint32_t(edit[1])));
        if (!edit[4])
            data.replace(tag, 4, QByteArray("\x01\x02\x03\x04", 4));
        const int d = edit[2] >= 0 ? int(edit[2]) : 576;
        const int p = edit[3] >= 0 ? int(edit[3]) : 1638;
        data[tag + 21] = char(d >> 4);
        data[tag + 22] = char((d & 15) << 4 | p >> 8);
        data[tag + 23] = char(p & 255);
        if (edit[0] >= 0)
            data.truncate(list[int(edit[0]) + 1].first);
        Mp3Decoder dec;
        const QByteArray pcm = decodeMp3(writeFile(QStringLiteral("lying.mp3"), data), false, 4096, &dec);
        QTEST((QList<int>{int(pcm.size() / 4), dec.length()}), "played");
    }

    // A seek to t gives the samples of a decode from the start from t on, whatever the
    // reservoir, block types and rates. The gapless sources of 1.7 s come out exactly that
    // long and in line with the source.
    void seekIsSampleExact_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("native");
        QByteArray untagged = readFile(track("joint320.mp3"));
        untagged.replace(untagged.indexOf("LAME"), 4, QByteArray(4, '\0'));
        for (const char* name : {"gapless-cbr.mp3", "gapless-vbr.mp3", "gapless-mono.mp3", "joint320.mp3",
                                 "free200.mp3", "mixed.mp3", "intensity-short.mp3", "tagged-v2.mp3"})
            QTest::newRow(name) << track(name) << false;
        QTest::newRow("gapless MPEG-2 VBR at its own rate") << track("gapless-mpeg2-vbr.mp3") << true;
        QTest::newRow("gapless MPEG-2 VBR upsampled") << track("gapless-mpeg2-vbr.mp3") << false;
        QTest::newRow("MPEG-2 upsampled") << track("mpeg2-24k-ms.mp3") << false;
        QTest::newRow("no encoder tag") << writeFile(QStringLiteral("untagged320.mp3"), untagged) << false;
    }
    void seekIsSampleExact()
    {
        QFETCH(QString, file);
        QFETCH(bool, native);
        Mp3Decoder d;
        const QByteArray whole = decodeMp3(file, native, 4096, &d);
        const int64_t bytesPerSecond = int64_t(d.firstRate()) * 4;
        QVERIFY(whole.size() > bytesPerSecond);
        const bool upsampled = !native && file.contains(QLatin1String("mpeg2"));
        if (file.contains(QLatin1String("gapless"))) {
            QCOMPARE(whole.size() / 4, (native ? 22050 : 44100) * 17 / 10);
            // 1.7 s; an MPEG-2 Xing count taken as 1152 samples a frame would give 3
            QCOMPARE(d.length(), 1);
            QCOMPARE(d.encoderDelay(), kEncoderDelay);
            for (int ch = 0; ch < 2; ++ch) {
                // wide enough to see a delay of 529, 576 or both left in
                const int lag = bestLag(whole, ch, file.contains(QLatin1String("mono")) ? 0 : ch, native ? 22050 : 44100, 1200);
                // upsampling by two with an even-length filter leaves half a sample
                QVERIFY2(lag == 0 || (upsampled && lag == -1), qPrintable(QString::number(lag)));
            }
        }
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
        if (!upsampled || !file.contains(QLatin1String("gapless")))
            return;
        // Upsampled, on the smooth source: interpolation of the native signal, not noise
        // (each native sample against the mean of its two).
        const QByteArray half = decodeMp3(file, true);
        QCOMPARE(half.size() * 2, whole.size());
        const int16_t *a = samples(half), *b = samples(whole);
        double err = 0, sig = 0;
        for (int i = 1000; i < half.size() / 4 - 1000; ++i) {
            const double x = a[2 * i], y = 0.5 * (b[4 * i] + b[4 * i + 2]);
            err += (x - y) * (x - y);
            sig += x * x;
        }
        QVERIFY2(err < sig * 0.02, qPrintable(QString::number(err / sig)));
        // A cut file ends with the interpolation filter's tail: after the last frame only
        // the filter's delay follows, not a frame of silence.
        const QByteArray data = readFile(file);
        const auto list = frames(data);
        QVERIFY(list.size() > 30);
        // the Xing frame and 20 frames of 576 samples
        const QByteArray cut = decodeMp3(writeFile(QStringLiteral("cut-mpeg2.mp3"), data.left(list[21].first)), false);
        QCOMPARE(cut.size() / 4, 2 * (20 * 576 - kEncoderDelay - kDecoderDelay));
    }
};

QUAVRIX_TEST_MAIN(TestMp3Decoder)
#include "tst_mp3decoder.moc"
