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
    void dateAndTimeFormatsFromThePlatformFile()
    {
        auto* app = VRXApplication::instance();
        // Defaults when the platform file is absent (checked at construction).
        QVERIFY(app->dateTimeFormats().ampm);
        QCOMPARE(app->dateTimeFormats().dateSeparator + QString::number(app->dateTimeFormats().shortOrder, 16),
                 QStringLiteral("/111"));
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
        QVERIFY(!app->dateTimeFormats().ampm && app->dateTimeFormats().startsOnMonday);
        QCOMPARE(app->dateTimeFormats().dateSeparator + QString::number(app->dateTimeFormats().shortOrder, 16)
                     + QString::number(app->dateTimeFormats().longOrder, 16),
                 QStringLiteral(".321111"));
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
