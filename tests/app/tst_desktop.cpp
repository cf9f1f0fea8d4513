// The player on a desktop's session bus, here a private one: a media-key client drives it
// through MPRIS and reads what it plays, and a stand-in screen saver counts the holds that
// playback takes and lets go.
#include "testmain.h"

#include "config.h"
#include "loopcontrol.h"
#include "mprisservice.h"
#include "playlist.h"
#include "screensaverinhibitor.h"
#include "settingskeys.h"
#include "vrxplayerwindow.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <limits>

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.quavrix");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

// org.freedesktop.ScreenSaver as a desktop offers it, in a thread of its own so that even
// the blocking release at the end of the program finds it answering.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    static inline std::atomic<int> inhibits{0};
    static inline std::atomic<int> releases{0};
    static inline std::atomic<uint> lastCookie{0};

public slots:
    uint Inhibit(const QString&, const QString&)
    {
        ++inhibits;
        lastCookie = 40 + uint(inhibits.load());
        return lastCookie;
    }
    void UnInhibit(uint cookie)
    {
        if (cookie == lastCookie)
            ++releases;
    }
};

class ScreenSaverThread : public QThread
{
public:
    explicit ScreenSaverThread(const QString& address) : m_address(address) {}
    std::atomic<bool> ready{false};

protected:
    void run() override
    {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("screensaver"));
            FakeScreenSaver saver;
            bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
            ready = true;
            exec();
            bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("screensaver"));
    }

private:
    QString m_address;
};
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<ScreenSaverThread> m_saver;
    QString m_music;
    QList<QVariantMap> m_changes;

    QDBusConnection client() { return QDBusConnection(QStringLiteral("client")); }

    // Calls without blocking: the player answers from this same thread.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& args = {})
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        m.setArguments(args);
        QDBusPendingCall pending = client().asyncCall(m);
        for (int i = 0; i < 500 && !pending.isFinished(); ++i)
            QTest::qWait(10);
        return pending.reply();
    }
    QVariant property(const QString& name)
    {
        const QDBusMessage r = call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {kPlayer, name});
        return r.arguments().isEmpty() ? QVariant() : r.arguments().constFirst().value<QDBusVariant>().variant();
    }
    QVariantMap metadata()
    {
        const QVariant v = property(QStringLiteral("Metadata"));
        QVariantMap map;
        v.value<QDBusArgument>() >> map;
        return map;
    }

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == kPlayer)
            m_changes << changed;
    }

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is missing (scripts/setup.sh test installs it)");
        m_daemon.start(daemon, {"--session", "--nofork", "--print-address=1"});
        QVERIFY(m_daemon.waitForStarted());
        for (int i = 0; i < 50 && !m_daemon.canReadLine(); ++i)
            m_daemon.waitForReadyRead(100);
        m_address = QString::fromLatin1(m_daemon.readLine().trimmed());
        QVERIFY(!m_address.isEmpty());
        // The player's own session bus, as the desktop would give it.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLatin1());
        QVERIFY(QDBusConnection::sessionBus().isConnected());
        QVERIFY(QDBusConnection::connectToBus(m_address, QStringLiteral("client")).isConnected());

        m_saver = std::make_unique<ScreenSaverThread>(m_address);
        m_saver->start();
        QTRY_VERIFY(m_saver->ready.load());
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.freedesktop.ScreenSaver")));

        m_music = quavrixTestRoot() + QStringLiteral("/music");
        QDir().mkpath(m_music);
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg"), m_music + "/a.ogg"));
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/mp3/tagged-v1.mp3"), m_music + "/b.mp3"));
        // No sound device: playback runs in real time.
        qputenv("QUAVRIX_DSP", (quavrixTestRoot() + QStringLiteral("/no/dsp")).toUtf8());
    }

    void cleanupTestCase()
    {
        if (m_saver) {
            m_saver->quit();
            m_saver->wait();
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        m_daemon.terminate();
        m_daemon.waitForFinished(3000);
    }

    void mediaKeysDriveThePlayer()
    {
        auto inhibitor = std::make_unique<ScreenSaverInhibitor>();
        VRXPlayerWindow window;
        auto* mpris = new MprisService(&window);
        QVERIFY(mpris->registerOnBus());
        QCOMPARE(mpris->serviceName(), kService);
        QVERIFY(client().connect(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                 QStringLiteral("PropertiesChanged"), this,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));

        QCOMPARE(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));
        window.playList()->selectFile(m_music + "/a.ogg");
        window.playList()->selectFile(m_music + "/b.mp3");
        window.playList()->selectFirst();

        // Play/Pause from stopped starts the list; the screen saver is held once.
        call(kPlayer, QStringLiteral("PlayPause"));
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Playing"));
        QTRY_COMPARE(FakeScreenSaver::inhibits.load(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(metadata().value(QStringLiteral("mpris:length")).toLongLong() == 11000000, 3000);
        QVariantMap m = metadata();
        QCOMPARE(m.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Lower Title"));
        QCOMPARE(m.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("Lower Artist")});
        QCOMPARE(m.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("Lower Album"));
        QCOMPARE(m.value(QStringLiteral("xesam:trackNumber")).toInt(), 3);
        QCOMPARE(m.value(QStringLiteral("xesam:url")).toString(), QUrl::fromLocalFile(m_music + "/a.ogg").toString());
        const QDBusObjectPath first = m.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();

        // Seek and SetPosition move the controller; a stale track id is ignored.
        call(kPlayer, QStringLiteral("SetPosition"), {QVariant::fromValue(first), qlonglong(6000000)});
        QTRY_VERIFY(property(QStringLiteral("Position")).toLongLong() >= 6000000);
        call(kPlayer, QStringLiteral("Seek"), {qlonglong(-4000000)});
        QTRY_VERIFY(property(QStringLiteral("Position")).toLongLong() < 4000000);
        call(kPlayer, QStringLiteral("SetPosition"),
             {QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/quavrix/track/999"))), qlonglong(9000000)});
        QTest::qWait(100);
        QVERIFY(property(QStringLiteral("Position")).toLongLong() < 5000000);

        // A seek by the largest offset goes past the end like any other (it must not wrap
        // round to the start): the next track, announced.
        m_changes.clear();
        call(kPlayer, QStringLiteral("Seek"), {qlonglong(std::numeric_limits<qint64>::max())});
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");
        QTRY_VERIFY(!m_changes.isEmpty());
        bool announced = false;
        for (const QVariantMap& c : m_changes) {
            QVariantMap meta;
            if (c.contains(QStringLiteral("Metadata"))) {
                c.value(QStringLiteral("Metadata")).value<QDBusArgument>() >> meta;
                announced = announced || meta.value(QStringLiteral("xesam:title")).toString() == QStringLiteral("Title Of Track");
            }
        }
        QVERIFY(announced);
        QVERIFY(metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>() != first);

        // Pause lets the screen saver go; a second start holds it again.
        call(kPlayer, QStringLiteral("Pause"));
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        QTRY_COMPARE(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
        QTRY_COMPARE(FakeScreenSaver::releases.load(), 1);
        call(kPlayer, QStringLiteral("Pause")); // already paused: nothing
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        call(kPlayer, QStringLiteral("Play"));
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(FakeScreenSaver::inhibits.load(), 2);
        QCOMPARE(FakeScreenSaver::releases.load(), 1);

        // Loop and shuffle are the play list's options, kept in the settings.
        QDBusMessage set = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Set"));
        set.setArguments({kPlayer, QStringLiteral("LoopStatus"), QVariant::fromValue(QDBusVariant(QStringLiteral("Playlist")))});
        QDBusPendingCall pending = client().asyncCall(set);
        QTRY_VERIFY(pending.isFinished());
        QVERIFY(window.playList()->loopMode());
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Loop), 1);
        QCOMPARE(property(QStringLiteral("LoopStatus")).toString(), QStringLiteral("Playlist"));

        // A remote address is not opened; a local file is.
        call(kPlayer, QStringLiteral("OpenUri"), {QStringLiteral("http://example.invalid/a.mp3")});
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");
        call(kPlayer, QStringLiteral("OpenUri"), {QUrl::fromLocalFile(m_music + "/a.ogg").toString()});
        QCOMPARE(window.currentFile(), m_music + "/a.ogg");

        // The end of the program lets the screen saver go even while playing.
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(FakeScreenSaver::inhibits.load(), 2);
        inhibitor.reset();
        QCOMPARE(FakeScreenSaver::releases.load(), 2);
        QCOMPARE(FakeScreenSaver::inhibits.load(), 2);
    }
};

QUAVRIX_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
