#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

// Gives the test executable its own settings, data, runtime and home folders, so tests
// never touch the user's files and tests running in parallel never share one.
inline void quavrixIsolateTest()
{
    static QTemporaryDir dir;
    const QByteArray root = dir.path().toUtf8();
    for (const char* sub : {"config", "data", "runtime", "home", "qcop"})
        QDir().mkpath(dir.path() + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(dir.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    qputenv("HOME", root + "/home");
    qputenv("QUAVRIX_QCOP_DIR", root + "/qcop");
    qputenv("QUAVRIX_INSTANCE", "quavrix-test-" + QByteArray::number(QCoreApplication::applicationPid()));
    qputenv("QUAVRIX_DSP", root + "/dsp.raw");
    qputenv("QUAVRIX_MIXER", root + "/no-mixer/mixer");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline QString quavrixTestRoot()
{
    return QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")).section(QLatin1Char('/'), 0, -2);
}

#define QUAVRIX_TEST_MAIN(TestClass)                                                       \
    int main(int argc, char** argv)                                                         \
    {                                                                                       \
        quavrixIsolateTest();                                                               \
        QApplication app(argc, argv);                                                       \
        app.setObjectName(QStringLiteral("Quavrix"));                                       \
        TestClass tc;                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                          \
        return QTest::qExec(&tc, argc, argv);                                               \
    }
