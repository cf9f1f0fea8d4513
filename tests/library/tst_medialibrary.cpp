#include "testmain.h"

#include "copyremovedialog.h"
#include "libraryfixture.h"
#include "listview.h"
#include "mediafoldersdialog.h"
#include "settingskeys.h"
#include "vrfiledialog.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <sys/stat.h>

// The library page: catalogue order, the three filters with "[Empty]", the icon presses,
// adding to the play list, finding records and the rebuild. The media search over a
// temporary tree: folders with and without subfolders, extensions, overlapping folders,
// hidden files, links, FIFOs, documents, cancel.
class TestMediaLibrary : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<LibraryPages> pages;
    MediaLibrary* library = nullptr;
    PlayList* list = nullptr;
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<TrackTree> docs;
    std::unique_ptr<LoopControl> control;

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

    void setFolders(const QStringList& items, bool documents)
    {
        Config cfg(applicationName(), Config::User);
        cfg.write(Settings::MediaFolders::Folders, items.join('|'));
        cfg.write(Settings::MediaFolders::Documents, documents);
    }

    // Runs a whole search as the library does and returns the files found, in order,
    // relative to the tree.
    QStringList search(int* total = nullptr)
    {
        Catalogue c;
        c.push_back(makeRecord("/stale", "stale")); // the dialog starts from an empty catalogue
        CopyRemoveDialog dlg(&c, control.get());
        if (dlg.exec() != QDialog::Accepted)
            return {"<rejected>"};
        if (total)
            *total = dlg.total();
        QStringList files;
        for (const auto& rec : c)
            files << fileOf(rec.get()).remove(tree->dir.path() + '/');
        return files;
    }

    void fifo(const QString& path) { QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        pages = std::make_unique<LibraryPages>();
        library = pages->library.get();
        list = pages->list.get();
        standardCatalogue();
        tree = std::make_unique<TrackTree>();
        docs = std::make_unique<TrackTree>();
        qputenv("QUAVRIX_DOCUMENTS", docs->dir.path().toUtf8());
        control = std::make_unique<LoopControl>();
    }

    void cleanup()
    {
        pages.reset();
        control.reset();
        tree.reset();
        docs.reset();
    }

    void catalogueOrderAndFilterValues()
    {
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
        // Sorted by artist (bytes), album, year, track, title.
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
        tree->make("m/one.mp3", makeTags("One", "Zed", "Al", 1990, 1));
        tree->make("m/two.ogg", makeTags("Two", "Abe", "Be", 1991, 2));
        setFolders({"1" + tree->path("m")}, false);
        library->rebuild();
        QCOMPARE(shown(), QStringList({"Two", "One"}));
        choose("artistBox", "Zed");
        list->addAll();
        tree->make("m/three.mp3", makeTags("Three", "Mid"));
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

    void foldersRecursiveAndNot()
    {
        for (const char* f : {"a/2.mp3", "a/1.ogg", "a/notes.txt", "a/song.Mp3", "a/x.mp3.bak", "a/deep/skipped.mp3",
                              "a/3.flac", "a/4.opus", "a/5.Flac", "b/Z.m4a", "b/sub/x.mp3", "b/sub/inner/y.OGG",
                              "b/sub/w.oga", "b/a.mp3", "b/.hidden.mp3", "b/.dir/in.ogg"})
            tree->make(QLatin1String(f));
        // A FIFO named like a track would hold the search up at its first read.
        fifo(tree->path("b/pipe.mp3"));
        setFolders({"0" + tree->path("a"), "1" + tree->path("b")}, false);
        int total = 0;
        // Name order ignoring case, files and folders together, depth first; hidden ones too.
        QCOMPARE(search(&total), QStringList({"a/1.ogg", "a/2.mp3", "a/3.flac", "a/4.opus", "b/.dir/in.ogg", "b/.hidden.mp3",
                                              "b/a.mp3", "b/sub/inner/y.OGG", "b/sub/w.oga", "b/sub/x.mp3", "b/Z.m4a"}));
        QCOMPARE(total, 8 + 7); // every file counts, taken or not
    }

    void nothingToSearch()
    {
        tree->make("m/a.mp3");
        int total = -1;
        // No folders, an empty flag-only item, a missing folder.
        for (const QStringList& folders : {QStringList(), QStringList({"1", "0" + tree->path("missing")})}) {
            setFolders(folders, false);
            QCOMPARE(search(&total), QStringList());
            QCOMPARE(total, 0);
        }
        setFolders({"0" + tree->path("m")}, false);
        TestTrack::failOpen = true; // unreadable: counted, no record
        QCOMPARE(search(&total), QStringList());
        QCOMPARE(total, 1);
    }

    void overlappingFoldersGiveTwoRecords()
    {
        tree->make("top/inner/song.mp3");
        setFolders({"1" + tree->path("top"), "0" + tree->path("top/inner")}, false);
        QCOMPARE(search(), QStringList({"top/inner/song.mp3", "top/inner/song.mp3"}));
    }

    void linksAreFollowedOnce()
    {
        tree->make("loop/song.mp3");
        tree->make("other/linked.mp3");
        QVERIFY(QFile::link(tree->path("loop"), tree->path("loop/back")));   // to itself
        QVERIFY(QFile::link(tree->path("other"), tree->path("loop/to-other"))); // to another folder
        QVERIFY(QFile::link(tree->path("other"), tree->path("loop/to-other-again")));
        QVERIFY(QFile::link(tree->path("nowhere"), tree->path("loop/broken.mp3")));
        setFolders({"1" + tree->path("loop")}, false);
        int total = 0;
        QCOMPARE(search(&total), QStringList({"loop/song.mp3", "loop/to-other/linked.mp3"}));
        QCOMPARE(total, 2);
    }

    void documentsComeLast()
    {
        tree->make("m/a.mp3");
        const QString d1 = docs->make("doc one.ogg", makeTags("Doc"));
        const QString d2 = docs->make("sub/two.MP3");
        docs->make("sub/not-audio.txt");
        fifo(docs->path("sub/pipe.ogg"));
        QVERIFY(QFile::link(docs->dir.path(), docs->path("sub/up"))); // a loop
        setFolders({"0" + tree->path("m")}, true);
        int total = 0;
        QCOMPARE(search(&total), QStringList({"m/a.mp3", d1, d2}));
        QCOMPARE(total, 3);
        // A document that disappears between the passes is skipped.
        Catalogue c;
        CopyRemoveDialog dlg(&c, control.get());
        dlg.countingPass();
        QFile::remove(d1);
        dlg.readingPass();
        QCOMPARE(c.size(), size_t(2));
        QCOMPARE(fileOf(c.back().get()), d2);
        setFolders({}, false);
        QCOMPARE(search(), QStringList());
    }

    // Cancel, Escape and closing the window stop the search after the file in hand, keep
    // what was read, and close the dialog (never hide it while the search runs on).
    void cancelKeepsPartialCatalogue_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("window closed") << "close";
    }
    void cancelKeepsPartialCatalogue()
    {
        QFETCH(QString, how);
        for (int i = 0; i < 10; ++i)
            tree->make(QStringLiteral("m/%1.mp3").arg(i));
        setFolders({"1" + tree->path("m")}, true);
        docs->make("d.mp3");
        Catalogue c;
        CopyRemoveDialog dlg(&c, control.get());
        bool sent = false;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, &dlg, [&] {
            if (sent || c.size() != 4)
                return;
            sent = true;
            if (how == "cancel")
                dlg.findChild<VRXPushButton*>("btnCancel")->click();
            else if (how == "escape")
                QTest::keyClick(&dlg, Qt::Key_Escape);
            else
                dlg.close();
        });
        poll.start();
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QVERIFY(dlg.isCancelled());
        QCOMPARE(c.size(), size_t(4));
        QCOMPARE(fileOf(c.back().get()), tree->path("m/3.mp3"));
        QCOMPARE(dlg.total(), 11);
        QVERIFY(!dlg.isVisible());
    }
};

QUAVRIX_TEST_MAIN(TestMediaLibrary)
#include "tst_medialibrary.moc"
