// The audio device: OSS requests in order with their values, PCM arriving bit-exact, the
// mixer steps and the platform message.
#include "testmain.h"

#include "qcop.h"
#include "vraudiodevice.h"

#include <QSignalSpy>

namespace {
struct Request
{
    unsigned long request;
    int value;
};
QList<Request> g_requests;
int g_mixerWord = 0;
bool g_failWrites = false;

int recordingIoctl(int, unsigned long request, void* arg)
{
    int value = arg ? *static_cast<int*>(arg) : 0;
    g_requests.append({request, value});
    if (request == VRAudioDevice::MixerReadVolume)
        *static_cast<int*>(arg) = g_mixerWord;
    if (request == VRAudioDevice::MixerWriteVolume) {
        if (g_failWrites)
            return -1;
        g_mixerWord = value;
    }
    return 0;
}
} // namespace

// A plain file as the OSS mixer: its requests go to the recorded ioctl function.
static bool useFileMixer()
{
    const QString mixer = quavrixTestRoot() + QStringLiteral("/mixer");
    QFile f(mixer);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    qputenv("QUAVRIX_MIXER", mixer.toUtf8());
    return true;
}

class TestAudioDevice : public QObject
{
    Q_OBJECT
    QString m_dsp;

    static QList<unsigned long> requestsOnly()
    {
        QList<unsigned long> r;
        for (const Request& q : g_requests)
            r << q.request;
        return r;
    }

private slots:
    void initTestCase()
    {
        m_dsp = qEnvironmentVariable("QUAVRIX_DSP");
        VRAudioDevice::setIoctlFunction(recordingIoctl);
    }
    void cleanupTestCase() { VRAudioDevice::setIoctlFunction(nullptr); }
    void init()
    {
        g_requests.clear();
        QFile::remove(m_dsp);
    }

    // The OSS set-up: capabilities, fragments, format, rate before channels; again only
    // when the format changes.
    void configureIssuesFiveRequestsOnlyOnChange()
    {
        using D = VRAudioDevice;
        const QList<unsigned long> five{D::GetCaps, D::SetFragment, D::SetFormat, D::Speed, D::Channels};
        auto values = [] { return QList<int>{g_requests[1].value, g_requests[2].value, g_requests[3].value, g_requests[4].value}; };
        {
            VRAudioDevice device(44000, 2);
            QCOMPARE(device.backend(), VRAudioDevice::Oss);
            QCOMPARE(requestsOnly(), five);
            QCOMPARE(values(), (QList<int>{0x00080010, 16, 44000, 2}));
            g_requests.clear();
            device.configure(44000, 2);
            QVERIFY(g_requests.isEmpty());
            device.configure(22050, 2);
            device.configure(22050, 2);
            QCOMPARE(requestsOnly(), five);
            QCOMPARE(values(), (QList<int>{0x00080010, 16, 22050, 2}));
            g_requests.clear();
        }
        // Destruction drops queued audio at once.
        QCOMPARE(requestsOnly(), QList<unsigned long>{VRAudioDevice::Reset});
    }

    void pcmArrivesBitExact()
    {
        QByteArray pcm(3 * 2048 + 6, Qt::Uninitialized);
        for (int i = 0; i < pcm.size(); ++i)
            pcm[i] = char(i * 131 + (i >> 8));
        {
            VRAudioDevice device(44100, 2);
            for (int at = 0; at < pcm.size(); at += 2048)
                QCOMPARE(device.write(pcm.constData() + at, qMin(2048, int(pcm.size()) - at)), qMin(2048, int(pcm.size()) - at));
        }
        QFile f(m_dsp);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), pcm);
    }

    void namedDeviceThatCannotOpenFallsBackToTheClock()
    {
        qputenv("QUAVRIX_DSP", quavrixTestRoot().toUtf8() + "/no/such/dir/dsp");
        {
            VRAudioDevice device(44100, 2);
            QCOMPARE(device.backend(), VRAudioDevice::Clock);
            const QByteArray block(2048, 0);
            QCOMPARE(device.write(block.constData(), block.size()), block.size());
        }
        qputenv("QUAVRIX_DSP", m_dsp.toUtf8());
    }

    // Both channels step by 2 within 0..100; the mixer word's upper bits are not volume. A
    // change is announced to the platform, a refused write is not.
    void volumeStepsAndTheMessage_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("expected");
        QTest::newRow("99/99 up") << (99 | 99 << 8) << true << false << (100 | 100 << 8);
        QTest::newRow("1/0 down") << (1 | 0 << 8) << false << false << 0;
        QTest::newRow("50/30 up") << (50 | 30 << 8) << true << false << (52 | 32 << 8);
        QTest::newRow("50/30 down") << (50 | 30 << 8) << false << false << (48 | 28 << 8);
        QTest::newRow("upper bits ignored") << (0x7f0000 | 10 | 20 << 8) << true << false << (12 | 22 << 8);
        QTest::newRow("above 100 limited") << (120 | 101 << 8) << false << false << (100 | 99 << 8);
        QTest::newRow("write refused: no message") << (50 | 50 << 8) << true << true << (50 | 50 << 8);
    }
    void volumeStepsAndTheMessage()
    {
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(bool, refused);
        QVERIFY(useFileMixer());
        QCopChannel system(QStringLiteral("QPE/System"));
        QSignalSpy spy(&system, &QCopChannel::received);
        g_mixerWord = start;
        g_failWrites = refused;
        up ? VRAudioDevice::volumeUp() : VRAudioDevice::volumeDown();
        g_failWrites = false;
        QCOMPARE(requestsOnly(), (QList<unsigned long>{VRAudioDevice::MixerReadVolume, VRAudioDevice::MixerWriteVolume}));
        QTEST(g_mixerWord, "expected");
        QCOMPARE(spy.size(), refused ? 0 : 1);
        if (!refused) {
            QCOMPARE(spy[0][0].toByteArray(), QByteArray("volumeChange(bool)"));
            QCOMPARE(QCopChannel::intArguments(spy[0][1].toByteArray()), QList<qint32>{0});
        }
    }

    // Steps in the mixer's own units: 2 % of a small range still moves by one unit.
    void volumeStepsOnSmallMixers_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("expected");
        QTest::newRow("0-31 up from 10: one step, not stuck") << 10 << 0 << 31 << 2 << 11;
        QTest::newRow("0-31 down from 10") << 10 << 0 << 31 << -2 << 9;
        QTest::newRow("0-87 up from 32") << 32 << 0 << 87 << 2 << 33;
        QTest::newRow("0-65536 up: 2 % of the range") << 1000 << 0 << 65536 << 2 << 2310;
        QTest::newRow("-6000..0 (dB) down") << -100 << -6000 << 0 << -2 << -220;
        QTest::newRow("at the top stays there") << 31 << 0 << 31 << 2 << 31;
        QTest::newRow("at the bottom stays there") << 0 << 0 << 31 << -2 << 0;
        QTest::newRow("empty range") << 5 << 3 << 3 << 2 << 3;
    }
    void volumeStepsOnSmallMixers()
    {
        QFETCH(int, value);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, percent);
        QFETCH(int, expected);
        QCOMPARE(VRAudioDevice::stepLevel(value, min, max, percent), long(expected));
    }

    void missingMixerDoesNothing()
    {
        qputenv("QUAVRIX_MIXER", quavrixTestRoot().toUtf8() + "/no/mixer");
        QCopChannel system(QStringLiteral("QPE/System"));
        QSignalSpy spy(&system, &QCopChannel::received);
        VRAudioDevice::volumeUp();
        VRAudioDevice::volumeDown();
        QVERIFY(g_requests.isEmpty());
        QCOMPARE(spy.size(), 0);
    }
};

QUAVRIX_TEST_MAIN(TestAudioDevice)
#include "tst_audiodevice.moc"
