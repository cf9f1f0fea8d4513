// The player on a desktop's session bus, here a private one: a media-key client drives it
// through MPRIS and reads what it plays, and a stand-in screen saver counts the holds that
// playback takes and lets go.
#include "testmain.h"
#include "privatebus.h"

#include "config.h"
#include "listview.h"
#include "loopcontrol.h"
#include "mprisservice.h"
#include "playlist.h"
#include "displaypower.h"
#include "qcop.h"
#include "sleepinhibitor.h"
#include "suspendwatcher.h"
#include "settingskeys.h"
#include "vrxplayerwindow.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QLabel>
#include <QMutex>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <limits>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.quavrix");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBlock = QStringLiteral("sleep/block");

class FakeSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
public:
    using QObject::QObject;
    static inline std::atomic<int> brightness{-1};
public slots:
    void SetBrightness(const QString& subsystem, const QString& name, uint value)
    {
        if (subsystem == "backlight" && name == "panel")
            brightness = int(value);
    }
};

// logind as a system bus offers it, in a thread of its own so that it answers while the
// test's thread waits. Each inhibitor lock is a pipe whose write end the caller gets: the
// lock is held while that end is open anywhere. It may answer late.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    static inline std::atomic<int> inhibits{0};
    static inline std::atomic<int> answerDelayMs{0};
    static inline QMutex lock;
    static inline QList<QPair<QString, int>> locks; // "what/mode" and the read end

    // Locks of this kind still held.
    static int held(const QString& kind)
    {
        QMutexLocker l(&lock);
        int n = 0;
        for (const auto& [k, fd] : std::as_const(locks)) {
            pollfd p{fd, POLLIN, 0};
            n += k == kind && ::poll(&p, 1, 0) == 0;
        }
        return n;
    }

    FakeLogind()
    {
        // The caller's own session, where brightness is set.
        auto* sessions = new QObject(this);
        sessions->setObjectName(QStringLiteral("session"));
        (new FakeSession(sessions))->setObjectName(QStringLiteral("auto"));
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString&, const QString&, const QString& mode)
    {
        QThread::msleep(ulong(answerDelayMs.load()));
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return {};
        QMutexLocker l(&lock);
        ++inhibits;
        locks.append({what + '/' + mode, ends[0]});
        const QDBusUnixFileDescriptor given(ends[1]); // a copy of its own
        ::close(ends[1]);
        return given;
    }
};

// A stand-in service at its usual path (org.x.Y at /org/x/Y), run in a thread of its own.
template<class Fake>
class ServiceThread : public QThread
{
public:
    ServiceThread(const QString& address, const QString& service) : m_address(address), m_service(service) {}

protected:
    void run() override
    {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(m_address, m_service);
            Fake fake;
            bus.registerObject('/' + QString(m_service).replace('.', '/'), &fake, QDBusConnection::ExportAllSlots | QDBusConnection::ExportChildObjects);
            bus.registerService(m_service);
            exec();
            bus.unregisterService(m_service);
        }
        QDBusConnection::disconnectFromBus(m_service);
    }

private:
    QString m_address, m_service;
};

// The desktop's screen saver: playing must leave it to the desktop's own settings.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    static inline std::atomic<int> inhibits{0};
    static inline std::atomic<bool> active{false};
public slots:
    uint Inhibit(const QString&, const QString&) { return uint(++inhibits); }
    void SetActive(bool on) { active = on; }
};
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT
    std::unique_ptr<PrivateBus> m_bus, m_systemBus;
    std::unique_ptr<QThread> m_saver, m_logind;
    QString m_music;
    QList<QVariantMap> m_changes;

    QDBusConnection client() { return QDBusConnection(QStringLiteral("client")); }

    // Calls without blocking: the player answers from this same thread.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& args = {},
                      const QString& path = kPath)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, path, interface, method);
        m.setArguments(args);
        QDBusPendingCall pending = client().asyncCall(m);
        for (int i = 0; i < 500 && !pending.isFinished(); ++i)
            QTest::qWait(10);
        return pending.reply();
    }
    QDBusMessage player(const char* method, const QVariantList& args = {}) { return call(kPlayer, method, args); }
    QVariant property(const char* name)
    {
        const QDBusMessage r = call(kProperties, "Get", {kPlayer, QString::fromLatin1(name)});
        return r.arguments().isEmpty() ? QVariant() : r.arguments().constFirst().value<QDBusVariant>().variant();
    }
    void setProperty(const char* name, const QVariant& value)
    {
        call(kProperties, "Set", {kPlayer, QString::fromLatin1(name), QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata()
    {
        QVariantMap map;
        property("Metadata").value<QDBusArgument>() >> map;
        return map;
    }
    // One field of each Metadata announced in PropertiesChanged, in order.
    QVariantList announced(const char* field)
    {
        QVariantList values;
        for (const QVariantMap& c : m_changes) {
            QVariantMap meta;
            if (c.contains("Metadata")) {
                c.value("Metadata").value<QDBusArgument>() >> meta;
                values << meta.value(QLatin1String(field));
            }
        }
        return values;
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
        m_bus = std::make_unique<PrivateBus>();
        if (m_bus->address().isEmpty())
            QSKIP("dbus-daemon is missing (scripts/setup.sh test installs it)");
        // The player's own session bus, as the desktop would give it.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus->address().toLatin1());
        QVERIFY(QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("client")).isConnected());
        m_systemBus = std::make_unique<PrivateBus>();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus->address().toLatin1());
        m_saver = std::make_unique<ServiceThread<FakeScreenSaver>>(m_bus->address(), "org.freedesktop.ScreenSaver");
        m_logind = std::make_unique<ServiceThread<FakeLogind>>(m_systemBus->address(), "org.freedesktop.login1");
        m_saver->start();
        m_logind->start();
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.ScreenSaver"));
        QTRY_VERIFY(QDBusConnection::systemBus().interface()->isServiceRegistered("org.freedesktop.login1"));
        m_music = quavrixTestRoot() + QStringLiteral("/music");
        QDir().mkpath(m_music);
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg"), m_music + "/a.ogg"));
        QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/mp3/tagged-v1.mp3"), m_music + "/b.mp3"));
        // No sound device: playback runs in real time.
        qputenv("QUAVRIX_DSP", (quavrixTestRoot() + QStringLiteral("/no/dsp")).toUtf8());
    }

    void cleanupTestCase()
    {
        for (QThread* t : {m_saver.get(), m_logind.get()}) {
            if (t) {
                t->quit();
                t->wait();
            }
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        m_bus.reset();
        m_systemBus.reset();
    }

    void mediaKeysDriveThePlayer()
    {
        auto inhibitor = std::make_unique<SleepInhibitor>();
        VRXPlayerWindow window;
        auto* mpris = new MprisService(&window);
        QVERIFY(mpris->registerOnBus());
        QCOMPARE(mpris->serviceName(), kService);
        QVERIFY(client().connect(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                 QStringLiteral("PropertiesChanged"), this,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QCOMPARE(property("PlaybackStatus").toString(), QStringLiteral("Stopped"));
        window.playList()->selectFile(m_music + "/a.ogg");
        window.playList()->selectFile(m_music + "/b.mp3");
        window.playList()->selectFirst();

        // Play/Pause from stopped starts the list; sleep is held off once, the screen saver
        // is left alone.
        player("PlayPause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(property("PlaybackStatus").toString(), QStringLiteral("Playing"));
        QTRY_COMPARE(FakeLogind::held(kBlock), 1);
        QTRY_VERIFY_WITH_TIMEOUT(metadata().value("mpris:length").toLongLong() == 11000000, 3000);
        const QVariantMap m = metadata();
        QCOMPARE(QStringList({m.value("xesam:title").toString(), m.value("xesam:artist").toStringList().join('|'),
                              m.value("xesam:album").toString(), m.value("xesam:trackNumber").toString(),
                              m.value("xesam:url").toString()}),
                 QStringList({"Lower Title", "Lower Artist", "Lower Album", "3",
                              QUrl::fromLocalFile(m_music + "/a.ogg").toString()}));
        const QDBusObjectPath first = m.value("mpris:trackid").value<QDBusObjectPath>();

        // SetPosition for this track and Seek move the controller; another track's id, a
        // position past the end and a seek while stopped do nothing.
        player("SetPosition", {QVariant::fromValue(first), qlonglong(6000000)});
        QTRY_VERIFY(property("Position").toLongLong() >= 6000000);
        player("Seek", {qlonglong(-4000000)});
        QTRY_VERIFY(property("Position").toLongLong() < 4000000);
        const QDBusObjectPath other(QStringLiteral("/org/quavrix/track/999"));
        player("SetPosition", {QVariant::fromValue(other), qlonglong(9000000)});
        player("SetPosition", {QVariant::fromValue(first), qlonglong(11000001)});
        QTest::qWait(100);
        QVERIFY(property("Position").toLongLong() < 5000000);

        // A seek by the largest offset goes past the end like any other (it must not wrap
        // round to the start): the next track, announced under a new id.
        m_changes.clear();
        player("Seek", {qlonglong(std::numeric_limits<qint64>::max())});
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");
        QTRY_VERIFY(announced("xesam:title").contains(QStringLiteral("Title Of Track")));
        QVERIFY(metadata().value("mpris:trackid").value<QDBusObjectPath>() != first);
        // Announced once, already with its length: an absolute seek right away works.
        QCOMPARE(announced("xesam:title"), QVariantList({"Title Of Track"}));
        QVERIFY(announced("mpris:length").constFirst().toLongLong() > 0);
        // Previous within five seconds goes back; Next goes on.
        player("Previous");
        QCOMPARE(window.currentFile(), m_music + "/a.ogg");
        player("Next");
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");

        // Pause lets the hold go; Pause again does nothing; Play holds it again.
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        QTRY_COMPARE(property("PlaybackStatus").toString(), QStringLiteral("Paused"));
        QTRY_COMPARE(FakeLogind::held(kBlock), 0);
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        player("Play");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(FakeLogind::held(kBlock), 1);

        // Paused right after Play, before the desktop answered: once the answer comes, the
        // hold it gave is let go, and the next Play takes a new one.
        player("Stop");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(property("Position").toLongLong(), 0);
        QTRY_COMPARE(FakeLogind::held(kBlock), 0);
        const int before = FakeLogind::inhibits;
        FakeLogind::answerDelayMs = 300;
        player("Play");
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        QTRY_COMPARE(FakeLogind::inhibits.load(), before + 1);
        QTRY_COMPARE(FakeLogind::held(kBlock), 0);
        FakeLogind::answerDelayMs = 0;
        player("Play");
        QTRY_COMPARE(FakeLogind::inhibits.load(), before + 2);
        QTRY_COMPARE(FakeLogind::held(kBlock), 1);

        // Loop and shuffle are the play list's options, kept in the settings.
        setProperty("LoopStatus", QStringLiteral("Playlist"));
        setProperty("Shuffle", true);
        QVERIFY(window.playList()->loopMode() && window.playList()->randomMode());
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Loop), 1);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Random), 1);
        QCOMPARE(property("LoopStatus").toString(), QStringLiteral("Playlist"));
        // There is no single-track loop: asked for one, the player says what is in force.
        m_changes.clear();
        setProperty("LoopStatus", QStringLiteral("Track"));
        QCOMPARE(property("LoopStatus").toString(), QStringLiteral("Playlist"));
        QTRY_COMPARE(m_changes.value(0).value("LoopStatus").toString(), QStringLiteral("Playlist"));
        setProperty("LoopStatus", QStringLiteral("None"));
        QVERIFY(!window.playList()->loopMode());

        // A remote address, a file that is not sound and a missing one are refused with a
        // reason, to the caller and on the screen; what plays and the list stay.
        QCOMPARE(window.currentFile(), m_music + "/a.ogg");
        QFile text(m_music + "/passwd");
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("root:x:0:0:root:/root:/bin/bash\n");
        text.close();
        const int entries = window.playList()->listView()->topLevelItemCount();
        QDBusMessage reply;
        for (const QString& uri : {QStringLiteral("http://example.invalid/b.mp3"), QUrl::fromLocalFile(text.fileName()).toString(),
                                   QUrl::fromLocalFile(m_music + "/gone.mp3").toString()}) {
            reply = player("OpenUri", {uri});
            QVERIFY2(reply.type() == QDBusMessage::ErrorMessage, qPrintable(uri));
            QCOMPARE(window.currentFile(), m_music + "/a.ogg");
            QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
            QCOMPARE(window.playList()->listView()->topLevelItemCount(), entries);
        }
        QVERIFY(reply.errorMessage().contains("gone.mp3"));
        QStringList shown;
        for (const QLabel* l : window.findChildren<QLabel*>())
            if (l->isVisible())
                shown << l->text();
        QVERIFY2(!shown.filter("gone.mp3").isEmpty(), qPrintable(shown.join('|')));
        player("OpenUri", {QUrl::fromLocalFile(m_music + "/b.mp3").toString()});
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");

        // The end of the program lets the hold go even while playing.
        QTRY_COMPARE(FakeLogind::held(kBlock), 1);
        inhibitor.reset();
        QCOMPARE(FakeLogind::held(kBlock), 0);
        QCOMPARE(FakeScreenSaver::inhibits.load(), 0);
    }

    // A suspend keeps the session before logind's delay lock goes; the resume is a
    // power-on: after "poweri" seconds the track plays again where it was.
    void suspendKeepsTheSessionAndResumeReopens()
    {
        Config(QStringLiteral("Quavrix")).write(Settings::Options::PowerOnDelay, 1);
        VRXPlayerWindow window;
        window.show(); // the earlier session is back: from now on there is one to keep
        SuspendWatcher suspend;
        window.followSuspends(&suspend);
        const QString kDelay = QStringLiteral("sleep/delay");
        QTRY_COMPARE(FakeLogind::held(kDelay), 1);
        window.setFile(m_music + "/a.ogg");
        QTRY_VERIFY(window.controller()->positionMs() >= 2000);
        auto sleep = [](bool going) {
            QDBusMessage m = QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                                        "PrepareForSleep");
            m << going;
            QDBusConnection(QStringLiteral("org.freedesktop.login1")).send(m);
        };
        sleep(true);
        QTRY_COMPARE(FakeLogind::held(kDelay), 0);
        Config cfg(QStringLiteral("Quavrix"));
        QCOMPARE(cfg.read(Settings::Options::File), m_music + "/a.ogg");
        const int kept = cfg.read(Settings::Options::Position);
        QVERIFY(kept >= 2);
        sleep(false);
        QTRY_COMPARE(FakeLogind::held(kDelay), 1);
        QVERIFY(window.resumePending());
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Stopped));
        QTRY_COMPARE_WITH_TIMEOUT(window.playState(), int(VRXPlayerWindow::Playing), 3000);
        QCOMPARE(window.currentFile(), m_music + "/a.ogg");
        QVERIFY(qAbs(window.controller()->positionMs() / 1000 - kept) <= 1);
        Config(QStringLiteral("Quavrix")).write(Settings::Options::PowerOnDelay, 0);
    }

    // "Backlight off" turns the session's backlight down through logind and "display off"
    // blanks through the screen saver; the halt puts back the brightness there was.
    void displayOptionsAct()
    {
        const QString panel = quavrixTestRoot() + QStringLiteral("/backlight/panel");
        QVERIFY(QDir().mkpath(panel));
        QFile level(panel + "/brightness");
        QVERIFY(level.open(QIODevice::WriteOnly) && level.write("120\n") == 4);
        level.close();
        qputenv("QUAVRIX_BACKLIGHT", QFileInfo(panel).path().toUtf8());
        DisplayPower power;
        auto send = [](qint32 v) { QCopEnvelope(QStringLiteral("QPE/System"), "setBacklight(int)") << v; };
        send(-5);
        send(0);
        QTRY_COMPARE(FakeSession::brightness.load(), 0);
        QTRY_VERIFY(FakeScreenSaver::active);
        send(-3);
        QTRY_COMPARE(FakeSession::brightness.load(), 120);
        QTRY_VERIFY(!FakeScreenSaver::active);
    }
};

QUAVRIX_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
