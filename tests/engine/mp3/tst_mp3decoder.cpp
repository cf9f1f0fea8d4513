// Mp3Decoder on lame-made files (tests/data/mp3/README): accuracy against libmpg123,
// lengths and seeks, tags, and files that are damaged, cut or not audio at all.

#include "../decodehelpers.h"

#include "mp3decoder.h"
#include "mp3frames.h"

#ifdef QUAVRIX_HAVE_MPG123
#include "mp3reference.h"
#endif

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

    void tags()
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

        // A version 2 tag before the audio is skipped: the same sound and seeks as without.
        const QByteArray tagged = readFile(track("tagged-v2.mp3"));
        const int64_t tagSize = Mp3Decoder::id3v2Size(track("tagged-v2.mp3"));
        QVERIFY(tagSize > 3000 && tagSize < tagged.size());
        Mp3Decoder a, b;
        QVERIFY(a.open(track("tagged-v2.mp3"), nullptr));
        QVERIFY(b.open(writeFile(QStringLiteral("stripped.mp3"), tagged.mid(int(tagSize))), nullptr));
        QCOMPARE(a.length(), b.length());
        QCOMPARE(a.seekOffset(1), b.seekOffset(1) + tagSize);
        QVERIFY(b.seekOffset(1) > 0);
        QCOMPARE(decodeAll(a, nullptr, 4), decodeAll(b, nullptr, 4));
    }

    void blocksOfAnySizeGiveTheSameSound()
    {
        const QByteArray all = decodeMp3(track("stereo128.mp3"));
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
        const QString padded = writeFile(QStringLiteral("padded.mp3"), QByteArray(65534, '\0') + readFile(track("stereo128.mp3")));
        QCOMPARE(decodeMp3(padded), all);
    }

    void overlapDrainsToExactSilence()
    {
        // A loud tone, then digital silence: the sound decays and then is exactly zero.
        const QByteArray pcm = decodeMp3(track("tone-then-silence.mp3"));
        const int16_t* s = samples(pcm);
        QVERIFY(pcm.size() / 4 > 40000);
        int loud = 0;
        for (int i = 4000; i < 20000; ++i)
            loud = std::max(loud, std::abs(int(s[2 * i])));
        QVERIFY(loud > 20000);
        for (int i = 26000; i < pcm.size() / 4; ++i)
            QCOMPARE(s[2 * i], int16_t(0));
    }

    void garbageTruncatedAndMissingFiles()
    {
        // Random bytes: opens (the file is readable) and ends without a crash.
        QByteArray bytes(200000, '\0');
        uint32_t x = 12345;
        for (char& c : bytes)
            c = char((x = x * 1103515245u + 12345u) >> 24);
        Mp3Decoder d;
        QVERIFY(d.open(writeFile(QStringLiteral("noise.mp3"), bytes), nullptr));
        decodeAll(d);
        // Half a file plays its half.
        const QByteArray data = readFile(track("stereo128.mp3"));
        const QByteArray pcm = decodeMp3(writeFile(QStringLiteral("half.mp3"), data.left(data.size() / 2 + 77)));
        const QByteArray whole = decodeMp3(track("stereo128.mp3"));
        QVERIFY(pcm.size() > whole.size() / 2 - 20000 && pcm.size() < whole.size());
        QCOMPARE(pcm, whole.left(pcm.size()));
        // Empty and missing files.
        QVERIFY(d.open(writeFile(QStringLiteral("empty.mp3"), QByteArray()), nullptr));
        QVERIFY(decodeAll(d).isEmpty());
        QCOMPARE(d.length(), 0);
        QCOMPARE(d.seek(3), int64_t(-1));
        AudioInfo info;
        QVERIFY(!d.open(quavrixTestRoot() + QStringLiteral("/missing.mp3"), &info));
    }

    void damagedFramesStayInStep()
    {
        // Frames whose side information and main data are garbage (lengths out of range,
        // Huffman data running past the granule) decode to something in their own place:
        // nothing before them changes, the stream keeps its length, and a few frames later
        // the output is exact again.
        QByteArray data = readFile(track("stereo128.mp3"));
        const QByteArray clean = decodeMp3(track("stereo128.mp3"), 2048);
        const auto list = frames(data);
        uint32_t x = 99;
        for (int f = 20; f < 30; ++f)
            for (int i = list[f].first + 4; i < list[f].first + list[f].second; ++i)
                data[i] = char((x = x * 1664525u + 1013904223u) >> 24);
        const QByteArray damaged = decodeMp3(writeFile(QStringLiteral("damaged.mp3"), data), 2048);
        const int frameBytes = 1152 * 4;
        QCOMPARE(damaged.size(), clean.size());
        QCOMPARE(damaged.left(18 * frameBytes), clean.left(18 * frameBytes));
        QCOMPARE(damaged.right(clean.size() - 36 * frameBytes), clean.right(clean.size() - 36 * frameBytes));
    }

    void playsThroughLoopControl()
    {
        const QByteArray expected = decodeMp3(track("stereo128.mp3"), LoopControl::BlockSize);
        QByteArray device, title;
        QVERIFY(playThroughLoopControl(track("stereo128.mp3"), 30000, &device, &title));
        QCOMPARE(device, expected);
        QCOMPARE(title, QByteArray("stereo128")); // no tag: made from the file name
    }
};

QUAVRIX_TEST_MAIN(TestMp3Decoder)
#include "tst_mp3decoder.moc"
