#include "testmain.h"

#include "../qt/screenshot.h"
#include "config.h"
#include "customlistdialog.h"
#include "datafile.h"
#include "mediafoldersdialog.h"
#include "settingskeys.h"
#include "vrxelidedlabel.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

// The library's dialogs on the small and the large display: nothing wider than the
// display, no button label cut, long folder paths shortened in the middle.
class TestLibraryDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { useDisplay(QSize(480, 640)); }

    // Loading shows six buttons, organising five; on 240 pixels the labelled ones must
    // still show "Open" and "Sort" whole.
    void organiserButtonsKeepLabels_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<bool>("openMode");
        QTest::newRow("240x320 load: six buttons in a row squeeze Open") << QSize(240, 320) << true;
        QTest::newRow("240x320 organise") << QSize(240, 320) << false;
        QTest::newRow("480x640 load") << QSize(480, 640) << true;
        QTest::newRow("480x640 organise") << QSize(480, 640) << false;
    }

    void organiserButtonsKeepLabels()
    {
        QFETCH(QSize, display);
        QFETCH(bool, openMode);
        useDisplay(display);
        CustomListDialog dlg({"Road trip", "Evening"}, "PlayList|PlayList", "file_audio", openMode);
        dlg.adjustSize();
        // A window manager keeps the dialog on the display.
        dlg.resize(dlg.size().boundedTo(display));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY2(dlg.width() <= display.width(), qPrintable(QString::number(dlg.width())));
        saveScreenshot(&dlg, openMode ? QStringLiteral("organiser-load") : QStringLiteral("organiser"), display);
        const int frame = dlg.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        int labelled = 0;
        for (VRXPushButton* b : dlg.findChildren<VRXPushButton*>()) {
            if (!b->isVisible())
                continue;
            QVERIFY2(b->geometry().right() < dlg.width(), qPrintable(b->objectName()));
            if (b->text().isEmpty())
                continue;
            ++labelled;
            // Icon, Qt's 4-pixel gap, the text, and the style's frame on both sides.
            const int label = b->iconSize().width() + 4 + b->fontMetrics().horizontalAdvance(b->text());
            QVERIFY2(b->width() >= label + 2 * frame,
                     qPrintable(QStringLiteral("%1: %2 < %3").arg(b->text()).arg(b->width()).arg(label + 2 * frame)));
        }
        QCOMPARE(labelled, openMode ? 2 : 1);
    }

    // The media folders dialog fills the display; a long folder shows its start and its
    // last folder in the list and in the details, with no sideways scrolling.
    void mediaFolderPathsElided()
    {
        const QString longPath = QStringLiteral(
            "/home/user/Music/A very long folder name for the collection/Progressive Rock and Related Styles/1970s");
        {
            Config cfg(applicationName(), Config::User);
            cfg.write(Settings::MediaFolders::Folders, "1" + longPath + "|0/home/user/Music");
        }
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            MediaFoldersDialog dlg;
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QCOMPARE(dlg.size(), d);
            saveScreenshot(&dlg, QStringLiteral("mediafolders"), d);
            auto* list = dlg.findChild<VRXListView*>("list");
            QCOMPARE(list->itemAtRow(0)->text(0), longPath);
            QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
            QVERIFY(list->header()->sectionSize(0) <= list->viewport()->width());
            QCOMPARE(list->textElideMode(), Qt::ElideMiddle);

            auto* label = qobject_cast<VRXElidedLabel*>(dlg.findChild<QLabel*>("folderPath"));
            QVERIFY2(label, "the folder's path is not shortened in the middle");
            QCOMPARE(label->text(), longPath);
            QVERIFY(label->geometry().right() < dlg.width());
            const QString shown = label->shownText();
            QVERIFY2(shown.startsWith("/home/") && shown.endsWith("/1970s") && shown.contains(QChar(0x2026)),
                     qPrintable(shown));
        }
    }
};

QUAVRIX_TEST_MAIN(TestLibraryDialogs)
#include "tst_librarydialogs.moc"
