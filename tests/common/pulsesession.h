#pragma once

// PulseSession: a private PulseAudio daemon whose only sink is a null sink, with a
// recording of that sink's monitor, so a test compares what was heard with what was
// played, sample by sample. QtCore and QtTest only.
//
//     PulseSession pulse;
//     if (!pulse.start())
//         QSKIP(qPrintable(pulse.whyNot()));
//     const qint64 from = pulse.recordedFrames();
//     ... play, with pulse.environment() (PULSE_SERVER, and ALSA "default" routed here) ...
//     QVERIFY(pulse.waitForQuiet(from, PulsePcm::Rate / 10) >= 0);
//     const auto r = PulsePcm::compare(pulse.recording(from), pcm);
//     QVERIFY2(r.exact(), qPrintable(r.summary()));
//
// What holds (PulseAudio 16.1): a 44.1 kHz s16le stereo stream at full volume is heard bit
// for bit, nothing resampled or scaled (another rate would be resampled). The null sink is
// loaded with norewinds=1: with rewinds the monitor missed the first milliseconds of every
// new stream. A silent stream asking for a short latency keeps the sink rendering in small
// steady blocks (without one it renders up to two seconds at a time). The recording keeps
// pace with the wall clock and trails the sink by up to one recorder fragment (latencyMs).
// pulseaudio runs as root without --system (it only warns). Every process of the session
// dies with the test (parent-death signal: start the session from the test's thread).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <optional>
#include <sys/prctl.h>

// Interleaved s16le stereo PCM at 44.1 kHz (the sink's format); positions in frames.
namespace PulsePcm {

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int FrameBytes = 4;
// Frames looked for at once: long enough not to match by chance in music.
constexpr qint64 ProbeFrames = 64;

inline qint64 frames(const QByteArray& pcm) { return pcm.size() / FrameBytes; }

inline bool isSilent(const char* pcm, qint64 frame)
{
    static const char zero[FrameBytes] = {};
    return std::memcmp(pcm + frame * FrameBytes, zero, FrameBytes) == 0;
}

inline qint64 firstSound(const QByteArray& pcm, qint64 from = 0)
{
    for (qint64 i = qMax<qint64>(0, from); i < frames(pcm); ++i) {
        if (!isSilent(pcm.constData(), i))
            return i;
    }
    return -1;
}

// Frame of heard where reference frame 0 lies, looking from frame `from` on, or -1. The
// search is anchored on the reference's first sound: its leading silence matches any
// quiet stretch.
inline qint64 findStart(const QByteArray& heard, const QByteArray& reference, qint64 from = 0)
{
    const qint64 r0 = firstSound(reference);
    if (r0 < 0)
        return -1;
    const qint64 n = qMin(ProbeFrames, frames(reference) - r0) * FrameBytes;
    const char* probe = reference.constData() + r0 * FrameBytes;
    for (qint64 at = (qMax<qint64>(0, from) + r0) * FrameBytes; at + n <= heard.size();) {
        const void* hit = memmem(heard.constData() + at, size_t(heard.size() - at), probe, size_t(n));
        if (!hit)
            return -1;
        const qint64 offset = static_cast<const char*>(hit) - heard.constData();
        if (offset % FrameBytes == 0)
            return offset / FrameBytes - r0;
        at = offset + 1; // a match across frames
    }
    return -1;
}

// The frames of the longest run of digital silence (every sample 0).
inline qint64 longestSilence(const QByteArray& pcm)
{
    qint64 best = 0, run = 0;
    for (qint64 i = 0; i < frames(pcm); ++i)
        best = qMax(best, run = isSilent(pcm.constData(), i) ? run + 1 : 0);
    return best;
}

// The largest difference between neighbouring samples of one channel: a click is a step
// larger than the music has.
inline int largestStep(const QByteArray& pcm)
{
    const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
    int largest = 0;
    for (qint64 i = Channels; i < frames(pcm) * Channels; ++i)
        largest = qMax(largest, qAbs(int(s[i]) - int(s[i - Channels])));
    return largest;
}

// How the source was heard: where it starts in the recording, and from there on frame for
// frame. A lost or doubled stretch shows as every frame after it differing.
struct Heard
{
    qint64 sourceFrames = 0;
    qint64 heardStart = -1; // frame of the recording holding source frame 0
    qint64 matched = 0;
    qint64 differing = 0;
    qint64 firstDifference = -1; // source frame
    qint64 missingAtEnd = 0;     // source frames the recording ended before

    bool exact() const { return heardStart >= 0 && matched == sourceFrames; }
    QString summary() const
    {
        if (heardStart < 0)
            return QStringLiteral("the source (%1 frames) was not heard").arg(sourceFrames);
        return QStringLiteral("heard from recording frame %1: %2 of %3 source frames as they are, %4 differ "
                              "(the first at %5), %6 missing at the end")
            .arg(heardStart).arg(matched).arg(sourceFrames).arg(differing).arg(firstDifference).arg(missingAtEnd);
    }
};

inline Heard compare(const QByteArray& heard, const QByteArray& source, qint64 from = 0)
{
    Heard r;
    r.sourceFrames = frames(source);
    r.heardStart = findStart(heard, source, from);
    if (r.heardStart < 0)
        return r;
    const qint64 n = qMin(r.sourceFrames, frames(heard) - r.heardStart);
    for (qint64 k = 0; k < n; ++k) {
        if (std::memcmp(heard.constData() + (r.heardStart + k) * FrameBytes, source.constData() + k * FrameBytes,
                        FrameBytes) == 0) {
            ++r.matched;
        } else if (++r.differing == 1) {
            r.firstDifference = k;
        }
    }
    r.missingAtEnd = r.sourceFrames - n;
    return r;
}

} // namespace PulsePcm

class PulseSession
{
public:
    // latencyMs: what the silent stream and the recorder ask for.
    explicit PulseSession(int latencyMs = 20)
        : m_dir(QDir::tempPath() + QStringLiteral("/quavrix-pulse-XXXXXX")), m_latencyMs(latencyMs)
    {
    }
    ~PulseSession() { stop(); }
    PulseSession(const PulseSession&) = delete;
    PulseSession& operator=(const PulseSession&) = delete;

    // Starts the daemon, the silent stream and the recorder; false, with whyNot() saying
    // why, when any of them cannot run here.
    bool start(int timeoutMs = 20000)
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString pacat = QStandardPaths::findExecutable(QStringLiteral("pacat"));
        const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
        if (daemon.isEmpty() || pacat.isEmpty() || parec.isEmpty())
            return fail(QStringLiteral("pulseaudio, pacat or parec is missing (Debian pulseaudio, pulseaudio-utils)"));
        // ALSA_CONFIG_PATH is split at colons and spaces; a socket path has 108 bytes at most.
        if (!m_dir.isValid() || m_dir.path().contains(QLatin1Char(' ')) || socketPath().toLocal8Bit().size() > 100)
            return fail(QStringLiteral("no usable temporary folder for the daemon"));
        for (const char* sub : {"home", "config", "state", "runtime"})
            QDir().mkpath(file(QLatin1String(sub)));
        QFile::setPermissions(file(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QByteArray server = this->server().toLocal8Bit(), sink = "quavrix_test";
        const bool written =
            // The sink keeps 44.1 kHz even for a stream of another rate when nothing else plays.
            writeFile(QStringLiteral("daemon.conf"),
                      "default-sample-format = s16le\ndefault-sample-rate = 44100\nalternate-sample-rate = 44100\n"
                      "default-sample-channels = 2\ndefault-channel-map = front-left,front-right\nflat-volumes = no\n")
            && writeFile(QStringLiteral("client.conf"), "autospawn = no\ndefault-server = " + server + '\n')
            && writeFile(QStringLiteral("session.pa"),
                         "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socketPath().toLocal8Bit()
                             + "\nload-module module-null-sink sink_name=" + sink
                             + " rate=44100 channels=2 format=s16le norewinds=1\nset-default-sink " + sink
                             + "\nset-default-source " + sink + ".monitor\n")
            && writeFile(QStringLiteral("asoundrc"), "pcm.!default {\n type pulse\n server \"" + server
                                                         + "\"\n}\nctl.!default {\n type pulse\n server \"" + server
                                                         + "\"\n}\n");
        if (!written)
            return fail(QStringLiteral("cannot write the configuration into ") + m_dir.path());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE"})
            env.remove(QLatin1String(name));
        for (auto [name, in] : {std::pair{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_RUNTIME_DIR", "runtime"},
                                {"PULSE_RUNTIME_PATH", "runtime"}, {"PULSE_STATE_PATH", "state"},
                                {"PULSE_CONFIG", "daemon.conf"}, {"PULSE_CLIENTCONFIG", "client.conf"}})
            env.insert(QLatin1String(name), file(QLatin1String(in)));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + file(QStringLiteral("no-bus")));
        m_daemon.setProcessEnvironment(env);
        m_daemon.setChildProcessModifier(dieWithParent);
        m_daemon.setStandardOutputFile(QProcess::nullDevice());
        m_daemon.setStandardErrorFile(file(QStringLiteral("daemon.log")));
        m_daemon.start(daemon, {QStringLiteral("-n"), QStringLiteral("--file=") + file(QStringLiteral("session.pa")),
                                QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                                QStringLiteral("--use-pid-file=no"), QStringLiteral("--realtime=no"),
                                QStringLiteral("--high-priority=no"), QStringLiteral("--no-cpu-limit"),
                                QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=info")});
        if (!m_daemon.waitForStarted() || !waitForLog("Daemon startup complete.", m_daemon, timeoutMs))
            return fail(QStringLiteral("pulseaudio refused to start:\n") + readFile(QStringLiteral("daemon.log")).right(1500));

        m_keeper.setProcessEnvironment(environment());
        m_keeper.setChildProcessModifier(dieWithParent);
        m_keeper.setStandardInputFile(QStringLiteral("/dev/zero"));
        m_keeper.setStandardOutputFile(QProcess::nullDevice());
        m_keeper.start(pacat, QStringList{QStringLiteral("--playback"), QStringLiteral("--client-name=quavrix-silence")}
                                  + streamArguments());
        m_recorder.setProcessEnvironment(environment());
        m_recorder.setChildProcessModifier(dieWithParent);
        m_recorder.setStandardOutputFile(recordingPath());
        m_recorder.start(parec, QStringList{QStringLiteral("--device=quavrix_test.monitor")} + streamArguments());
        m_heard.clear();
        // Until its start is confirmed a process is Starting, not Running: wait for that first.
        if (!m_keeper.waitForStarted() || !m_recorder.waitForStarted()
            || !QTest::qWaitFor([this] { return m_recorder.state() != QProcess::Running || recordedFrames() > 0; }, timeoutMs)
            || m_recorder.state() != QProcess::Running || m_keeper.state() != QProcess::Running)
            return fail(QStringLiteral("the silent stream or the recorder did not start"));
        return true;
    }

    QString whyNot() const { return m_why; }

    // Ends the recorder, the silent stream and the daemon; the recording stays readable.
    void stop()
    {
        for (QProcess* p : {&m_recorder, &m_keeper, &m_daemon}) {
            if (p->state() == QProcess::NotRunning)
                continue;
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
            if (it.value())
                qputenv(it.key().constData(), *it.value());
            else
                qunsetenv(it.key().constData());
        }
        m_saved.clear();
    }

    QString server() const { return QStringLiteral("unix:") + socketPath(); }

    // base with what a PulseAudio or ALSA client needs to play into this session: ALSA
    // reads the system's configuration, then this session's, which routes "default" here.
    QProcessEnvironment environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const
    {
        base.insert(QStringLiteral("PULSE_SERVER"), server());
        base.insert(QStringLiteral("PULSE_CLIENTCONFIG"), file(QStringLiteral("client.conf")));
        base.insert(QStringLiteral("ALSA_CONFIG_PATH"),
                    qEnvironmentVariable("ALSA_CONFIG_DIR", QStringLiteral("/usr/share/alsa")) + QStringLiteral("/alsa.conf:")
                        + file(QStringLiteral("asoundrc")));
        return base;
    }

    // The same for clients inside the test process; stop() puts the old values back.
    void applyToThisProcess()
    {
        const QProcessEnvironment env = environment(QProcessEnvironment());
        for (const QString& name : env.keys()) {
            const QByteArray key = name.toLocal8Bit();
            if (!m_saved.contains(key))
                m_saved.insert(key, qEnvironmentVariableIsSet(key.constData()) ? std::optional<QByteArray>(qgetenv(key.constData()))
                                                                               : std::nullopt);
            qputenv(key.constData(), env.value(name).toLocal8Bit());
        }
    }

    qint64 recordedFrames() const { return QFileInfo(recordingPath()).size() / PulsePcm::FrameBytes; }

    // What was heard from frame `from` on.
    QByteArray recording(qint64 from = 0)
    {
        refresh();
        return m_heard.mid(qBound<qint64>(0, from, PulsePcm::frames(m_heard)) * PulsePcm::FrameBytes);
    }

    // The first frame of sound at or after from, waiting for it; -1 after timeoutMs.
    qint64 waitForSound(qint64 from, int timeoutMs = 10000)
    {
        qint64 at = -1;
        (void)QTest::qWaitFor([&] { return (at = PulsePcm::firstSound(recording(), from)) >= 0; }, timeoutMs);
        return at;
    }

    // Waits until sound heard after from is followed by silentFrames frames of digital
    // silence; the frame after the last sound, or -1 after timeoutMs.
    qint64 waitForQuiet(qint64 from, qint64 silentFrames, int timeoutMs = 30000)
    {
        qint64 scanned = from, lastSound = -1;
        const bool quiet = QTest::qWaitFor(
            [&] {
                refresh();
                for (; scanned < PulsePcm::frames(m_heard); ++scanned) {
                    if (!PulsePcm::isSilent(m_heard.constData(), scanned))
                        lastSound = scanned;
                }
                return lastSound >= 0 && PulsePcm::frames(m_heard) - (lastSound + 1) >= silentFrames;
            },
            timeoutMs);
        return quiet ? lastSound + 1 : -1;
    }

private:
    static void dieWithParent() { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }

    bool fail(const QString& why)
    {
        stop();
        m_why = why;
        return false;
    }
    QString file(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString socketPath() const { return file(QStringLiteral("native")); }
    QString recordingPath() const { return file(QStringLiteral("recording.raw")); }
    bool writeFile(const QString& name, const QByteArray& text) const
    {
        QFile f(file(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
    }
    QString readFile(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }
    bool waitForLog(const char* text, const QProcess& process, int timeoutMs) const
    {
        const auto logged = [&] { return readFile(QStringLiteral("daemon.log")).contains(QLatin1String(text)); };
        (void)QTest::qWaitFor([&] { return process.state() != QProcess::Running || logged(); }, timeoutMs);
        return process.state() == QProcess::Running && logged();
    }
    QStringList streamArguments() const
    {
        return {QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=%1").arg(m_latencyMs)};
    }
    // Appends what the recorder wrote since the last call, in whole frames.
    void refresh()
    {
        QFile f(recordingPath());
        const qint64 whole = QFileInfo(recordingPath()).size() / PulsePcm::FrameBytes * PulsePcm::FrameBytes;
        if (whole > m_heard.size() && f.open(QIODevice::ReadOnly) && f.seek(m_heard.size()))
            m_heard.append(f.read(whole - m_heard.size()));
    }

    QTemporaryDir m_dir; // first, so that it outlives the processes
    int m_latencyMs;
    QProcess m_daemon;
    QProcess m_keeper;
    QProcess m_recorder;
    QString m_why;
    QByteArray m_heard;
    QHash<QByteArray, std::optional<QByteArray>> m_saved;
};
