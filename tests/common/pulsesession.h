#pragma once

// PulseSession: a private PulseAudio daemon whose only sink is a null sink, and a
// recording of that sink's monitor, so that a test can compare what was actually heard
// with what was played, sample by sample. QtCore and QtTest only.
//
//     PulseSession pulse;
//     if (!pulse.start())
//         QSKIP(qPrintable(pulse.whyNot()));
//     const qint64 before = pulse.recordedFrames();
//     QCOMPARE(pulse.run(QStringLiteral("paplay"), {wav}), 0);  // or a player started with
//                                                               // pulse.prepare(process)
//     QVERIFY(pulse.waitForQuiet(before, PulsePcm::Rate / 10) >= 0);
//     const PulsePcm::HeardVsSource r = PulsePcm::compare(pulse.recording(before), pcm);
//     qInfo("%s", qPrintable(r.summary()));
//     QVERIFY(r.exact());
//
// Clients reach the daemon through environment() (for a QProcess, or prepare(process))
// or applyToThisProcess() (for a player inside the test): PULSE_SERVER for PulseAudio
// clients, and ALSA_CONFIG_PATH naming the system's alsa.conf followed by an asoundrc
// that makes ALSA's "default" PCM (and ctl) the pulse plugin on this daemon
// (libasound2-plugins). The ALSA route works on its own, without PULSE_SERVER.
//
// What was found (PulseAudio 16.1, Debian 12):
// - Bit-exact. Sink, monitor, recorder and a 44.1 kHz s16le stereo stream share rate,
//   format and channels, and every volume stays at 100 %: nothing is resampled or
//   scaled. paplay, and aplay on ALSA "default" with the player's 250 ms buffer, are
//   heard sample for sample, first to last, with no tolerance. A stream of another rate is resampled and
//   will not match; compare() takes a tolerance for small changes, but resampled audio
//   needs a comparison of its own. A mixer set through the ALSA ctl moves the sink volume,
//   and then nothing matches either.
// - The null sink is loaded with norewinds=1. With rewinds the monitor missed the first
//   2-4 ms of every new stream, and half a second when the silent stream asked for
//   pacat's default latency: the sink had rendered ahead and rewrote what it had rendered.
// - The sink renders in blocks as long as the shortest latency any stream asks for, up to
//   two seconds when no stream asks (a new recorder then got its first data after a
//   second); the silent stream asks for latencyMs, so the clock ticks in small steps.
// - Timing: the recording keeps pace with the wall clock (3.12 s in 3.12 s) and a 3.00 s
//   file is heard as exactly 132300 frames. The first sample of paplay or aplay lies 5-15
//   ms (15-30 ms with both cores busy) after the recording's length at their launch; the
//   recording trails the sink by up to one recorder fragment (latencyMs). paplay run twice
//   in a row leaves 8-13 ms of digital silence between the files (18-20 ms under load).
// - Root: pulseaudio runs as root without --system; it only warns. With -n it loads
//   nothing but its script, so no card, D-Bus or X11 module gets in the way. "Cannot send
//   block reference with non-registered memfd" in its log is harmless: it copies instead.
// - Processes are ended by stop() and the destructor, and die with the test if it
//   crashes (parent-death signal; start the session from the thread that runs the test).
// - Players inside the test process: testmain.h points QUAVRIX_DSP at a file, which the
//   audio device prefers; unset it to make the device open ALSA "default". On Debian,
//   PULSE_SERVER alone also routes "default" to the daemon (the hook in
//   /etc/alsa/conf.d/99-pulse.conf); the asoundrc does not depend on it.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <optional>
#include <sys/prctl.h>

// Analysis of interleaved s16le stereo PCM at 44.1 kHz (the sink's format); positions are
// in frames (one sample for each channel).
namespace PulsePcm {

constexpr int Rate = 44100;
constexpr int Channels = 2;
constexpr int FrameBytes = 4;
// Frames compared at once when looking for a place in the recording: long enough not to
// match by chance in music, short enough to find the few frames between two glitches.
constexpr qint64 ProbeFrames = 64;

inline qint64 frames(const QByteArray& pcm)
{
    return pcm.size() / FrameBytes;
}

inline double ms(qint64 frames)
{
    return double(frames) * 1000.0 / Rate;
}

inline qint16 sample(const char* pcm, qint64 frame, int channel)
{
    return qFromLittleEndian<qint16>(pcm + frame * FrameBytes + channel * 2);
}

inline qint16 sample(const QByteArray& pcm, qint64 frame, int channel)
{
    return sample(pcm.constData(), frame, channel);
}

inline bool isSilent(const char* pcm, qint64 frame)
{
    static const char zero[FrameBytes] = {};
    return std::memcmp(pcm + frame * FrameBytes, zero, FrameBytes) == 0;
}

inline bool sameFrame(const char* a, qint64 fa, const char* b, qint64 fb, int tolerance)
{
    if (tolerance == 0)
        return std::memcmp(a + fa * FrameBytes, b + fb * FrameBytes, FrameBytes) == 0;
    for (int c = 0; c < Channels; ++c) {
        if (qAbs(int(sample(a, fa, c)) - int(sample(b, fb, c))) > tolerance)
            return false;
    }
    return true;
}

// First frame in [from, to) of hay where the n frames of probe start, or -1. Samples may
// differ by tolerance; at 0 the search is a plain byte search.
inline qint64 findFrames(const QByteArray& hay, const char* probe, qint64 n, qint64 from = 0,
                         qint64 to = -1, int tolerance = 0)
{
    const qint64 end = to < 0 ? frames(hay) : qMin(to, frames(hay));
    from = qMax<qint64>(0, from);
    if (n <= 0 || end - from < n)
        return -1;
    const char* base = hay.constData();
    if (tolerance == 0) {
        qint64 at = from;
        while (end - at >= n) {
            const void* hit = memmem(base + at * FrameBytes, size_t((end - at) * FrameBytes), probe,
                                     size_t(n * FrameBytes));
            if (!hit)
                return -1;
            const qint64 offset = static_cast<const char*>(hit) - base;
            if (offset % FrameBytes == 0)
                return offset / FrameBytes;
            at = offset / FrameBytes + 1; // a match across frames: go on from the next frame
        }
        return -1;
    }
    for (qint64 j = from; j + n <= end; ++j) {
        qint64 k = 0;
        while (k < n && sameFrame(base, j + k, probe, k, tolerance))
            ++k;
        if (k == n)
            return j;
    }
    return -1;
}

inline qint64 firstSound(const QByteArray& pcm, qint64 from = 0, qint64 to = -1)
{
    const qint64 end = to < 0 ? frames(pcm) : qMin(to, frames(pcm));
    for (qint64 i = qMax<qint64>(0, from); i < end; ++i) {
        if (!isSilent(pcm.constData(), i))
            return i;
    }
    return -1;
}

// Frame of heard where reference frame 0 lies, looking from frame `from` on, or -1. The
// search is anchored on the reference's first sound, since its leading silence would
// match any quiet stretch.
inline qint64 findStart(const QByteArray& heard, const QByteArray& reference, qint64 from = 0,
                        int tolerance = 0)
{
    const qint64 r0 = firstSound(reference);
    if (r0 < 0)
        return -1;
    const qint64 n = qMin(ProbeFrames, frames(reference) - r0);
    const qint64 j = findFrames(heard, reference.constData() + r0 * FrameBytes, n, from + r0, -1,
                                tolerance);
    return j < 0 ? -1 : j - r0;
}

struct Silence
{
    qint64 start = -1; // first frame of the run, -1 when there is none
    qint64 length = 0; // frames
};

// The longest run of digital silence (every sample 0) in frames [from, to).
inline Silence longestSilence(const QByteArray& pcm, qint64 from = 0, qint64 to = -1)
{
    const qint64 end = to < 0 ? frames(pcm) : qMin(to, frames(pcm));
    Silence best;
    qint64 runStart = -1;
    for (qint64 i = qMax<qint64>(0, from); i <= end; ++i) {
        const bool silent = i < end && isSilent(pcm.constData(), i);
        if (silent && runStart < 0)
            runStart = i;
        if (!silent && runStart >= 0) {
            if (i - runStart > best.length)
                best = {runStart, i - runStart};
            runStart = -1;
        }
    }
    return best;
}

struct Step
{
    qint64 frame = -1; // the frame after the step, -1 when the span has fewer than 2 frames
    int channel = -1;
    int size = 0; // |x[frame] - x[frame - 1]|
};

// The largest absolute difference between neighbouring samples of one channel within
// frames [from, to).
inline Step largestStep(const QByteArray& pcm, qint64 from = 0, qint64 to = -1)
{
    const qint64 end = to < 0 ? frames(pcm) : qMin(to, frames(pcm));
    Step best;
    for (qint64 i = qMax<qint64>(0, from) + 1; i < end; ++i) {
        for (int c = 0; c < Channels; ++c) {
            const int step = qAbs(int(sample(pcm, i, c)) - int(sample(pcm, i - 1, c)));
            if (step > best.size || best.frame < 0)
                best = {i, c, step};
        }
    }
    return best;
}

// How the source was heard. Source frames add up:
// matched + lost + changed + missingAtStart + missingAtEnd == sourceFrames.
struct HeardVsSource
{
    qint64 sourceFrames = 0;
    qint64 heardStart = -1;    // frame of the recording holding source frame firstMatching
    qint64 heardEnd = -1;      // frame of the recording after the one of lastMatching
    qint64 firstMatching = -1; // first source frame heard as it is
    qint64 lastMatching = -1;  // last source frame heard as it is
    qint64 matched = 0;        // source frames heard as they are
    qint64 lost = 0;           // source frames skipped, the ones around them heard
    qint64 changed = 0;        // source frames heard in their place but altered
    qint64 doubled = 0;        // extra frames heard, repeating the source just before them
    qint64 silenceInserted = 0; // extra frames heard, of digital silence
    qint64 inserted = 0;       // other extra frames heard
    qint64 missingAtStart = 0; // source frames before the first one heard
    qint64 missingAtEnd = 0;   // source frames the recording ended before

    bool found() const { return firstMatching >= 0; }
    bool exact() const
    {
        return found() && matched == sourceFrames && doubled == 0 && silenceInserted == 0
            && inserted == 0;
    }
    QString summary() const
    {
        if (!found())
            return QStringLiteral("source (%1 frames) not heard").arg(sourceFrames);
        return QStringLiteral("source frames %1..%2 of %3 heard at %4..%5; matched %6, lost %7, "
                              "changed %8, doubled %9, silence inserted %10, other inserted %11, "
                              "missing at start %12, at end %13")
            .arg(firstMatching)
            .arg(lastMatching)
            .arg(sourceFrames)
            .arg(heardStart)
            .arg(heardEnd - 1)
            .arg(matched)
            .arg(lost)
            .arg(changed)
            .arg(doubled)
            .arg(silenceInserted)
            .arg(inserted)
            .arg(missingAtStart)
            .arg(missingAtEnd);
    }
};

// Walks the recording (from frame `from`) along the source. Where they part, the walk
// looks up to `window` frames ahead for the source continuing in the recording (extra
// frames were heard) or the recording continuing in the source (frames were lost), and
// takes the nearer; where neither is found, frames are counted one by one as changed or
// matched for a probe's length and the search is tried again.
inline HeardVsSource compare(const QByteArray& heard, const QByteArray& source, qint64 from = 0,
                             int tolerance = 0, qint64 window = 10 * Rate)
{
    HeardVsSource r;
    const qint64 S = frames(source), H = frames(heard);
    const char* src = source.constData();
    const char* rec = heard.constData();
    r.sourceFrames = S;
    r.missingAtStart = S;

    const auto silentSpan = [](const char* pcm, qint64 at, qint64 n) {
        for (qint64 k = 0; k < n; ++k) {
            if (!isSilent(pcm, at + k))
                return false;
        }
        return true;
    };

    // Anchor: the first probe of the source's sound found in the recording.
    qint64 i = -1, j = -1;
    for (qint64 a = qMax<qint64>(0, firstSound(source)); a >= 0 && a < S; a += ProbeFrames) {
        const qint64 n = qMin(ProbeFrames, S - a);
        if (silentSpan(src, a, n))
            continue;
        j = findFrames(heard, src + a * FrameBytes, n, from, -1, tolerance);
        if (j >= 0) {
            i = a;
            break;
        }
    }
    if (i < 0)
        return r;
    while (i > 0 && j > from && sameFrame(rec, j - 1, src, i - 1, tolerance)) {
        --i;
        --j;
    }
    r.firstMatching = i;
    r.heardStart = j;
    r.missingAtStart = i;

    while (i < S && j < H) {
        if (sameFrame(rec, j, src, i, tolerance)) {
            ++r.matched;
            r.lastMatching = i;
            r.heardEnd = j + 1;
            ++i;
            ++j;
            continue;
        }
        // (a) the source from i heard later: frames j.. are extra.
        qint64 extraAt = -1;
        const qint64 ns = qMin(ProbeFrames, S - i);
        if (!silentSpan(src, i, ns))
            extraAt = findFrames(heard, src + i * FrameBytes, ns, j + 1, j + 1 + window + ns, tolerance);
        // (b) the recording from j found further on in the source: frames i.. were lost.
        qint64 lostTo = -1;
        const qint64 nh = qMin(ProbeFrames, H - j);
        if (!silentSpan(rec, j, nh))
            lostTo = findFrames(source, rec + j * FrameBytes, nh, i + 1, i + 1 + window + nh, tolerance);

        if (extraAt >= 0 && (lostTo < 0 || extraAt - j <= lostTo - i)) {
            const qint64 e = extraAt - j;
            bool repeat = e <= i;
            for (qint64 k = 0; repeat && k < e; ++k)
                repeat = sameFrame(rec, j + k, src, i - e + k, tolerance);
            if (repeat) {
                r.doubled += e;
            } else {
                for (qint64 k = 0; k < e; ++k)
                    ++(isSilent(rec, j + k) ? r.silenceInserted : r.inserted);
            }
            j = extraAt;
        } else if (lostTo >= 0) {
            r.lost += lostTo - i;
            i = lostTo;
        } else {
            const qint64 n = qMin(ProbeFrames, qMin(S - i, H - j));
            for (qint64 k = 0; k < n; ++k, ++i, ++j) {
                if (sameFrame(rec, j, src, i, tolerance)) {
                    ++r.matched;
                    r.lastMatching = i;
                    r.heardEnd = j + 1;
                } else {
                    ++r.changed;
                }
            }
        }
    }
    r.missingAtEnd = S - i;
    return r;
}

// A canonical 16-bit PCM WAV file.
inline bool writeWav(const QString& path, const QByteArray& pcm, int rate = Rate,
                     int channels = Channels)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray h;
    const auto u32 = [&h](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        h.append(b, 4);
    };
    const auto u16 = [&h](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        h.append(b, 2);
    };
    h.append("RIFF");
    u32(quint32(36 + pcm.size()));
    h.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(quint16(channels));
    u32(quint32(rate));
    u32(quint32(rate * channels * 2));
    u16(quint16(channels * 2));
    u16(16);
    h.append("data");
    u32(quint32(pcm.size()));
    return f.write(h) == h.size() && f.write(pcm) == pcm.size();
}

} // namespace PulsePcm

class PulseSession
{
public:
    // latencyMs: what the silent stream and the recorder ask for; it sets how often the
    // sink renders and the recorder receives.
    explicit PulseSession(int latencyMs = 20)
        : m_dir(QDir::tempPath() + QStringLiteral("/quavrix-pulse-XXXXXX")), m_latencyMs(latencyMs)
    {
    }
    ~PulseSession() { stop(); }
    PulseSession(const PulseSession&) = delete;
    PulseSession& operator=(const PulseSession&) = delete;

    static QString sinkName() { return QStringLiteral("quavrix_test"); }

    // Starts the daemon, the silent stream and the recorder; false, with whyNot() saying
    // why, when any of them cannot run here.
    bool start(int timeoutMs = 20000)
    {
        if (m_running)
            return true;
        m_why.clear();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString pacat = QStandardPaths::findExecutable(QStringLiteral("pacat"));
        const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
        if (daemon.isEmpty())
            return fail(QStringLiteral("pulseaudio is not installed (Debian package pulseaudio)"));
        if (pacat.isEmpty() || parec.isEmpty())
            return fail(QStringLiteral("pacat/parec are not installed (Debian package pulseaudio-utils)"));
        if (!m_dir.isValid())
            return fail(QStringLiteral("no temporary folder: ") + m_dir.errorString());
        // ALSA_CONFIG_PATH is split at colons and spaces; a socket path has 108 bytes at most.
        if (path().contains(QRegularExpression(QStringLiteral("[\\s:\"]"))))
            return fail(QStringLiteral("temporary folder %1 has a space, colon or quote").arg(path()));
        if (socketPath().toLocal8Bit().size() > 100)
            return fail(QStringLiteral("socket path %1 is too long").arg(socketPath()));
        for (const char* sub : {"home", "config", "state", "runtime"}) {
            if (!QDir().mkpath(file(QLatin1String(sub))))
                return fail(QStringLiteral("cannot create %1").arg(file(QLatin1String(sub))));
        }
        QFile::setPermissions(file(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const bool written =
            // The sink keeps 44.1 kHz even for a stream of another rate when nothing else plays.
            writeFile(QStringLiteral("daemon.conf"),
                      "default-sample-format = s16le\n"
                      "default-sample-rate = 44100\n"
                      "alternate-sample-rate = 44100\n"
                      "default-sample-channels = 2\n"
                      "default-channel-map = front-left,front-right\n"
                      "flat-volumes = no\n")
            && writeFile(QStringLiteral("client.conf"),
                         "autospawn = no\ndefault-server = " + server().toLocal8Bit() + '\n')
            && writeFile(QStringLiteral("session.pa"),
                         "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socketPath().toLocal8Bit()
                             + "\nload-module module-null-sink sink_name=" + sinkName().toLatin1()
                             + " rate=44100 channels=2 format=s16le norewinds=1"
                               "\nset-default-sink " + sinkName().toLatin1()
                             + "\nset-default-source " + sinkName().toLatin1() + ".monitor\n")
            && writeFile(QStringLiteral("asoundrc"),
                         "pcm.!default {\n    type pulse\n    server \"" + server().toLocal8Bit()
                             + "\"\n}\nctl.!default {\n    type pulse\n    server \""
                             + server().toLocal8Bit() + "\"\n}\n");
        if (!written)
            return fail(QStringLiteral("cannot write the configuration into %1").arg(path()));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("HOME"), file(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), file(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), file(QStringLiteral("runtime")));
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), file(QStringLiteral("runtime")));
        env.insert(QStringLiteral("PULSE_STATE_PATH"), file(QStringLiteral("state")));
        env.insert(QStringLiteral("PULSE_CONFIG"), file(QStringLiteral("daemon.conf")));
        env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), file(QStringLiteral("client.conf")));
        // No session bus to find, and none autolaunched.
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QStringLiteral("unix:path=") + file(QStringLiteral("no-bus")));
        m_daemon.setProcessEnvironment(env);
        m_daemon.setChildProcessModifier(dieWithParent);
        m_daemon.setStandardOutputFile(QProcess::nullDevice());
        m_daemon.setStandardErrorFile(file(QStringLiteral("daemon.log")));
        m_daemon.start(daemon, {QStringLiteral("-n"), QStringLiteral("--file=") + file(QStringLiteral("session.pa")),
                                QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                                QStringLiteral("--use-pid-file=no"), QStringLiteral("--realtime=no"),
                                QStringLiteral("--high-priority=no"), QStringLiteral("--no-cpu-limit"),
                                QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=info"),
                                QStringLiteral("--log-time=yes")});
        if (!m_daemon.waitForStarted())
            return fail(QStringLiteral("pulseaudio did not start: ") + m_daemon.errorString());
        if (!waitForLog("Daemon startup complete.", m_daemon, timeoutMs))
            return fail(QStringLiteral("pulseaudio refused to start:\n") + logTail());

        // A silent stream of low latency keeps the sink rendering in small, steady blocks.
        m_keeper.setProcessEnvironment(environment());
        m_keeper.setChildProcessModifier(dieWithParent);
        m_keeper.setStandardInputFile(QStringLiteral("/dev/zero"));
        m_keeper.setStandardOutputFile(QProcess::nullDevice());
        m_keeper.setStandardErrorFile(file(QStringLiteral("silence.log")));
        m_keeper.start(pacat, QStringList{QStringLiteral("--playback"), QStringLiteral("--device=") + sinkName(),
                               QStringLiteral("--client-name=quavrix-silence"),
                               QStringLiteral("--stream-name=quavrix-silence")}
                                  + streamArguments());
        if (!m_keeper.waitForStarted() || !waitForLog("\"quavrix-silence\" on ", m_keeper, timeoutMs))
            return fail(QStringLiteral("the silent stream did not start: ") + readFile(QStringLiteral("silence.log"))
                        + QLatin1Char('\n') + logTail());

        m_recorder.setProcessEnvironment(environment());
        m_recorder.setChildProcessModifier(dieWithParent);
        m_recorder.setStandardOutputFile(recordingPath());
        m_recorder.setStandardErrorFile(file(QStringLiteral("recorder.log")));
        m_recorder.start(parec, QStringList{QStringLiteral("--device=") + sinkName() + QStringLiteral(".monitor"),
                                 QStringLiteral("--client-name=quavrix-recorder"),
                                 QStringLiteral("--stream-name=quavrix-recorder")}
                                    + streamArguments());
        m_heard.clear();
        m_quietFrom = -1;
        if (!m_recorder.waitForStarted()
            || !QTest::qWaitFor([this] { return m_recorder.state() != QProcess::Running || recordedFrames() > 0; },
                                timeoutMs)
            || recordedFrames() == 0)
            return fail(QStringLiteral("the recorder did not start: ") + readFile(QStringLiteral("recorder.log"))
                        + QLatin1Char('\n') + logTail());
        m_running = true;
        return true;
    }

    QString whyNot() const { return m_why; }
    bool isRunning() const
    {
        return m_running && m_daemon.state() == QProcess::Running && m_recorder.state() == QProcess::Running;
    }

    // Ends the recorder, the silent stream and the daemon, in that order; the recording
    // stays readable until the session is destroyed.
    void stop()
    {
        endProcess(m_recorder);
        endProcess(m_keeper);
        endProcess(m_daemon);
        m_running = false;
        restoreEnvironment();
    }

    // The processes the session runs now (daemon, silent stream, recorder).
    QList<qint64> processIds() const
    {
        QList<qint64> ids;
        for (const QProcess* p : {&m_daemon, &m_keeper, &m_recorder}) {
            if (p->state() != QProcess::NotRunning)
                ids << p->processId();
        }
        return ids;
    }

    QString path() const { return m_dir.path(); }
    QString socketPath() const { return file(QStringLiteral("native")); }
    QString server() const { return QStringLiteral("unix:") + socketPath(); }
    QString asoundrc() const { return file(QStringLiteral("asoundrc")); }
    QString recordingPath() const { return file(QStringLiteral("recording.raw")); }
    QString daemonLog() const { return readFile(QStringLiteral("daemon.log")); }

    // ALSA reads the system's configuration, then this session's asoundrc.
    QString alsaConfigPath() const
    {
        const QString dir = qEnvironmentVariable("ALSA_CONFIG_DIR", QStringLiteral("/usr/share/alsa"));
        return dir + QStringLiteral("/alsa.conf:") + asoundrc();
    }

    // base with what a PulseAudio or ALSA client needs to play into this session.
    QProcessEnvironment environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const
    {
        base.insert(QStringLiteral("PULSE_SERVER"), server());
        base.insert(QStringLiteral("PULSE_CLIENTCONFIG"), file(QStringLiteral("client.conf")));
        base.insert(QStringLiteral("ALSA_CONFIG_PATH"), alsaConfigPath());
        for (const char* name : {"PULSE_SINK", "PULSE_SOURCE"})
            base.remove(QLatin1String(name));
        return base;
    }

    // The same for clients inside the test process; stop() puts the old values back.
    void applyToThisProcess()
    {
        const QProcessEnvironment env = environment(QProcessEnvironment());
        for (const QString& name : env.keys()) {
            if (!m_savedEnvironment.contains(name)) {
                const QByteArray key = name.toLocal8Bit();
                m_savedEnvironment.insert(name, qEnvironmentVariableIsSet(key.constData())
                                                    ? std::optional<QByteArray>(qgetenv(key.constData()))
                                                    : std::nullopt);
            }
            qputenv(name.toLocal8Bit().constData(), env.value(name).toLocal8Bit());
        }
    }

    // Makes process a client of this session, ended with the test if the test dies.
    void prepare(QProcess& process) const
    {
        process.setProcessEnvironment(environment(process.processEnvironment().isEmpty()
                                                      ? QProcessEnvironment::systemEnvironment()
                                                      : process.processEnvironment()));
        process.setChildProcessModifier(dieWithParent);
    }

    // Runs program as a client to its end: its exit code, or -1 when it could not start,
    // crashed or outlived timeoutMs (then it is killed). output gets stdout and stderr.
    int run(const QString& program, const QStringList& args, int timeoutMs = 60000,
            QByteArray* output = nullptr) const
    {
        QProcess p;
        prepare(p);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        bool done = p.waitForStarted() && p.waitForFinished(timeoutMs);
        if (!done && p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
        }
        if (output)
            *output = p.readAll();
        return done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    // Frames recorded so far.
    qint64 recordedFrames() const { return QFileInfo(recordingPath()).size() / PulsePcm::FrameBytes; }

    // What was heard, frames [from, to) as far as recorded.
    QByteArray recording(qint64 from = 0, qint64 to = -1)
    {
        refresh();
        const qint64 end = to < 0 ? PulsePcm::frames(m_heard) : qMin(to, PulsePcm::frames(m_heard));
        from = qBound<qint64>(0, from, end);
        return m_heard.mid(from * PulsePcm::FrameBytes, (end - from) * PulsePcm::FrameBytes);
    }

    bool waitForFrames(qint64 total, int timeoutMs = 10000) const
    {
        return QTest::qWaitFor([&] { return recordedFrames() >= total; }, timeoutMs);
    }

    // The first frame of sound at or after from, waiting for it; -1 after timeoutMs.
    qint64 waitForSound(qint64 from, int timeoutMs = 10000)
    {
        qint64 at = -1;
        (void)QTest::qWaitFor(
            [&] {
                refresh();
                at = PulsePcm::firstSound(m_heard, from);
                return at >= 0;
            },
            timeoutMs);
        return at;
    }

    // Waits until sound heard after from is followed by silentFrames frames of digital
    // silence; returns where that silence begins (the frame after the last sound), or -1
    // after timeoutMs.
    qint64 waitForQuiet(qint64 from, qint64 silentFrames, int timeoutMs = 30000)
    {
        if (from != m_quietFrom) {
            m_quietFrom = from;
            m_scanned = from;
            m_lastSound = -1;
        }
        const bool quiet = QTest::qWaitFor(
            [&] {
                refresh();
                const qint64 n = PulsePcm::frames(m_heard);
                for (; m_scanned < n; ++m_scanned) {
                    if (!PulsePcm::isSilent(m_heard.constData(), m_scanned))
                        m_lastSound = m_scanned;
                }
                return m_lastSound >= 0 && n - (m_lastSound + 1) >= silentFrames;
            },
            timeoutMs);
        return quiet ? m_lastSound + 1 : -1;
    }

private:
    static void dieWithParent() { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }

    static void endProcess(QProcess& p)
    {
        if (p.state() == QProcess::NotRunning)
            return;
        p.terminate();
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(5000);
        }
    }

    bool fail(const QString& why)
    {
        stop();
        m_why = why;
        return false;
    }

    QString file(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

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

    QString logTail() const
    {
        const QStringList lines = daemonLog().split(QLatin1Char('\n'));
        return lines.mid(qMax(0, int(lines.size()) - 15)).join(QLatin1Char('\n'));
    }

    // Waits for text in the daemon's log while process runs.
    bool waitForLog(const char* text, const QProcess& process, int timeoutMs) const
    {
        (void)QTest::qWaitFor([&] { return process.state() != QProcess::Running || daemonLog().contains(QLatin1String(text)); },
                        timeoutMs);
        return process.state() == QProcess::Running && daemonLog().contains(QLatin1String(text));
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
        if (!f.open(QIODevice::ReadOnly))
            return;
        const qint64 whole = f.size() / PulsePcm::FrameBytes * PulsePcm::FrameBytes;
        if (whole <= m_heard.size() || !f.seek(m_heard.size()))
            return;
        m_heard.append(f.read(whole - m_heard.size()));
        m_heard.truncate(m_heard.size() / PulsePcm::FrameBytes * PulsePcm::FrameBytes);
    }

    void restoreEnvironment()
    {
        for (auto it = m_savedEnvironment.cbegin(); it != m_savedEnvironment.cend(); ++it) {
            const QByteArray key = it.key().toLocal8Bit();
            if (it.value())
                qputenv(key.constData(), *it.value());
            else
                qunsetenv(key.constData());
        }
        m_savedEnvironment.clear();
    }

    QTemporaryDir m_dir; // first, so that it outlives the processes
    int m_latencyMs;
    QProcess m_daemon;
    QProcess m_keeper;
    QProcess m_recorder;
    bool m_running = false;
    QString m_why;
    QByteArray m_heard;
    qint64 m_quietFrom = -1;
    qint64 m_scanned = 0;
    qint64 m_lastSound = -1;
    QHash<QString, std::optional<QByteArray>> m_savedEnvironment;
};
