// The player's side of the AAC decoder protocol, against a scripted decoder program.

#include "../decodehelpers.h"

#include "aacdecoder.h"

#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>

using namespace AacProtocol;

class TestAacProxy : public QObject
{
    Q_OBJECT

private:
    QString m_key;
    int m_case = 0;
    int m_defaultTimeout = 0;

    // Each case gets its own key file (and so its own segment), script and log.
    void useScript(const QStringList& steps)
    {
        AACDecoder::removeSharedObjects(); // the previous key's, if any
        m_key = quavrixTestRoot() + QStringLiteral("/key%1").arg(++m_case);
        qputenv(KeyFileVariable, QFile::encodeName(m_key));
        writeAacScript(steps);
    }

    QStringList log() const
    {
        return QString::fromUtf8(readFile(m_key + QStringLiteral(".log"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static key_t key() { return ftok(AACDecoder::keyFile().c_str(), KeyCharacter); }
    static int semaphoreValue(int index) { return semctl(semget(key(), 2, 0), index, GETVAL); }
    static int32_t word(int index)
    {
        void* segment = shmat(shmget(key(), SegmentSize, 0), nullptr, SHM_RDONLY);
        if (segment == reinterpret_cast<void*>(-1))
            return -1;
        const int32_t value = static_cast<int32_t*>(segment)[index];
        shmdt(segment);
        return value;
    }

private slots:
    void initTestCase()
    {
        m_defaultTimeout = AACDecoder::turnTimeoutMs();
        AACDecoder::setTurnTimeoutMs(400);
    }
    void init() { qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder"); }

    void cleanup() { AACDecoder::removeSharedObjects(); }

    // Frames handed over against the program's requests: the log shows every turn and
    // every amount taken.
    void inputTurns_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QList<int>>("frames");
        QTest::addColumn<QStringList>("log");
        // A 600-byte frame against a 4096-byte request goes in one turn; an empty
        // delivery passes, then the next request takes the next frame.
        QTest::newRow("small frame") << QStringList({"want 4096", "out 0", "want 4096"}) << QList<int>({600, 100})
                                     << QStringList({"start", "turn", "got 600", "turn", "turn", "got 100", "stop"});
        QTest::newRow("frame split over small requests") << QStringList({"want 300", "want 250", "want 4096"}) << QList<int>({700})
                                                         << QStringList({"start", "turn", "got 300", "turn", "got 250", "turn", "got 150", "stop"});
    }
    void inputTurns()
    {
        QFETCH(QStringList, script);
        QFETCH(QList<int>, frames);
        useScript(script);
        AACDecoder proxy;
        proxy.init();
        const QByteArray frame(4096, 'x');
        char out[65536];
        int outLength = -1, given = 0;
        for (int size : frames) {
            QCOMPARE(proxy.decode(out, &outLength, frame.constData(), size, sizeof out), size);
            QCOMPARE(outLength, 0);
            QCOMPARE(proxy.bytesGiven(), given += size);
        }
        QVERIFY(!proxy.finished());
        proxy.close();
        QTEST(log(), "log");
    }

    void outputIsCollected()
    {
        // Deliveries are gathered until the program asks for input again; what it still
        // holds after the last frame comes with drain().
        useScript({"want 4096", "out 1000", "out 24", "want 4096", "out 512", "want 4096"});
        AACDecoder proxy;
        proxy.init();
        char out[65536];
        int outLength = 0;
        proxy.decode(out, &outLength, "abc", 3, sizeof out);
        QCOMPARE(outLength, 0);
        proxy.decode(out, &outLength, "def", 3, sizeof out);
        QCOMPARE(outLength, 1024);
        QCOMPARE(uint8_t(out[999]), uint8_t(999 & 0xff));
        QCOMPARE(uint8_t(out[1000]), uint8_t(0)); // the second delivery starts again at 0
        QCOMPARE(proxy.bytesReceived(), 1024);
        proxy.drain(out, &outLength, sizeof out);
        QCOMPARE(outLength, 512);
        QVERIFY(!proxy.finished());
        proxy.close();
        QVERIFY(log().contains(QStringLiteral("stop")));

        // Output beyond the room given is counted but not written.
        useScript({"want 4096", "out 3000"});
        AACDecoder small;
        small.init();
        small.decode(out, &outLength, "abc", 3, 10);
        small.drain(out, &outLength, 10);
        QCOMPARE(outLength, 10);
        small.close();
    }

    void finishedStaysFinished()
    {
        useScript({"want 4096", "finish"});
        AACDecoder proxy;
        proxy.init();
        char out[1024];
        int outLength = 0;
        proxy.decode(out, &outLength, "abc", 3, sizeof out);
        QVERIFY(!proxy.finished());
        proxy.decode(out, &outLength, "def", 3, sizeof out);
        QVERIFY(proxy.finished());
        QCOMPARE(word(FinishedWord), 1);
        const int turns = log().size();
        // Later calls return at once, without output and without a turn.
        QCOMPARE(proxy.decode(out, &outLength, "ghi", 3, sizeof out), 3);
        QCOMPARE(outLength, 0);
        proxy.drain(out, &outLength, sizeof out);
        QCOMPARE(outLength, 0);
        QCOMPARE(log().size(), turns);
        QCOMPARE(word(FinishedWord), 1);
        QVERIFY(proxy.process() > 0); // not waited for, nor taken for hung and killed
        proxy.close();
    }

    void closeWithoutProgram()
    {
        useScript({});
        AACDecoder proxy;
        proxy.init();
        QCOMPARE(semaphoreValue(DecoderSemaphore), 0);
        proxy.close();
        QCOMPARE(word(StopWord), 1);
        QCOMPARE(word(StateWord), 0);
        QCOMPARE(semaphoreValue(DecoderSemaphore), 1);
        QCOMPARE(proxy.process(), -1);
        QVERIFY(log().isEmpty()); // nothing was started

        // The turn left over is cleared for the next track.
        AACDecoder next;
        next.init();
        QCOMPARE(semaphoreValue(DecoderSemaphore), 0);
        QCOMPARE(semaphoreValue(PlayerSemaphore), 0);
        QCOMPARE(word(StopWord), 0);
    }

    // The track ends whatever the program does: dies, stops answering, never starts.
    void failingProgramEndsTheTrack_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("turnsBeforeEnd");
        const QString fake = QStringLiteral(QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        QTest::newRow("dies") << QStringList({"want 4096", "die"}) << fake << 1;
        QTest::newRow("hangs") << QStringList({"hang"}) << fake << 0;
        QTest::newRow("cannot start") << QStringList() << quavrixTestRoot() + "/no-such-program" << 0;
    }
    void failingProgramEndsTheTrack()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, program);
        QFETCH(int, turnsBeforeEnd);
        useScript(script);
        qputenv("QUAVRIX_AACDECODER", QFile::encodeName(program));
        if (script.isEmpty())
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Can not start .*no-such-program, error '.+'$"));
        AACDecoder proxy;
        proxy.init();
        char out[1024];
        int outLength = 0;
        for (int i = 0; i < turnsBeforeEnd; ++i) {
            proxy.decode(out, &outLength, "abc", 3, sizeof out);
            QVERIFY(!proxy.finished());
        }
        QCOMPARE(proxy.decode(out, &outLength, "def", 3, sizeof out), 3);
        QVERIFY(proxy.finished());
        QCOMPARE(outLength, 0);
        QCOMPARE(proxy.process(), -1); // killed and reaped
        proxy.close();
    }

    // With the default turn timeout a hung program ends the track in about two seconds:
    // the player's controls wait for that long at most (twenty seconds felt like a freeze).
    void defaultTimeoutGivesUpAHungProgramPromptly()
    {
        useScript({"hang"});
        AACDecoder::setTurnTimeoutMs(m_defaultTimeout);
        AACDecoder proxy;
        proxy.init();
        char out[1024];
        int outLength = 0;
        QElapsedTimer clock;
        clock.start();
        proxy.decode(out, &outLength, "abc", 3, sizeof out);
        const qint64 waited = clock.elapsed();
        AACDecoder::setTurnTimeoutMs(400);
        QVERIFY(proxy.finished());
        QVERIFY2(waited < 6000, qPrintable(QString::number(waited)));
        proxy.close();
    }

    void keyFileIsNotFollowed()
    {
        // A link planted at the key file's place is not opened (nor created through).
        const QString target = quavrixTestRoot() + "/link-target";
        const QString link = quavrixTestRoot() + "/linked-key";
        QVERIFY(QFile::link(target, link));
        qputenv(KeyFileVariable, QFile::encodeName(link));
        AACDecoder proxy;
        proxy.init();
        QVERIFY(!QFile::exists(target));
    }
};

QUAVRIX_TEST_MAIN(TestAacProxy)
#include "tst_aacproxy.moc"
