// The quavrix-decode command on good, missing and damaged files.

#include "../decodehelpers.h"

#include "aacdecoder.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

#include <sys/stat.h>

namespace {
struct Run
{
    int exitCode = -1;
    QByteArray out;
    QStringList errLines;
};

Run run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUAVRIX_BIN_DIR "/quavrix-decode"), args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput();
    r.errLines = QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return r;
}
// The Ogg fixture with the identification header's sample rate set to value, the page
// checksums made good again so only the rate lies.
QByteArray oggWithRate(uint32_t value)
{
    QByteArray f = readFile(fixture("ogg/stereo.ogg"));
    // After the page header and its segment table: "\x01vorbis", version, channels, rate.
    qToLittleEndian(value, reinterpret_cast<uchar*>(f.data() + 27 + uchar(f[26]) + 12));
    fixOggChecksums(f);
    return f;
}
} // namespace

class TestQuavrixDecode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
    }

    void decodes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("summary");
        QTest::newRow("ogg") << fixture("ogg/stereo.ogg") << QStringList() << "rate=44100 channels=2 bytes=1940400 length=11";
        QTest::newRow("ogg seek") << fixture("ogg/stereo.ogg") << QStringList({"--seek", "10"}) << "rate=44100 channels=2 bytes=176400 length=11";
        QTest::newRow("m4a") << fixture("mp4/stereo-tagged.m4a") << QStringList() << "rate=44100 channels=2 bytes=529200 length=3";
        // Only a lying rate is refused: the same file with its own rate written back plays.
        QTest::newRow("ogg, rate rewritten") << writeFile(QStringLiteral("goodrate.ogg"), oggWithRate(44100)) << QStringList()
                                             << "rate=44100 channels=2 bytes=1940400 length=11";
        QTest::newRow("m4a mono seek") << fixture("mp4/mono.m4a") << QStringList({"--seek", "1"}) << "rate=22050 channels=1 bytes=44100 length=2";
    }
    void decodes()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, options);
        QFETCH(QString, summary);
        // To stdout.
        Run r = run(options + QStringList{file});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.errLines.value(r.errLines.size() - 1), summary);
        const int bytes = summary.section(QLatin1String("bytes="), 1).section(QLatin1Char(' '), 0, 0).toInt();
        QCOMPARE(r.out.size(), bytes);

        // To a WAV file: the same PCM behind a header that describes it.
        const QString wav = quavrixTestRoot() + "/out.wav";
        Run w = run(options + QStringList{"--wav", "-o", wav, file});
        QCOMPARE(w.exitCode, 0);
        QVERIFY(w.out.isEmpty());
        const QByteArray content = readFile(wav);
        QCOMPARE(content.left(4), QByteArray("RIFF"));
        QCOMPARE(content.mid(8, 8), QByteArray("WAVEfmt "));
        const int rate = summary.section(QLatin1String("rate="), 1).section(QLatin1Char(' '), 0, 0).toInt();
        QCOMPARE(int(qFromLittleEndian<uint32_t>(content.constData() + 24)), rate);
        QCOMPARE(int(qFromLittleEndian<uint32_t>(content.constData() + 40)), bytes);
        QVERIFY(content.mid(44) == r.out);
    }

    void info()
    {
        Run r = run({"--info", fixture("mp4/stereo-tagged.m4a")});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(QString::fromUtf8(r.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 QStringList({"file: " + fixture("mp4/stereo-tagged.m4a"), "title: Stereo Title",
                              "artist: Stereo Artist", "album: Stereo Album", "year: 0", "track: 0"}));
        r = run({"--info", fixture("ogg/stereo.ogg")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("\ntrack: 3\n"));
        QVERIFY(r.out.contains("\ntitle: Lower Title\n"));
    }

    void badInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        const QString missing = quavrixTestRoot() + "/missing.ogg";
        QTest::newRow("missing") << QStringList{missing} << missing;
        QTest::newRow("missing info") << QStringList{"--info", missing} << missing;
        QTest::newRow("missing bench") << QStringList{"--bench", "1", missing} << missing;
        QTest::newRow("garbage ogg") << QStringList{fixture("ogg/garbage.ogg")} << fixture("ogg/garbage.ogg");
        QTest::newRow("wav as ogg") << QStringList{fixture("ogg/not-vorbis.ogg")} << fixture("ogg/not-vorbis.ogg");
        QTest::newRow("directory") << QStringList{fixture("ogg")} << fixture("ogg");
        QTest::newRow("text file") << QStringList{fixture("ogg/README")} << fixture("ogg/README");

        // Files that are not audio at all do not pass for it with --info either.
        QByteArray noise(20000, 0);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        const QString random = writeFile(QStringLiteral("random.mp3"), noise);
        const QString empty = writeFile(QStringLiteral("empty.mp3"), QByteArray());
        QTest::newRow("random bytes named .mp3, info") << QStringList{"--info", random} << random;
        QTest::newRow("empty file named .mp3, info") << QStringList{"--info", empty} << empty;
        QTest::newRow("empty file named .m4a") << QStringList{writeFile(QStringLiteral("empty.m4a"), QByteArray())}
                                               << quavrixTestRoot() + "/empty.m4a";
        // A FIFO that nobody writes to is refused, not waited on.
        const QString fifo = quavrixTestRoot() + "/fifo.mp3";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QTest::newRow("FIFO named .mp3") << QStringList{fifo} << fifo;
        QTest::newRow("FIFO named .mp3, info") << QStringList{"--info", fifo} << fifo;
        // A rate of 0xffffffff in the identification header is not a format to play.
        const QString badRate = writeFile(QStringLiteral("rate.ogg"), oggWithRate(0xffffffff));
        QTest::newRow("ogg rate 0xffffffff") << QStringList{badRate} << badRate;
        const QString lowRate = writeFile(QStringLiteral("lowrate.ogg"), oggWithRate(4000));
        QTest::newRow("ogg rate 4000") << QStringList{lowRate} << lowRate;
    }
    void badInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        Run r = run(args);
        QVERIFY(r.exitCode > 0);
        QCOMPARE(r.errLines.size(), 1);
        QVERIFY2(r.errLines.first().contains(file), qPrintable(r.errLines.first()));
        QVERIFY(r.out.isEmpty());
    }

    void optionsAndUsage()
    {
        const Run r = run({"--bench", "2", fixture("ogg/mono-untagged.ogg")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(QString::fromUtf8(r.out).trimmed().contains(QRegularExpression("^speed=[0-9.]+$")));
        QCOMPARE(run({}).exitCode, 2);
        QCOMPARE(run({"--seek", "x", fixture("ogg/stereo.ogg")}).exitCode, 2);
        QCOMPARE(run({"--bench", "0", fixture("ogg/stereo.ogg")}).exitCode, 2);
    }

    // The commands ran with this test's key file; its objects go with it.
    void cleanupTestCase() { AACDecoder::removeSharedObjects(); }
};

QUAVRIX_TEST_MAIN(TestQuavrixDecode)
#include "tst_quavrixdecode.moc"
