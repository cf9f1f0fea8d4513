// The mixer: volume steps in the mixer's own units and the platform message. (What reaches
// the sound device, bit-exact, is checked through the controller.)
#include "testmain.h"

#include "qcop.h"
#include "vraudiodevice.h"

#include <QSignalSpy>

namespace {
using D = VRAudioDevice;
QList<QPair<unsigned long, int>> g_requests; // request, the value passed
int g_mixerWord = 0;
bool g_failWrites = false;

int recordingIoctl(int, unsigned long request, void* arg)
{
    g_requests.append({request, arg ? *static_cast<int*>(arg) : 0});
    if (request == D::MixerReadVolume)
        *static_cast<int*>(arg) = g_mixerWord;
    if (request == D::MixerWriteVolume && !g_failWrites)
        g_mixerWord = *static_cast<int*>(arg);
    return request == D::MixerWriteVolume && g_failWrites ? -1 : 0;
}
} // namespace

class TestAudioDevice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { VRAudioDevice::setIoctlFunction(recordingIoctl); }
    void cleanupTestCase() { VRAudioDevice::setIoctlFunction(nullptr); }
    void init() { g_requests.clear(); }

    // Both channels step by 2 within 0..100; the mixer word's upper bits are not volume. A
    // change is announced to the platform, a refused write or a missing mixer is not.
    void volumeStepsAndTheMessage_data()
    {
        QTest::addColumn<QString>("mixer"); // works, refuses the write, is missing
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("expected");
        QTest::newRow("99/99 up") << "works" << (99 | 99 << 8) << true << (100 | 100 << 8);
        QTest::newRow("1/0 down") << "works" << (1 | 0 << 8) << false << 0;
        QTest::newRow("50/30 up") << "works" << (50 | 30 << 8) << true << (52 | 32 << 8);
        QTest::newRow("50/30 down") << "works" << (50 | 30 << 8) << false << (48 | 28 << 8);
        QTest::newRow("upper bits ignored") << "works" << (0x7f0000 | 10 | 20 << 8) << true << (12 | 22 << 8);
        QTest::newRow("above 100 limited") << "works" << (120 | 101 << 8) << false << (100 | 99 << 8);
        QTest::newRow("write refused") << "refuses" << (50 | 50 << 8) << true << (50 | 50 << 8);
        QTest::newRow("no mixer") << "missing" << (50 | 50 << 8) << true << (50 | 50 << 8);
    }
    void volumeStepsAndTheMessage()
    {
        QFETCH(QString, mixer);
        QFETCH(int, start);
        QFETCH(bool, up);
        // A plain file as the OSS mixer: its requests go to the recording function.
        QFile f(quavrixTestRoot() + QStringLiteral("/mixer"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        qputenv("QUAVRIX_MIXER", (quavrixTestRoot() + (mixer == QLatin1String("missing") ? "/no/mixer" : "/mixer")).toUtf8());
        QCopChannel system(QStringLiteral("QPE/System"));
        QSignalSpy spy(&system, &QCopChannel::received);
        g_mixerWord = start;
        g_failWrites = mixer == QLatin1String("refuses");
        up ? VRAudioDevice::volumeUp() : VRAudioDevice::volumeDown();
        g_failWrites = false;
        QTEST(g_mixerWord, "expected");
        QCOMPARE(g_requests.size(), mixer == QLatin1String("missing") ? 0 : 2);
        QCOMPARE(spy.size(), mixer == QLatin1String("works") ? 1 : 0);
        if (!spy.isEmpty())
            QCOMPARE(spy[0][0].toByteArray() + QByteArray::number(QCopChannel::intArguments(spy[0][1].toByteArray()).value(-1)),
                     QByteArray("volumeChange(bool)0"));
    }

    // Steps in the mixer's own units (value, least, most, percent): 2 % of a small range
    // still moves by one unit.
    void volumeStepsOnSmallMixers_data()
    {
        QTest::addColumn<QList<int>>("step");
        QTest::addColumn<int>("expected");
        QTest::newRow("0-31 up from 10: one step, not stuck") << QList<int>{10, 0, 31, 2} << 11;
        QTest::newRow("0-31 down from 10") << QList<int>{10, 0, 31, -2} << 9;
        QTest::newRow("0-87 up from 32") << QList<int>{32, 0, 87, 2} << 33;
        QTest::newRow("0-65536 up: 2 % of the range") << QList<int>{1000, 0, 65536, 2} << 2310;
        QTest::newRow("-6000..0 (dB) down") << QList<int>{-100, -6000, 0, -2} << -220;
        QTest::newRow("at the top stays there") << QList<int>{31, 0, 31, 2} << 31;
        QTest::newRow("at the bottom stays there") << QList<int>{0, 0, 31, -2} << 0;
        QTest::newRow("empty range") << QList<int>{5, 3, 3, 2} << 3;
    }
    void volumeStepsOnSmallMixers()
    {
        QFETCH(QList<int>, step);
        QTEST(int(VRAudioDevice::stepLevel(step[0], step[1], step[2], step[3])), "expected");
    }
};

QUAVRIX_TEST_MAIN(TestAudioDevice)
#include "tst_audiodevice.moc"
