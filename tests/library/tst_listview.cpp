#include "testmain.h"

#include "libraryfixture.h"
#include "listview.h"

// The five-column track list: texts, missing entries and index order.
class TestListView : public QObject
{
    Q_OBJECT
private:
    std::vector<std::unique_ptr<AudioInfo>> m_records;

    TrackItem* add(ListView& lv, const char* file, const char* title, int index, const char* artist = "",
                   const char* album = "", int year = 0, int track = 0)
    {
        m_records.push_back(makeRecord(QString::fromUtf8(file), title, artist, album, year, track));
        return new TrackItem(&lv, m_records.back().get(), index);
    }

private slots:
    void textsAndMissingEntries()
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

};

QUAVRIX_TEST_MAIN(TestListView)
#include "tst_listview.moc"
