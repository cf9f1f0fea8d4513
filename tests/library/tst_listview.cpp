#include "testmain.h"

#include "../qt/screenshot.h"
#include "libraryfixture.h"
#include "listview.h"
#include "trackitem.h"

#include <QSignalSpy>

#include <memory>
#include <vector>

// The five-column track list: columns, icons, index order, fonts and key forwarding.
class TestListView : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_pics;
    std::vector<std::unique_ptr<AudioInfo>> m_records;

    AudioInfo* record(const char* file, const char* title, const char* artist = "", const char* album = "",
                      int year = 0, int track = 0)
    {
        m_records.push_back(makeRecord(QString::fromUtf8(file), title, artist, album, year, track));
        return m_records.back().get();
    }
    void putIcon(const QString& rel, QColor c, int size)
    {
        const QString path = m_pics.path() + "/pics/Quavrix/" + rel;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage img(size, size, QImage::Format_ARGB32);
        img.fill(c);
        QVERIFY(img.save(path));
    }
    static QRgb iconColour(const TrackItem* item)
    {
        const QPixmap pm = item->data(0, Qt::DecorationRole).value<QPixmap>();
        return pm.isNull() ? 0 : pm.toImage().pixel(0, 0);
    }

private slots:
    void initTestCase()
    {
        for (int s : {16, 24, 32}) {
            putIcon(QStringLiteral("%1/audio.png").arg(s), Qt::red, s);
            putIcon(QStringLiteral("%1/file_audio.png").arg(s), Qt::blue, s);
        }
        qputenv("QUAVRIX_QPEDIR", m_pics.path().toUtf8());
        useDisplay(QSize(240, 320));
    }

    void construction()
    {
        ListView lv(nullptr, QStringLiteral("ignored"));
        // Always the "listview" colours, whatever name is given: mode 1 with the defaults.
        QCOMPARE(lv.objectName(), QStringLiteral("listview"));
        QCOMPARE(lv.colorMode(), 1);
        QCOMPARE(lv.color(4), QColor("#ffffcc"));
        QVERIFY(!lv.icon(1).isNull());
        QVERIFY(lv.icon(2).isNull());
        QVERIFY(lv.icon(-1).isNull());
        lv.addColumn("extra");
        lv.resetColumns();
        QCOMPARE(lv.columns(), 5);
    }

    void columnsAndIcons()
    {
        ListView lv;
        auto* a = new TrackItem(&lv, record("/m/a.mp3", "  Title ", " Artist", "Album  ", 2001, 7), 0);
        auto* b = new TrackItem(&lv, record("/m/b.mp3", "", "", "", 0, 0), 1);
        auto* c = new TrackItem(&lv, record("/m/c.ogg", "x", "", "", -1, -2), 2);
        const QStringList want[] = {{"Title", "Artist", "Album", "2001", "7"}, {"", "", "", "", ""},
                                    {"x", "", "", "-1", "-2"}};
        int row = 0;
        for (TrackItem* item : {a, b, c}) {
            for (int col = 0; col < 5; ++col)
                QCOMPARE(item->text(col), want[row][col]);
            ++row;
        }
        // Texts are read from the shared record each time.
        AudioInfo::setText(a->record()->title, QByteArray("Tïtle ü"));
        QCOMPARE(a->text(0), QString::fromUtf8("Tïtle ü"));
        QVERIFY(a->data(1, Qt::DecorationRole).isNull());

        // The icon: MP3 by extension, any case; everything else the other icon.
        const struct { const char* file; bool nonMp3; } cases[] = {
            {"/x/a.MP3", false}, {"/x/a.Mp3", false}, {"/x/a.mp3.bak", true},
            {"/x/a.ogg", true}, {"/x/noext", true}, {"/x.mp3/noext", true}, {"", true}};
        for (const auto& k : cases) {
            auto* item = new TrackItem(&lv, record(k.file, "t"), row++);
            QCOMPARE(item->nonMp3(), k.nonMp3);
            QCOMPARE(iconColour(item), QColor(k.nonMp3 ? Qt::blue : Qt::red).rgb());
        }
        QVERIFY(TrackItem::isNonMp3(nullptr));
    }

    void indexOrder()
    {
        ListView lv;
        new TrackItem(&lv, record("/a.mp3", "c", "a"), 10);
        new TrackItem(&lv, record("/b.mp3", "a", "c"), 2);
        new TrackItem(&lv, record("/c.mp3", "b", "b"), 1);
        auto indexAt = [&](int row) { return static_cast<TrackItem*>(lv.itemAtRow(row))->index(); };
        // Whatever column is chosen, the index orders the list.
        for (int col = 0; col < 5; ++col) {
            lv.setSorting(col, true);
            lv.sort();
            QCOMPARE(QList<int>({indexAt(0), indexAt(1), indexAt(2)}), QList<int>({1, 2, 10}));
            QCOMPARE(lv.itemAtRow(2)->key(col), QStringLiteral("00000010"));
        }
        static_cast<TrackItem*>(lv.itemAtRow(0))->setIndex(11);
        lv.sort();
        QCOMPARE(indexAt(2), 11);
        // Sorting also happens by itself once events run.
        new TrackItem(&lv, record("/d.mp3", "d"), 0);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(indexAt(0), 0);
    }

    void fontChangeKeepsTheEntries()
    {
        ListView lv;
        new TrackItem(&lv, record("/a.mp3", "a"), 0);
        new TrackItem(&lv, record("/b.ogg", "b"), 1);
        QFont f = lv.font();
        f.setPixelSize(30);
        lv.setFont(f);
        QCOMPARE(lv.childCount(), 2); // a zoom must never drop what the user put there
        QCOMPARE(lv.icon(0).width(), 32); // icons follow the font
        f.setPixelSize(12);
        lv.setFont(f);
        QCOMPARE(lv.icon(0).width(), 16);
        QCOMPARE(lv.childCount(), 2);
    }

    void keyForwarding()
    {
        ListView lv;
        for (int i = 0; i < 3; ++i)
            new TrackItem(&lv, record("/a.mp3", "t"), i);
        lv.resize(200, 200);
        lv.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lv));
        lv.setCurrentItem(lv.itemAtRow(0));
        QList<int> codes;
        bool claim = false;
        connect(&lv, &ListView::checkKey, this, [&](bool& handled, int code) {
            codes << code;
            handled = claim;
        });
        // Unclaimed: the list moves its cursor.
        QTest::keyClick(&lv, Qt::Key_Down);
        QCOMPARE(codes, QList<int>({0x1015}));
        QCOMPARE(lv.currentItem(), lv.itemAtRow(1));
        // Claimed: the list does not act and the event is left for the parents.
        claim = true;
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(&lv, &down);
        QVERIFY(!down.isAccepted());
        QCOMPARE(lv.currentItem(), lv.itemAtRow(1));
        // Modifier keys themselves go straight to the list.
        QTest::keyClick(&lv, Qt::Key_Shift);
        QCOMPARE(codes.size(), 2);
    }

    void screenshots()
    {
        qputenv("QUAVRIX_QPEDIR", QByteArray(QUAVRIX_BUILD_DIR "/share/quavrix"));
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            if (findImage("16/audio").isNull())
                QSKIP("pictures not rendered (build the pictures target)");
            ListView lv;
            lv.loadIcons();
            const char* titles[] = {"Morning Light", "Harbour Walk", "Slow Train", "Northern Lights Over the Bay"};
            for (int i = 0; i < 4; ++i)
                new TrackItem(&lv, record(i == 2 ? "/m/t.ogg" : "/m/t.mp3", titles[i], "The Examples",
                                          "Sample Album", 2001, i + 1), i);
            lv.resize(d.width(), d.height() / 2);
            lv.show();
            QVERIFY(QTest::qWaitForWindowExposed(&lv));
            const QImage img = saveScreenshot(&lv, "listview", d);
            const int h = lv.itemHeight();
            const QPoint off = lv.viewport()->mapTo(&lv, QPoint(0, 0));
            // The fill of a row is the colour most of its pixels have (text covers the rest).
            auto rowFill = [&](int row) {
                QHash<QRgb, int> count;
                for (int x = off.x(); x < off.x() + lv.viewport()->width(); ++x)
                    ++count[img.pixel(x, off.y() + row * h + h / 2)];
                QRgb best = 0;
                for (auto it = count.cbegin(); it != count.cend(); ++it)
                    if (it.value() > count.value(best))
                        best = it.key();
                return QColor(best);
            };
            QCOMPARE(rowFill(3), QColor("#ffffcc"));
            QCOMPARE(rowFill(4), QColor("#e5e5e5")); // below the last entry
        }
        qputenv("QUAVRIX_QPEDIR", m_pics.path().toUtf8());
        useDisplay(QSize(240, 320));
    }
};

QUAVRIX_TEST_MAIN(TestListView)
#include "tst_listview.moc"
