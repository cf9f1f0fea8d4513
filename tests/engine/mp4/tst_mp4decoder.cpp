// Mp4Decoder with the real AAC decoder program on ffmpeg-made files (tests/data/mp4/README),
// against FAAD2 decoding the same frames in this process.

#include "aacdecoder.h"
#include "audioinfo.h"
#include "loopcontrol.h"
#include "mp4decoder.h"
#include "playinfo.h"
#include "testmain.h"

#include <neaacdec.h>
extern "C" {
#include <lqt/lqt.h>
#include <lqt/quicktime.h>
#include <lqt/compression.h>
}

namespace {
QString data(const char* name)
{
    return QStringLiteral(QUAVRIX_TEST_DATA "/mp4/") + QLatin1String(name);
}

// The frames of the file decoded straight from its decoder configuration. The decoder's
// first frame only primes it and yields nothing: it stands for the stream's first frame
// of samples, which the edit list of these files marks as encoder priming, so the rest
// is the track itself, cut to the edit's length.
QByteArray referencePcm(const QString& file, int channels, int64_t frames)
{
    QByteArray pcm;
    quicktime_t* qt = quicktime_open(QFile::encodeName(file).constData(), 1, 0);
    if (!qt)
        return pcm;
    const lqt_compression_info_t* ci = lqt_get_audio_compression_info(qt, 0);
    NeAACDecHandle dec = NeAACDecOpen();
    NeAACDecConfigurationPtr config = NeAACDecGetCurrentConfiguration(dec);
    config->outputFormat = FAAD_FMT_16BIT;
    config->dontUpSampleImplicitSBR = 1;
    NeAACDecSetConfiguration(dec, config);
    unsigned long rate = 0;
    unsigned char decoderChannels = 0;
    if (NeAACDecInit2(dec, ci->global_header, ci->global_header_len, &rate, &decoderChannels) == 0) {
        lqt_packet_t packet = {};
        int64_t last = -1;
        const int64_t total = quicktime_audio_length(qt, 0);
        while (lqt_read_audio_packet(qt, &packet, 0) && packet.timestamp > last && packet.timestamp < total) {
            last = packet.timestamp;
            NeAACDecFrameInfo info = {};
            auto* out = static_cast<int16_t*>(NeAACDecDecode(dec, &info, packet.data, packet.data_len));
            if (info.error || !out || !info.samples)
                continue;
            for (unsigned long i = 0; i < info.samples; i += info.channels)
                pcm.append(reinterpret_cast<const char*>(out + i), channels * 2);
        }
        lqt_packet_free(&packet);
    }
    NeAACDecClose(dec);
    quicktime_close(qt);
    return pcm.left(int(frames * channels * 2));
}

QByteArray decodeAll(Mp4Decoder& decoder, PlayInfo* info, int maxCalls = 100000)
{
    QByteArray pcm;
    char buffer[2048];
    int produced = 0;
    for (int i = 0; i < maxCalls; ++i) {
        decoder.decode(buffer, sizeof buffer, &produced, info);
        if (produced <= 0)
            break;
        pcm.append(buffer, produced);
    }
    return pcm;
}

int maxDifference(const QByteArray& a, const QByteArray& b)
{
    const auto* x = reinterpret_cast<const int16_t*>(a.constData());
    const auto* y = reinterpret_cast<const int16_t*>(b.constData());
    int worst = 0;
    for (int i = 0; i < qMin(a.size(), b.size()) / 2; ++i)
        worst = qMax(worst, qAbs(int(x[i]) - int(y[i])));
    return worst;
}

void writeScript(const QStringList& steps)
{
    QFile script(QFile::decodeName(qgetenv("QUAVRIX_AAC_KEYFILE")) + QStringLiteral(".script"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(steps.join(QLatin1Char('\n')).toUtf8() + '\n');
}
} // namespace

class TestMp4Decoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
    }

    void cleanupTestCase()
    {
        AACDecoder::removeSharedObjects();
    }

    void endToEnd_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("length");
        QTest::newRow("stereo 44100") << data("stereo-tagged.m4a") << 2 << 44100 << 132300 << 3;
        QTest::newRow("mono 22050") << data("mono.m4a") << 1 << 22050 << 44100 << 2;
    }
    void endToEnd()
    {
        QFETCH(QString, file);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, frames);
        QFETCH(int, length);
        Mp4Decoder decoder;
        QCOMPARE(decoder.mimeType(), QStringLiteral("audio/quicktime"));
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        // Exactly the track: priming and end padding are gone.
        QCOMPARE(pcm.size(), frames * channels * 2);
        const QByteArray reference = referencePcm(file, channels, frames);
        QCOMPARE(reference.size(), pcm.size());
        QCOMPARE(maxDifference(pcm, reference), 0);
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
        const QString file = data("stereo-tagged.m4a");
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
        AudioInfo tagged;
        QVERIFY(decoder.open(data("stereo-tagged.m4a"), &tagged));
        QCOMPARE(QByteArray(tagged.title), QByteArray("Stereo Title"));
        QCOMPARE(QByteArray(tagged.artist), QByteArray("Stereo Artist"));
        QCOMPARE(QByteArray(tagged.album), QByteArray("Stereo Album"));
        QCOMPARE(tagged.isUtf8, uint8_t(0));
        AudioInfo plain;
        QVERIFY(decoder.open(data("mono.m4a"), &plain));
        QCOMPARE(plain.title[0], '\0');
        QCOMPARE(plain.artist[0], '\0');
        QVERIFY(!QFile::exists(fresh));
        char buffer[2048];
        int produced = 1;
        PlayInfo info;
        QVERIFY(!decoder.decode(buffer, sizeof buffer, &produced, &info));
        QCOMPARE(produced, 0);
        qputenv("QUAVRIX_AAC_KEYFILE", keyFile);

        // The player's record: tags as read, the title from the file name without them.
        std::unique_ptr<AudioInfo> record(LoopControl::readTrackInfo(&decoder, data("stereo-tagged.m4a")));
        QVERIFY(record);
        QCOMPARE(QByteArray(record->album), QByteArray("Stereo Album"));
        record.reset(LoopControl::readTrackInfo(&decoder, data("mono.m4a")));
        QVERIFY(record);
        QCOMPARE(QByteArray(record->title), QByteArray("mono"));
    }

    void badFiles()
    {
        const QString ogg = quavrixTestRoot() + "/vorbis.m4a";
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg"), ogg));
        const QString half = quavrixTestRoot() + "/half.m4a";
        QFile in(data("stereo-tagged.m4a"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QFile out(half);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(in.read(in.size() / 2));
        out.close();

        Mp4Decoder decoder;
        for (const QString& file : {ogg, half, QStringLiteral("/no/such/file.m4a"),
                                    QStringLiteral(QUAVRIX_TEST_DATA "/ogg/garbage.ogg")}) {
            AudioInfo info;
            QVERIFY2(!decoder.open(file, nullptr), qPrintable(file));
            QVERIFY2(!decoder.open(file, &info), qPrintable(file));
        }
        // And it still plays a good file afterwards.
        QVERIFY(decoder.open(data("mono.m4a"), nullptr));
        PlayInfo info;
        QCOMPARE(decodeAll(decoder, &info).size(), 44100 * 2);
    }

    void nextTrackAfterClose()
    {
        Mp4Decoder decoder;
        QVERIFY(decoder.open(data("stereo-tagged.m4a"), nullptr));
        PlayInfo info;
        decodeAll(decoder, &info, 10);
        decoder.close();
        QVERIFY(decoder.open(data("mono.m4a"), nullptr));
        const QByteArray pcm = decodeAll(decoder, &info);
        QCOMPARE(maxDifference(pcm, referencePcm(data("mono.m4a"), 1, 44100)), 0);
        QCOMPARE(pcm.size(), 44100 * 2);
    }

    void failingProgramEndsTheTrack_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::newRow("dies") << QStringList({"want 4096", "out 4096", "want 4096", "die"});
        QTest::newRow("hangs") << QStringList({"want 4096", "out 4096", "want 4096", "hang"});
        QTest::newRow("finishes") << QStringList({"want 4096", "out 4096", "want 4096", "finish"});
        QTest::newRow("missing") << QStringList();
    }
    void failingProgramEndsTheTrack()
    {
        QFETCH(QStringList, script);
        writeScript(script);
        qputenv("QUAVRIX_AACDECODER", script.isEmpty() ? QByteArray("/no/such/aacdecoder")
                                                       : QByteArray(QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder"));
        AACDecoder::setTurnTimeoutMs(500);
        Mp4Decoder decoder;
        QVERIFY(decoder.open(data("stereo-tagged.m4a"), nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info, 1000);
        QVERIFY(pcm.size() <= 4096);
        // Once ended, it stays ended.
        char buffer[2048];
        int produced = 1;
        QVERIFY(!decoder.decode(buffer, sizeof buffer, &produced, &info));
        QCOMPARE(produced, 0);
        decoder.close();
        AACDecoder::setTurnTimeoutMs(2000);
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
    }
};

QUAVRIX_TEST_MAIN(TestMp4Decoder)
#include "tst_mp4decoder.moc"
