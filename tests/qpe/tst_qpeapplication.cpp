// The platform application: command-line document delivery, the display size, and the
// single-instance hand-over to a second start of the real program.
#include "testmain.h"

#include "qpeapplication.h"
#include "screen.h"

#include <QProcess>
#include <QWidget>

class DocumentWindow : public QWidget
{
    Q_OBJECT
public:
    QStringList documents;
    int shows = 0;

public slots:
    void setDocument(const QString& file) { documents << file; }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return QWidget::event(e);
    }
};

class TestQPEApplication : public QObject
{
    Q_OBJECT
    DocumentWindow window;

private slots:
    void commandLineDocumentReachesTheWindowAtDisplaySize()
    {
        auto* app = static_cast<QPEApplication*>(qApp);
        QVERIFY(!app->handedOver());
        app->showMainDocumentWidget(&window, false);
        QCOMPARE(window.documents, QStringList{QStringLiteral("/music/first.mp3")});
        QCOMPARE(window.size(), QSize(320, 240));
        QCOMPARE(displaySize(), QSize(320, 240));
        QCOMPARE(QList<bool>({isSmallScreen(), isLargeScreen(), isPortrait()}), QList<bool>({true, false, false}));
        // Qt would take the option for an X display name.
        QVERIFY(!app->arguments().contains(QStringLiteral("--display")) && !app->arguments().contains(QStringLiteral("320x240")));
    }

    void secondStartHandsItsDocumentOverAndExits()
    {
        const QString program = QStringLiteral(QUAVRIX_BIN_DIR "/quavrix");
        if (!QFile::exists(program))
            QSKIP("quavrix is not built");
        const int showsBefore = window.shows;
        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        second.start(program, {QStringLiteral("relative/second.ogg")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        const QString expected = QDir::current().absoluteFilePath(QStringLiteral("relative/second.ogg"));
        QTRY_COMPARE(window.documents.size(), 2);
        QCOMPARE(window.documents.last(), expected);
        // A later document shows the window again, so its show handling plays it.
        QTRY_VERIFY(window.shows > showsBefore);
    }
};

int main(int argc, char** argv)
{
    quavrixIsolateTest();
    // The test's own command line carries a document and a display, as a user's would.
    QList<QByteArray> args;
    for (int i = 0; i < argc; ++i)
        args << argv[i];
    args << "--display" << "320x240" << "/music/first.mp3";
    QList<char*> ptrs;
    for (QByteArray& a : args)
        ptrs << a.data();
    int n = int(ptrs.size());
    QPEApplication app(n, ptrs.data());
    TestQPEApplication tc;
    return QTest::qExec(&tc, QStringList{QString::fromLocal8Bit(argv[0])});
}
#include "tst_qpeapplication.moc"
