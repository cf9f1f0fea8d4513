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

int recordingIoctl(int, unsigned long request, void* arg)
{
    int value = arg ? *static_cast<int*>(arg) : 0;
    g_requests.append({request, value});
    if (request == VRAudioDevice::MixerReadVolume)
        *static_cast<int*>(arg) = g_mixerWord;
    if (request == VRAudioDevice::MixerWriteVolume)
        g_mixerWord = value;
    return 0;
}
} // namespace

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

    void configureIssuesFiveRequestsOnlyOnChange()
    {
        using D = VRAudioDevice;
        const QList<unsigned long> five{D::GetCaps, D::SetFragment, D::SetFormat, D::Speed, D::Channels};
        {
            VRAudioDevice device(44000, 2);
            QCOMPARE(device.backend(), VRAudioDevice::Oss);
            QCOMPARE(requestsOnly(), five);
            QCOMPARE(g_requests[1].value, 0x00080010);
            QCOMPARE(g_requests[2].value, 16);
            QCOMPARE(g_requests[3].value, 44000); // rate before channels
            QCOMPARE(g_requests[4].value, 2);

            g_requests.clear();
            device.configure(44000, 2);
            QVERIFY(g_requests.isEmpty());
            device.configure(44100, 2);
            device.configure(44100, 2);
            QCOMPARE(requestsOnly(), five);
            QCOMPARE(g_requests[3].value, 44100);

            g_requests.clear();
            device.configure(22050, 2);
            QCOMPARE(requestsOnly(), five);
            QCOMPARE(g_requests[3].value, 22050);
            QCOMPARE(g_requests[4].value, 2);
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
                device.write(pcm.constData() + at, qMin(2048, int(pcm.size()) - at));
        }
        QFile f(m_dsp);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), pcm);
    }

    void namedDeviceThatCannotOpenIsPacedByTheClock()
    {
        qputenv("QUAVRIX_DSP", quavrixTestRoot().toUtf8() + "/no/such/dir/dsp");
        {
            VRAudioDevice device(44100, 2);
            QCOMPARE(device.backend(), VRAudioDevice::Clock);
            QElapsedTimer t;
            t.start();
            QByteArray half(44100, 0); // an eighth of a second of stereo
            device.write(half.constData(), half.size());
            device.write(half.constData(), half.size());
            // Two blocks: the second waits until the first has had its playing time.
            QVERIFY(t.elapsed() >= 100);
        }
        qputenv("QUAVRIX_DSP", m_dsp.toUtf8());
    }

    void volumeStepsAndTheMessage_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::newRow("99/99 up") << (99 | 99 << 8) << true << (100 | 100 << 8);
        QTest::newRow("1/0 down") << (1 | 0 << 8) << false << 0;
        QTest::newRow("50/30 up") << (50 | 30 << 8) << true << (52 | 32 << 8);
        QTest::newRow("50/30 down") << (50 | 30 << 8) << false << (48 | 28 << 8);
        QTest::newRow("upper bits ignored") << (0x7f0000 | 10 | 20 << 8) << true << (12 | 22 << 8);
        QTest::newRow("above 100 limited") << (120 | 101 << 8) << false << (100 | 99 << 8);
    }
    void volumeStepsAndTheMessage()
    {
        QFETCH(int, start);
        QFETCH(bool, up);
        QFETCH(int, expected);
        const QString mixer = quavrixTestRoot() + QStringLiteral("/mixer");
        QFile f(mixer);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        qputenv("QUAVRIX_MIXER", mixer.toUtf8());
        QCopChannel system(QStringLiteral("QPE/System"));
        QSignalSpy spy(&system, &QCopChannel::received);
        g_mixerWord = start;
        up ? VRAudioDevice::volumeUp() : VRAudioDevice::volumeDown();
        QCOMPARE(requestsOnly(), (QList<unsigned long>{VRAudioDevice::MixerReadVolume, VRAudioDevice::MixerWriteVolume}));
        QCOMPARE(g_mixerWord, expected);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toByteArray(), QByteArray("volumeChange(bool)"));
        QCOMPARE(QCopChannel::intArguments(spy[0][1].toByteArray()), QList<qint32>{0});
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
