#include "testmain.h"

#include "../qt/screenshot.h"
#include "customlistdialog.h"
#include "libraryfixture.h"
#include "mediafoldersdialog.h"
#include "settingskeys.h"
#include "vrxelidedlabel.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QScrollBar>
#include <QStyle>

// The library's dialogs on the small and the large display: nothing wider than the
// display, no button label cut, long folder paths shortened in the middle.
class TestLibraryDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { useDisplay(QSize(480, 640)); }

    void fitTheDisplay_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::newRow("240x320") << QSize(240, 320);
        QTest::newRow("480x640") << QSize(480, 640);
    }
    void fitTheDisplay()
    {
        QFETCH(QSize, display);
        useDisplay(display);
        // Loading shows six buttons in a row, two of them labelled: "Open" and "Sort" whole.
        for (bool openMode : {true, false}) {
            CustomListDialog dlg({"Road trip", "Evening"}, "PlayList|PlayList", "file_audio", openMode);
            dlg.adjustSize();
            dlg.resize(dlg.size().boundedTo(display)); // as a window manager keeps it on the display
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(dlg.width() <= display.width());
            for (VRXPushButton* b : dlg.findChildren<VRXPushButton*>()) {
                if (!b->isVisible())
                    continue;
                QVERIFY2(b->geometry().right() < dlg.width(), qPrintable(b->objectName()));
                // Icon, Qt's 4-pixel gap, the text, and the style's frame on both sides.
                const int label = b->iconSize().width() + 4 + b->fontMetrics().horizontalAdvance(b->text())
                    + 2 * dlg.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
                QVERIFY2(b->text().isEmpty() || b->width() >= label,
                         qPrintable(b->text()));
            }
        }
        // A long media folder shows its start and its last folder, with no sideways scrolling.
        const QString longPath = QStringLiteral(
            "/home/user/Music/A very long folder name for the collection/Progressive Rock and Related Styles/1970s");
        Config(applicationName(), Config::User).write(Settings::MediaFolders::Folders, "1" + longPath);
        MediaFoldersDialog dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.size(), display);
        auto* list = dlg.findChild<VRXListView*>("list");
        QCOMPARE(list->itemAtRow(0)->text(0), longPath);
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(list->textElideMode(), Qt::ElideMiddle);
        auto* label = qobject_cast<VRXElidedLabel*>(dlg.findChild<QLabel*>("folderPath"));
        QVERIFY2(label, "the folder's path is not shortened in the middle");
        QVERIFY(label->geometry().right() < dlg.width());
        const QString shown = label->shownText();
        QVERIFY2(shown.startsWith("/home/") && shown.endsWith("/1970s"), qPrintable(shown));
    }
};

QUAVRIX_TEST_MAIN(TestLibraryDialogs)
#include "tst_librarydialogs.moc"
