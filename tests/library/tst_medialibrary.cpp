#include "testmain.h"

#include "libraryfixture.h"
#include "listview.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "vrxpushbutton.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

// The library page: catalogue order, the three filters with "[All ...]" and "[Empty]",
// the icon presses, adding to the play list, finding records and the rebuild.
class TestMediaLibrary : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<LoopControl> control;
    std::unique_ptr<MediaLibrary> library;
    std::unique_ptr<PlayList> list;

    QComboBox* box(const char* name) const { return library->findChild<QComboBox*>(QLatin1String(name)); }
    QPushButton* button(const char* name) const { return library->findChild<QPushButton*>(QLatin1String(name)); }

    static QStringList items(QComboBox* b)
    {
        QStringList out;
        for (int i = 0; i < b->count(); ++i)
            out << b->itemText(i);
        return out;
    }

    QStringList shown() const
    {
        QStringList out;
        ListView* lv = library->listView();
        for (int row = 0; auto* e = static_cast<TrackItem*>(lv->itemAtRow(row)); ++row)
            out << QString::fromUtf8(e->record()->title);
        return out;
    }

    QStringList playListTitles() const
    {
        QStringList out;
        for (int row = 0; TrackItem* e = list->entryAt(row); ++row)
            out << QString::fromUtf8(e->record()->title);
        return out;
    }

    void choose(QComboBox* b, const QString& text)
    {
        const int i = b->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        b->setCurrentIndex(i);
        emit b->activated(i);
    }

    // t1..t6: artists "b", "A", none; albums with blanks; years.
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
        control = std::make_unique<LoopControl>();
        library = std::make_unique<MediaLibrary>(control.get());
        list = std::make_unique<PlayList>(nullptr, control.get());
        library->setPlayList(list.get());
        list->setLibrary(library.get());
    }

    void cleanup()
    {
        list.reset();
        library.reset();
        control.reset();
    }

    void emptyCatalogue()
    {
        QCOMPARE(items(box("artistBox")), QStringList({"[All Artists]", "[Empty]"}));
        QCOMPARE(items(box("albumBox")), QStringList({"[All Albums]", "[Empty]"}));
        QCOMPARE(items(box("yearBox")), QStringList({"[All Years]", "[Empty]"}));
        QVERIFY(!button("addbtn")->isEnabled());
        QVERIFY(!button("addallbtn")->isEnabled());
        QVERIFY(!library->findRecord("/m/1.mp3"));
        library->add();
        library->addAll();
        QVERIFY(list->isEmpty());
    }

    void catalogueOrderAndFilterValues()
    {
        standardCatalogue();
        // Sorted by artist (bytes), album, year, track, title.
        QCOMPARE(shown(), QStringList({"t3", "t6", "t4", "t2", "t1", "t5"}));
        QCOMPARE(items(box("artistBox")), QStringList({"[All Artists]", "A", "b", "[Empty]"}));
        QCOMPARE(items(box("albumBox")), QStringList({"[All Albums]", "X", "Y", "[Empty]"}));
        QCOMPARE(items(box("yearBox")), QStringList({"[All Years]", "1999", "2001", "[Empty]"}));
        QVERIFY(button("addbtn")->isEnabled());
        QVERIFY(button("addallbtn")->isEnabled());
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(0));
    }

    void filters()
    {
        standardCatalogue();
        choose(box("artistBox"), "[Empty]");
        // The blank-only artist counts as empty too: it is listed under no other value.
        QCOMPARE(shown(), QStringList({"t3", "t6"}));
        choose(box("artistBox"), "A");
        QCOMPARE(shown(), QStringList({"t4", "t2"}));
        choose(box("yearBox"), "1999");
        QCOMPARE(shown(), QStringList({"t2"}));
        // The other boxes still list every value of the catalogue.
        QCOMPARE(items(box("albumBox")), QStringList({"[All Albums]", "X", "Y", "[Empty]"}));
        // Blank-padded albums fall under one value.
        choose(box("albumBox"), "X");
        QCOMPARE(shown(), QStringList({"t2"}));
        choose(box("artistBox"), "[All Artists]");
        QCOMPARE(shown(), QStringList({"t2"}));
        choose(box("yearBox"), "[All Years]");
        QCOMPARE(shown(), QStringList({"t6", "t2", "t1"}));
        choose(box("yearBox"), "[Empty]");
        QCOMPARE(shown(), QStringList());
        QVERIFY(!button("addbtn")->isEnabled());
        QVERIFY(!button("addallbtn")->isEnabled());
        choose(box("albumBox"), "[Empty]");
        QCOMPARE(shown(), QStringList({"t4"}));
        // Matching entries are numbered from 0 in catalogue order.
        QCOMPARE(static_cast<TrackItem*>(library->listView()->itemAtRow(0))->index(), 0);
    }

    void iconPressResetsOneFilter()
    {
        standardCatalogue();
        choose(box("artistBox"), "b");
        choose(box("yearBox"), "2001");
        QCOMPARE(shown(), QStringList({"t1"}));
        QTest::mouseClick(library->findChild<QLabel*>("artistIcon"), Qt::LeftButton);
        QCOMPARE(box("artistBox")->currentIndex(), 0);
        QCOMPARE(box("yearBox")->currentText(), QStringLiteral("2001"));
        QCOMPARE(shown(), QStringList({"t3", "t6", "t1"}));
        QTest::mouseClick(library->findChild<QLabel*>("yearIcon"), Qt::LeftButton);
        QCOMPARE(shown().size(), 6);
        choose(box("albumBox"), "Y");
        QTest::mouseClick(library->findChild<QLabel*>("albumIcon"), Qt::LeftButton);
        QCOMPARE(box("albumBox")->currentIndex(), 0);
        QCOMPARE(shown().size(), 6);
    }

    void addMovesOnAndAddAllTakesTheFilter()
    {
        standardCatalogue();
        library->add();
        library->add();
        QCOMPARE(playListTitles(), QStringList({"t3", "t6"}));
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(2));
        // The last entry is added and stays current.
        library->listView()->setCurrentItem(library->listView()->itemAtRow(5));
        library->add();
        QCOMPARE(library->listView()->currentItem(), library->listView()->itemAtRow(5));
        QCOMPARE(playListTitles().last(), QStringLiteral("t5"));
        choose(box("yearBox"), "1999");
        button("addallbtn")->click();
        QCOMPARE(playListTitles(), QStringList({"t3", "t6", "t5", "t2", "t5"}));
        // The play list shows the library's own records.
        QCOMPARE(list->entryAt(3)->record(), library->findRecord("/m/2.mp3"));
    }

    void findRecordAndPlay()
    {
        standardCatalogue();
        Catalogue c;
        c.push_back(makeRecord("/m/dup.mp3", "first", "a"));
        c.push_back(makeRecord(QString::fromUtf8("/m/\xc3\xa9.mp3"), "accent", "b"));
        c.push_back(makeRecord("/m/dup.mp3", "second", "c"));
        library->setCatalogue(std::move(c));
        QCOMPARE(QString::fromUtf8(library->findRecord("/m/dup.mp3")->title), QStringLiteral("first"));
        QVERIFY(library->findRecord(QString::fromUtf8("/m/\xc3\xa9.mp3")));
        QVERIFY(!library->findRecord("/m/1.mp3")); // gone with the old catalogue
        QSignalSpy play(library.get(), &MediaLibrary::play);
        emit library->listView()->returnPressed(library->listView()->itemAtRow(1));
        QCOMPARE(play.count(), 1);
        QCOMPARE(play.at(0).at(0).toString(), QString::fromUtf8("/m/\xc3\xa9.mp3"));
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
        choose(box("artistBox"), "Zed");
        list->addAll();
        QCOMPARE(list->entryAt(0)->record(), library->catalogue().front().get());
        list->storeList();
        tree.make("m/three.mp3", makeTags("Three", "Mid"));
        library->rebuild(); // the play list lets go of the old records first
        QVERIFY(list->isEmpty());
        QCOMPARE(box("artistBox")->currentIndex(), 0);
        QCOMPARE(shown(), QStringList({"Two", "Three", "One"}));
        list->restoreList();
        QCOMPARE(playListTitles(), QStringList({"Two", "One"}));
        QCOMPARE(list->ownedRecordCount(), 0);

        // A rebuild asked for while one runs (from an event the search lets through) is
        // ignored instead of emptying the catalogue under the running search.
        int nested = 0;
        QTimer poke;
        poke.setInterval(0);
        connect(&poke, &QTimer::timeout, library.get(), [&] {
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
