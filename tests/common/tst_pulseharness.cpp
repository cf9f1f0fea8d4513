// The PulseAudio harness itself: its analysis finds what was lost, doubled or inserted;
// a private daemon's null sink is heard bit-exact from paplay and from aplay on ALSA
// "default"; the gap paplay leaves between two files; nothing left running after it.
#include "testmain.h"

#include "pulsesession.h"

#include <QRandomGenerator>

#include <cmath>
#include <csignal>

using namespace PulsePcm;

namespace {
QByteArray silence(qint64 frames)
{
    return QByteArray(int(frames * FrameBytes), '\0');
}

QByteArray noise(qint64 frames, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray pcm(int(frames * FrameBytes), Qt::Uninitialized);
    for (qint64 i = 0; i < frames * Channels; ++i)
        qToLittleEndian<qint16>(qint16(random.bounded(-20000, 20000)), pcm.data() + i * 2);
    return pcm;
}

QByteArray span(const QByteArray& pcm, qint64 from, qint64 to)
{
    return pcm.mid(int(from * FrameBytes), int((to - from) * FrameBytes));
}

// Two tones, one a channel, whose amplitude moves linearly from `from` to `to`; no frame
// is silent, and no two stretches of a probe's length are alike.
QByteArray ramp(qint64 frames, double from, double to, double f1, double f2)
{
    QByteArray pcm(int(frames * FrameBytes), Qt::Uninitialized);
    for (qint64 i = 0; i < frames; ++i) {
        const double a = from + (to - from) * double(i) / double(frames - 1);
        const double t = double(i) / Rate;
        qToLittleEndian<qint16>(qint16(std::lround(a * std::sin(2 * M_PI * f1 * t + M_PI / 3))),
                                pcm.data() + i * FrameBytes);
        qToLittleEndian<qint16>(qint16(std::lround(a * std::sin(2 * M_PI * f2 * t + M_PI / 5))),
                                pcm.data() + i * FrameBytes + 2);
    }
    return pcm;
}

bool processGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}
} // namespace

class TestPulseHarness : public QObject
{
    Q_OBJECT
    QString m_dir;

    QString wav(const QString& name, const QByteArray& pcm)
    {
        const QString path = m_dir + QLatin1Char('/') + name;
        return writeWav(path, pcm) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        m_dir = quavrixTestRoot() + QStringLiteral("/wav");
        QVERIFY(QDir().mkpath(m_dir));
    }

    void compareCountsEachKindOfDamage()
    {
        const QByteArray source = silence(200) + noise(20000, 7);
        const QByteArray heard = silence(1000) + span(source, 0, 5000) + span(source, 5100, 9000)
            + span(source, 8950, 9000) + span(source, 9000, 12000) + silence(300)
            + span(source, 12000, 15000) + [&] {
                  QByteArray changed = span(source, 15000, 15010);
                  for (int k = 0; k < changed.size(); k += 2)
                      qToLittleEndian<qint16>(qint16(qFromLittleEndian<qint16>(changed.constData() + k) ^ 1),
                                              changed.data() + k);
                  return changed;
              }()
            + span(source, 15010, 20200) + silence(500);

        const HeardVsSource r = compare(heard, source);
        qInfo("%s", qPrintable(r.summary()));
        QCOMPARE(r.firstMatching, 0);
        QCOMPARE(r.heardStart, 1000);
        QCOMPARE(r.lastMatching, 20199);
        QCOMPARE(r.heardEnd, frames(heard) - 500);
        QCOMPARE(r.lost, 100);
        QCOMPARE(r.doubled, 50);
        QCOMPARE(r.silenceInserted, 300);
        QCOMPARE(r.changed, 10);
        QCOMPARE(r.inserted, 0);
        QCOMPARE(r.matched, 20200 - 100 - 10);
        QCOMPARE(r.missingAtStart + r.missingAtEnd, 0);
        QVERIFY(!r.exact());

        // One off in the lowest bit is within a tolerance of 1.
        const HeardVsSource tolerant = compare(heard, source, 0, 1);
        QCOMPARE(tolerant.changed, 0);
        QCOMPARE(tolerant.matched, 20200 - 100);

        const HeardVsSource clean = compare(silence(777) + source + silence(10), source);
        QVERIFY2(clean.exact(), qPrintable(clean.summary()));
        QCOMPARE(clean.heardStart, 777);
        QCOMPARE(findStart(silence(777) + source, source), 777);
    }

    void compareSeesCutEnds()
    {
        const QByteArray source = silence(200) + noise(20000, 11);
        const HeardVsSource late = compare(silence(50) + span(source, 500, 20200), source);
        QCOMPARE(late.firstMatching, 500);
        QCOMPARE(late.missingAtStart, 500);
        QCOMPARE(late.heardStart, 50);
        QCOMPARE(late.missingAtEnd, 0);

        const HeardVsSource early = compare(silence(50) + span(source, 0, 15000), source);
        QCOMPARE(early.firstMatching, 0);
        QCOMPARE(early.lastMatching, 14999);
        QCOMPARE(early.missingAtEnd, 5200);
        QVERIFY(!early.exact());

        QVERIFY(!compare(silence(5000), source).found());
        QCOMPARE(findStart(noise(5000, 12), source), -1);
    }

    void silenceAndSteps()
    {
        QByteArray pcm = noise(1000, 3) + silence(40) + noise(1000, 4) + silence(300) + noise(10, 5);
        const Silence s = longestSilence(pcm);
        QCOMPARE(s.start, 2040);
        QCOMPARE(s.length, 300);
        QCOMPARE(longestSilence(pcm, 0, 2000).length, 40);
        QCOMPARE(longestSilence(pcm, 0, 2000).start, 1000);
        QCOMPARE(longestSilence(noise(100, 6)).start, -1);

        QByteArray smooth = ramp(2000, 1000, 1000, 100, 150);
        const Step before = largestStep(smooth);
        QVERIFY(before.size < 100);
        for (qint64 i = 777; i < frames(smooth); ++i) // the right channel jumps up at 777
            qToLittleEndian<qint16>(qint16(sample(smooth, i, 1) + 20000), smooth.data() + i * FrameBytes + 2);
        const Step after = largestStep(smooth);
        QCOMPARE(after.frame, 777);
        QCOMPARE(after.channel, 1);
        QVERIFY(after.size > 19000);
        QVERIFY(largestStep(smooth, 777).size < 100); // the step lies before the span
    }

    void saysWhyItCannotStart()
    {
        const QByteArray path = qgetenv("PATH");
        const auto restore = qScopeGuard([&] { qputenv("PATH", path); });

        const QString empty = m_dir + QStringLiteral("/empty-bin");
        QVERIFY(QDir().mkpath(empty));
        qputenv("PATH", empty.toLocal8Bit());
        PulseSession missing;
        QVERIFY(!missing.start());
        QVERIFY2(missing.whyNot().contains(QLatin1String("pulseaudio is not installed")),
                 qPrintable(missing.whyNot()));

        qputenv("PATH", path);
        if (QStandardPaths::findExecutable(QStringLiteral("pacat")).isEmpty())
            QSKIP("pacat is not installed (Debian package pulseaudio-utils)");
        // A daemon that gives up at once, before saying it is ready.
        const QString fake = m_dir + QStringLiteral("/fake-bin");
        QVERIFY(QDir().mkpath(fake));
        QFile script(fake + QStringLiteral("/pulseaudio"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho 'E: [pulseaudio] refusing in this test' >&2\nexit 1\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", fake.toLocal8Bit() + ':' + path);
        PulseSession refused;
        QVERIFY(!refused.start());
        QVERIFY2(refused.whyNot().contains(QLatin1String("refusing in this test")), qPrintable(refused.whyNot()));
        qInfo("%s", qPrintable(refused.whyNot()));
    }

    void silentSinkKeepsTime()
    {
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        QElapsedTimer clock;
        clock.start();
        const qint64 first = pulse.recordedFrames();
        QVERIFY(pulse.waitForFrames(first + Rate));
        const qint64 elapsed = clock.elapsed();
        const QByteArray heard = pulse.recording();
        qInfo("one second of silence recorded in %lld ms", elapsed);
        QVERIFY2(elapsed > 500 && elapsed < 5000, qPrintable(QString::number(elapsed)));
        QCOMPARE(firstSound(heard), -1);
    }

    void paplayRampHeardBitExact()
    {
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        const QByteArray source = ramp(3 * Rate, 1000, 30000, 441, 551.25);
        const QString file = wav(QStringLiteral("ramp.wav"), source);
        QVERIFY(!file.isEmpty());

        const qint64 launched = pulse.recordedFrames();
        QElapsedTimer clock;
        clock.start();
        QByteArray output;
        QCOMPARE(pulse.run(QStringLiteral("paplay"), {file}, 60000, &output), 0);
        const qint64 played = clock.elapsed();
        const qint64 quiet = pulse.waitForQuiet(launched, Rate / 10);
        QVERIFY2(quiet >= 0, qPrintable(pulse.daemonLog()));
        const qint64 recordedMs = qint64(ms(pulse.recordedFrames() - launched));
        const qint64 wallMs = clock.elapsed();

        const QByteArray heard = pulse.recording();
        const HeardVsSource r = compare(heard, source, launched);
        qInfo("%s", qPrintable(r.summary()));
        qInfo("paplay ran %lld ms; first sample heard %.1f ms after its launch; the recording "
              "grew by %lld ms in %lld ms",
              played, ms(r.heardStart - launched), recordedMs, wallMs);
        QVERIFY2(r.exact(), qPrintable(r.summary() + QLatin1Char('\n') + QString::fromLocal8Bit(output)));
        QCOMPARE(r.heardEnd - r.heardStart, 3 * Rate);
        QCOMPARE(quiet, r.heardEnd);
        // Silence right before and after: the file, and nothing else, was heard.
        QVERIFY(r.heardStart > launched);
        QVERIFY(isSilent(heard.constData(), r.heardStart - 1));
        // The sink plays in real time: paplay cannot drain 3 s faster than that, and the
        // recording keeps pace with the wall clock.
        QVERIFY2(played >= 2900 && played < 30000, qPrintable(QString::number(played)));
        QVERIFY2(recordedMs > wallMs / 2 && recordedMs < wallMs * 2,
                 qPrintable(QStringLiteral("%1 / %2").arg(recordedMs).arg(wallMs)));
        QVERIFY(largestStep(heard, r.heardStart, r.heardEnd).size < 3000);
    }

    void paplayTwiceLeavesAGap()
    {
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        const QByteArray a = ramp(Rate, 1000, 20000, 441, 551.25);
        const QByteArray b = ramp(Rate, 20000, 1000, 661.5, 330.75);
        const QString fileA = wav(QStringLiteral("a.wav"), a);
        const QString fileB = wav(QStringLiteral("b.wav"), b);

        const qint64 launched = pulse.recordedFrames();
        QCOMPARE(pulse.run(QStringLiteral("paplay"), {fileA}), 0);
        QCOMPARE(pulse.run(QStringLiteral("paplay"), {fileB}), 0);
        QVERIFY(pulse.waitForQuiet(launched, Rate / 10) >= 0);

        const QByteArray heard = pulse.recording();
        const HeardVsSource ra = compare(heard, a, launched);
        const HeardVsSource rb = compare(heard, b, launched);
        QVERIFY2(ra.exact(), qPrintable(ra.summary()));
        QVERIFY2(rb.exact(), qPrintable(rb.summary()));
        const qint64 gap = rb.heardStart - ra.heardEnd;
        const Silence between = longestSilence(heard, ra.heardEnd, rb.heardStart);
        qInfo("gap between two paplay runs: %lld frames (%.1f ms) of digital silence", gap, ms(gap));
        QVERIFY2(gap >= 0 && gap < 5 * Rate, qPrintable(QString::number(gap)));
        QCOMPARE(between.length, gap);
    }

    void aplayThroughAlsaDefault()
    {
        const QString aplay = QStandardPaths::findExecutable(QStringLiteral("aplay"));
        if (aplay.isEmpty())
            QSKIP("aplay is not installed (Debian package alsa-utils)");
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        const QByteArray source = ramp(Rate, 1000, 30000, 441, 551.25);
        const QString file = wav(QStringLiteral("alsa.wav"), source);

        // Only the ALSA configuration leads to the daemon.
        QProcess p;
        pulse.prepare(p);
        QProcessEnvironment env = p.processEnvironment();
        env.remove(QStringLiteral("PULSE_SERVER"));
        env.remove(QStringLiteral("PULSE_CLIENTCONFIG"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        const qint64 launched = pulse.recordedFrames();
        // The player's own request: 250 ms of buffer.
        p.start(aplay, {QStringLiteral("-q"), QStringLiteral("-D"), QStringLiteral("default"),
                        QStringLiteral("--buffer-time=250000"), file});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAll().constData());
        QVERIFY(pulse.waitForQuiet(launched, Rate / 10) >= 0);

        const HeardVsSource r = compare(pulse.recording(), source, launched);
        qInfo("%s", qPrintable(r.summary()));
        qInfo("aplay: first sample heard %.1f ms after its launch", ms(r.heardStart - launched));
        QVERIFY2(r.exact(), qPrintable(r.summary()));
        QVERIFY(pulse.daemonLog().contains(QLatin1String("ALSA plug-in [aplay]")));
    }

    void childrenOfThisProcessPlayIntoIt()
    {
        const QByteArray before = qgetenv("PULSE_SERVER");
        PulseSession pulse;
        if (!pulse.start())
            QSKIP(qPrintable(pulse.whyNot()));
        const QByteArray source = ramp(Rate / 2, 5000, 10000, 441, 551.25);
        const QString file = wav(QStringLiteral("inherited.wav"), source);
        pulse.applyToThisProcess();
        QCOMPARE(qgetenv("PULSE_SERVER"), pulse.server().toLocal8Bit());

        QProcess p; // the environment of this process, nothing set on it
        const qint64 launched = pulse.recordedFrames();
        p.start(QStringLiteral("paplay"), {file});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(pulse.waitForQuiet(launched, Rate / 10) >= 0);
        const HeardVsSource r = compare(pulse.recording(), source, launched);
        QVERIFY2(r.exact(), qPrintable(r.summary()));

        pulse.stop();
        QCOMPARE(qgetenv("PULSE_SERVER"), before);
        QVERIFY(!qgetenv("ALSA_CONFIG_PATH").contains(pulse.asoundrc().toLocal8Bit()));
    }

    void nothingLeftRunning()
    {
        QList<qint64> ids;
        {
            PulseSession pulse;
            if (!pulse.start())
                QSKIP(qPrintable(pulse.whyNot()));
            ids = pulse.processIds();
            QCOMPARE(ids.size(), 3);
            pulse.stop();
            for (qint64 id : ids)
                QVERIFY2(processGone(id), qPrintable(QString::number(id)));
            QVERIFY(!QFileInfo::exists(pulse.socketPath()));

            QVERIFY(pulse.start());
            ids = pulse.processIds();
            QCOMPARE(ids.size(), 3);
        }
        for (qint64 id : ids)
            QVERIFY2(processGone(id), qPrintable(QString::number(id)));
    }
};

QUAVRIX_TEST_MAIN(TestPulseHarness)
#include "tst_pulseharness.moc"
