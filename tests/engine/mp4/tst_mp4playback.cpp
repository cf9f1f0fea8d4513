// MP4 tracks through the playback controller: the worker drives the decoder program.

#include "aacdecoder.h"
#include "loopcontrol.h"
#include "mp4decoder.h"
#include "playinfo.h"
#include "testmain.h"

#include <QSignalSpy>

namespace {
QString data(const char* name)
{
    return QStringLiteral(QUAVRIX_TEST_DATA "/mp4/") + QLatin1String(name);
}

QString dsp()
{
    return QFile::decodeName(qgetenv("QUAVRIX_DSP"));
}
} // namespace

class TestMp4Playback : public QObject
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

    void playsToTheEnd()
    {
        QFile::remove(dsp());
        LoopControl control;
        QSignalSpy finished(&control, &LoopControl::finished);
        QVERIFY(control.open(data("mono.m4a")));
        control.play();
        QVERIFY(finished.wait(20000));
        control.stop();

        // What reached the device is the track, whole.
        Mp4Decoder decoder;
        QVERIFY(decoder.open(data("mono.m4a"), nullptr));
        QByteArray expected;
        char buffer[2048];
        int produced = 0;
        PlayInfo info;
        while (decoder.decode(buffer, sizeof buffer, &produced, &info) && produced > 0)
            expected.append(buffer, produced);
        QFile out(dsp());
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.size(), qint64(44100 * 2));
        QVERIFY(out.readAll() == expected);
    }

    void dyingProgramEndsTheTrack()
    {
        QFile script(QFile::decodeName(qgetenv("QUAVRIX_AAC_KEYFILE")) + ".script");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("want 4096\nout 4096\nwant 4096\ndie\n");
        script.close();
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        LoopControl control;
        QSignalSpy finished(&control, &LoopControl::finished);
        QVERIFY(control.open(data("stereo-tagged.m4a")));
        control.play();
        QVERIFY(finished.wait(10000));
        control.stop();
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
    }
};

QUAVRIX_TEST_MAIN(TestMp4Playback)
#include "tst_mp4playback.moc"
