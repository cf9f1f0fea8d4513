// What the listener hears, through a real sound server (a private PulseAudio daemon, the
// player on ALSA "default") and through an OSS pipe read at a device's pace: every
// track's end, one track following the other without a gap, and an output that fails
// without taking the player along. The player is the real program, on Qt's offscreen
// platform, with its play list stored as a user left it.
#include "testmain.h"
#include "pacedcapture.h"
#include "privatebus.h"
#include "pulsesession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>

#include <memory>

namespace {
const QString kData = QStringLiteral(QUAVRIX_TEST_DATA "/sound/");

// Ids of System V objects that exist now, from /proc.
QSet<int> ipcIds(const char* kind)
{
    QFile f(QStringLiteral("/proc/sysvipc/") + QLatin1String(kind));
    QSet<int> ids;
    if (!f.open(QIODevice::ReadOnly))
        return ids;
    f.readLine();
    while (!f.atEnd()) {
        const QList<QByteArray> fields = f.readLine().simplified().split(' ');
        if (fields.size() > 1)
            ids.insert(fields[1].toInt());
    }
    return ids;
}
} // namespace

class TestSoundOut : public QObject
{
    Q_OBJECT
    QString m_root;
    int m_runs = 0;

    struct Player
    {
        std::unique_ptr<QProcess> process;
        QString log;
        QString read()
        {
            log += QString::fromLocal8Bit(process->readAllStandardError());
            return log;
        }
        ~Player()
        {
            if (process && process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(3000);
            }
        }
    };

    // The real player with files as its play list, the first one stored as playing at the
    // last close (so it starts at once); env adds to the environment.
    std::unique_ptr<Player> startPlayer(const QStringList& files, QProcessEnvironment env)
    {
        const QString home = m_root + QStringLiteral("/run%1").arg(++m_runs);
        for (const char* d : {"/config/Quavrix", "/data", "/home", "/music", "/runtime"})
            QDir().mkpath(home + QLatin1String(d));
        {
            QSettings conf(home + QStringLiteral("/config/Quavrix/Quavrix.conf"), QSettings::IniFormat);
            conf.setValue(QStringLiteral("Options/file"), files.value(0));
            conf.setValue(QStringLiteral("Options/pos"), 0);
            for (int i = 0; i < files.size(); ++i)
                conf.setValue(QStringLiteral("PlayList/%1").arg(i), files[i]);
        }
        QFile::setPermissions(home + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (auto [name, in] : {std::pair{"XDG_CONFIG_HOME", "/config"}, {"XDG_DATA_HOME", "/data"}, {"XDG_RUNTIME_DIR", "/runtime"},
                                {"HOME", "/home"}, {"QUAVRIX_DOCUMENTS", "/music"}, {"QUAVRIX_MIXER", "/no/mixer"}})
            env.insert(QLatin1String(name), home + QLatin1String(in));
        env.insert(QStringLiteral("QUAVRIX_INSTANCE"), QStringLiteral("quavrix-sound-%1-%2").arg(QCoreApplication::applicationPid()).arg(m_runs));
        env.insert(QStringLiteral("QUAVRIX_AACDECODER"), QStringLiteral(QUAVRIX_BIN_DIR "/aacdecoder"));
        if (!env.contains(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")))
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + home + QStringLiteral("/no-bus"));
        auto player = std::make_unique<Player>();
        player->process = std::make_unique<QProcess>();
        player->process->setProcessEnvironment(env);
        player->process->start(QStringLiteral(QUAVRIX_BIN_DIR "/quavrix"), QStringList());
        return player;
    }

    bool waitForLine(Player& player, const QString& line, int timeoutMs = 15000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (player.read().contains(line))
                return true;
            QTest::qWait(20);
        }
        qWarning("player output so far:\n%s", qPrintable(player.log));
        return false;
    }

private slots:
    void initTestCase()
    {
        m_root = quavrixTestRoot() + QStringLiteral("/sound");
        QDir().mkpath(m_root);
    }

    // One track to its last sample, and tracks one after the other as one sound: the
    // listener hears exactly what the files hold, end to end, through either output.
    void heardWholeAndWithoutGaps_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("files");
        const QStringList ramp{kData + "ramp.mp3"};
        const QStringList mp3{kData + "tone-a.mp3", kData + "tone-b.mp3"};
        const QStringList ogg{kData + "tone-a.ogg", kData + "tone-b.ogg"};
        const QStringList mixed{kData + "tone-a.mp3", kData + "tone-b.ogg"};
        QTest::newRow("sound server: a rising ramp to its last sample") << "pulse" << ramp;
        QTest::newRow("sound server: a tone in two MP3 halves") << "pulse" << mp3;
        QTest::newRow("sound server: a tone in two Ogg halves") << "pulse" << ogg;
        QTest::newRow("sound server: MP3 then Ogg") << "pulse" << mixed;
        QTest::newRow("OSS pipe: a rising ramp to its last sample") << "oss" << ramp;
        QTest::newRow("OSS pipe: a tone in two MP3 halves") << "oss" << mp3;
        // The device changes format only once the stereo track has been played out.
        QTest::newRow("OSS pipe: stereo, then mono") << "oss" << QStringList{kData + "tone-a.mp3", QStringLiteral(QUAVRIX_TEST_DATA "/mp3/mono64.mp3")};
    }
    void heardWholeAndWithoutGaps()
    {
        QFETCH(QString, output);
        QFETCH(QStringList, files);
        QByteArray source;
        for (const QString& f : files)
            source += decodeWhole(f);
        QVERIFY(source.size() > PacedCapture::BytesPerSecond);

        QByteArray heard;
        qint64 from = 0;
        if (output == QLatin1String("pulse")) {
            PulseSession pulse;
            if (!pulse.start())
                QSKIP(qPrintable(pulse.whyNot()));
            QProcessEnvironment env = pulse.environment();
            env.remove(QStringLiteral("QUAVRIX_DSP")); // no OSS: ALSA "default", the server
            from = pulse.recordedFrames();
            auto player = startPlayer(files, env);
            QVERIFY(waitForLine(*player, QStringLiteral("audio output: ALSA default")));
            QVERIFY2(pulse.waitForQuiet(from, PulsePcm::Rate / 10) >= 0, "nothing was heard, or it never ended");
            heard = pulse.recording(from);
        } else {
            const QString dsp = m_root + QStringLiteral("/dsp%1").arg(m_runs + 1);
            PacedCapture capture(dsp);
            QVERIFY(capture.isOpen());
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QUAVRIX_DSP"), dsp);
            auto player = startPlayer(files, env);
            QVERIFY(waitForLine(*player, QStringLiteral("audio output: OSS")));
            QTRY_VERIFY_WITH_TIMEOUT(capture.size() >= source.size(), 20000);
            QTest::qWait(300);
            heard = capture.take();
        }
        const PulsePcm::Heard r = PulsePcm::compare(heard, source);
        QVERIFY2(r.exact(), qPrintable(r.summary()));
        // Nothing of silence between the tracks, nothing sharper than the music itself.
        const QByteArray played = heard.mid(r.heardStart * PulsePcm::FrameBytes, source.size());
        QVERIFY(PulsePcm::longestSilence(played) < PulsePcm::Rate / 1000);
        QVERIFY(PulsePcm::largestStep(played) <= PulsePcm::largestStep(source));
    }

    // The output goes away mid-track (a pipe's reader dies, the sound server is killed),
    // or a pipe has no reader when the player opens it: the player lives, says what
    // happened, and answers the desktop within a second.
    void lostOutputTakesNothingDown_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("said");
        QTest::newRow("pipe's reader killed mid-track") << "reader" << "audio output: OSS failed";
        QTest::newRow("pipe without a reader at open") << "no reader" << "cannot be opened";
        QTest::newRow("sound server killed mid-track") << "server" << "audio output: ALSA failed";
    }
    void lostOutputTakesNothingDown()
    {
        QFETCH(QString, fault);
        QFETCH(QString, said);
        PrivateBus bus;
        if (bus.address().isEmpty())
            QSKIP("dbus-daemon is missing (scripts/setup.sh test installs it)");
        const QString dsp = m_root + QStringLiteral("/broken%1").arg(m_runs + 1);
        std::unique_ptr<PacedCapture> capture;
        PulseSession pulse;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUAVRIX_DSP"), dsp);
        if (fault == QLatin1String("server")) {
            if (!pulse.start())
                QSKIP(qPrintable(pulse.whyNot()));
            env = pulse.environment();
            env.remove(QStringLiteral("QUAVRIX_DSP"));
        } else if (fault == QLatin1String("reader")) {
            capture = std::make_unique<PacedCapture>(dsp);
        } else {
            QVERIFY(::mkfifo(QFile::encodeName(dsp).constData(), 0600) == 0);
        }
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        auto player = startPlayer({kData + "ramp.mp3", kData + "tone-a.mp3"}, env);
        if (fault == QLatin1String("reader")) {
            QTRY_VERIFY_WITH_TIMEOUT(capture->size() > PacedCapture::BytesPerSecond / 4, 15000);
            capture->killReader();
        } else if (fault == QLatin1String("server")) {
            QVERIFY(pulse.waitForSound(0) >= 0);
            pulse.stop();
        }
        QVERIFY(waitForLine(*player, said));
        QVERIFY(waitForLine(*player, QStringLiteral("sound output: ")));
        auto status = [&](qint64* answeredIn) {
            return bus.property(QStringLiteral("org.mpris.MediaPlayer2.quavrix"), QStringLiteral("/org/mpris/MediaPlayer2"),
                                QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("PlaybackStatus"), 1000,
                                answeredIn).toString();
        };
        qint64 answeredIn = -1;
        QTRY_COMPARE_WITH_TIMEOUT(status(&answeredIn), QStringLiteral("Playing"), 5000);
        QVERIFY2(answeredIn < 1000, qPrintable(QString::number(answeredIn)));
        QTest::qWait(300);
        QCOMPARE(player->process->state(), QProcess::Running);
    }

    // A file cut short or overwritten while it plays ends its track, and the list goes on.
    void damagedWhilePlayingGoesOn_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("cut");
        QTest::newRow("MP3 cut short") << kData + "ramp.mp3" << true;
        QTest::newRow("Ogg overwritten") << QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg") << false;
    }
    void damagedWhilePlayingGoesOn()
    {
        QFETCH(QString, fixture);
        QFETCH(bool, cut);
        const QString copy = m_root + QStringLiteral("/damaged%1.%2").arg(m_runs + 1).arg(QFileInfo(fixture).suffix());
        QFile::remove(copy);
        QVERIFY(QFile::copy(fixture, copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString dsp = m_root + QStringLiteral("/dsp%1").arg(m_runs + 1);
        PacedCapture capture(dsp);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUAVRIX_DSP"), dsp);
        auto player = startPlayer({copy, kData + "tone-a.mp3"}, env);
        QTRY_VERIFY_WITH_TIMEOUT(capture.size() > PacedCapture::BytesPerSecond / 2, 15000);
        QFile f(copy);
        QVERIFY(f.open(QIODevice::ReadWrite));
        if (cut) {
            QVERIFY(f.resize(20000));
        } else {
            QVERIFY(f.seek(f.size() / 3));
            QByteArray junk(int(f.size() / 3), Qt::Uninitialized);
            for (int i = 0; i < junk.size(); ++i)
                junk[i] = char(i * 7919 >> 3);
            f.write(junk);
        }
        f.close();
        QVERIFY(waitForLine(*player, QStringLiteral("+ play file ") + kData + "tone-a.mp3", 12000));
    }

    // Two players decoding AAC at the same moment each hear what one alone hears, and
    // nothing of their shared memory or semaphores is left once they are gone.
    void twoPlayersKeepTheirAacApart()
    {
        const QString m4a = QStringLiteral(QUAVRIX_TEST_DATA "/mp4/stereo-tagged.m4a");
        const QByteArray alone = decodeWhole(m4a);
        QVERIFY(alone.size() > 44100);
        std::unique_ptr<Player> players[2];
        QString dsp[2];
        for (int i = 0; i < 2; ++i) {
            dsp[i] = m_root + QStringLiteral("/aac%1-%2.raw").arg(m_runs + 1).arg(i);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QUAVRIX_DSP"), dsp[i]);
            players[i] = startPlayer({m4a}, env);
        }
        for (auto& p : players)
            QVERIFY(waitForLine(*p, QStringLiteral("init shared memory")));
        for (auto& p : players) {
            QVERIFY(waitForLine(*p, QStringLiteral("+ play file")));
            // The list ends after its one track: wait for the stop that follows.
            QTRY_VERIFY_WITH_TIMEOUT(p->read().contains(QLatin1String("AACDecoder::close()")), 15000);
        }
        for (int i = 0; i < 2; ++i) {
            QFile f(dsp[i]);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY2(f.readAll() == alone, qPrintable(QStringLiteral("player %1").arg(i)));
            players[i]->process->terminate();
            QVERIFY(players[i]->process->waitForFinished(5000));
        }
        const QRegularExpression ids(QStringLiteral("init shared memory (\\d+), semaphores (\\d+)"));
        for (auto& p : players) {
            const QRegularExpressionMatch m = ids.match(p->read());
            QVERIFY(m.hasMatch());
            QVERIFY(!ipcIds("shm").contains(m.captured(1).toInt()));
            QVERIFY(!ipcIds("sem").contains(m.captured(2).toInt()));
        }
    }
};

QUAVRIX_TEST_MAIN(TestSoundOut)
#include "tst_soundout.moc"
