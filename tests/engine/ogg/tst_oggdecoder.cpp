// OggDecoder against Tremor's own output on oggenc-made files (tests/data/ogg/README).

#include "audioinfo.h"
#include "loopcontrol.h"
#include "oggdecoder.h"
#include "playinfo.h"
#include "testmain.h"

#include <tremor/ivorbisfile.h>

namespace {
QString data(const char* name)
{
    return QStringLiteral(QUAVRIX_TEST_DATA "/ogg/") + QLatin1String(name);
}

// Tremor used directly: the whole stream, optionally from a time in milliseconds.
QByteArray tremorPcm(const QString& file, int fromMs = -1)
{
    FILE* f = std::fopen(QFile::encodeName(file).constData(), "r");
    OggVorbis_File vf;
    if (!f || ov_open(f, &vf, nullptr, 0) != 0)
        return QByteArray();
    if (fromMs >= 0)
        ov_time_seek(&vf, fromMs);
    QByteArray pcm;
    char buffer[4096];
    int section = 0;
    long n;
    while ((n = ov_read(&vf, buffer, sizeof buffer, &section)) > 0)
        pcm.append(buffer, int(n));
    ov_clear(&vf);
    return pcm;
}

QByteArray decodeAll(OggDecoder& decoder, PlayInfo* info, int block = 2048)
{
    QByteArray pcm;
    QByteArray buffer(block, 0);
    int produced = 0;
    while (decoder.decode(buffer.data(), block, &produced, info) && produced > 0)
        pcm.append(buffer.constData(), produced);
    return pcm;
}
} // namespace

class TestOggDecoder : public QObject
{
    Q_OBJECT

private slots:
    void pcmEqualsTremor_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::newRow("stereo") << data("stereo.ogg") << 2 << 44100;
        QTest::newRow("mono") << data("mono-untagged.ogg") << 1 << 22050;
    }
    void pcmEqualsTremor()
    {
        QFETCH(QString, file);
        QFETCH(int, channels);
        QFETCH(int, rate);
        OggDecoder decoder;
        QCOMPARE(decoder.mimeType(), QStringLiteral("audio/ogg"));
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        const QByteArray reference = tremorPcm(file);
        QVERIFY(!reference.isEmpty());
        QCOMPARE(pcm.size(), reference.size());
        QVERIFY(pcm == reference);
        QCOMPARE(info.channels, channels);
        QCOMPARE(info.rate, rate);
        QVERIFY(info.bitrate > 0);
        QCOMPARE(info.range, info.length);
        QCOMPARE(info.position, info.length);
        decoder.close();
        decoder.close(); // closing twice does nothing
    }

    void positionAndSeek()
    {
        OggDecoder decoder;
        QVERIFY(decoder.open(data("stereo.ogg"), nullptr));
        PlayInfo info;
        QByteArray buffer(2048, 0);
        int produced = 0;
        int64_t bytes = 0;
        while (bytes < 1764000 && decoder.decode(buffer.data(), int(qMin<int64_t>(2048, 1764000 - bytes)), &produced, &info))
            bytes += produced;
        QCOMPARE(bytes, int64_t(1764000)); // ten seconds of 44100 Hz stereo
        QCOMPARE(info.position, 10);
        QCOMPARE(info.length, 11);

        // Back to second 5: the byte count of that position, and Tremor's PCM from there.
        QCOMPARE(decoder.seek(5), int64_t(882000));
        const QByteArray pcm = decodeAll(decoder, &info);
        QVERIFY(pcm == tremorPcm(data("stereo.ogg"), 5000));
        QCOMPARE(info.position, 11);

        // Beyond the end: the end, not a position the stream never reaches.
        QCOMPARE(decoder.seek(30), int64_t(11) * 44100 * 4);
        QCOMPARE(decoder.seek(-3), int64_t(0));
        decoder.decode(buffer.data(), 2048, &produced, &info);
        QCOMPARE(info.position, 0);

        decoder.close();
        QCOMPARE(decoder.seek(1), int64_t(-1));
        QVERIFY(!decoder.decode(buffer.data(), 2048, &produced, &info));
        QCOMPARE(produced, 0);
    }

    void comments()
    {
        OggDecoder decoder;
        AudioInfo lower;
        QVERIFY(decoder.open(data("stereo.ogg"), &lower));
        QCOMPARE(QByteArray(lower.title), QByteArray("Lower Title"));
        QCOMPARE(QByteArray(lower.artist), QByteArray("Lower Artist"));
        QCOMPARE(QByteArray(lower.album), QByteArray("Lower Album"));
        QCOMPARE(lower.track, 3); // "3/12"
        QCOMPARE(lower.year, 0);
        QCOMPARE(lower.isUtf8, uint8_t(1));

        AudioInfo upper;
        QVERIFY(decoder.open(data("upper-case.ogg"), &upper));
        QCOMPARE(QByteArray(upper.title), QByteArray("Upper Title"));
        QCOMPARE(QByteArray(upper.artist), QByteArray("Upper Artist"));
        QCOMPARE(QByteArray(upper.album), QByteArray("Upper Album"));
        QCOMPARE(upper.track, 7);

        AudioInfo none;
        QVERIFY(decoder.open(data("mono-untagged.ogg"), &none));
        QCOMPARE(none.title[0], '\0');
        QCOMPARE(none.artist[0], '\0');
        QCOMPARE(none.album[0], '\0');
        QCOMPARE(none.track, 0);
        QCOMPARE(none.isUtf8, uint8_t(1));

        // Long UTF-8 text is cut at 30 bytes without splitting a character.
        AudioInfo longText;
        QVERIFY(decoder.open(data("long-utf8.ogg"), &longText));
        QCOMPARE(QByteArray(longText.title), QByteArray("A title that is much longer th"));
        const QByteArray artist(longText.artist);
        QVERIFY(artist.size() <= 30);
        QVERIFY(QString::fromUtf8(artist).toUtf8() == artist);
        QVERIFY(artist.startsWith("Bj\xc3\xb6rk"));
        QCOMPARE(longText.title[30], '\0');

        // A track-information read leaves the decoder closed.
        QByteArray buffer(2048, 0);
        int produced = 1;
        PlayInfo info;
        QVERIFY(!decoder.decode(buffer.data(), 2048, &produced, &info));
        QCOMPARE(produced, 0);
    }

    void trackRecord()
    {
        // Through the player's track reading: no comments give the title from the file
        // name; comment text is UTF-8 and kept as written.
        OggDecoder decoder;
        std::unique_ptr<AudioInfo> plain(LoopControl::readTrackInfo(&decoder, data("mono-untagged.ogg")));
        QVERIFY(plain);
        QCOMPARE(QByteArray(plain->title), QByteArray("mono-untagged"));
        QCOMPARE(plain->artist[0], '\0');
        QCOMPARE(plain->isUtf8, uint8_t(1));
        std::unique_ptr<AudioInfo> upper(LoopControl::readTrackInfo(&decoder, data("upper-case.ogg")));
        QVERIFY(upper);
        QCOMPARE(QByteArray(upper->title), QByteArray("Upper Title"));
        QCOMPARE(upper->track, 7);
        QVERIFY(!LoopControl::readTrackInfo(&decoder, data("garbage.ogg")));
    }

    void badFiles()
    {
        OggDecoder decoder;
        AudioInfo info;
        QVERIFY(!decoder.open(data("not-vorbis.ogg"), nullptr));
        QVERIFY(!decoder.open(data("not-vorbis.ogg"), &info));
        QVERIFY(!decoder.open(data("garbage.ogg"), nullptr));
        QVERIFY(!decoder.open(QStringLiteral("/no/such/file.ogg"), nullptr));
        // An unreadable file still gets a record, which is then named after the file.
        AudioInfo missing;
        QVERIFY(decoder.open(QStringLiteral("/no/such/file.ogg"), &missing));
        QCOMPARE(missing.title[0], '\0');

        // After a failed open the decoder works as before.
        QVERIFY(decoder.open(data("mono-untagged.ogg"), nullptr));
        PlayInfo play;
        QVERIFY(!decodeAll(decoder, &play).isEmpty());
        QCOMPARE(play.channels, 1);
    }

    void truncatedFile()
    {
        // The first half of a stream plays up to where it is cut, then ends.
        QFile in(data("stereo.ogg"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString cut = quavrixTestRoot() + "/cut.ogg";
        QFile out(cut);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(in.read(in.size() / 2));
        out.close();
        OggDecoder decoder;
        QVERIFY(decoder.open(cut, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        QVERIFY(pcm.size() > 44100 * 4);
        QVERIFY(pcm.size() < 11 * 44100 * 4);
    }
};

QUAVRIX_TEST_MAIN(TestOggDecoder)
#include "tst_oggdecoder.moc"
