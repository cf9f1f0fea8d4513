#include "testmain.h"

#include "qcop.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

static int socketCount()
{
    return int(QDir(QCopChannel::messageFolder()).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot).size());
}

class TestQCop : public QObject
{
    Q_OBJECT

private slots:
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

    void deliveredAcrossProcessesBothWays()
    {
        const QString tool = QStringLiteral(QUAVRIX_BIN_DIR "/quavrix-qcop");
        if (!QFile::exists(tool))
            QSKIP("quavrix-qcop is not built");

        // Another process sends; this one listens.
        QCopChannel channel(QStringLiteral("QPE/System"));
        QSignalSpy spy(&channel, &QCopChannel::received);
        QTRY_VERIFY(socketCount() >= 1); // our socket is there
        QCOMPARE(QProcess::execute(tool, {QStringLiteral("send"), QStringLiteral("QPE/System"),
                                          QStringLiteral("setScreenSaverMode(int)"), QStringLiteral("2")}), 0);
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toByteArray(), QByteArray("setScreenSaverMode(int)"));
        QCOMPARE(QCopChannel::intArguments(spy[0][1].toByteArray()), QList<qint32>{2});

        // This process sends; another listens and prints.
        QProcess listener;
        listener.start(tool, {QStringLiteral("listen"), QStringLiteral("QPE/System")});
        QVERIFY(listener.waitForStarted());
        // its socket is named by its process id (counting sockets raced a quick start)
        const QString listenerSocket = QCopChannel::messageFolder() + QLatin1Char('/') + QString::number(listener.processId());
        QTRY_VERIFY(QFileInfo(listenerSocket).exists());
        {
            QCopEnvelope e(QStringLiteral("QPE/System"), "volumeChange(bool)");
            e << 0;
        }
        QByteArray out;
        QTRY_VERIFY((out += listener.readAllStandardOutput()).contains("volumeChange(bool) 0\n"));
        listener.kill();
        listener.waitForFinished();
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
