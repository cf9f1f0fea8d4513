#include "testmain.h"

#include "libraryfixture.h"
#include "listview.h"
#include "settingskeys.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

// The library page: catalogue order, the three filters with "[Empty]", the icon presses,
// adding to the play list, finding records and the rebuild.
class TestMediaLibrary : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<LibraryPages> pages;
    MediaLibrary* library = nullptr;
    PlayList* list = nullptr;

    QComboBox* box(const char* name) const { return library->findChild<QComboBox*>(QLatin1String(name)); }

    QStringList items(const char* name) const
    {
        QStringList out;
        for (int i = 0; i < box(name)->count(); ++i)
            out << box(name)->itemText(i);
        return out;
    }

    QStringList shown() const
    {
        QStringList out;
        for (int row = 0; auto* e = static_cast<TrackItem*>(library->listView()->itemAtRow(row)); ++row)
            out << QString::fromUtf8(e->record()->title);
        return out;
    }

    // Index 0 ("[All ...]") when text is empty.
    void choose(const char* name, const QString& text)
    {
        const int i = text.isEmpty() ? 0 : box(name)->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box(name)->setCurrentIndex(i);
        emit box(name)->activated(i);
    }

    // t1..t6: artists "b", "A", blank; albums padded with blanks; years.
    void standardCatalogue()
    {
        Catalogue c;
        c.push_back(makeRecord("/m/1.mp3", "t1", "b", "X", 2001, 1));
        c.push_back(makeRecord("/m/2.mp3", "t2", "A", " X ", 1999, 2));
        c.push_back(makeRecord("/m/3.ogg", "t3", "", "Y", 2001, 0));
        c.push_back(makeRecord("/m/4.mp3", "t4", "A", "", 0, 0));
        c.push_back(makeRecord("/m/5.mp3", "t5", "b", "Y", 1999, 3));
        c.push_back(makeRecord("/m/6.mp3", "t6", "   ", "X", 2001, 4));
        library->setCatalogue(std::move(c));
    }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        pages = std::make_unique<LibraryPages>();
        library = pages->library.get();
        list = pages->list.get();
        standardCatalogue();
    }

    void cleanup() { pages.reset(); }

    void catalogueOrderAndFilterValues()
    {
        // Sorted by artist (bytes), album, year, track, title.
        QCOMPARE(shown(), QStringList({"t3", "t6", "t4", "t2", "t1", "t5"}));
        // Each value once, blanks trimmed; "[Empty]" last.
        QCOMPARE(items("artistBox").mid(1), QStringList({"A", "b", "[Empty]"}));
        QCOMPARE(items("albumBox").mid(1), QStringList({"X", "Y", "[Empty]"}));
        QCOMPARE(items("yearBox").mid(1), QStringList({"1999", "2001", "[Empty]"}));
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(0));
        library->setCatalogue(Catalogue());
        QCOMPARE(items("artistBox").mid(1), QStringList({"[Empty]"}));
        library->add();
        library->addAll();
        QVERIFY(list->isEmpty());
    }

    void filters_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no filter") << "" << "" << "" << QStringList{"t3", "t6", "t4", "t2", "t1", "t5"};
        QTest::newRow("artist") << "A" << "" << "" << QStringList{"t4", "t2"};
        QTest::newRow("artist [Empty] takes blanks too") << "[Empty]" << "" << "" << QStringList{"t3", "t6"};
        QTest::newRow("album: blank-padded values are one") << "" << "X" << "" << QStringList{"t6", "t2", "t1"};
        QTest::newRow("album [Empty]") << "" << "[Empty]" << "" << QStringList{"t4"};
        QTest::newRow("year") << "" << "" << "1999" << QStringList{"t2", "t5"};
        QTest::newRow("year [Empty]") << "" << "" << "[Empty]" << QStringList{"t4"};
        QTest::newRow("artist and year") << "A" << "" << "1999" << QStringList{"t2"};
        QTest::newRow("artist and album") << "b" << "Y" << "" << QStringList{"t5"};
        QTest::newRow("album and year") << "" << "Y" << "2001" << QStringList{"t3"};
        QTest::newRow("nothing matches") << "b" << "[Empty]" << "" << QStringList{};
    }
    void filters()
    {
        QFETCH(QString, artist);
        QFETCH(QString, album);
        QFETCH(QString, year);
        QFETCH(QStringList, expected);
        choose("artistBox", artist);
        choose("albumBox", album);
        choose("yearBox", year);
        QCOMPARE(shown(), expected);
        // The boxes still list every value of the catalogue.
        QCOMPARE(items("albumBox").size(), 4);
        QCOMPARE(library->listView()->childCount() > 0, !expected.isEmpty());
        QCOMPARE(library->findChild<QPushButton*>("addallbtn")->isEnabled(), !expected.isEmpty());
        // Matching entries are numbered from 0 in catalogue order: added in that order.
        library->addAll();
        QCOMPARE(pages->titles(), expected);
    }

    void iconPressResetsOneFilter()
    {
        choose("artistBox", "b");
        choose("yearBox", "2001");
        QCOMPARE(shown(), QStringList({"t1"}));
        QTest::mouseClick(library->findChild<QLabel*>("artistIcon"), Qt::LeftButton);
        QCOMPARE(box("artistBox")->currentIndex(), 0);
        QCOMPARE(box("yearBox")->currentText(), QStringLiteral("2001"));
        QCOMPARE(shown(), QStringList({"t3", "t6", "t1"}));
        QTest::mouseClick(library->findChild<QLabel*>("yearIcon"), Qt::LeftButton);
        choose("albumBox", "Y");
        QTest::mouseClick(library->findChild<QLabel*>("albumIcon"), Qt::LeftButton);
        QCOMPARE(shown().size(), 6);
    }

    void addMovesOn()
    {
        library->add();
        library->add();
        QCOMPARE(pages->titles(), QStringList({"t3", "t6"}));
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(2));
        // The last entry is added and stays current.
        library->listView()->setCurrentItem(library->listView()->itemAtRow(5));
        library->add();
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(5));
        QCOMPARE(pages->titles(), QStringList({"t3", "t6", "t5"}));
        // The play list shows the library's own records.
        QCOMPARE(list->entryAt(2)->record(), library->findRecord("/m/5.mp3"));
    }

    void rebuildSearchesAndResetsFilters()
    {
        TrackTree tree;
        tree.make("m/one.mp3", makeTags("One", "Zed", "Al", 1990, 1));
        tree.make("m/two.ogg", makeTags("Two", "Abe", "Be", 1991, 2));
        {
            Config cfg(applicationName(), Config::User);
            cfg.write(Settings::MediaFolders::Folders, "1" + tree.path("m"));
            cfg.write(Settings::MediaFolders::Documents, false);
        }
        library->rebuild();
        QCOMPARE(shown(), QStringList({"Two", "One"}));
        choose("artistBox", "Zed");
        list->addAll();
        tree.make("m/three.mp3", makeTags("Three", "Mid"));
        library->rebuild(); // the play list lets go of the old records first
        QVERIFY(list->isEmpty());
        QCOMPARE(box("artistBox")->currentIndex(), 0);
        QCOMPARE(shown(), QStringList({"Two", "Three", "One"}));
        list->restoreList();
        QCOMPARE(pages->titles(), QStringList({"Two", "One"}));
        QCOMPARE(list->ownedRecordCount(), 0);

        // A rebuild asked for while one runs (from an event the search lets through) is
        // ignored instead of emptying the catalogue under the running search.
        int nested = 0;
        QTimer poke;
        poke.setInterval(0);
        connect(&poke, &QTimer::timeout, library, [&] {
            if (nested++ == 0)
                library->rebuild();
        });
        poke.start();
        library->rebuild();
        poke.stop();
        QVERIFY(nested > 0);
        QCOMPARE(shown(), QStringList({"Two", "Three", "One"}));
    }
};

QUAVRIX_TEST_MAIN(TestMediaLibrary)
#include "tst_medialibrary.moc"
