// File types, tag-text codecs and key codes. Messages between the program and the
// platform, and the folder their sockets live in: the session's runtime folder, else a
// private folder of our own that another local user cannot have prepared for us; the peer
// check.
#include "testmain.h"

#include "keycodes.h"
#include "mimetype.h"
#include "qcop.h"
#include "qpeapplication.h"
#include "runtimefolder.h"
#include "textcodec.h"

#include <QSignalSpy>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

static const QByteArray sjis("\x93\xfa\x96\x7b\x8c\xea");              // 日本語
static const QByteArray eucjp("\xc6\xfc\xcb\xdc\xb8\xec");             // 日本語
static const QByteArray utf8("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"); // 日本語
static const QByteArray latin1("Caf\xe9 \xdc" "ber");                  // Café Über

namespace {
int modeOf(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}
} // namespace

class TestPlatform : public QObject
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

    void mimeTypesByExtension_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("id");
        QTest::newRow("mp3") << "/m/a.mp3" << "audio/mpeg";
        QTest::newRow("MP3 upper") << "/m/A.MP3" << "audio/mpeg";
        QTest::newRow("ogg") << "x.ogg" << "audio/ogg";
        QTest::newRow("oga") << "x.Oga" << "audio/ogg";
        QTest::newRow("m4a") << "x.m4a" << "audio/quicktime";
        QTest::newRow("m4b") << "x.M4B" << "audio/quicktime";
        QTest::newRow("mp4") << "x.mp4" << "audio/quicktime";
        QTest::newRow("wav") << "x.wav" << "";
        QTest::newRow("no extension") << "/m/mp3" << "";
        QTest::newRow("dot in folder only") << "/m.mp3/file" << "";
        QTest::newRow("trailing dot") << "/m/a." << "";
    }
    void mimeTypesByExtension()
    {
        QFETCH(QString, file);
        QFETCH(QString, id);
        QCOMPARE(MimeType(file).id(), id);
    }

    // How well tag bytes fit each codec: -1 not at all, 0 no evidence (ASCII), 1 a fit.
    void codecScores_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("fits"); // SJIS, eucJP, UTF-8; 9: not looked at
        QTest::newRow("SJIS") << sjis << QList<int>{1, -1, -1};
        QTest::newRow("eucJP") << eucjp << QList<int>{-1, 1, -1}; // its pairs have an SJIS shape, but no clean decoding
        QTest::newRow("UTF-8") << utf8 << QList<int>{-1, -1, 1};
        QTest::newRow("Latin-1 accents") << latin1 << QList<int>{-1, -1, -1};
        QTest::newRow("Latin-1 DE D3 52: no continuation byte") << QByteArray("\xde\xd3R") << QList<int>{0, 1, -1};
        QTest::newRow("Latin-1 with SJIS-unmapped pairs") << QByteArray("Bj\xf6rk M\xfcller") << QList<int>{-1, -1, -1};
        QTest::newRow("SJIS user-defined pair") << QByteArray("\xf0\x40") << QList<int>{-1, -1, -1};
        QTest::newRow("ASCII") << QByteArray("Hello") << QList<int>{0, 0, 0};
        QTest::newRow("UTF-8 cut short") << QByteArray("\xe6\x97") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong two bytes") << QByteArray("\xc0\xaf") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong three bytes") << QByteArray("\xe0\x80\x80") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong four bytes") << QByteArray("\xf0\x80\x80\x80") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 surrogate") << QByteArray("\xed\xa0\x80") << QList<int>{9, 9, -1};
    }
    void codecScores()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, fits);
        QList<int> got;
        for (const char* codec : {"SJIS", "eucJP", "UTF-8"})
            got << qBound(-1, TextCodec::heuristicContentMatch(codec, bytes.constData(), int(bytes.size())), 1);
        for (int i = 0; i < 3; ++i)
            got[i] = fits[i] == 9 ? 9 : got[i];
        QCOMPARE(got, fits);
        QVERIFY(!TextCodec::exists("KOI8-R"));
    }

    // Qt's keys and modifiers to the platform's codes and back.
    void keyCodesConvertAtTheEdge()
    {
        const std::pair<int, int> keys[] = {{Qt::Key_Escape, 0x1000}, {Qt::Key_Backspace, 0x1003}, {Qt::Key_Left, 0x1012},
                                            {Qt::Key_Up, 0x1013}, {Qt::Key_Right, 0x1014}, {Qt::Key_Down, 0x1015},
                                            {Qt::Key_Shift, 0x1020}, {Qt::Key_F1, 0x1030}, {Qt::Key_F11, 0x103a},
                                            {Qt::Key_Space, 0x20}, {Qt::Key_A, 0x41}};
        for (const auto& [qt, code] : keys) {
            QCOMPARE(qt2Key(qt), code);
            QCOMPARE(qt6Key(code), qt);
        }
        QCOMPARE(qt2Modifiers(Qt::ShiftModifier | Qt::KeypadModifier), 0x100);
        QCOMPARE(qt2Modifiers(Qt::ControlModifier | Qt::AltModifier), 0x600);
        QCOMPARE(qt2Modifiers(Qt::MetaModifier), 0x800);
    }

    // Keys Qt 6 numbers outside its 0x01000000 + n block must not be folded onto classic
    // keys (Context1 onto Escape, Select onto Escape, Cancel onto Tab).
    void extendedKeysHaveCodesOfTheirOwn()
    {
        const QList<int> extended = {Qt::Key_Context1, Qt::Key_Context2, Qt::Key_Call,
                                     Qt::Key_Hangup, Qt::Key_Flip, Qt::Key_Camera,
                                     Qt::Key_Select, Qt::Key_Yes, Qt::Key_No, Qt::Key_Cancel,
                                     Qt::Key_Play, Qt::Key_Sleep, Qt::Key_Multi_key};
        QSet<int> seen;
        for (int k = 0x01000000; k <= 0x0100011f; ++k)
            seen.insert(qt2Key(k));
        for (int k = 0x20; k <= 0xff; ++k)
            seen.insert(qt2Key(k));
        for (int k : extended) {
            const int code = qt2Key(k);
            QVERIFY2(!seen.contains(code), qPrintable(QString::number(k, 16)));
            seen.insert(code);
            QVERIFY(code > 0 && code < KeyShiftBit);
            QCOMPARE(qt6Key(code), k);
        }
        QCOMPARE(qt2Key(Qt::Key_Call), 0x110004);
        QCOMPARE(qt2Key(Qt::Key_Select), 0x101000);
        QCOMPARE(keyName(qt2Key(Qt::Key_Call)), QKeySequence(Qt::Key_Call).toString(QKeySequence::NativeText));
    }

    void keyCodeRules_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("code");
        QTest::newRow("no modifier") << 0x1013 << 0 << 0x1013;
        QTest::newRow("shift adds 0x200000") << 0x1014 << 0x100 << 0x201014;
        QTest::newRow("control adds 0x400000") << 0x41 << 0x200 << 0x400041;
        QTest::newRow("alt adds 0x800000") << 0x1014 << 0x400 << 0x801014;
        QTest::newRow("old shift state") << 0x41 << 8 << 0x200041;
        QTest::newRow("old control state") << 0x41 << 16 << 0x400041;
        QTest::newRow("old alt state") << 0x41 << 32 << 0x800041;
        QTest::newRow("shift+control adds nothing") << 0x1014 << 0x300 << 0x1014;
        QTest::newRow("shift+alt adds nothing") << 0x41 << 0x500 << 0x41;
        QTest::newRow("meta adds nothing") << 0x41 << 0x800 << 0x41;
        QTest::newRow("shift key excluded") << 0x1020 << 0x100 << -1;
        QTest::newRow("control key excluded") << 0x1021 << 0 << -1;
        QTest::newRow("alt key excluded") << 0x1023 << 0 << -1;
        QTest::newRow("0x1045 excluded") << 0x1045 << 0 << -1;
        QTest::newRow("meta key bindable") << 0x1022 << 0 << 0x1022;
    }
    void keyCodeRules()
    {
        QFETCH(int, key);
        QFETCH(int, state);
        QFETCH(int, code);
        QCOMPARE(keyCode(key, state), code);
    }

    void keyNames()
    {
        QCOMPARE(keyName(0), QString());
        QCOMPARE(keyName(0x1014), QStringLiteral("Right"));
        QCOMPARE(keyName(0x201014), QStringLiteral("Shift+Right"));
        QCOMPARE(keyName(0x400041), QStringLiteral("Ctrl+A"));
        QCOMPARE(keyName(0x20), QStringLiteral("Space"));
        QCOMPARE(keyName(0x1003), QStringLiteral("Backspace"));
        QCOMPARE(keyName(0x200000), QStringLiteral("Shift+0x0000"));
    }
};

QUAVRIX_TEST_MAIN(TestPlatform)
#include "tst_platform.moc"
