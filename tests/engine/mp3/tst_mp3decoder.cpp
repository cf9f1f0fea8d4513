// Mp3Decoder and its stream on lame-made files (tests/data/mp3/README).

#include "../decodehelpers.h"

#include "audioinfo.h"
#include "decoderfactory.h"
#include "mp3/layer3.h"
#include "mp3/mp3stream.h"
#include "mp3/mp3tables.h"
#include "mp3decoder.h"
#include "mp3frames.h"

#ifdef QUAVRIX_HAVE_MPG123
#include "mp3reference.h"
#endif

#include <atomic>
#include <new>

// Counts heap allocations so that a test can check that decoding allocates nothing.
static std::atomic<long> g_allocations{0};

void* operator new(std::size_t n)
{
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

QString track(const char* name)
{
    return fixture("mp3/") + QLatin1String(name);
}

QByteArray decodeMp3(const QString& file, int block = 4, bool native = false)
{
    Mp3Decoder d;
    d.setNativeRate(native);
    return decodeFile(std::move(d), file, block);
}

} // namespace

#ifdef QUAVRIX_HAVE_MPG123
// Ours (gapless, on the transforms asked for: "plain", "avx2" or the fastest) and the
// reference, for the same file.
static bool decodeBoth(const QString& file, const QByteArray& simd, mp3ref::Pcm& ours, mp3ref::Pcm& ref)
{
    if (!simd.isEmpty())
        qputenv("QUAVRIX_MP3_SIMD", simd);
    const bool decoded = mp3ref::decodeQuavrix(file, true, ours);
    qunsetenv("QUAVRIX_MP3_SIMD");
    return decoded && mp3ref::decodeMpg123(QFile::encodeName(file).constData(), ref);
}
#endif

class TestMp3Decoder : public QObject
{
    Q_OBJECT

private slots:
    void headerTables()
    {
        struct Case
        {
            uint8_t b[4];
            bool valid;
            int version, rate, kbps, length, channels, sideInfo;
        };
        const Case cases[] = {
            {{0xFF, 0xFB, 0x90, 0x64}, true, 1, 44100, 128, 417, 2, 32}, // MPEG-1 128k 44.1 kHz
            {{0xFF, 0xFB, 0x92, 0xC4}, true, 1, 44100, 128, 418, 1, 17}, // padded, single channel
            {{0xFF, 0xFB, 0xE4, 0x00}, true, 1, 48000, 320, 960, 2, 32},
            {{0xFF, 0xFB, 0x18, 0x00}, true, 1, 32000, 32, 144, 2, 32},
            {{0xFF, 0xF3, 0x80, 0x00}, true, 0, 22050, 64, 208, 2, 17}, // MPEG-2 64k 22.05 kHz
            {{0xFF, 0xF3, 0x48, 0xC0}, true, 0, 16000, 32, 144, 1, 9},
            {{0xFF, 0xFB, 0x00, 0x00}, true, 1, 44100, 0, 0, 2, 32},     // free format: no table length
            {{0xFF, 0xFD, 0x90, 0x00}, false, 0, 0, 0, 0, 0, 0},         // Layer II
            {{0xFF, 0xFB, 0xF0, 0x00}, false, 0, 0, 0, 0, 0, 0},         // bit-rate index 15
            {{0xFF, 0xFB, 0x9C, 0x00}, false, 0, 0, 0, 0, 0, 0},         // sampling index 3
            {{0xFF, 0xEB, 0x90, 0x00}, false, 0, 0, 0, 0, 0, 0},         // no 12-bit sync
        };
        for (const Case& c : cases) {
            mp3::FrameHeader h;
            QCOMPARE(mp3::parseHeader(c.b, h), c.valid);
            if (!c.valid)
                continue;
            QCOMPARE(h.version, c.version);
            QCOMPARE(h.sampleRate, c.rate);
            QCOMPARE(h.bitrate, c.kbps);
            QCOMPARE(mp3::frameLength(h), c.length);
            QCOMPARE(h.channels, c.channels);
            QCOMPARE(h.sideInfoSize, c.sideInfo);
        }
        // every type without a decoder of its own plays as MP3
        std::unique_ptr<Decoder> d(createDecoder(QStringLiteral("application/x-unknown")));
        QVERIFY(dynamic_cast<Mp3Decoder*>(d.get()));
    }

    void frameSearchAcrossRingWrap()
    {
        // 65534 bytes that are not audio put the first header across the end of the ring.
        const QByteArray plain = readFile(track("stereo128.mp3"));
        const QString file = writeFile(QStringLiteral("wrapped.mp3"), QByteArray(65534, '\0') + plain);
        mp3::Stream s;
        QVERIFY(s.open(QFile::encodeName(file).constData(), 0));
        int count = 0;
        bool wrapped = false;
        while (s.readFrame() > 0) {
            ++count;
            wrapped = wrapped || s.ringReadIndex() < 65534;
        }
        QVERIFY(wrapped);
        QCOMPARE(count, frames(plain).size()); // the stream alone plays the Info frame too
        // and the PCM is the same as without the leading bytes
        const QByteArray pcm = decodeMp3(track("stereo128.mp3"));
        QVERIFY(!pcm.isEmpty());
        QCOMPARE(decodeMp3(file), pcm);
    }

    void refillOnlyWhenLow()
    {
        // A file larger than the ring: refills happen only below kRefillBelow buffered bytes.
        const QByteArray one = readFile(track("joint320.mp3"));
        const QString file = writeFile(QStringLiteral("long.mp3"), one + one + one);
        mp3::Stream s;
        QVERIFY(s.open(QFile::encodeName(file).constData(), 0));
        QVERIFY(s.refill());
        QCOMPARE(s.bufferedBytes(), mp3::Stream::kRingSize);
        int refills = 0;
        int before = s.bufferedBytes();
        while (s.readFrame() > 0) {
            const int after = s.bufferedBytes();
            if (after > before) {
                ++refills;
                QVERIFY2(before < mp3::Stream::kRefillBelow + 3000, "refilled too early");
            } else if (!s.atEof()) {
                QVERIFY(after >= mp3::Stream::kRefillBelow);
            }
            before = after;
        }
        QVERIFY(refills >= 3);
    }

    void reservoirEmptyAfterOpen()
    {
        // joint320 uses the bit reservoir: started in the middle, the first frames refer to
        // main data that was never read and give code 102, even when the same stream
        // played the frames before (the decoder's seek starts early for that).
        const QByteArray path = QFile::encodeName(track("joint320.mp3"));
        const auto list = frames(readFile(track("joint320.mp3")));
        QVERIFY(list.size() > 40);
        mp3::Stream s;
        auto codesFrom = [&](int64_t offset) {
            QList<int> codes;
            if (s.open(path.constData(), offset) && s.refill()) {
                while (codes.size() < 35) {
                    const int c = s.decodeFrame();
                    if (c != mp3::Stream::NeedData && c != mp3::Stream::NoSync)
                        codes.append(c);
                    else if (!s.refill())
                        break;
                }
            }
            return codes;
        };
        QCOMPARE(codesFrom(0).value(34), int(mp3::Stream::Decoded));
        const QList<int> codes = codesFrom(list[30].first);
        QCOMPARE(codes.value(0), int(mp3::Stream::NoMainData));
        QVERIFY(codes.contains(int(mp3::Stream::Decoded)));

    }

    void id3v1()
    {
        Mp3Decoder d;
        AudioInfo info, none;
        QVERIFY(d.open(track("tagged-v1.mp3"), &info));
        QCOMPARE(describe(info), QByteArray("Title Of Track|Some Artist|An Album|1999|7|0"));
        QVERIFY(d.open(track("stereo128.mp3"), &none));
        QCOMPARE(describe(none), QByteArray("|||0|0|0"));

        // version 1.0: a comment running into byte 126 leaves a space there (track 32)
        QByteArray data = readFile(track("tagged-v1.mp3"));
        data[data.size() - 128 + 125] = ' ';
        data[data.size() - 128 + 126] = ' ';
        AudioInfo v10;
        QVERIFY(d.open(writeFile(QStringLiteral("v10.mp3"), data), &v10));
        QCOMPARE(v10.track, 32);
    }

    void id3v2Skipped()
    {
        const QByteArray tagged = readFile(track("tagged-v2.mp3"));
        const int64_t tagSize = Mp3Decoder::id3v2Size(track("tagged-v2.mp3"));
        QVERIFY(tagSize > 3000 && tagSize < tagged.size());
        QCOMPARE(tagged.at(int(tagSize)), char(0xFF));

        Mp3Decoder a, b;
        QVERIFY(a.open(track("tagged-v2.mp3"), nullptr));
        QVERIFY(b.open(writeFile(QStringLiteral("stripped.mp3"), tagged.mid(int(tagSize))), nullptr));
        QCOMPARE(a.audioStart(), tagSize);
        QCOMPARE(b.audioStart(), int64_t(0));
        QCOMPARE(a.length(), b.length());
        QCOMPARE(a.seekOffset(1), b.seekOffset(1) + tagSize);
        QVERIFY(b.seekOffset(1) > 0);
        QCOMPARE(decodeAll(a, nullptr, 4), decodeAll(b, nullptr, 4));
    }

    void lengthAndSeekFigures()
    {
        // A constant 128 kbit/s stream of exactly 1,600,000 bytes: 16,000 bytes a second.
        const QByteArray src = readFile(track("stereo128.mp3"));
        const auto list = frames(src);
        QByteArray audio;
        for (int i = 1; i < list.size(); ++i) // without the Info frame
            audio += src.mid(list[i].first, list[i].second);
        QByteArray data;
        while (data.size() < 1600000)
            data += audio;
        data.truncate(1600000);

        Mp3Decoder d;
        QVERIFY(d.open(writeFile(QStringLiteral("cbr.mp3"), data), nullptr));
        QCOMPARE(d.firstBitrate(), 128000);
        QCOMPARE(d.firstRate(), 44100);
        QCOMPARE(d.length(), 100);
        // a seek finds the frame that holds its first sample (no tag: nothing trimmed)
        const auto cut = frames(data);
        QCOMPARE(d.seekOffset(60), int64_t(cut[60 * 44100 / 1152].first));
        QCOMPARE(d.seek(60), int64_t(44100) * 60 * 4);
        PlayInfo info;
        QCOMPARE(decodeAll(d, &info, 2048, 1).size(), 2048);
        QCOMPARE(info.position, 60);
        QCOMPARE(info.length, 100);
        QCOMPARE(info.range, 100);
        QCOMPARE(info.rate, 44100);
        QCOMPARE(info.channels, 2);
        QCOMPARE(info.bitrate, 128000);

        // byte counts past 2^31 stay exact
        QCOMPARE(d.seek(20000), int64_t(44100) * 20000 * 4);
        QCOMPARE(d.seekOffset(20000), int64_t(1600000));
        QVERIFY(decodeAll(d, &info).isEmpty()); // beyond the end
        d.close();
        QCOMPARE(d.seek(1), int64_t(-1));
    }

    void xingLengthAndSeek()
    {
        Mp3Decoder d;
        QVERIFY(d.open(track("vbr.mp3"), nullptr));
        const QByteArray pcm = decodeAll(d, nullptr, 4);
        // the Xing frame is not played, the encoder's delay and padding are dropped
        QVERIFY(pcm.size() < (frames(readFile(track("vbr.mp3"))).size() - 1) * 1152 * 4 - 1105 * 4);
        QCOMPARE(d.length(), int(pcm.size() / 4 / 44100));
        QVERIFY(d.firstBitrate() > 32000 && d.firstBitrate() < 320000);
        const int64_t mid = d.seekOffset(1);
        QVERIFY(mid > d.audioStart() && mid < QFileInfo(track("vbr.mp3")).size());
        QVERIFY(d.seek(1) > 0);
        QVERIFY(!decodeAll(d).isEmpty());
    }

    void mpeg2RateConsistency()
    {
        Mp3Decoder d;
        QVERIFY(d.open(track("mpeg2-22k.mp3"), nullptr));
        QCOMPARE(d.firstRate(), 44100);
        PlayInfo info;
        const QByteArray doubled = decodeAll(d, &info, 4608);
        QCOMPARE(info.rate, 44100);
        QCOMPARE(info.position, int(doubled.size() / 4 / 44100));
        QCOMPARE(d.seek(1), int64_t(44100) * 4);

        Mp3Decoder n; // --native
        n.setNativeRate(true);
        QVERIFY(n.open(track("mpeg2-22k.mp3"), nullptr));
        QCOMPARE(n.firstRate(), 22050);
        PlayInfo ninfo;
        const QByteArray native = decodeAll(n, &ninfo, 2304);
        QCOMPARE(ninfo.rate, 22050);
        QCOMPARE(native.size() * 2, doubled.size());
        QCOMPARE(d.length(), n.length());

        // the upsampled signal follows the native one (interpolation, not noise)
        const int16_t* a = samples(native);
        const int16_t* b = samples(doubled);
        double err = 0, sig = 0;
        const int delay = 0; // the filter's delay is dropped with the encoder's
        for (int i = 1000; i < native.size() / 4 - 1000; ++i) {
            const double x = a[2 * i];
            const double y = 0.5 * (b[2 * (2 * i + delay)] + b[2 * (2 * i + delay + 1)]);
            err += (x - y) * (x - y);
            sig += x * x;
        }
        QVERIFY2(err < sig * 0.02, qPrintable(QString::number(err / sig)));
    }

    void monoIsDoubled()
    {
        Mp3Decoder d;
        QVERIFY(d.open(track("mono64.mp3"), nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(d, &info);
        QVERIFY(pcm.size() > 100000);
        QCOMPARE(info.channels, 2);
        QCOMPARE(info.rate, 44100);
        for (int i = 0; i < pcm.size() / 4; ++i) // how loud it is, the accuracy test checks
            QCOMPARE(samples(pcm)[2 * i + 1], samples(pcm)[2 * i]);
    }

    void streamEndingInsideBlock()
    {
        const QByteArray all = decodeMp3(track("stereo128.mp3"));
        QVERIFY(all.size() > 10000);
        Mp3Decoder d;
        QVERIFY(d.open(track("stereo128.mp3"), nullptr));
        const QByteArray blocks = decodeAll(d, nullptr, 10000);
        QVERIFY(all.size() % 10000 != 0);
        QCOMPARE(blocks, all); // the last block is delivered partly filled
        char block[10000];
        int produced = 1;
        PlayInfo info;
        QVERIFY(!d.decode(block, sizeof block, &produced, &info));
        QCOMPARE(produced, 0);
    }

    void overlapDrainsToExactSilence()
    {
        // a loud tone, then digital silence: the sound decays and then is exactly zero
        const QByteArray pcm = decodeMp3(track("tone-then-silence.mp3"));
        const int16_t* s = samples(pcm);
        const int n = pcm.size() / 4;
        QVERIFY(n > 40000);
        int loud = 0;
        for (int i = 4000; i < 20000; ++i)
            loud = std::max(loud, std::abs(int(s[2 * i])));
        QVERIFY(loud > 20000);
        for (int i = 26000; i < n; ++i)
            QCOMPARE(s[2 * i], int16_t(0));
    }

    void garbageTruncatedAndMissingFiles()
    {
        // random bytes: opens (the file is readable) and ends without a crash
        QByteArray bytes(200000, '\0');
        uint32_t x = 12345;
        for (char& c : bytes) {
            x = x * 1103515245u + 12345u;
            c = char(x >> 24);
        }
        Mp3Decoder d;
        QVERIFY(d.open(writeFile(QStringLiteral("noise.mp3"), bytes), nullptr));
        decodeAll(d);

        // half a file plays its half
        const QByteArray data = readFile(track("stereo128.mp3"));
        const QByteArray pcm = decodeMp3(writeFile(QStringLiteral("half.mp3"), data.left(data.size() / 2 + 77)));
        const QByteArray whole = decodeMp3(track("stereo128.mp3"));
        QVERIFY(pcm.size() > whole.size() / 2 - 20000);
        QVERIFY(pcm.size() < whole.size());
        QCOMPARE(pcm, whole.left(pcm.size()));

        // empty file and missing file
        QVERIFY(d.open(writeFile(QStringLiteral("empty.mp3"), QByteArray()), nullptr));
        QVERIFY(decodeAll(d).isEmpty());
        QCOMPARE(d.length(), 0);
        QCOMPARE(d.seek(3), int64_t(-1));
        AudioInfo info;
        QVERIFY(!d.open(quavrixTestRoot() + QStringLiteral("/missing.mp3"), &info));
    }

    void damagedFramesStayInStep()
    {
        // Frames whose side information and main data are garbage (part2_3_length and
        // big_values out of range, Huffman data running past the granule) decode to
        // something bounded in their own place: nothing before them changes, the stream
        // keeps its length, and a few frames later the output is exact again.
        QByteArray data = readFile(track("stereo128.mp3"));
        const QByteArray clean = decodeMp3(track("stereo128.mp3"), 2048);
        const auto list = frames(data);
        QVERIFY(list.size() > 60);
        uint32_t x = 99;
        for (int f = 20; f < 30; ++f) {
            for (int i = list[f].first + 4; i < list[f].first + list[f].second; ++i) {
                x = x * 1664525u + 1013904223u;
                data[i] = char(x >> 24);
            }
        }
        const QByteArray damaged = decodeMp3(writeFile(QStringLiteral("damaged.mp3"), data), 2048);
        const int frameBytes = 1152 * 4;
        QCOMPARE(damaged.size(), clean.size());
        QCOMPARE(damaged.left(18 * frameBytes), clean.left(18 * frameBytes));
        const int tail = clean.size() - 36 * frameBytes;
        QCOMPARE(damaged.right(tail), clean.right(tail));
    }

    void noAllocationWhileDecoding()
    {
        for (const char* name : {"joint320.mp3", "mpeg2-22k.mp3", "mono64.mp3"}) {
            Mp3Decoder d;
            QVERIFY(d.open(track(name), nullptr));
            static char block[2048];
            PlayInfo info;
            int produced = 0;
            long count = 0;
            const long before = g_allocations.load();
            while (d.decode(block, sizeof block, &produced, &info) && produced > 0)
                ++count;
            const long after = g_allocations.load();
            QVERIFY(count > 100);
            QCOMPARE(after - before, 0L);
        }
    }

    void intensityTables()
    {
        // Not every position occurs in the fixtures, and MPEG-2 intensity stereo in none.
        // MPEG-1: positions 0..6 split by tan(pos * pi / 12); MPEG-2: powers of 2^-1/4 and 2^-1/2
        for (int pos = 0; pos < 7; ++pos) {
            const double r = pos < 6 ? std::tan(pos * M_PI / 12) : 0;
            const double kl = pos < 6 ? r / (1 + r) : 1, kr = pos < 6 ? 1 / (1 + r) : 0;
            QVERIFY(std::abs(mp3::kIntensity1[2 * pos] / 1073741824.0 - kl) < 1e-8);
            QVERIFY(std::abs(mp3::kIntensity1[2 * pos + 1] / 1073741824.0 - kr) < 1e-8);
        }
        for (int k = 0; k < 16; ++k) {
            QVERIFY(std::abs(mp3::kIntensity2[k] / 1073741824.0 - std::pow(2.0, -k / 4.0)) < 1e-8);
            QVERIFY(std::abs(mp3::kIntensity2[16 + k] / 1073741824.0 - std::pow(2.0, -k / 2.0)) < 1e-8);
        }
    }

    // Block types, stereo modes, MPEG-2 rates, CRC, free format, VBR and tags; "plain" rows
    // take the transforms without vectors (other processors), "avx2" rows those without
    // 512-bit vectors.
    void accuracy_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("simd");
        for (const char* name : {"stereo128.mp3", "joint320.mp3", "midside128.mp3", "mono64.mp3", "vbr.mp3",
                                 "crc48.mp3", "free200.mp3", "mpeg2-22k.mp3", "mpeg2-16k-mono.mp3",
                                 "mpeg2-24k-ms.mp3", "intensity-long.mp3", "intensity-short.mp3", "mixed.mp3",
                                 "tagged-v2.mp3"})
            QTest::newRow(name) << track(name) << QByteArray();
        for (const char* name : {"joint320.mp3", "midside128.mp3", "mixed.mp3"})
            for (const char* simd : {"plain", "avx2"})
                QTest::addRow("%s %s", name, simd) << track(name) << QByteArray(simd);
    }
    void accuracy()
    {
#ifndef QUAVRIX_HAVE_MPG123
        QSKIP("libmpg123 not found");
#else
        QFETCH(QString, file);
        QFETCH(QByteArray, simd);
        mp3ref::Pcm ours, ref;
        QVERIFY(decodeBoth(file, simd, ours, ref));
        QCOMPARE(ours.rate, ref.rate);
        // the same samples: encoder delay and padding dropped alike, to the sample
        QCOMPARE(ours.samples.size(), ref.samples.size());
        // The last frame is left out: on intensity-long.mp3 libmpg123 decodes it differently
        // from libmad, and libmad agrees with us.
        ours.samples.resize(std::min(ours.samples.size(), ref.samples.size() - 2304));
        const mp3ref::Accuracy acc = mp3ref::compare(ours.samples, ref.samples);
        QVERIFY2(acc.fullAccuracy(), qPrintable(QStringLiteral("RMS %1 LSB, max %2 LSB").arg(acc.rmsLsb).arg(acc.maxLsb)));
#endif
    }

    void farBeyondFullScale_data()
    {
        QTest::addColumn<QByteArray>("simd");
        QTest::newRow("fastest") << QByteArray();
        QTest::newRow("avx2") << QByteArray("avx2");
        QTest::newRow("plain") << QByteArray("plain");
    }
    void farBeyondFullScale()
    {
        // Granules whose requantised values are hundreds of times full scale: the float
        // reference clips only its final output, and so must we. Between two clipped runs
        // a lone sample crosses the whole range in one step; there the float reference
        // itself is only good to a few LSB, hence the wider limit on the largest error.
#ifndef QUAVRIX_HAVE_MPG123
        QSKIP("libmpg123 not found");
#else
        QFETCH(QByteArray, simd);
        const QString file = track("loud-linbits.mp3");
        mp3ref::Pcm ours, ref;
        QVERIFY(decodeBoth(file, simd, ours, ref));
        QCOMPARE(ours.samples.size(), ref.samples.size());
        const long clipped = std::count_if(ref.samples.begin(), ref.samples.end(), [](int16_t v) { return v == 32767 || v == -32768; });
        QVERIFY(clipped > 5000);
        const mp3ref::Accuracy acc = mp3ref::compare(ours.samples, ref.samples);
        QVERIFY2(acc.rmsLsb <= 1.0 / std::sqrt(12.0) && acc.maxLsb <= 8,
                 qPrintable(QStringLiteral("RMS %1 LSB, max %2 LSB").arg(acc.rmsLsb).arg(acc.maxLsb)));
#endif
    }

    void playsThroughLoopControl()
    {
        // controller, decoder from the factory, the device writing to QUAVRIX_DSP
        const QByteArray expected = decodeMp3(track("stereo128.mp3"), LoopControl::BlockSize);
        QVERIFY(expected.size() > 300000);
        QByteArray device, title;
        QVERIFY(playThroughLoopControl(track("stereo128.mp3"), 30000, &device, &title));
        QCOMPARE(device, expected);
        QCOMPARE(title, QByteArray("stereo128")); // no tag: made from the file name
    }
};

QUAVRIX_TEST_MAIN(TestMp3Decoder)
#include "tst_mp3decoder.moc"
