#include "testmain.h"

#include "../qt/screenshot.h"
#include "libraryfixture.h"
#include "listview.h"

// The five-column track list: texts, icons, missing entries, index order and zoom.
class TestListView : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_pics;
    std::vector<std::unique_ptr<AudioInfo>> m_records;

    TrackItem* add(ListView& lv, const char* file, const char* title, int index, const char* artist = "",
                   const char* album = "", int year = 0, int track = 0)
    {
        m_records.push_back(makeRecord(QString::fromUtf8(file), title, artist, album, year, track));
        return new TrackItem(&lv, m_records.back().get(), index);
    }
    static QRgb iconColour(const TrackItem* item)
    {
        const QPixmap pm = item->data(0, Qt::DecorationRole).value<QPixmap>();
        return pm.isNull() ? 0 : pm.toImage().pixel(0, 0);
    }

private slots:
    void initTestCase()
    {
        // Red for MP3 files, blue for the others, at each size.
        for (int s : {16, 24, 32})
            for (const auto& [name, colour] : {std::pair{"audio", Qt::red}, {"file_audio", Qt::blue}}) {
                const QString path = m_pics.path() + QStringLiteral("/pics/Quavrix/%1/%2.png").arg(s).arg(name);
                QDir().mkpath(QFileInfo(path).absolutePath());
                QImage img(s, s, QImage::Format_ARGB32);
                img.fill(colour);
                QVERIFY(img.save(path));
            }
        qputenv("QUAVRIX_QPEDIR", m_pics.path().toUtf8());
        useDisplay(QSize(240, 320));
    }

    void textsIconsAndMissingEntries()
    {
        ListView lv;
        auto* a = add(lv, "/m/a.mp3", "  Title ", 0, " Artist", "Album  ", 2001, 7);
        auto* b = add(lv, "/m/b.mp3", "", 1);
        QCOMPARE(QStringList({a->text(0), a->text(1), a->text(2), a->text(3), a->text(4), b->text(3), b->text(4)}),
                 QStringList({"Title", "Artist", "Album", "2001", "7", "", ""}));
        // Texts are read from the shared record each time.
        AudioInfo::setText(a->record()->title, QByteArray("Tïtle ü"));
        QCOMPARE(a->text(0), QString::fromUtf8("Tïtle ü"));
        // A missing file's entry is shown apart (in italics) until it is back.
        for (bool missing : {true, false}) {
            a->setMissing(missing);
            QCOMPARE(a->data(0, Qt::FontRole).value<QFont>().italic(), missing);
        }

        // The icon: MP3 by extension, any case; everything else the other icon.
        const std::pair<const char*, bool> cases[] = {{"/x/a.MP3", false}, {"/x/a.Mp3", false}, {"/x/a.mp3.bak", true},
                                                      {"/x/a.ogg", true},  {"/x/noext", true},  {"/x.mp3/noext", true}};
        for (const auto& [file, other] : cases)
            QCOMPARE(iconColour(add(lv, file, "t", 9)), QColor(other ? Qt::blue : Qt::red).rgb());
        QVERIFY(a->data(1, Qt::DecorationRole).isNull());
    }

    void indexOrdersWhateverTheColumn()
    {
        ListView lv;
        add(lv, "/a.mp3", "c", 10, "a");
        add(lv, "/b.mp3", "a", 2, "c");
        add(lv, "/c.mp3", "b", 1, "b");
        auto indices = [&] {
            QList<int> out;
            for (int row = 0; auto* e = static_cast<TrackItem*>(lv.itemAtRow(row)); ++row)
                out << e->index();
            return out;
        };
        for (int col = 0; col < 5; ++col) {
            lv.setSorting(col, true);
            lv.sort();
            QCOMPARE(indices(), QList<int>({1, 2, 10}));
        }
        static_cast<TrackItem*>(lv.itemAtRow(0))->setIndex(11);
        lv.sort();
        QCOMPARE(indices(), QList<int>({2, 10, 11}));
        // Sorting also happens by itself once events run.
        add(lv, "/d.mp3", "d", 0);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(indices(), QList<int>({0, 2, 10, 11}));
    }

    void zoomKeepsTheEntries()
    {
        ListView lv;
        add(lv, "/a.mp3", "a", 0);
        add(lv, "/b.ogg", "b", 1);
        QFont f = lv.font();
        for (const auto& [pixels, icon] : {std::pair{30, 32}, {12, 16}}) {
            f.setPixelSize(pixels);
            lv.setFont(f);
            QCOMPARE(lv.childCount(), 2); // a zoom must never drop what the user put there
            QCOMPARE(lv.icon(0).width(), icon); // icons follow the font
        }
    }

};

QUAVRIX_TEST_MAIN(TestListView)
#include "tst_listview.moc"
