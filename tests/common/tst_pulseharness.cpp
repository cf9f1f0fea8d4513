// The sound harness itself: what a reference client plays into the private sound server
// is heard bit for bit, first sample to last, through PulseAudio and through ALSA's
// "default" (the way the player plays). Every sound test trusts this timeline.
#include "pulsesession.h"

#include <QCoreApplication>
#include <QtTest>

#include <cmath>

class TestPulseHarness : public QObject
{
    Q_OBJECT

private slots:
    void referenceClientsAreHeardExactly_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("paplay") << "paplay" << QStringList{};
        QTest::newRow("aplay on ALSA default") << "aplay" << QStringList{"-q", "-D", "default"};
    }
    void referenceClientsAreHeardExactly()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        if (QStandardPaths::findExecutable(program).isEmpty())
            QSKIP(qPrintable(program + QStringLiteral(" is missing (Debian pulseaudio-utils, alsa-utils)")));
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        // 1.5 s whose amplitude rises to the end: a lost end is the loudest part.
        QByteArray pcm(PulsePcm::Rate * 3 / 2 * PulsePcm::FrameBytes, Qt::Uninitialized);
        auto* s = reinterpret_cast<qint16*>(pcm.data());
        for (int i = 0; i < PulsePcm::Rate * 3 / 2; ++i) {
            const double level = 30000.0 * i / (PulsePcm::Rate * 3 / 2);
            s[2 * i] = qint16(level * std::sin(i * 0.0627));
            s[2 * i + 1] = qint16(level * std::sin(i * 0.0941 + 1));
        }
        const QString wav = QDir::tempPath() + QStringLiteral("/quavrix-harness-%1.wav").arg(QCoreApplication::applicationPid());
        QVERIFY(PulsePcm::writeWav(wav, pcm));
        const qint64 from = pulse.recordedFrames();
        QCOMPARE(pulse.run(program, arguments << wav), 0);
        QVERIFY(pulse.waitForQuiet(from, PulsePcm::Rate / 10) >= 0);
        QFile::remove(wav);
        const PulsePcm::Heard r = PulsePcm::compare(pulse.recording(from), pcm);
        QVERIFY2(r.exact(), qPrintable(r.summary()));
    }
};

QTEST_GUILESS_MAIN(TestPulseHarness)
#include "tst_pulseharness.moc"
