// Mp4Decoder with the real AAC decoder program on ffmpeg-made files (tests/data/mp4/README),
// against FAAD2 decoding the same frames in this process; and through the controller.

#include "mp4damage.h"

#include "aacdecoder.h"
#include "audioinfo.h"
#include "mp4decoder.h"

#include <neaacdec.h>

namespace {
// The frames of the file, found through the table ffmpeg's demuxer reported for it,
// decoded straight from its decoder configuration. The decoder's first frame only
// primes it and yields nothing: it stands for the stream's first frame of samples, which
// the edit list of these files marks as encoder priming, so the rest is the track
// itself, cut to the edit's length.
QByteArray referencePcm(const QString& file, int channels, int64_t frames)
{
    QByteArray pcm;
    const QByteArray bytes = readFile(file);
    const QString table = file.left(file.size() - 4) + QStringLiteral(".packets");
    const QList<Mp4Damage::Packet> packets = Mp4Damage::packets(qPrintable(table.mid(int(qstrlen(QUAVRIX_TEST_DATA)) + 1)));
    // AAC LC at the fixture's rate and channel count, as the README's commands made it.
    unsigned char config[2] = {0x12, 0x10};
    if (channels == 1)
        config[0] = 0x13, config[1] = 0x88;
    NeAACDecHandle dec = NeAACDecOpen();
    NeAACDecConfigurationPtr c = NeAACDecGetCurrentConfiguration(dec);
    c->outputFormat = FAAD_FMT_16BIT;
    c->dontUpSampleImplicitSBR = 1;
    NeAACDecSetConfiguration(dec, c);
    unsigned long rate = 0;
    unsigned char decoderChannels = 0;
    if (NeAACDecInit2(dec, config, 2, &rate, &decoderChannels) == 0) {
        for (const Mp4Damage::Packet& p : packets) {
            QByteArray frame = bytes.mid(int(p.position), int(p.size));
            NeAACDecFrameInfo info = {};
            auto* out = static_cast<int16_t*>(NeAACDecDecode(dec, &info, reinterpret_cast<unsigned char*>(frame.data()),
                                                             static_cast<unsigned long>(frame.size())));
            if (info.error || !out || !info.samples)
                continue;
            for (unsigned long i = 0; i < info.samples; i += info.channels)
                pcm.append(reinterpret_cast<const char*>(out + i), channels * 2);
        }
    }
    NeAACDecClose(dec);
    return pcm.left(int(frames * channels * 2));
}

} // namespace

class TestMp4Decoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder"); }
    void cleanupTestCase() { AACDecoder::removeSharedObjects(); }

    void endToEnd_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("length");
        QTest::newRow("stereo 44100") << fixture("mp4/stereo-tagged.m4a") << 2 << 44100 << 132300 << 3;
        QTest::newRow("mono 22050") << fixture("mp4/mono.m4a") << 1 << 22050 << 44100 << 2;
    }
    void endToEnd()
    {
        QFETCH(QString, file);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, frames);
        QFETCH(int, length);
        Mp4Decoder decoder;
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        // Exactly the track: priming and end padding are gone.
        QCOMPARE(pcm.size(), frames * channels * 2);
        QVERIFY(pcm == referencePcm(file, channels, frames));
        QCOMPARE(info.channels, channels);
        QCOMPARE(info.rate, rate);
        QCOMPARE(info.length, length);
        QCOMPARE(info.range, length);
        QCOMPARE(info.position, length);
        // Audio bytes over the duration: the files were made at 64 and 32 kbit/s.
        QVERIFY2(info.bitrate > channels * 24000 && info.bitrate < channels * 40000,
                 QByteArray::number(info.bitrate).constData());
        decoder.close();
        decoder.close();
    }

    void positionAndSeek()
    {
        const QString file = fixture("mp4/stereo-tagged.m4a");
        const QByteArray reference = referencePcm(file, 2, 132300);
        Mp4Decoder decoder;
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        char buffer[2048];
        int produced = 0;
        int64_t bytes = 0;
        while (bytes < 44100 * 4 + 2048) {
            decoder.decode(buffer, sizeof buffer, &produced, &info);
            QVERIFY(produced > 0);
            bytes += produced;
        }
        QCOMPARE(info.position, 1);

        // Forward to second 2: the byte count of that position and the PCM from there.
        QCOMPARE(decoder.seek(2), int64_t(2) * 44100 * 4);
        QByteArray pcm = decodeAll(decoder, &info);
        QCOMPARE(pcm.size(), reference.size() - 2 * 44100 * 4);
        // A decoder started mid-stream differs from one that ran from the start only by
        // a few units where the encoder used noise substitution.
        QVERIFY(maxDifference(pcm, reference.mid(2 * 44100 * 4)) <= 32);
        QCOMPARE(info.position, 3);

        // Back to the start after the end was reached.
        QCOMPARE(decoder.seek(0), int64_t(0));
        pcm = decodeAll(decoder, &info);
        QCOMPARE(pcm.size(), reference.size());
        QVERIFY(maxDifference(pcm, reference) <= 2);

        // Back into the middle of a frame, without reaching the end first.
        QCOMPARE(decoder.seek(1), int64_t(44100) * 4);
        decoder.decode(buffer, sizeof buffer, &produced, &info);
        QCOMPARE(produced, 2048);
        QVERIFY(maxDifference(QByteArray(buffer, 2048), reference.mid(44100 * 4, 2048)) <= 32);
        QCOMPARE(info.position, 1);

        // Beyond the end: the end.
        QCOMPARE(decoder.seek(60), int64_t(3) * 44100 * 4);
        decoder.close();
        QCOMPARE(decoder.seek(1), int64_t(-1));
    }

    void trackInformation()
    {
        // A key file of its own shows that an information read makes no connection.
        const QByteArray keyFile = qgetenv("QUAVRIX_AAC_KEYFILE");
        const QString fresh = quavrixTestRoot() + "/info-key";
        qputenv("QUAVRIX_AAC_KEYFILE", QFile::encodeName(fresh));
        Mp4Decoder decoder;
        AudioInfo tagged, plain;
        QVERIFY(decoder.open(fixture("mp4/stereo-tagged.m4a"), &tagged));
        QCOMPARE(describe(tagged), QByteArray("Stereo Title|Stereo Artist|Stereo Album|0|0|1")); // item lists are UTF-8
        QVERIFY(decoder.open(fixture("mp4/mono.m4a"), &plain));
        QCOMPARE(describe(plain), QByteArray("|||0|0|1"));
        QVERIFY(!QFile::exists(fresh));
        QVERIFY(decodeAll(decoder).isEmpty()); // and leaves the decoder closed
        qputenv("QUAVRIX_AAC_KEYFILE", keyFile);
    }

    void badFilesAndTheNextTrack()
    {
        const QString ogg = quavrixTestRoot() + "/vorbis.m4a";
        QVERIFY(QFile::copy(fixture("ogg/stereo.ogg"), ogg));
        const QByteArray whole = readFile(fixture("mp4/stereo-tagged.m4a"));
        const QString half = writeFile(QStringLiteral("half.m4a"), whole.left(whole.size() / 2));

        // Closed in the middle of a track, the decoder refuses bad files and then plays
        // the next good one whole.
        Mp4Decoder decoder;
        QVERIFY(decoder.open(fixture("mp4/stereo-tagged.m4a"), nullptr));
        PlayInfo info;
        QCOMPARE(decodeAll(decoder, &info, 2048, 10).size(), 10 * 2048);
        decoder.close();
        for (const QString& file : {ogg, half, QStringLiteral("/no/such/file.m4a"), fixture("ogg/garbage.ogg")}) {
            AudioInfo info;
            QVERIFY2(!decoder.open(file, nullptr), qPrintable(file));
            QVERIFY2(!decoder.open(file, &info), qPrintable(file));
        }
        QVERIFY(decoder.open(fixture("mp4/mono.m4a"), nullptr));
        const QByteArray pcm = decodeAll(decoder, &info);
        QCOMPARE(pcm.size(), 44100 * 2);
        QCOMPARE(maxDifference(pcm, referencePcm(fixture("mp4/mono.m4a"), 1, 44100)), 0);
    }

    // Damaged copies of the fixtures: each is refused at open, or plays what it holds,
    // never a crash, a hang or a success that played nothing.
    void damagedFiles_data()
    {
        using namespace Mp4Damage;
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("bytes");    // exact PCM bytes; -1 for "some, less than the track"
        QTest::addColumn<int>("sameAsReference"); // leading bytes equal to the whole file's PCM
        const QByteArray stereo = readFile(fixture("mp4/stereo-tagged.m4a"));
        const QByteArray mono = readFile(fixture("mp4/mono.m4a"));
        const int stereoAsc = stereo.indexOf(QByteArray("\x05\x80\x80\x80\x05\x12\x10", 7)) + 5;
        auto withAsc = [&](uint8_t a, uint8_t b) {
            QByteArray f = stereo;
            f[stereoAsc] = char(a);
            f[stereoAsc + 1] = char(b);
            return f;
        };
        QTest::newRow("configuration 00 00") << withAsc(0, 0) << false << 0 << 0;
        QTest::newRow("configuration ff ff") << withAsc(0xff, 0xff) << false << 0 << 0;
        // AAC LC at 7350 Hz: a rate no device takes.
        QTest::newRow("configuration at 7350 Hz") << withAsc(0x16, 0x10) << false << 0 << 0;
        // AAC SSR, which the decoder refuses: the track ends at once, having played nothing.
        QTest::newRow("configuration the decoder refuses") << withAsc(0x1a, 0x10) << true << 0 << 0;

        // 16 zeroed bytes inside the 21st frame: that frame (and the one after it, whose
        // overlap it spoils) differs, the track plays to its end.
        QByteArray zeroed = mono;
        const QList<Packet> monoPackets = packets("mp4/mono.packets");
        zeroed.replace(int(monoPackets[20].position) + 4, 16, QByteArray(16, 0));
        QTest::newRow("undecodable frame: silence, then the rest") << zeroed << true << 44100 * 2 << 18 * 1024 * 2;

        QTest::newRow("cut to 73 %, movie first: what is there")
            << fastStart(stereo).left(stereo.size() * 73 / 100) << true << -1 << 44100 * 4;
        // A frame of 8185 bytes cannot carry an ADTS header; the frames after it in its
        // chunk move past the end of the file.
        QTest::newRow("frame of 8185 bytes") << with32(stereo, "stsz", 12 + 10 * 4, 8185) << true << -1 << 8 * 1024 * 4;
        QTest::newRow("stts delta 0xffffffff") << with32(stereo, "stts", 12, 0xffffffff) << true << 132300 * 4 << 132300 * 4;
        // The track proper then starts 2^32 seconds in: nothing of it is reached.
        QTest::newRow("time scale 1, delta 0xffffffff: no overflow")
            << with32(with32(stereo, "stts", 12, 0xffffffff), "mdhd", 12, 1) << true << 0 << 0;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, opens);
        QFETCH(int, bytes);
        QFETCH(int, sameAsReference);
        static int n = 0;
        const QString path = writeFile(QStringLiteral("damaged%1.m4a").arg(++n), file);
        Mp4Decoder decoder;
        QCOMPARE(decoder.open(path, nullptr), opens);
        if (!opens)
            return;
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info, 2048, 100000);
        QVERIFY(info.length >= 0);
        if (bytes >= 0)
            QCOMPARE(pcm.size(), bytes);
        else
            QVERIFY2(pcm.size() > 0 && pcm.size() < 60 * 44100 * 4, QByteArray::number(pcm.size()).constData());
        if (sameAsReference > 0) {
            const bool isMono = info.channels == 1;
            const QByteArray reference = referencePcm(fixture(isMono ? "mp4/mono.m4a" : "mp4/stereo-tagged.m4a"),
                                                      isMono ? 1 : 2, isMono ? 44100 : 132300);
            QCOMPARE(maxDifference(pcm.left(sameAsReference), reference.left(sameAsReference)), 0);
        }
        AudioInfo tags;
        decoder.open(path, &tags);
    }

    void playsThroughLoopControl()
    {
        // What reached the device is the track, whole.
        const QByteArray expected = decodeFile(Mp4Decoder(), fixture("mp4/mono.m4a"));
        QCOMPARE(expected.size(), 44100 * 2);
        QByteArray device;
        QVERIFY(playThroughLoopControl(fixture("mp4/mono.m4a"), 20000, &device));
        QVERIFY(device == expected);

        // A decoder program that dies mid-track ends it within seconds.
        qputenv("QUAVRIX_AAC_KEYFILE", QFile::encodeName(quavrixTestRoot() + "/dies-key"));
        writeAacScript({"want 4096", "out 4096", "want 4096", "die"});
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        const bool ended = playThroughLoopControl(fixture("mp4/stereo-tagged.m4a"), 10000, &device);
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
        AACDecoder::removeSharedObjects();
        qunsetenv("QUAVRIX_AAC_KEYFILE");
        QVERIFY(ended);
        QVERIFY(device.size() <= 4096);
    }
};

QUAVRIX_TEST_MAIN(TestMp4Decoder)
#include "tst_mp4decoder.moc"
