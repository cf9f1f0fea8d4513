// Vorbis, FLAC and Opus as a listener gets them: the PCM the reference decoders give (Tremor
// for Vorbis, on oggenc-made files, tests/data/ogg/README), tags read and pictures skipped,
// exact lengths and seeks, the type of an .oga told by its content, and damaged files
// refused or played without harm.
#include "decodehelpers.h"

#include "flacdecoder.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "oggdecoder.h"
#include "opusdecoder.h"

#include <tremor/ivorbisfile.h>

#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <cmath>
#include <memory>

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

// What a reference decoder gives: Tremor, flac -d as raw 16- or 24-bit PCM, opusdec
// without dither.
QByteArray reference(const QString& file, int* bits)
{
    if (file.endsWith(QLatin1String(".ogg")))
        return tremorPcm(file);
    const bool opus = file.endsWith(QLatin1String(".opus"));
    const QString tool = QStandardPaths::findExecutable(opus ? QStringLiteral("opusdec") : QStringLiteral("flac"));
    if (tool.isEmpty())
        return QByteArray();
    QProcess p;
    const QString wav = quavrixTestRoot() + QStringLiteral("/reference.wav");
    if (opus) {
        p.start(tool, {"--quiet", "--rate", "48000", "--no-dither", file, wav});
    } else {
        QStringList args{"-d", "-s", "-c", "--force-raw-format", "--endian=little", "--sign=signed", file};
        if (file.endsWith(QLatin1String(".oga")))
            args.prepend(QStringLiteral("--ogg"));
        p.start(tool, args);
    }
    p.waitForFinished(60000);
    if (opus) {
        const QByteArray w = readFile(wav);
        return w.mid(w.indexOf("data") + 8);
    }
    *bits = file.contains(QLatin1String("24")) ? 24 : file.contains(QLatin1String("mono8")) ? 8 : 16;
    return p.readAllStandardOutput();
}

// Reference samples of other widths as 16 bits: to the nearest, halves away from zero.
QByteArray to16(const QByteArray& raw, int bits)
{
    if (bits == 16)
        return raw;
    const int width = bits / 8;
    QByteArray out;
    for (qsizetype i = 0; i + width <= raw.size(); i += width) {
        int v = bits == 8 ? int(int8_t(raw[i])) : int(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8 | int8_t(raw[i + 2]) * 65536);
        const double scaled = bits == 8 ? v * 256.0 : v / 256.0;
        const int16_t s = int16_t(qBound(-32768.0, std::copysign(std::floor(std::fabs(scaled) + 0.5), scaled), 32767.0));
        out.append(reinterpret_cast<const char*>(&s), 2);
    }
    return out;
}

std::unique_ptr<Decoder> decoderFor(const QString& file)
{
    const QString type = MimeType(file).id();
    if (type == QLatin1String("audio/ogg"))
        return std::make_unique<OggDecoder>();
    return std::unique_ptr<Decoder>(type == QLatin1String("audio/opus") ? static_cast<Decoder*>(new OpusDecoder) : new FlacDecoder);
}
} // namespace

class TestVorbisFlacOpus : public QObject
{
    Q_OBJECT

private slots:
    // The tags as the controller reads them, untagged files named after the file.
    void decodesLikeTheReference_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("tolerance");
        QTest::addColumn<QByteArray>("described");
        QTest::newRow("FLAC 16-bit stereo, bit for bit") << fixture("flac/stereo16.flac") << 44100 << 2 << 0
                                                         << QByteArray("Ünïcödé Title|FLAC Artist|FLAC Album|2019|4|1");
        QTest::newRow("Ogg FLAC") << fixture("flac/stereo16.oga") << 44100 << 2 << 0 << QByteArray("stereo16|||0|16|1");
        QTest::newRow("FLAC 24-bit 96 kHz, rounded") << fixture("flac/hires24.flac") << 96000 << 2 << 0 << QByteArray("hires24|||0|24|1");
        QTest::newRow("FLAC 8-bit mono") << fixture("flac/mono8.flac") << 22050 << 1 << 0 << QByteArray("mono8|||0|0|1");
        QTest::newRow("FLAC 6 channels, as they are") << fixture("flac/surround6.flac") << 48000 << 6 << 0 << QByteArray("surround6|||0|0|1");
        QTest::newRow("Opus stereo, within a step") << fixture("opus/stereo.opus") << 48000 << 2 << 1
                                                    << QByteArray("Opus Title|Opus Artist|Opus Album|2021|7|1");
        QTest::newRow("Opus mono") << fixture("opus/mono.opus") << 48000 << 1 << 1 << QByteArray("mono|||0|0|1");
        QTest::newRow("Vorbis stereo") << fixture("ogg/stereo.ogg") << 44100 << 2 << 0
                                       << QByteArray("Lower Title|Lower Artist|Lower Album|0|3|1");
        QTest::newRow("Vorbis mono") << fixture("ogg/mono-untagged.ogg") << 22050 << 1 << 0 << QByteArray("mono-untagged|||0|0|1");
    }
    void decodesLikeTheReference()
    {
        QFETCH(QString, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, tolerance);
        LoopControl control;
        std::unique_ptr<AudioInfo> described(LoopControl::readTrackInfo(control.decoderFor(file), file));
        QVERIFY(described);
        QTEST(describe(*described), "described");
        int bits = 16;
        const QByteArray raw = reference(file, &bits);
        const QByteArray expected = to16(raw, bits);
        if (expected.isEmpty())
            QSKIP("flac or opusdec is missing (scripts/setup.sh test installs them)");
        auto d = decoderFor(file);
        QVERIFY(d->open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(*d, &info);
        QCOMPARE(info.rate, rate);
        QCOMPARE(info.channels, channels);
        QCOMPARE(pcm.size(), expected.size()); // gapless: the exact length, both ends
        QVERIFY2(maxDifference(pcm, expected) <= tolerance, qPrintable(QString::number(maxDifference(pcm, expected))));
        QVERIFY(info.bitrate > 0);
        QCOMPARE(info.range, info.length);
        QCOMPARE(info.position, info.length);
        d->close();
        d->close(); // closing twice does nothing
    }

    // The length, seeks to the sample, positions, and seeks past either end.
    void lengthAndSeeksAreExact_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("exact");
        QTest::newRow("FLAC") << fixture("flac/mono8.flac") << 22050 << 1 << 3 << true;
        QTest::newRow("Opus") << fixture("opus/mono.opus") << 48000 << 1 << 3 << false;
        QTest::newRow("Vorbis") << fixture("ogg/mono-untagged.ogg") << 22050 << 1 << 2 << true;
        QTest::newRow("Vorbis stereo") << fixture("ogg/stereo.ogg") << 44100 << 2 << 11 << true;
    }
    void lengthAndSeeksAreExact()
    {
        QFETCH(QString, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, seconds);
        QFETCH(bool, exact);
        const int bytesPerSecond = rate * 2 * channels;
        auto d = decoderFor(file);
        QVERIFY(d->open(file, nullptr));
        PlayInfo info;
        const QByteArray whole = decodeAll(*d, &info);
        QCOMPARE(whole.size(), seconds * bytesPerSecond);
        QCOMPARE(info.length, seconds);
        QCOMPARE(info.position, seconds);
        // From the middle straight to the end (or past it): nothing is left to play.
        QCOMPARE(d->seek(1), int64_t(bytesPerSecond));
        QCOMPARE(d->seek(seconds + 5), int64_t(seconds) * bytesPerSecond);
        QVERIFY(decodeAll(*d).isEmpty());
        for (int second : {2, 1, 0, 3}) {
            second = qMin(second, seconds);
            QCOMPARE(d->seek(second), int64_t(second) * bytesPerSecond);
            const QByteArray after = decodeAll(*d);
            QCOMPARE(after.size(), whole.size() - qsizetype(second) * bytesPerSecond);
            if (exact || after.isEmpty()) {
                QCOMPARE(after.left(8192), whole.mid(qsizetype(second) * bytesPerSecond, 8192));
                continue;
            }
            // Opus restarts its decoder before the target, and a lossy decoder started
            // elsewhere gives other values: the seek is right when the sound lines up with
            // the continuous decode best at the target itself, not a sample either side.
            auto distance = [&](int shift) {
                int64_t sum = 0;
                for (int i = 100; i < 4000; ++i)
                    sum += std::abs(samples(after)[i] - samples(whole)[second * rate + i + shift]);
                return sum;
            };
            for (int shift : {-2, -1, 1, 2})
                QVERIFY2(distance(0) < distance(shift), qPrintable(QStringLiteral("second %1, shift %2").arg(second).arg(shift)));
        }
        // At the end, beyond it is the end, not a position the stream never reaches; before
        // the start the start. The position counts from a seek.
        QCOMPARE(d->seek(30), int64_t(seconds) * bytesPerSecond);
        QCOMPARE(d->seek(-3), int64_t(0));
        decodeAll(*d, &info, 2048, 1);
        QCOMPARE(info.position, 0);
        QCOMPARE(d->seek(1), int64_t(bytesPerSecond));
        decodeAll(*d, &info, 2048, 1);
        QCOMPARE(info.position, 1);
        d->close();
        QCOMPARE(d->seek(1), int64_t(-1));
        QVERIFY(decodeAll(*d).isEmpty());
    }

    // The type of an .oga is told by its content.
    void types()
    {
        QCOMPARE(MimeType(fixture("flac/stereo16.oga")).id(), QStringLiteral("audio/flac"));
        QCOMPARE(MimeType(fixture("opus/stereo.oga")).id(), QStringLiteral("audio/opus"));
        QCOMPARE(MimeType(fixture("ogg/stereo.ogg")).id(), QStringLiteral("audio/ogg"));
        QCOMPARE(MimeType(quavrixTestRoot() + QStringLiteral("/absent.oga")).id(), QStringLiteral("audio/ogg"));
    }

    // Damage of every kind ends in a refusal or in PCM that stops: never a crash, a hang
    // or an allocation of what a lying size claims (the fuzz targets go further). Files
    // that are not Vorbis, or whose identification header lies, are refused; a stream cut
    // in half plays up to the cut. After each the decoder plays a good file as a new one.
    void damagedFilesAreSafe_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("played"); // -1: refused; -2: anything; else more than this many bytes, less than the whole
        const QByteArray flac = readFile(fixture("flac/stereo16.flac"));
        const QByteArray opus = readFile(fixture("opus/stereo.opus"));
        const QByteArray vorbis = readFile(fixture("ogg/stereo.ogg"));
        QByteArray lyingPicture = flac;
        const qsizetype picture = flac.indexOf(QByteArray("\x06\x00\x1e\xdb", 4));
        if (picture >= 0)
            lyingPicture[picture + 1] = char(0xff);
        QByteArray flipped = flac, opusFlipped = opus;
        for (qsizetype i = 9000; i < flipped.size(); i += 997)
            flipped[i] = char(flipped[i] ^ 0x5a);
        for (qsizetype i = 200; i < opusFlipped.size(); i += 313)
            opusFlipped[i] = char(opusFlipped[i] ^ 0x21);
        QTest::newRow("FLAC cut in its metadata") << "cut.flac" << flac.left(3000) << -2;
        QTest::newRow("FLAC cut in its audio") << "cut2.flac" << flac.left(flac.size() / 2) << -2;
        QTest::newRow("FLAC with a picture that claims 16 MB") << "lying.flac" << lyingPicture << -2;
        QTest::newRow("FLAC with bits flipped") << "flipped.flac" << flipped << -2;
        QTest::newRow("Opus cut") << "cut.opus" << opus.left(opus.size() / 3) << -2;
        QTest::newRow("Opus with bits flipped") << "flipped.opus" << opusFlipped << -2;
        QTest::newRow("FLAC signature only") << "bare.flac" << QByteArray("fLaC") << -2;
        QTest::newRow("not Vorbis") << "wav.ogg" << readFile(fixture("ogg/not-vorbis.ogg")) << -1;
        QTest::newRow("garbage") << "garbage.ogg" << readFile(fixture("ogg/garbage.ogg")) << -1;
        QTest::newRow("empty") << "empty.ogg" << QByteArray() << -1;
        QTest::newRow("Vorbis rate 0xffffffff") << "rate.ogg" << withRate(vorbis, 0xffffffff) << -1;
        QTest::newRow("Vorbis rate 4000: no device takes it") << "rate4000.ogg" << withRate(vorbis, 4000) << -1;
        QTest::newRow("Vorbis, first half") << "half.ogg" << vorbis.left(vorbis.size() / 2) << 44100 * 4;
    }
    void damagedFilesAreSafe()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, played);
        const QString path = writeFile(file, bytes);
        auto d = decoderFor(path);
        AudioInfo info;
        d->open(path, &info);
        const bool opened = d->open(path, nullptr);
        if (played != -2)
            QCOMPARE(opened, played >= 0);
        if (opened) {
            d->seek(1);
            d->seek(0);
            const int n = int(decodeAll(*d, nullptr, 2048, 10000).size());
            QVERIFY(n <= 4 * 48000 * 8 * 2);
            if (played >= 0)
                QVERIFY2(n > played && n < 11 * 44100 * 4, QByteArray::number(n).constData());
        }
        const QString good = fixture(file.endsWith(".ogg") ? "ogg/mono-untagged.ogg" : file.endsWith(".opus") ? "opus/mono.opus" : "flac/mono8.flac");
        auto fresh = decoderFor(good);
        QVERIFY(d->open(good, nullptr) && fresh->open(good, nullptr));
        QVERIFY(decodeAll(*d) == decodeAll(*fresh));
    }

    void comments_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("record");
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

QUAVRIX_TEST_MAIN(TestVorbisFlacOpus)
#include "tst_vorbisflacopus.moc"
