#include "testmain.h"

#include "config.h"
#include "screenshot.h"
#include "vrxlistview.h"

#include <QScrollBar>
#include <QSignalSpy>

// List colours (modes, settings files, defaults) and the list behaviour the track lists use.
class TestVRXListView : public QObject
{
    Q_OBJECT
private:
    static QString stored(const QString& file, const QString& group, const QString& key)
    {
        Config c(file, Config::User);
        c.setGroup(group);
        return c.readEntry(key, QStringLiteral("<none>"));
    }
    static void fill(VRXListView& lv, int n)
    {
        for (int i = 0; i < n; ++i) {
            auto* it = new VRXListViewItem(&lv, QStringLiteral("row %1").arg(i));
            it->setKey(0, QString::asprintf("%04d", i));
        }
    }
    static QColor pixelAt(QWidget* viewport, QPoint p)
    {
        return QColor(viewport->grab().toImage().pixel(p));
    }

private slots:
    void init()
    {
        QFile::remove(Config::filePath("Quavrix"));
        QFile::remove(Config::filePath("vrx"));
    }

    void defaultsAndModes()
    {
        VRXListView lv(nullptr, QStringLiteral("listview"));
        QCOMPARE(lv.colorMode(), 0);
        lv.addColumn("a");
        fill(lv, 2);
        QColor t, f;
        lv.rowColors(lv.itemAtRow(0), t, f, 0, 10);
        QCOMPARE(t, lv.palette().color(QPalette::Active, QPalette::Text));
        QCOMPARE(f, lv.palette().color(QPalette::Active, QPalette::Base));

        lv.setColorMode(1);
        QCOMPARE(lv.color(1), QColor("#336699"));
        QCOMPARE(lv.color(2), QColor("#e5e5e5"));
        QCOMPARE(lv.color(3), QColor("#000000"));
        QCOMPARE(lv.color(4), QColor("#ffffcc"));
        lv.rowColors(lv.itemAtRow(0), t, f, 0, 10);
        QCOMPARE(t, QColor("#336699"));
        QCOMPARE(f, QColor("#e5e5e5"));
        lv.rowColors(lv.itemAtRow(1), t, f, 0, 10);
        QCOMPARE(t, QColor("#000000"));
        QCOMPARE(f, QColor("#ffffcc"));
        // Without an item the position decides.
        lv.rowColors(nullptr, t, f, 35, 10);
        QCOMPARE(f, QColor("#ffffcc"));
        lv.rowColors(nullptr, t, f, 40, 10);
        QCOMPARE(f, QColor("#e5e5e5"));

        // Mode 2: the item's own colours.
        lv.itemAtRow(1)->setItemColors(Qt::red, Qt::green);
        lv.setColorMode(2);
        lv.rowColors(lv.itemAtRow(1), t, f, 0, 10);
        QCOMPARE(t, QColor(Qt::red));
        QCOMPARE(f, QColor(Qt::green));
        lv.rowColors(lv.itemAtRow(0), t, f, 0, 10);
        QCOMPARE(f, lv.palette().color(QPalette::Active, QPalette::Base));
        // Nothing was written by reading.
        QVERIFY(!QFile::exists(Config::filePath("Quavrix")));
    }

    void storedColoursAndFiles()
    {
        {
            Config c("Quavrix", Config::User);
            c.setGroup("listview");
            c.writeEntry("c1", QStringLiteral("#010203"));
            c.writeEntry("c4", QStringLiteral("not a colour"));
        }
        VRXListView lv(nullptr, QStringLiteral("listview"));
        lv.setColorMode(1);
        QCOMPARE(lv.color(1), QColor("#010203"));
        QCOMPARE(lv.color(2), QColor("#e5e5e5"));
        QCOMPARE(lv.color(4), QColor("#ffffcc")); // garbage falls back to the default

        const QColor a(1, 1, 1), b(2, 2, 2), c(3, 3, 3), d(4, 4, 4);
        lv.setColors(&a, &b, &c, &d);
        QCOMPARE(stored("Quavrix", "listview", "c1"), QStringLiteral("#010101"));
        QCOMPARE(stored("Quavrix", "listview", "c4"), QStringLiteral("#040404"));
        QVERIFY(!QFile::exists(Config::filePath("vrx")));

        // A "vrx..." list keeps its colours in the toolkit's file.
        VRXListView tl(nullptr, QStringLiteral("vrxList"));
        tl.setColors(&d, &c, &b, &a);
        QCOMPARE(tl.colorMode(), 1);
        QCOMPARE(stored("vrx", "vrxList", "c1"), QStringLiteral("#040404"));
        QCOMPARE(stored("Quavrix", "vrxList", "c1"), QStringLiteral("<none>"));
        VRXListView tl2(nullptr, QStringLiteral("vrxList"));
        tl2.setColorMode(1);
        QCOMPARE(tl2.color(2), c);

        // Null pointers: the palette's text and base, shown and stored.
        VRXListView pl(nullptr, QStringLiteral("plain"));
        pl.setColors(nullptr, nullptr, nullptr, nullptr);
        const QColor text = pl.palette().color(QPalette::Active, QPalette::Text);
        const QColor base = pl.palette().color(QPalette::Active, QPalette::Base);
        QCOMPARE(pl.color(1), text);
        QCOMPARE(pl.color(2), base);
        QCOMPARE(stored("Quavrix", "plain", "c3"), text.name());
        QCOMPARE(stored("Quavrix", "plain", "c4"), base.name());
    }

    void unnamedListWritesNothing()
    {
        VRXListView lv;
        lv.setColorMode(1); // no name: nothing loaded
        QVERIFY(!lv.color(1).isValid());
        const QColor a(9, 9, 9);
        lv.setColors(&a, nullptr, nullptr, nullptr);
        QCOMPARE(lv.color(1), a);
        QVERIFY(!QFile::exists(Config::filePath("Quavrix")));
        QVERIFY(!QFile::exists(Config::filePath("vrx")));
    }

    void rowParityFollowsContents()
    {
        VRXListView lv(nullptr, QStringLiteral("listview"));
        lv.addColumn("a");
        lv.setHeaderVisible(false);
        lv.setColorMode(1);
        fill(lv, 40);
        lv.setSorting(0, true);
        lv.sort();
        lv.resize(160, 120);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        const int h = lv.itemHeight();
        QVERIFY(h > 0);
        const int x = lv.viewport()->width() - 3;
        for (int scroll : {0, h, 3 * h, 5 * h + h / 2}) {
            lv.verticalScrollBar()->setValue(scroll);
            QCoreApplication::processEvents();
            for (int r = 0; r < 40; ++r) {
                VRXListViewItem* it = lv.itemAtRow(r);
                const QRect rect = lv.visualItemRect(it);
                if (rect.top() < 0 || rect.bottom() >= lv.viewport()->height())
                    continue;
                const QColor want = r % 2 == 0 ? QColor("#e5e5e5") : QColor("#ffffcc");
                QCOMPARE(pixelAt(lv.viewport(), QPoint(x, rect.center().y())), want);
                QColor t, f;
                lv.rowColors(it, t, f, 0, 0);
                QCOMPARE(f, want);
            }
        }
    }

    void stripesBelowLastItem()
    {
        VRXListView lv(nullptr, QStringLiteral("listview"));
        lv.addColumn("a");
        lv.setHeaderVisible(false);
        lv.setColorMode(1);
        fill(lv, 3);
        lv.resize(160, 200);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        const int h = lv.itemHeight();
        const QImage img = lv.viewport()->grab().toImage();
        const int x = 5;
        QCOMPARE(QColor(img.pixel(x, 3 * h + h / 2)), QColor("#ffffcc")); // row 3
        QCOMPARE(QColor(img.pixel(x, 4 * h + h / 2)), QColor("#e5e5e5")); // row 4
        QCOMPARE(QColor(img.pixel(x, 5 * h + h / 2)), QColor("#ffffcc"));
        saveScreenshot(&lv, QStringLiteral("vrxlistview"), displaySize());
    }

    void sortingColumnsAndSignals()
    {
        VRXListView lv(nullptr, QStringLiteral("vrxTest"));
        lv.addColumn("one");
        lv.addColumn("two");
        lv.addColumn("three");
        lv.removeColumn(1);
        QCOMPARE(lv.columns(), 2);
        QCOMPARE(lv.headerItem()->text(1), QStringLiteral("three"));
        for (const char* k : {"b", "c", "a"}) {
            auto* it = new VRXListViewItem(&lv, QString::fromLatin1(k).toUpper());
            it->setKey(0, QString::fromLatin1(k));
        }
        lv.setSorting(0, true);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0), QStringLiteral("A"));
        QCOMPARE(lv.itemAtRow(2)->text(0), QStringLiteral("C"));
        lv.setSorting(0, false);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0), QStringLiteral("C"));

        QSignalSpy current(&lv, &VRXListView::currentChanged);
        QSignalSpy ret(&lv, &VRXListView::returnPressed);
        VRXListViewItem* b = lv.itemAtRow(1);
        lv.setCurrentItem(b);
        lv.setSelected(b, true);
        QCOMPARE(current.size(), 1);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), b);
        QCOMPARE(lv.selectedItem(), b);
        QCOMPARE(lv.itemAbove(b), lv.itemAtRow(0));
        QCOMPARE(lv.itemBelow(b), lv.itemAtRow(2));
        QCOMPARE(lv.itemBelow(lv.itemAtRow(2)), nullptr);

        lv.resize(150, 150);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        QTest::keyClick(&lv, Qt::Key_Return);
        QTest::keyClick(&lv, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(ret.size(), 2);
        QCOMPARE(ret.last().at(0).value<VRXListViewItem*>(), b);
        const QPoint p = lv.visualItemRect(lv.itemAtRow(2)).center();
        QTest::mouseDClick(lv.viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QCOMPARE(ret.size(), 3);
        QCOMPARE(ret.last().at(0).value<VRXListViewItem*>(), lv.itemAtRow(2));
        // Cursor keys move the current entry and select it.
        lv.setCurrentItem(lv.itemAtRow(0));
        QTest::keyClick(&lv, Qt::Key_Down);
        QCOMPARE(lv.currentItem(), lv.itemAtRow(1));
        QCOMPARE(lv.selectedItem(), lv.itemAtRow(1));

        lv.clear();
        QCOMPARE(lv.childCount(), 0);
        QCOMPARE(lv.currentItem(), nullptr);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), nullptr);
    }
};

QUAVRIX_TEST_MAIN(TestVRXListView)
#include "tst_vrxlistview.moc"
