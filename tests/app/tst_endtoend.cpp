// The real player in a real X server, driven like a user with a pointer and keys: the
// library fills from a media folder, tracks play, skip, pause and resume, and a second
// start comes back to the same track at the same place. What the player writes to its
// sound device is compared with quavrix-decode of the same files.
#include "testmain.h"
#include "pacedcapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <signal.h>

namespace {
constexpr int kBytesPerSecond = PacedCapture::BytesPerSecond;

qsizetype commonPrefix(const QByteArray& a, const QByteArray& b)
{
    const qsizetype n = qMin(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}
} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
    QTemporaryDir m_root;
    QProcess m_xvfb;
    QString m_display;
    QString m_xdotool;
    QString m_music;
    QString m_stderr;
    QProcess* m_player = nullptr;
    std::unique_ptr<PacedCapture> m_capture;

    QString xdotool(const QStringList& args, int timeoutMs = 10000)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        p.setProcessEnvironment(env);
        p.start(m_xdotool, args);
        p.waitForFinished(timeoutMs);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

    // The player's main window once it is mapped at the emulated display's size. xdotool
    // waits for it to appear however long a loaded machine takes; the deadline is only
    // there to end a test whose player never shows a window.
    QString window()
    {
        const QString pid = QString::number(m_player->processId());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 120000 && m_player->state() == QProcess::Running) {
            const QStringList ids = xdotool({"search", "--sync", "--onlyvisible", "--pid", pid, "--name", "^Quavrix$"}, 120000)
                                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (const QString& id : ids)
                if (xdotool({"getwindowgeometry", id}).contains(QLatin1String("480x640")))
                    return id;
            QTest::qWait(50);
        }
        return QString();
    }

    void startPlayer()
    {
        m_stderr.clear();
        m_player = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString root = m_root.path();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
        for (auto [name, in] : {std::pair{"XDG_CONFIG_HOME", "/config"}, {"XDG_DATA_HOME", "/data"}, {"HOME", "/home"},
                                {"QUAVRIX_DOCUMENTS", "/music"}, {"QUAVRIX_DSP", "/dsp"}, {"QUAVRIX_MIXER", "/no/mixer"}})
            env.insert(QLatin1String(name), root + QLatin1String(in));
        env.insert(QStringLiteral("QUAVRIX_INSTANCE"), QStringLiteral("quavrix-e2e-%1").arg(QCoreApplication::applicationPid()));
        m_player->setProcessEnvironment(env);
        connect(m_player, &QProcess::readyReadStandardError, this,
                [this] { m_stderr += QString::fromLocal8Bit(m_player->readAllStandardError()); });
        m_player->start(QStringLiteral(QUAVRIX_BIN_DIR "/quavrix"), {"--display", "480x640"});
    }

    // Waits for a line of the player's debug output; the deadline only ends a test whose
    // player never says it.
    bool waitForLine(const QString& line, int timeoutMs = 120000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            if (m_stderr.contains(line))
                return true;
            QTest::qWait(50);
        }
        qWarning("player output so far:\n%s", qPrintable(m_stderr));
        return false;
    }

    // A value of the settings the player stored.
    QString stored(const char* key) const
    {
        return QSettings(m_root.path() + QStringLiteral("/config/Quavrix/Quavrix.conf"), QSettings::IniFormat)
            .value(QLatin1String(key)).toString();
    }

    bool closeWithEscape(const QString& win)
    {
        xdotool({"key", "--window", win, "Escape"});
        const bool ended = m_player->waitForFinished(60000);
        m_stderr += QString::fromLocal8Bit(m_player->readAllStandardError());
        delete m_player;
        m_player = nullptr;
        // What is still in the pipe drains at the device's pace.
        for (qsizetype before = -1; before != m_capture->size();) {
            before = m_capture->size();
            QTest::qWait(500);
        }
        return ended;
    }

private slots:
    void initTestCase()
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        m_xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xvfb.isEmpty() || m_xdotool.isEmpty())
            QSKIP("Xvfb or xdotool is missing (scripts/setup.sh test installs them): no real window to drive");
        m_xvfb.start(xvfb, {"-displayfd", "1", "-screen", "0", "800x700x24", "-nolisten", "tcp"});
        QVERIFY(m_xvfb.waitForStarted());
        QElapsedTimer t;
        t.start();
        while (!m_xvfb.canReadLine() && t.elapsed() < 15000)
            m_xvfb.waitForReadyRead(200);
        const QByteArray number = m_xvfb.readLine().trimmed();
        if (number.isEmpty())
            QSKIP("no X server could be started here");
        m_display = QStringLiteral(":") + QString::fromLatin1(number);

        m_music = m_root.path() + QStringLiteral("/music");
        for (const char* d : {"/music", "/config", "/data", "/home", "/no"})
            QDir().mkpath(m_root.path() + QLatin1String(d));
        // In library order: no artist, "Lower Artist", "Some Artist".
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/mp3/stereo128.mp3"), m_music + "/alpha.mp3"));
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg"), m_music + "/bravo.ogg"));
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/mp3/tagged-v1.mp3"), m_music + "/charlie.mp3"));
        m_capture = std::make_unique<PacedCapture>(m_root.path() + QStringLiteral("/dsp"));
        QVERIFY(m_capture->isOpen());
    }

    void cleanupTestCase()
    {
        if (m_player) {
            m_player->kill();
            m_player->waitForFinished();
        }
        m_capture.reset();
        if (m_xvfb.state() != QProcess::NotRunning) {
            m_xvfb.terminate();
            m_xvfb.waitForFinished(5000);
        }
    }

    void firstStartFillsTheLibraryAndPlays()
    {
        const QString alpha = m_music + "/alpha.mp3", bravo = m_music + "/bravo.ogg";
        startPlayer();
        QVERIFY(waitForLine(QStringLiteral("+ library 3 tracks")));
        const QString win = window();
        QVERIFY2(!win.isEmpty(), "the main window did not appear at 480x640");

        // "Add All" on the library page, then the keys bound by default.
        xdotool({"mousemove", "--window", win, "358", "612", "click", "1"});
        QTest::qWait(300);
        xdotool({"key", "--window", win, "space"});
        QVERIFY(waitForLine(QStringLiteral("+ play file ") + alpha));
        QTest::qWait(700);
        xdotool({"key", "--window", win, "Right"});
        QVERIFY(waitForLine(QStringLiteral("+ play file ") + bravo));
        QTest::qWait(1500);
        xdotool({"key", "--window", win, "space"}); // pause
        QTest::qWait(500);
        xdotool({"key", "--window", win, "space"}); // and on
        QTest::qWait(1200);
        QVERIFY(closeWithEscape(win));

        QCOMPARE(QStringList({stored("PlayList/0"), stored("PlayList/1"), stored("PlayList/2"), stored("Options/file")}),
                 QStringList({alpha, bravo, m_music + "/charlie.mp3", bravo}));
        const int pos = stored("Options/pos").toInt();
        QVERIFY2(pos >= 2 && pos <= 5, qPrintable(QString::number(pos)));

        // The device got the start of alpha, then bravo from its start, with nothing
        // lost or repeated around the pause.
        const QByteArray pcm = m_capture->take();
        const QByteArray a = decodeWhole(alpha), b = decodeWhole(bravo);
        QVERIFY(a.size() > kBytesPerSecond && b.size() > 10 * kBytesPerSecond);
        const qsizetype inA = commonPrefix(pcm, a);
        QVERIFY2(inA >= kBytesPerSecond / 4, qPrintable(QString::number(inA)));
        qsizetype split = -1;
        for (qsizetype k = inA; k >= qMax<qsizetype>(0, inA - 256) && split < 0; --k)
            if (commonPrefix(pcm.mid(k), b) == pcm.size() - k)
                split = k;
        QVERIFY2(split >= 0, "what followed alpha was not bravo from its start");
        QVERIFY2(pcm.size() - split >= 2 * kBytesPerSecond, qPrintable(QString::number(pcm.size() - split)));
        m_secondPos = pos;
    }

    void secondStartComesBackToTheSamePlace()
    {
        if (m_secondPos < 0)
            QSKIP("the first start did not get that far");
        const QString bravo = m_music + "/bravo.ogg";
        startPlayer();
        QVERIFY(waitForLine(QStringLiteral("+ library 3 tracks")));
        const QString win = window();
        QVERIFY(!win.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(m_capture->size() > kBytesPerSecond, 60000);
        QVERIFY(closeWithEscape(win));

        const QByteArray pcm = m_capture->take();
        const QByteArray b = decodeWhole(bravo);
        // Playback goes on from the stored second (a block or two from the start may come
        // before the seek takes effect).
        const QByteArray atPos = b.mid(qsizetype(m_secondPos) * kBytesPerSecond, 8192);
        const qsizetype at = pcm.indexOf(atPos);
        QVERIFY2(at >= 0 && at <= 16384, qPrintable(QString::number(at)));
        QCOMPARE(commonPrefix(pcm.mid(at), b.mid(qsizetype(m_secondPos) * kBytesPerSecond)), pcm.size() - at);
        QCOMPARE(stored("Options/file"), bravo);
        QVERIFY(stored("Options/pos").toInt() > m_secondPos);
    }

    // A logout or a shutdown sends SIGTERM: the session is kept as a close keeps it, and the
    // player is gone within a second.
    void terminateSignalKeepsTheSession()
    {
        if (m_secondPos < 0)
            QSKIP("the first start did not get that far");
        const int before = stored("Options/pos").toInt();
        startPlayer();
        QVERIFY(waitForLine(QStringLiteral("+ library 3 tracks")));
        QTRY_VERIFY_WITH_TIMEOUT(m_capture->size() > 2 * kBytesPerSecond, 60000);
        QElapsedTimer t;
        t.start();
        ::kill(pid_t(m_player->processId()), SIGTERM);
        QVERIFY(m_player->waitForFinished(5000));
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        m_stderr += QString::fromLocal8Bit(m_player->readAllStandardError());
        QVERIFY2(m_player->exitStatus() == QProcess::NormalExit, qPrintable(m_stderr.right(3000)));
        delete m_player;
        m_player = nullptr;
        m_capture->take();

        QCOMPARE(stored("Options/file") + ' ' + stored("PlayList/2"), m_music + "/bravo.ogg " + m_music + "/charlie.mp3");
        QVERIFY(stored("Options/pos").toInt() > before);
    }

private:
    int m_secondPos = -1;
};

QUAVRIX_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
