// OggDecoder against Tremor's own output on oggenc-made files (tests/data/ogg/README).

#include "../decodehelpers.h"

#include "oggdecoder.h"

#include <tremor/ivorbisfile.h>

#include <QtEndian>

namespace {
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
// A copy of an Ogg file with one comment replaced by another of the same length.
QString withComment(const char* fixtureName, const QByteArray& from, const QByteArray& to, const QString& name)
{
    QByteArray data = readFile(fixture(fixtureName));
    if (data.indexOf(from) < 0 || from.size() != to.size())
        qFatal("no comment %s to replace", from.constData());
    data.replace(data.indexOf(from), int(from.size()), to);
    fixOggChecksums(data);
    return writeFile(name, data);
}
// The stream with the identification header's sample rate set to value, the checksums
// made good again so only the rate lies.
QByteArray withRate(QByteArray f, uint32_t value)
{
    // After the page header and its segment table: "\x01vorbis", version, channels, rate.
    qToLittleEndian(value, reinterpret_cast<uchar*>(f.data() + 27 + uchar(f[26]) + 12));
    fixOggChecksums(f);
    return f;
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
        QTest::newRow("stereo") << fixture("ogg/stereo.ogg") << 2 << 44100;
        QTest::newRow("mono") << fixture("ogg/mono-untagged.ogg") << 1 << 22050;
    }
    void pcmEqualsTremor()
    {
        QFETCH(QString, file);
        QFETCH(int, channels);
        QFETCH(int, rate);
        OggDecoder decoder;
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        const QByteArray reference = tremorPcm(file);
        QVERIFY(!reference.isEmpty());
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
        QVERIFY(decoder.open(fixture("ogg/stereo.ogg"), nullptr));
        PlayInfo info;
        char buffer[2048];
        int produced = 0;
        int64_t bytes = 0; // ten seconds of 44100 Hz stereo
        while (bytes < 1764000 && decoder.decode(buffer, int(qMin<int64_t>(2048, 1764000 - bytes)), &produced, &info))
            bytes += produced;
        QCOMPARE(bytes, int64_t(1764000));
        QCOMPARE(info.position, 10);
        QCOMPARE(info.length, 11);

        // Back to second 5: the byte count of that position, and Tremor's PCM from there.
        QCOMPARE(decoder.seek(5), int64_t(882000));
        QVERIFY(decodeAll(decoder, &info) == tremorPcm(fixture("ogg/stereo.ogg"), 5000));
        QCOMPARE(info.position, 11);

        // Beyond the end: the end, not a position the stream never reaches.
        QCOMPARE(decoder.seek(30), int64_t(11) * 44100 * 4);
        QCOMPARE(decoder.seek(-3), int64_t(0));
        decodeAll(decoder, &info, 2048, 1);
        QCOMPARE(info.position, 0);

        decoder.close();
        QCOMPARE(decoder.seek(1), int64_t(-1));
        QVERIFY(decodeAll(decoder).isEmpty());
    }

    void comments_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("lower-case names, track 3/12") << fixture("ogg/stereo.ogg") << QByteArray("Lower Title|Lower Artist|Lower Album|0|3|1");
        QTest::newRow("upper-case names") << fixture("ogg/upper-case.ogg") << QByteArray("Upper Title|Upper Artist|Upper Album|0|7|1");
        QTest::newRow("no comments") << fixture("ogg/mono-untagged.ogg") << QByteArray("|||0|0|1");
        // Track numbers are base 10 whatever their leading zeros; DATE gives the year.
        QTest::newRow("TRACKNUMBER=08") << withComment("ogg/upper-case.ogg", "TRACKNUMBER=07", "TRACKNUMBER=08", "08.ogg")
                                        << QByteArray("Upper Title|Upper Artist|Upper Album|0|8|1");
        QTest::newRow("DATE=2020-05-01") << withComment("ogg/upper-case.ogg", "ALBUM=Upper Album", "DATE=2020-05-01  ", "date.ogg")
                                         << QByteArray("Upper Title|Upper Artist||2020|7|1");
        // whole, past the 30 bytes of a version 1 tag
        QTest::newRow("long UTF-8") << fixture("ogg/long-utf8.ogg")
                                    << QByteArray("A title that is much longer than thirty bytes|Bj\xc3\xb6rk \xc3\x9cn\xc3\xaf" "c\xc3\xb6" "d\xc3\xa9 \xc3\x84rtists w\xc3\xafth a long name||0|0|1");
    }
    void comments()
    {
        QFETCH(QString, file);
        OggDecoder decoder;
        AudioInfo info;
        QVERIFY(decoder.open(file, &info));
        QTEST(describe(info), "record");
        QVERIFY(decodeAll(decoder).isEmpty()); // a track-information read leaves it closed
    }

    // Files that are not Vorbis, or whose identification header lies, are refused; a
    // stream cut in half plays up to the cut. After each the decoder plays a good file.
    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("played"); // -1: refused; else at least this many bytes, less than the whole
        const QByteArray stereo = readFile(fixture("ogg/stereo.ogg"));
        QTest::newRow("not Vorbis") << readFile(fixture("ogg/not-vorbis.ogg")) << -1;
        QTest::newRow("garbage") << readFile(fixture("ogg/garbage.ogg")) << -1;
        QTest::newRow("empty") << QByteArray() << -1;
        QTest::newRow("rate 0xffffffff") << withRate(stereo, 0xffffffff) << -1;
        QTest::newRow("rate 4000: no device takes it") << withRate(stereo, 4000) << -1;
        QTest::newRow("first half") << stereo.left(stereo.size() / 2) << 44100 * 4;
    }
    void badFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, played);
        const QString file = writeFile(QStringLiteral("bad.ogg"), bytes);
        OggDecoder decoder;
        QCOMPARE(decoder.open(file, nullptr), played >= 0);
        if (played >= 0) {
            const int n = int(decodeAll(decoder).size());
            QVERIFY2(n > played && n < 11 * 44100 * 4, QByteArray::number(n).constData());
        }
        QVERIFY(decoder.open(fixture("ogg/mono-untagged.ogg"), nullptr));
        QVERIFY(decodeAll(decoder) == tremorPcm(fixture("ogg/mono-untagged.ogg")));
    }

    void aFileThatCannotBeReadStillGetsARecord()
    {
        // Named after the file by the caller.
        OggDecoder decoder;
        AudioInfo missing;
        QVERIFY(decoder.open(QStringLiteral("/no/such/file.ogg"), &missing));
        QCOMPARE(missing.title[0], '\0');
        QVERIFY(!decoder.open(QStringLiteral("/no/such/file.ogg"), nullptr));
    }
};

QUAVRIX_TEST_MAIN(TestOggDecoder)
#include "tst_oggdecoder.moc"
