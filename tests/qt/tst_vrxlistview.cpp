#include "testmain.h"

#include "config.h"
#include "screenshot.h"
#include "vrxlistview.h"

#include <QHeaderView>
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
        lv.addColumn("a");
        for (int i = 0; i < n; ++i)
            new VRXListViewItem(&lv, QStringLiteral("row %1").arg(i));
    }
    // Text and fill colour of a row as the list paints it.
    static QPair<QColor, QColor> colours(VRXListView& lv, VRXListViewItem* item, int y = 0, int h = 10)
    {
        QColor t, f;
        lv.rowColors(item, t, f, y, h);
        return {t, f};
    }

private slots:
    void init()
    {
        QFile::remove(Config::filePath("Quavrix"));
        QFile::remove(Config::filePath("vrx"));
    }

    void colourModes()
    {
        VRXListView lv(nullptr, QStringLiteral("listview"));
        fill(lv, 2);
        const QColor text = lv.palette().color(QPalette::Active, QPalette::Text);
        const QColor base = lv.palette().color(QPalette::Active, QPalette::Base);
        QCOMPARE(lv.colorMode(), 0);
        QCOMPARE(colours(lv, lv.itemAtRow(0)), qMakePair(text, base));
        // Mode 1: alternating defaults; without an item the position decides.
        lv.setColorMode(1);
        QCOMPARE(colours(lv, lv.itemAtRow(0)), qMakePair(QColor("#336699"), QColor("#e5e5e5")));
        QCOMPARE(colours(lv, lv.itemAtRow(1)), qMakePair(QColor("#000000"), QColor("#ffffcc")));
        QCOMPARE(colours(lv, nullptr, 35).second, QColor("#ffffcc"));
        QCOMPARE(colours(lv, nullptr, 40).second, QColor("#e5e5e5"));
        // Mode 2: the item's own colours, else the palette.
        lv.itemAtRow(1)->setItemColors(Qt::red, Qt::green);
        lv.setColorMode(2);
        QCOMPARE(colours(lv, lv.itemAtRow(1)), qMakePair(QColor(Qt::red), QColor(Qt::green)));
        QCOMPARE(colours(lv, lv.itemAtRow(0)).second, base);
        QVERIFY(!QFile::exists(Config::filePath("Quavrix"))); // reading writes nothing
    }

    // A list's colours live in the program's settings under its name, a "vrx..." list's in
    // the toolkit's; stored garbage and missing colours fall back to the defaults.
    void storedColoursAndFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // empty: nothing stored
        QTest::newRow("program list") << "listview" << "Quavrix";
        QTest::newRow("toolkit list") << "vrxList" << "vrx";
        QTest::newRow("list without a name") << "" << "";
    }
    void storedColoursAndFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        if (!file.isEmpty()) {
            Config c(file, Config::User);
            c.setGroup(name);
            c.writeEntry("c1", QStringLiteral("#010203"));
            c.writeEntry("c4", QStringLiteral("not a colour"));
        }
        VRXListView lv(nullptr, name);
        lv.setColorMode(1);
        QCOMPARE(lv.color(1), file.isEmpty() ? QColor() : QColor("#010203"));
        if (!file.isEmpty()) {
            QCOMPARE(lv.color(2), QColor("#e5e5e5"));
            QCOMPARE(lv.color(4), QColor("#ffffcc"));
        }
        // Null pointers: the palette's text and base, shown and stored.
        const QColor a(1, 1, 1), b(2, 2, 2);
        lv.setColors(&a, &b, nullptr, nullptr);
        QCOMPARE(lv.color(2), b);
        QCOMPARE(lv.color(4), lv.palette().color(QPalette::Active, QPalette::Base));
        const QString other = file == QLatin1String("vrx") ? QStringLiteral("Quavrix") : QStringLiteral("vrx");
        if (file.isEmpty()) {
            QVERIFY(!QFile::exists(Config::filePath("Quavrix")) && !QFile::exists(Config::filePath("vrx")));
            return;
        }
        QCOMPARE(stored(file, name, "c1"), QStringLiteral("#010101"));
        QCOMPARE(stored(file, name, "c3"), lv.palette().color(QPalette::Active, QPalette::Text).name());
        QCOMPARE(stored(other, name, "c1"), QStringLiteral("<none>"));
        VRXListView again(nullptr, name);
        again.setColorMode(1);
        QCOMPARE(again.color(2), b);
    }

    // Stripes follow the rows, not the viewport, at any scroll position, and go on below
    // the last row.
    void stripesScreenshots()
    {
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            for (int rows : {40, 3}) {
                VRXListView lv(nullptr, QStringLiteral("listview"));
                lv.setHeaderVisible(false);
                lv.setColorMode(1);
                fill(lv, rows);
                lv.resize(d.width() * 2 / 3, d.height() / 2);
                lv.show();
                QVERIFY(QTest::qWaitForWindowExposed(&lv));
                const int h = lv.itemHeight();
                const int x = lv.viewport()->width() - 3;
                auto colourOfRow = [&](int r) { return r % 2 == 0 ? QColor("#e5e5e5") : QColor("#ffffcc"); };
                if (rows == 3) {
                    const QImage img = saveScreenshot(&lv, QStringLiteral("vrxlistview"), d);
                    const QPoint off = lv.viewport()->mapTo(&lv, QPoint(0, 0));
                    for (int r = 2; r < 6; ++r)
                        QCOMPARE(QColor(img.pixel(off.x() + x, off.y() + r * h + h / 2)), colourOfRow(r));
                    continue;
                }
                for (int scroll : {h, 5 * h + h / 2}) {
                    lv.verticalScrollBar()->setValue(scroll);
                    QCoreApplication::processEvents();
                    const QImage img = lv.viewport()->grab().toImage();
                    for (int r = 0; r < rows; ++r) {
                        const QRect rect = lv.visualItemRect(lv.itemAtRow(r));
                        if (rect.top() >= 0 && rect.bottom() < lv.viewport()->height())
                            QCOMPARE(QColor(img.pixel(x, rect.center().y())), colourOfRow(r));
                    }
                }
            }
        }
        useDisplay(QSize(480, 640));
    }

    // What marks the chosen row reaches the viewport's right edge, however few columns the
    // list has, and stays readable when the list is not in the active window or has lost
    // its selection. The platform's look for an inactive selection is made the hard case
    // seen on screen: a pale grey-blue under the first row's blue text.
    void selectionAcrossTheRow_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("state");
        for (int mode : {1, 0}) {
            const QByteArray m = mode ? "row colours" : "palette";
            QTest::newRow(m + ": selection stops where the last column ends") << mode << "selected";
            QTest::newRow(m + ": inactive selection pale under blue text") << mode << "inactive";
            QTest::newRow(m + ": current entry without selection unmarked at the edge") << mode << "current";
        }
    }

    void selectionAcrossTheRow()
    {
        QFETCH(int, mode);
        QFETCH(QString, state);
        const QColor pale("#d0dbe2"), blue("#336699");
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            QWidget window;
            window.resize(d);
            auto* lv = new VRXListView(&window, QStringLiteral("listview"));
            QPalette pal = lv->palette();
            pal.setColor(QPalette::Inactive, QPalette::Highlight, pale);
            pal.setColor(QPalette::Inactive, QPalette::HighlightedText, blue);
            lv->setPalette(pal);
            const QColor highlight = pal.color(QPalette::Active, QPalette::Highlight);
            const QColor highlightedText = pal.color(QPalette::Active, QPalette::HighlightedText);
            lv->setHeaderVisible(false);
            lv->setColorMode(mode);
            lv->addColumn("title");
            lv->addColumn("year");
            for (int i = 0; i < 4; ++i)
                new VRXListViewItem(lv, QStringLiteral("Track %1").arg(i));
            lv->itemAtRow(1)->setText(1, QStringLiteral("1999"));
            lv->setGeometry(0, 0, d.width(), d.height() / 2);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            lv->setCurrentItem(lv->itemAtRow(1));
            lv->setSelected(lv->itemAtRow(1), true);
            QWidget other;
            if (state == QLatin1String("inactive")) {
                other.show();
                other.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                QVERIFY(!window.isActiveWindow());
            } else {
                window.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&window));
                lv->setFocus();
            }
            if (state == QLatin1String("current"))
                lv->clearSelection();
            QCoreApplication::processEvents();
            QVERIFY(lv->header()->length() < lv->viewport()->width() - 20);

            const QImage img = lv->viewport()->grab().toImage();
            const QRect row = lv->visualItemRect(lv->itemAtRow(1));
            const int edge = lv->viewport()->width() - 2;
            const QString where = QStringLiteral("%1x%2").arg(d.width()).arg(d.height());
            const auto dist = [](QColor a, QColor b) {
                return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            };
            // Styles shade a focused selection and frame it: near the highlight is enough.
            const auto marks = [&](QColor c) { return dist(c, highlight) < 48; };
            if (state == QLatin1String("current")) {
                QCOMPARE(lv->selectedItem(), nullptr);
                QVERIFY2(marks(img.pixel(edge, row.center().y())), qPrintable(where));
                continue;
            }
            QVERIFY2(marks(img.pixel(edge - 3, row.center().y())), qPrintable(where));
            // Under the first column the row is mostly highlight, and its text is drawn in the
            // highlighted text colour (the nearer of the two at some pixel).
            int marked = 0, all = 0;
            bool textShown = false;
            for (int x = 0; x < lv->header()->sectionSize(0); ++x) {
                for (int y = row.top(); y <= row.bottom(); ++y) {
                    const QColor c(img.pixel(x, y));
                    ++all;
                    marked += marks(c);
                    textShown = textShown || dist(c, highlightedText) < dist(c, highlight);
                }
            }
            QVERIFY2(marked * 2 > all, qPrintable(where));
            QVERIFY2(textShown, qPrintable(where));
        }
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
        // Sorted by key, not by text.
        using Row = std::pair<const char*, const char*>;
        for (const auto& [text, key] : {Row{"B", "b"}, Row{"C", "c"}, Row{"A", "z"}})
            (new VRXListViewItem(&lv, QLatin1String(text)))->setKey(0, QLatin1String(key));
        lv.setSorting(0, true);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0) + lv.itemAtRow(2)->text(0), QStringLiteral("BA"));
        lv.setSorting(0, false);
        lv.sort();
        QCOMPARE(lv.itemAtRow(0)->text(0), QStringLiteral("A"));

        QSignalSpy current(&lv, &VRXListView::currentChanged);
        QSignalSpy ret(&lv, &VRXListView::returnPressed);
        VRXListViewItem* b = lv.itemAtRow(1);
        lv.setCurrentItem(b);
        QCOMPARE(current.size(), 1);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), b);
        QCOMPARE(lv.itemAbove(b), lv.itemAtRow(0));
        QCOMPARE(lv.itemBelow(lv.itemAtRow(2)), nullptr);

        lv.resize(150, 150);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        QTest::keyClick(&lv, Qt::Key_Return);
        QTest::keyClick(&lv, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(ret.size(), 2);
        QCOMPARE(ret.last().at(0).value<VRXListViewItem*>(), b);
        QTest::mouseDClick(lv.viewport(), Qt::LeftButton, Qt::NoModifier, lv.visualItemRect(lv.itemAtRow(2)).center());
        QCOMPARE(ret.size(), 3);
        QCOMPARE(ret.last().at(0).value<VRXListViewItem*>(), lv.itemAtRow(2));
        // Cursor keys move the current entry and select it.
        lv.setCurrentItem(lv.itemAtRow(0));
        QTest::keyClick(&lv, Qt::Key_Down);
        QCOMPARE(lv.currentItem(), lv.itemAtRow(1));
        QCOMPARE(lv.selectedItem(), lv.itemAtRow(1));

        lv.clear();
        QCOMPARE(lv.currentItem(), nullptr);
        QCOMPARE(current.last().at(0).value<VRXListViewItem*>(), nullptr);
    }
};

QUAVRIX_TEST_MAIN(TestVRXListView)
#include "tst_vrxlistview.moc"
