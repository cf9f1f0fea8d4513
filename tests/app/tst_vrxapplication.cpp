// The application object: platform date formats, the platform channel, style requests.
#include "testmain.h"

#include "config.h"
#include "qcop.h"
#include "settingskeys.h"
#include "vrxapplication.h"

#include <QSignalSpy>
#include <QStyle>

class TestVRXApplication : public QObject
{
    Q_OBJECT

private slots:
    void nameAndInstance()
    {
        QVERIFY(VRXApplication::instance());
        QCOMPARE(qApp->objectName(), QStringLiteral("Quavrix"));
    }

    void dateAndTimeFormatsFromThePlatformFile()
    {
        auto* app = VRXApplication::instance();
        // Defaults when the platform file is absent (checked at construction).
        QCOMPARE(app->dateTimeFormats().ampm, true);
        QCOMPARE(app->dateTimeFormats().dateSeparator, QStringLiteral("/"));
        QCOMPARE(app->dateTimeFormats().shortOrder, 0x111);
        {
            Config qpe(QStringLiteral("qpe"));
            qpe.setGroup(QStringLiteral("Time"));
            qpe.writeEntry(QStringLiteral("AMPM"), false);
            qpe.writeEntry(QStringLiteral("MONDAY"), true);
            qpe.setGroup(QStringLiteral("Date"));
            qpe.writeEntry(QStringLiteral("Separator"), QStringLiteral("."));
            qpe.writeEntry(QStringLiteral("ShortOrder"), 0x321);
        }
        QSignalSpy changed(app, &VRXApplication::dateTimeSettingChanged);
        emit app->clockChanged(false);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(app->dateTimeFormats().ampm, false);
        QCOMPARE(app->dateTimeFormats().startsOnMonday, true);
        QCOMPARE(app->dateTimeFormats().dateSeparator, QStringLiteral("."));
        QCOMPARE(app->dateTimeFormats().shortOrder, 0x321);
        QCOMPARE(app->dateTimeFormats().longOrder, 0x111);
    }

    void styleRequestWithoutALibraryChangesNothing()
    {
        qputenv("QUAVRIX_QPEDIR", quavrixTestRoot().toUtf8() + "/no-install");
        const QString before = qApp->style()->objectName();
        QCopEnvelope(QStringLiteral("QPE/System"), "applyVRXStyle()");
        QCopEnvelope(QStringLiteral("QPE/System"), "somethingElse(int)") << 3;
        QCOMPARE(qApp->style()->objectName(), before);
        QVERIFY(!VRXApplication::instance()->styleLoaded());
    }
};

int main(int argc, char** argv)
{
    quavrixIsolateTest();
    VRXApplication app("Quavrix", argc, argv);
    TestVRXApplication tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_vrxapplication.moc"
