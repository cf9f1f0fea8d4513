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
        QTest::newRow("m4a") << fixture("mp4/stereo-tagged.m4a") << QStringList() << "rate=44100 channels=2 bytes=529200 length=3";
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

    // Every other run: what it prints (stdout matched whole, empty for nothing), its exit
    // code (-1: any failure) and, for a failure, the one line on stderr naming the file.
    void otherRuns_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("file");
        QTest::newRow("info m4a") << QStringList{"--info", fixture("mp4/stereo-tagged.m4a")} << 0
                                  << "file: .*\ntitle: Stereo Title\nartist: Stereo Artist\nalbum: Stereo Album\nyear: 0\ntrack: 0\n" << "";
        QTest::newRow("no file") << QStringList() << 2 << "" << "";
        const QString missing = quavrixTestRoot() + "/missing.ogg";
        QTest::newRow("missing") << QStringList{missing} << -1 << "" << missing;
        QTest::newRow("garbage ogg") << QStringList{fixture("ogg/garbage.ogg")} << -1 << "" << fixture("ogg/garbage.ogg");
        // Files that are not audio at all do not pass for it with --info either.
        QByteArray noise(20000, 0);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        const QString random = writeFile(QStringLiteral("random.mp3"), noise);
        QTest::newRow("random bytes named .mp3, info") << QStringList{"--info", random} << -1 << "" << random;
        // A FIFO that nobody writes to is refused, not waited on.
        const QString fifo = quavrixTestRoot() + "/fifo.mp3";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QTest::newRow("FIFO named .mp3") << QStringList{fifo} << -1 << "" << fifo;
    }
    void otherRuns()
    {
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, file);
        QFETCH(QStringList, args);
        const Run r = run(args);
        QVERIFY2(exitCode < 0 ? r.exitCode > 0 : r.exitCode == exitCode, QByteArray::number(r.exitCode).constData());
        QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(out), QRegularExpression::DotMatchesEverythingOption)
                     .match(QString::fromUtf8(r.out)).hasMatch(), r.out.constData());
        if (!file.isEmpty()) {
            QCOMPARE(r.errLines.size(), 1);
            QVERIFY2(r.errLines.first().contains(file), qPrintable(r.errLines.first()));
        }
    }

    // The commands ran with this test's key file; its objects go with it.
    void cleanupTestCase() { AACDecoder::removeSharedObjects(); }
};

QUAVRIX_TEST_MAIN(TestQuavrixDecode)
#include "tst_quavrixdecode.moc"
