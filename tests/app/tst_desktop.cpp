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
#include "screensaverinhibitor.h"
#include "settingskeys.h"
#include "vrxplayerwindow.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDir>
#include <QLabel>
#include <QMutex>
#include <QSet>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <limits>

namespace {
const QString kService = QStringLiteral("org.mpris.MediaPlayer2.quavrix");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// org.freedesktop.ScreenSaver as a desktop offers it, in a thread of its own so that even
// the blocking release at the end of the program finds it answering. It may answer late.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    static inline std::atomic<int> inhibits{0};
    static inline std::atomic<int> answerDelayMs{0};
    static inline QMutex lock;
    static inline QSet<uint> holds; // cookies given and not let go

    static int held()
    {
        QMutexLocker l(&lock);
        return int(holds.size());
    }

public slots:
    uint Inhibit(const QString&, const QString&)
    {
        QThread::msleep(ulong(answerDelayMs.load()));
        QMutexLocker l(&lock);
        const uint cookie = 40 + uint(++inhibits);
        holds.insert(cookie);
        return cookie;
    }
    void UnInhibit(uint cookie)
    {
        QMutexLocker l(&lock);
        holds.remove(cookie);
    }
};

class ScreenSaverThread : public QThread
{
public:
    explicit ScreenSaverThread(const QString& address) : m_address(address) {}

protected:
    void run() override
    {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("screensaver"));
            FakeScreenSaver saver;
            bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                               QDBusConnection::ExportAllSlots);
            bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
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
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ScreenSaverThread> m_saver;
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
    // The titles the player announced in PropertiesChanged.
    QStringList announcedTitles()
    {
        QStringList titles;
        for (const QVariantMap& c : m_changes) {
            QVariantMap meta;
            if (c.contains("Metadata")) {
                c.value("Metadata").value<QDBusArgument>() >> meta;
                titles << meta.value("xesam:title").toString();
            }
        }
        return titles;
    }
    // The lengths of the Metadata announced in PropertiesChanged, in order.
    QList<qlonglong> announcedLengths()
    {
        QList<qlonglong> lengths;
        for (const QVariantMap& c : m_changes) {
            QVariantMap meta;
            if (c.contains("Metadata")) {
                c.value("Metadata").value<QDBusArgument>() >> meta;
                lengths << meta.value("mpris:length").toLongLong();
            }
        }
        return lengths;
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
        m_saver = std::make_unique<ScreenSaverThread>(m_bus->address());
        m_saver->start();
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.ScreenSaver"));
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
        m_bus.reset();
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
        QCOMPARE(property("PlaybackStatus").toString(), QStringLiteral("Stopped"));
        window.playList()->selectFile(m_music + "/a.ogg");
        window.playList()->selectFile(m_music + "/b.mp3");
        window.playList()->selectFirst();

        // Play/Pause from stopped starts the list; the screen saver is held once.
        player("PlayPause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(property("PlaybackStatus").toString(), QStringLiteral("Playing"));
        QTRY_COMPARE(FakeScreenSaver::held(), 1);
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
        QTRY_VERIFY(announcedTitles().contains(QStringLiteral("Title Of Track")));
        QVERIFY(metadata().value("mpris:trackid").value<QDBusObjectPath>() != first);
        // Announced once, already with its length: an absolute seek right away works.
        QCOMPARE(announcedTitles(), QStringList({"Title Of Track"}));
        QVERIFY(announcedLengths().constFirst() > 0);
        // Previous within five seconds goes back; Next goes on.
        player("Previous");
        QCOMPARE(window.currentFile(), m_music + "/a.ogg");
        player("Next");
        QCOMPARE(window.currentFile(), m_music + "/b.mp3");

        // Pause lets the screen saver go; Pause again does nothing; Play holds it again.
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        QTRY_COMPARE(property("PlaybackStatus").toString(), QStringLiteral("Paused"));
        QTRY_COMPARE(FakeScreenSaver::held(), 0);
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        player("Play");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Playing));
        QTRY_COMPARE(FakeScreenSaver::held(), 1);

        // Paused right after Play, before the desktop answered: once the answer comes, the
        // hold it gave is let go, and the next Play takes a new one.
        player("Stop");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(property("Position").toLongLong(), 0);
        QTRY_COMPARE(FakeScreenSaver::held(), 0);
        const int before = FakeScreenSaver::inhibits;
        FakeScreenSaver::answerDelayMs = 300;
        player("Play");
        player("Pause");
        QCOMPARE(window.playState(), int(VRXPlayerWindow::Paused));
        QTRY_COMPARE(FakeScreenSaver::inhibits.load(), before + 1);
        QTRY_COMPARE(FakeScreenSaver::held(), 0);
        FakeScreenSaver::answerDelayMs = 0;
        player("Play");
        QTRY_COMPARE(FakeScreenSaver::inhibits.load(), before + 2);
        QTRY_COMPARE(FakeScreenSaver::held(), 1);

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

        // The end of the program lets the screen saver go even while playing.
        QTRY_COMPARE(FakeScreenSaver::held(), 1);
        inhibitor.reset();
        QCOMPARE(FakeScreenSaver::held(), 0);
    }
};

QUAVRIX_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
