// FLAC and Opus as a listener gets them: the PCM the reference decoders give, tags read and
// pictures skipped, exact lengths and seeks, the type of an .oga told by its content, and
// damaged files refused or played without harm.
#include "decodehelpers.h"

#include "flacdecoder.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "opusdecoder.h"

#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <memory>

namespace {
// What a reference decoder gives: flac -d as raw 16- or 24-bit PCM, opusdec without dither.
QByteArray reference(const QString& file, int* bits)
{
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
    return std::unique_ptr<Decoder>(MimeType(file).id() == QLatin1String("audio/opus") ? static_cast<Decoder*>(new OpusDecoder)
                                                                                    : new FlacDecoder);
}
} // namespace

class TestFlacOpus : public QObject
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
    }

    void lengthAndSeeksAreExact_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<bool>("exact");
        QTest::newRow("FLAC") << fixture("flac/mono8.flac") << 22050 << true;
        QTest::newRow("Opus") << fixture("opus/mono.opus") << 48000 << false;
    }
    void lengthAndSeeksAreExact()
    {
        QFETCH(QString, file);
        QFETCH(int, rate);
        QFETCH(bool, exact);
        auto d = decoderFor(file);
        QVERIFY(d->open(file, nullptr));
        PlayInfo info;
        const QByteArray whole = decodeAll(*d, &info);
        QCOMPARE(whole.size(), 3 * rate * 2);
        QCOMPARE(info.length, 3);
        for (int second : {2, 1, 0, 3}) {
            QCOMPARE(d->seek(second), int64_t(second) * rate * 2);
            const QByteArray after = decodeAll(*d);
            QCOMPARE(after.size(), whole.size() - qsizetype(second) * rate * 2);
            if (exact || after.isEmpty()) {
                QCOMPARE(after.left(8192), whole.mid(qsizetype(second) * rate * 2, 8192));
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
    // or an allocation of what a lying size claims (the fuzz targets go further).
    void damagedFilesAreSafe_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray flac = readFile(fixture("flac/stereo16.flac"));
        const QByteArray opus = readFile(fixture("opus/stereo.opus"));
        QByteArray lyingPicture = flac;
        const qsizetype picture = flac.indexOf(QByteArray("\x06\x00\x1e\xdb", 4));
        if (picture >= 0)
            lyingPicture[picture + 1] = char(0xff);
        QByteArray flipped = flac, opusFlipped = opus;
        for (qsizetype i = 9000; i < flipped.size(); i += 997)
            flipped[i] = char(flipped[i] ^ 0x5a);
        for (qsizetype i = 200; i < opusFlipped.size(); i += 313)
            opusFlipped[i] = char(opusFlipped[i] ^ 0x21);
        QTest::newRow("FLAC cut in its metadata") << "cut.flac" << flac.left(3000);
        QTest::newRow("FLAC cut in its audio") << "cut2.flac" << flac.left(flac.size() / 2);
        QTest::newRow("FLAC with a picture that claims 16 MB") << "lying.flac" << lyingPicture;
        QTest::newRow("FLAC with bits flipped") << "flipped.flac" << flipped;
        QTest::newRow("Opus cut") << "cut.opus" << opus.left(opus.size() / 3);
        QTest::newRow("Opus with bits flipped") << "flipped.opus" << opusFlipped;
        QTest::newRow("FLAC signature only") << "bare.flac" << QByteArray("fLaC");
    }
    void damagedFilesAreSafe()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        const QString path = writeFile(file, bytes);
        auto d = decoderFor(path);
        AudioInfo info;
        d->open(path, &info);
        if (d->open(path, nullptr)) {
            d->seek(1);
            d->seek(0);
            QVERIFY(decodeAll(*d, nullptr, 2048, 10000).size() <= 4 * 48000 * 8 * 2);
        }
    }
};

QUAVRIX_TEST_MAIN(TestFlacOpus)
#include "tst_flacopus.moc"
