#include "testmain.h"

#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QSignalSpy>

// The list behaviour the track lists use: columns, sorting by key, current entry, keys and
// signals. (Its colours are checked through the options page.)
class TestVRXListView : public QObject
{
    Q_OBJECT
private slots:
    void sortingColumnsKeysAndSignals()
    {
        VRXListView lv(nullptr, QStringLiteral("vrxTest"));
        for (const char* c : {"one", "two", "three"})
            lv.addColumn(c);
        lv.removeColumn(1);
        QCOMPARE(lv.columns(), 2);
        QCOMPARE(lv.headerItem()->text(1), QStringLiteral("three"));
        // Sorted by key, not by text, either way.
        using Row = std::pair<const char*, const char*>;
        for (const auto& [text, key] : {Row{"B", "b"}, Row{"C", "c"}, Row{"A", "z"}})
            (new VRXListViewItem(&lv, QLatin1String(text)))->setKey(0, QLatin1String(key));
        lv.setSorting(0, true);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0) + lv.itemAtRow(1)->text(0) + lv.itemAtRow(2)->text(0), QStringLiteral("BCA"));
        lv.setSorting(0, false);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0) + lv.itemAtRow(1)->text(0) + lv.itemAtRow(2)->text(0), QStringLiteral("ACB"));

        QSignalSpy current(&lv, &VRXListView::currentChanged);
        QSignalSpy ret(&lv, &VRXListView::returnPressed);
        VRXListViewItem* c = lv.itemAtRow(1);
        lv.setCurrentItem(c);
        QCOMPARE(current.size(), 1);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), c);
        QCOMPARE(lv.itemAbove(c), lv.itemAtRow(0));
        QCOMPARE(lv.itemBelow(lv.itemAtRow(2)), nullptr);
        // Return, Enter and a double click choose; cursor keys move and select.
        lv.resize(150, 150);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        QTest::keyClick(&lv, Qt::Key_Return);
        QTest::keyClick(&lv, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::mouseDClick(lv.viewport(), Qt::LeftButton, Qt::NoModifier, lv.visualItemRect(lv.itemAtRow(2)).center());
        QCOMPARE(ret.size(), 3);
        QCOMPARE(ret[1].at(0).value<VRXListViewItem*>(), c);
        QCOMPARE(ret[2].at(0).value<VRXListViewItem*>(), lv.itemAtRow(2));
        lv.setCurrentItem(lv.itemAtRow(0));
        QTest::keyClick(&lv, Qt::Key_Down);
        QCOMPARE(lv.currentItem(), lv.itemAtRow(1));
        QCOMPARE(lv.selectedItem(), lv.itemAtRow(1));
        lv.clear();
        QCOMPARE(lv.currentItem(), nullptr);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), nullptr);
    }

    // The Play button shows "play" and "exit" in turn with every start and stop: each
    // picture must come back as the same icon, or the pixmap cache fills with copies.
    void aPictureIsOneIconForTheWholeRun()
    {
        VRXPushButton play;
        play.setIconName(QStringLiteral("play"));
        const qint64 first = play.icon().cacheKey();
        QVERIFY(!play.icon().isNull());
        play.setIconName(QStringLiteral("exit"));
        play.setIconName(QStringLiteral("play"));
        QCOMPARE(play.icon().cacheKey(), first);
    }
};

QUAVRIX_TEST_MAIN(TestVRXListView)
#include "tst_vrxlistview.moc"
