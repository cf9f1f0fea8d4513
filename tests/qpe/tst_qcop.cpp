// Messages between the program and the platform, and the folder their sockets live in:
// the session's runtime folder, else a private folder of our own that another local user
// cannot have prepared for us; the peer check.
#include "testmain.h"

#include "qcop.h"
#include "qpeapplication.h"
#include "runtimefolder.h"

#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int modeOf(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}
} // namespace

class TestQCop : public QObject
{
    Q_OBJECT

    QByteArray m_runtime;
    QString m_scratch;

private slots:
    void initTestCase()
    {
        m_runtime = qgetenv("XDG_RUNTIME_DIR");
        m_scratch = quavrixTestRoot() + QStringLiteral("/tmp");
        QVERIFY(QDir().mkpath(m_scratch));
    }
    void init()
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qunsetenv("QUAVRIX_QCOP_DIR");
        qunsetenv("QUAVRIX_INSTANCE");
        qputenv("TMPDIR", QFile::encodeName(m_scratch));
    }
    void cleanup() { QDir(m_scratch + QStringLiteral("/quavrix-") + QString::number(::getuid())).removeRecursively(); }

    // The session's runtime folder, else <tmp>/quavrix-<uid> made 0700 (not a bare name
    // in /tmp): the instance socket and the message folder (0700) live there.
    void socketsLiveInAPrivateFolder_data()
    {
        QTest::addColumn<bool>("session");
        QTest::newRow("session runtime folder") << true;
        QTest::newRow("without one: a folder of our own") << false;
    }
    void socketsLiveInAPrivateFolder()
    {
        QFETCH(bool, session);
        if (!session)
            qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = session ? QString::fromLocal8Bit(m_runtime) : m_scratch + QStringLiteral("/quavrix-") + QString::number(::getuid());
        QCOMPARE(RuntimeFolder::path(), folder);
        if (!session)
            QCOMPARE(modeOf(folder), 0700);
        QCOMPARE(QCopChannel::messageFolder(), folder + QStringLiteral("/quavrix-qcop"));
        QCOMPARE(modeOf(QCopChannel::messageFolder()), 0700);
        QVERIFY(QPEApplication::instanceName().startsWith(folder + QLatin1Char('/')));
    }

    // What another user could have put at the predictable name is not used.
    void preparedFoldersAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder open to everybody") << "open";
        QTest::newRow("link to a folder") << "link";
        QTest::newRow("plain file") << "file";
        if (::geteuid() == 0)
            QTest::newRow("folder of another user") << "foreign";
    }
    void preparedFoldersAreRefused()
    {
        QFETCH(QString, kind);
        qunsetenv("XDG_RUNTIME_DIR");
        const QString own = m_scratch + QStringLiteral("/quavrix-") + QString::number(::getuid());
        const QByteArray name = QFile::encodeName(own);
        if (kind == QLatin1String("open")) {
            QVERIFY(::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), 0777) == 0);
        } else if (kind == QLatin1String("link")) {
            const QString target = m_scratch + QStringLiteral("/elsewhere");
            QVERIFY(QDir().mkpath(target) && ::chmod(QFile::encodeName(target).constData(), 0700) == 0);
            QVERIFY(QFile::link(target, own));
        } else if (kind == QLatin1String("file")) {
            QFile f(own);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(::mkdir(name.constData(), 0700) == 0 && ::chown(name.constData(), 65534, 65534) == 0);
        }
        QCOMPARE(RuntimeFolder::path(), QString());
        QCOMPARE(QPEApplication::instanceName(), QString());
        QCOMPARE(QCopChannel::messageFolder(), QString());
        QFile::remove(own);
        ::rmdir(name.constData());
    }

    void peerCheck()
    {
        int pair[2];
        QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) == 0);
        QVERIFY(RuntimeFolder::peerIsOurs(pair[0]));
        ::close(pair[0]);
        ::close(pair[1]);
        QVERIFY(!RuntimeFolder::peerIsOurs(-1));
        QVERIFY(!RuntimeFolder::peerIsOurs(pair[0])); // closed
    }

    // In this process: to every channel of that name and no other, the arguments in order.
    void deliveredToEveryChannelOfThatNameInProcess()
    {
        QCopChannel a(QStringLiteral("QPE/System")), b(QStringLiteral("QPE/System")), other(QStringLiteral("QPE/Other"));
        QSignalSpy spyA(&a, &QCopChannel::received), spyB(&b, &QCopChannel::received), spyOther(&other, &QCopChannel::received);
        {
            QCopEnvelope e(QStringLiteral("QPE/System"), "two(int,int)");
            e << 7 << -100000;
        }
        QCOMPARE(QList<qsizetype>({spyA.size(), spyB.size(), spyOther.size()}), QList<qsizetype>({1, 1, 0}));
        QCOMPARE(spyB[0][0].toByteArray(), QByteArray("two(int,int)"));
        QCOMPARE(QCopChannel::intArguments(spyA[0][1].toByteArray()), (QList<qint32>{7, -100000}));
        QCOMPARE(QCopChannel::intArguments(QByteArray("\x01", 1)), QList<qint32>{});
    }

    void socketsLeftByEndedProcessesAreSkipped()
    {
        // A stale socket file must neither block nor fail a send.
        QDir().mkpath(QCopChannel::messageFolder());
        const QString stale = QCopChannel::messageFolder() + QStringLiteral("/999999999");
        QFile f(stale);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCopChannel c(QStringLiteral("QPE/System"));
        QSignalSpy spy(&c, &QCopChannel::received);
        QCopChannel::send(QStringLiteral("QPE/System"), "applyVRXStyle()", QByteArray());
        QCOMPARE(spy.size(), 1);
        QVERIFY(!QFile::exists(stale));
    }
};

QUAVRIX_TEST_MAIN(TestQCop)
#include "tst_qcop.moc"
