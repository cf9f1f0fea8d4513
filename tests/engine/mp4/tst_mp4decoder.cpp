// Mp4Decoder with the real AAC decoder program on ffmpeg-made files (tests/data/mp4/README),
// against FAAD2 decoding the same frames in this process, and through the controller; and
// the player's side of the program's protocol against a scripted program
// (fakeaacdecoder.cpp): a track ends whatever the program does.

#include "mp4damage.h"

#include "aacdecoder.h"
#include "mp4decoder.h"

#include <neaacdec.h>

namespace {
const char* const kStereo = "mp4/stereo-tagged.m4a"; // 3 s at 44.1 kHz, 132300 frames of samples
const char* const kMono = "mp4/mono.m4a";            // 2 s at 22.05 kHz, 44100

// The frames of the file, found through the table ffmpeg's demuxer reported for it,
// decoded straight from its decoder configuration (AAC LC at the fixture's rate and
// channels, as the README's commands made it). The decoder's first frame only primes it
// and yields nothing: it stands for the stream's first frame of samples, which the edit
// list of these files marks as encoder priming, so the rest is the track itself, cut to
// the edit's length.
QByteArray referencePcm(bool mono)
{
    QByteArray pcm;
    const QByteArray bytes = readFile(fixture(mono ? kMono : kStereo));
    unsigned char config[2] = {0x12, 0x10};
    if (mono)
        config[0] = 0x13, config[1] = 0x88;
    NeAACDecHandle dec = NeAACDecOpen();
    NeAACDecConfigurationPtr c = NeAACDecGetCurrentConfiguration(dec);
    c->outputFormat = FAAD_FMT_16BIT;
    c->dontUpSampleImplicitSBR = 1;
    NeAACDecSetConfiguration(dec, c);
    unsigned long rate = 0;
    unsigned char channels = 0;
    if (NeAACDecInit2(dec, config, 2, &rate, &channels) == 0) {
        for (const Mp4Damage::Packet& p : Mp4Damage::packets(mono ? "mp4/mono.packets" : "mp4/stereo-tagged.packets")) {
            QByteArray frame = bytes.mid(int(p.position), int(p.size));
            NeAACDecFrameInfo info = {};
            auto* out = static_cast<int16_t*>(NeAACDecDecode(dec, &info, reinterpret_cast<unsigned char*>(frame.data()),
                                                             static_cast<unsigned long>(frame.size())));
            for (unsigned long i = 0; !info.error && out && i < info.samples; i += info.channels) // FAAD2 makes mono stereo
                pcm.append(reinterpret_cast<const char*>(out + i), mono ? 2 : 4);
        }
    }
    NeAACDecClose(dec);
    return pcm.left(mono ? 44100 * 2 : 132300 * 4);
}
} // namespace

using namespace AacProtocol;

class TestMp4Decoder : public QObject
{
    Q_OBJECT

    QString m_key;
    int m_case = 0;
    int m_defaultTimeout = AACDecoder::turnTimeoutMs();

    // The scripted program, with a key file (and so a segment), script and log of its own.
    void useScript(const QStringList& steps)
    {
        AACDecoder::removeSharedObjects(); // the previous key's, if any
        m_key = quavrixTestRoot() + QStringLiteral("/key%1").arg(++m_case);
        qputenv(KeyFileVariable, QFile::encodeName(m_key));
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        AACDecoder::setTurnTimeoutMs(400);
        writeFile(QStringLiteral("key%1.script").arg(m_case), steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    }

private slots:
    void init()
    {
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
        qunsetenv(KeyFileVariable);
        AACDecoder::setTurnTimeoutMs(m_defaultTimeout);
    }
    void cleanup() { AACDecoder::removeSharedObjects(); }

    // Exactly the track, priming and end padding gone, equal to the reference; the
    // bit rate is audio bytes over the duration (the files were made at 64 and 32 kbit/s).
    void endToEnd_data()
    {
        QTest::addColumn<bool>("mono");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QList<int>>("info"); // channels, rate, length, range, position
        // item lists are UTF-8
        QTest::newRow("stereo 44100, tagged") << false << QByteArray("Stereo Title|Stereo Artist|Stereo Album|0|0|1")
                                              << QList<int>{2, 44100, 3, 3, 3};
        QTest::newRow("mono 22050") << true << QByteArray("|||0|0|1") << QList<int>{1, 22050, 2, 2, 2};
    }
    void endToEnd()
    {
        QFETCH(bool, mono);
        Mp4Decoder decoder;
        // A key file of its own shows that an information read makes no connection, and
        // leaves the decoder closed.
        const QString fresh = quavrixTestRoot() + "/info-key";
        qputenv(KeyFileVariable, QFile::encodeName(fresh));
        AudioInfo tags;
        QVERIFY(decoder.open(fixture(mono ? kMono : kStereo), &tags));
        QTEST(describe(tags), "record");
        QVERIFY(!QFile::exists(fresh));
        QVERIFY(decodeAll(decoder).isEmpty());
        qunsetenv(KeyFileVariable);
        QVERIFY(decoder.open(fixture(mono ? kMono : kStereo), nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        QVERIFY(pcm == referencePcm(mono));
        QCOMPARE(pcm.size(), mono ? 44100 * 2 : 132300 * 4);
        QTEST((QList<int>{info.channels, info.rate, info.length, info.range, info.position}), "info");
        QVERIFY2(info.bitrate > info.channels * 24000 && info.bitrate < info.channels * 40000, QByteArray::number(info.bitrate).constData());
        decoder.close();
        decoder.close();
    }

    void positionAndSeek()
    {
        const QByteArray reference = referencePcm(false);
        const int second = 44100 * 4;
        Mp4Decoder decoder;
        QVERIFY(decoder.open(fixture(kStereo), nullptr));
        PlayInfo info;
        QCOMPARE(decodeAll(decoder, &info, 2048, second / 2048 + 1).size(), (second / 2048 + 1) * 2048);
        QCOMPARE(info.position, 1);
        // Forward to second 2, back to the start after the end, back into the middle of a
        // frame: the byte count of that position and the PCM from there. A decoder started
        // mid-stream differs from one that ran from the start only by a few units where the
        // encoder used noise substitution.
        const struct { int to, calls, tolerance, position; } seeks[] = {{2, 1 << 30, 32, 3}, {0, 1 << 30, 2, 3}, {1, 1, 32, 1}};
        for (const auto& s : seeks) {
            QCOMPARE(decoder.seek(s.to), int64_t(s.to) * second);
            const QByteArray pcm = decodeAll(decoder, &info, 2048, s.calls);
            QCOMPARE(pcm.size(), s.calls == 1 ? 2048 : reference.size() - s.to * second);
            QVERIFY(maxDifference(pcm, reference.mid(s.to * second)) <= s.tolerance);
            QCOMPARE(info.position, s.position);
        }
        // Beyond the end: the end.
        QCOMPARE(decoder.seek(60), int64_t(3) * second);
        decoder.close();
        QCOMPARE(decoder.seek(1), int64_t(-1));
    }

    // Damaged copies of the fixtures, and files that are not MP4 at all: each is refused
    // at open, or plays what it holds, never a crash, a hang or a success that played
    // nothing; and the decoder plays the next good file whole.
    void damagedFiles_data()
    {
        using namespace Mp4Damage;
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("bytes");           // exact PCM bytes, -1 refused, -2 "some, less than the track"
        QTest::addColumn<int>("sameAsReference"); // leading bytes equal to the whole file's PCM
        const QByteArray stereo = readFile(fixture(kStereo));
        const QByteArray mono = readFile(fixture(kMono));
        const int stereoAsc = stereo.indexOf(QByteArray("\x05\x80\x80\x80\x05\x12\x10", 7)) + 5;
        auto withAsc = [&](uint8_t a, uint8_t b) {
            QByteArray f = stereo;
            f[stereoAsc] = char(a);
            f[stereoAsc + 1] = char(b);
            return f;
        };
        QTest::newRow("Ogg file named .m4a") << readFile(fixture("ogg/stereo.ogg")) << -1 << 0;
        QTest::newRow("garbage") << readFile(fixture("ogg/garbage.ogg")) << -1 << 0;
        QTest::newRow("first half of the file") << stereo.left(stereo.size() / 2) << -1 << 0;
        QTest::newRow("configuration 00 00") << withAsc(0, 0) << -1 << 0;
        QTest::newRow("configuration ff ff") << withAsc(0xff, 0xff) << -1 << 0;
        // AAC LC at 7350 Hz: a rate no device takes.
        QTest::newRow("configuration at 7350 Hz") << withAsc(0x16, 0x10) << -1 << 0;
        // AAC SSR, which the decoder refuses: the track ends at once, having played nothing.
        QTest::newRow("configuration the decoder refuses") << withAsc(0x1a, 0x10) << 0 << 0;
        // 16 zeroed bytes inside the 21st frame: that frame (and the one after it, whose
        // overlap it spoils) differs, the track plays to its end.
        QByteArray zeroed = mono;
        zeroed.replace(int(packets("mp4/mono.packets")[20].position) + 4, 16, QByteArray(16, 0));
        QTest::newRow("undecodable frame: silence, then the rest") << zeroed << 44100 * 2 << 18 * 1024 * 2;
        QTest::newRow("cut to 73 %, movie first: what is there") << fastStart(stereo).left(stereo.size() * 73 / 100) << -2 << 44100 * 4;
        // A frame of 8185 bytes cannot carry an ADTS header; the frames after it in its
        // chunk move past the end of the file.
        QTest::newRow("frame of 8185 bytes") << with32(stereo, "stsz", 12 + 10 * 4, 8185) << -2 << 8 * 1024 * 4;
        QTest::newRow("stts delta 0xffffffff") << with32(stereo, "stts", 12, 0xffffffff) << 132300 * 4 << 132300 * 4;
        // The track proper then starts 2^32 seconds in: nothing of it is reached.
        QTest::newRow("time scale 1, delta 0xffffffff: no overflow") << with32(with32(stereo, "stts", 12, 0xffffffff), "mdhd", 12, 1) << 0 << 0;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, bytes);
        QFETCH(int, sameAsReference);
        static int n = 0;
        const QString path = writeFile(QStringLiteral("damaged%1.m4a").arg(++n), file);
        Mp4Decoder decoder;
        AudioInfo tags;
        decoder.open(path, &tags); // whatever it finds, safely
        QCOMPARE(decoder.open(path, nullptr), bytes != -1);
        if (bytes != -1) {
            PlayInfo info;
            const QByteArray pcm = decodeAll(decoder, &info, 2048, 100000);
            QVERIFY(info.length >= 0);
            if (bytes >= 0)
                QCOMPARE(pcm.size(), bytes);
            else
                QVERIFY2(pcm.size() > 0 && pcm.size() < 60 * 44100 * 4, QByteArray::number(pcm.size()).constData());
            const bool mono = info.channels == 1;
            QCOMPARE(maxDifference(pcm.left(sameAsReference), referencePcm(mono).left(sameAsReference)), 0);
        }
        QVERIFY(decoder.open(fixture(kMono), nullptr));
        QVERIFY(decodeAll(decoder) == referencePcm(true));
    }

    void playsThroughLoopControl()
    {
        // What reached the device is the track, whole.
        QByteArray device;
        QVERIFY(playThroughLoopControl(fixture(kMono), 20000, &device));
        QVERIFY(device == referencePcm(true));
        // A decoder program that dies mid-track ends it.
        useScript({"want 4096", "out 4096", "want 4096", "die"});
        QVERIFY(playThroughLoopControl(fixture(kStereo), 10000, &device));
        QVERIFY(device.size() <= 4096);
    }

    // The track ends whatever the program does: dies, stops answering, never starts.
    void failingProgramEndsTheTrack_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("turnsBeforeEnd");
        const QString fake = QStringLiteral(QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        QTest::newRow("dies") << QStringList({"want 4096", "die"}) << fake << 1;
        QTest::newRow("hangs") << QStringList({"hang"}) << fake << 0;
        QTest::newRow("cannot start") << QStringList() << quavrixTestRoot() + "/no-such-program" << 0;
    }
    void failingProgramEndsTheTrack()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, program);
        QFETCH(int, turnsBeforeEnd);
        useScript(script);
        qputenv("QUAVRIX_AACDECODER", QFile::encodeName(program));
        // Under qemu user emulation the failed start shows as a program that ended at once.
        if (script.isEmpty() && qEnvironmentVariableIsEmpty("QUAVRIX_EMULATED"))
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Can not start .*no-such-program, error '.+'$"));
        AACDecoder proxy;
        proxy.init();
        char out[1024];
        int outLength = 0;
        for (int i = 0; i < turnsBeforeEnd; ++i) {
            proxy.decode(out, &outLength, "abc", 3, sizeof out);
            QVERIFY(!proxy.finished());
        }
        QCOMPARE(proxy.decode(out, &outLength, "def", 3, sizeof out), 3);
        QVERIFY(proxy.finished());
        QCOMPARE(outLength, 0);
        QCOMPARE(proxy.process(), -1); // killed and reaped
    }

};

QUAVRIX_TEST_MAIN(TestMp4Decoder)
#include "tst_mp4decoder.moc"
