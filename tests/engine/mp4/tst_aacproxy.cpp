// The player's side of the AAC decoder protocol, against a scripted decoder program
// (fakeaacdecoder.cpp): input handed over as asked, output gathered, and a track that
// ends whatever the program does.

#include "../decodehelpers.h"

#include "aacdecoder.h"

using namespace AacProtocol;

class TestAacProxy : public QObject
{
    Q_OBJECT

private:
    QString m_key;
    int m_case = 0;

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

private slots:
    void initTestCase() { AACDecoder::setTurnTimeoutMs(400); }
    void init() { qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder"); }
    void cleanup() { AACDecoder::removeSharedObjects(); }

    // Output the program delivers beyond the room given is not written (the real program's
    // output and input are checked against the reference in tst_mp4decoder).
    void outputBeyondTheRoomIsNotWritten()
    {
        useScript({"want 4096", "out 3000", "want 4096"});
        AACDecoder proxy;
        proxy.init();
        char out[64] = {};
        int outLength = 0;
        proxy.decode(out, &outLength, "abc", 3, 10);
        proxy.decode(out, &outLength, "def", 3, 10);
        QCOMPARE(outLength, 10);
        QCOMPARE(out[10], '\0');
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
        const int turns = log().size();
        // Later calls return at once, without output and without a turn.
        QCOMPARE(proxy.decode(out, &outLength, "ghi", 3, sizeof out), 3);
        QCOMPARE(outLength, 0);
        proxy.drain(out, &outLength, sizeof out);
        QCOMPARE(outLength, 0);
        QCOMPARE(log().size(), turns);
        QVERIFY(proxy.process() > 0); // not waited for, nor taken for hung and killed
    }

    void trackClosedBeforeItsFirstFrameLeavesTheNextOneWorking()
    {
        useScript({});
        {
            AACDecoder proxy;
            proxy.init();
            proxy.close();
            QCOMPARE(proxy.process(), -1);
            QVERIFY(log().isEmpty()); // nothing was started
        }
        writeAacScript({"want 4096", "out 100", "want 4096"});
        AACDecoder next;
        next.init();
        char out[1024];
        int outLength = 0;
        next.decode(out, &outLength, "abc", 3, sizeof out);
        next.decode(out, &outLength, "def", 3, sizeof out);
        QCOMPARE(outLength, 100);
        QVERIFY(!next.finished());
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
