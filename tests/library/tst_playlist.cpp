#include "testmain.h"

#include "libraryfixture.h"
#include "listview.h"

#include <QComboBox>
#include <QSignalSpy>

#include <algorithm>
#include <numeric>

// The play list: play order under the loop and random options (with files missing),
// editing, the stored list, selecting files, and the library rebuilding under it.
class TestPlayList : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<LibraryPages> pages;
    PlayList* list = nullptr;

    QStringList titles() const { return pages->titles(); }
    QList<int> indices() const
    {
        QList<int> out;
        for (int row = 0; TrackItem* e = list->entryAt(row); ++row)
            out << e->index();
        return out;
    }
    void fill(const QStringList& t)
    {
        pages->setCatalogue(*tree, t);
        list->addAll();
    }
    // The stored list, read back: "?x" is an entry whose file x.mp3 is missing.
    void restore(const QStringList& entries)
    {
        for (int k = 0; k < entries.size(); ++k) {
            const QString name = QString(entries[k]).remove(QLatin1Char('?'));
            if (!entries[k].startsWith(QLatin1Char('?')))
                tree->make(name + QStringLiteral(".mp3"));
            writeSetting("PlayList", QString::number(k), tree->path(name + QStringLiteral(".mp3")));
        }
        list->restoreList();
    }
    static QString nameOf(const TrackItem* e)
    {
        return e ? QFileInfo(fileOf(e->record())).completeBaseName() : QStringLiteral("-");
    }
    QString selected() const { return nameOf(list->selectedTrack()); }
    // Next, checking first that the entry queued for gapless play is the one next selects.
    void next()
    {
        const QString peeked = nameOf(list->peekNext());
        list->selectNext();
        QCOMPARE(selected(), peeked);
    }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        clearGroup(QStringLiteral("PlayList"));
        tree = std::make_unique<TrackTree>();
        pages = std::make_unique<LibraryPages>();
        list = pages->list.get();
    }

    void cleanup() { pages.reset(); }

    void playOrder_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QString>("walk"); // command, then the entry selected after it
        QTest::newRow("no loop: the list runs out after the last") << QStringList{"a", "b", "c"} << false
                                                                    << "first a next b next c next - next - prev -";
        QTest::newRow("no loop: nothing before the first") << QStringList{"a", "b", "c"} << false << "first a prev -";
        QTest::newRow("loop: the first after the last, the last before the first")
            << QStringList{"a", "b", "c"} << true << "first a prev c next a next b prev a";
        QTest::newRow("loop, nothing selected: next and previous start at the first")
            << QStringList{"a", "b", "c"} << true << "none - next a none - prev a";
        QTest::newRow("missing files passed over both ways") << QStringList{"a", "?b", "c"} << false
                                                             << "first a next c prev a";
        QTest::newRow("missing first entry: first is the first that can play")
            << QStringList{"?a", "b", "c"} << false << "first b prev -";
        QTest::newRow("loop passes over missing ends") << QStringList{"?a", "b", "c", "?d"} << true
                                                       << "first b prev c next b";
        QTest::newRow("nothing can play") << QStringList{"?a", "?b"} << true << "first - next - prev -";
        QTest::newRow("empty list") << QStringList{} << true << "first - next - prev -";
        QTest::newRow("one entry, no loop: played once") << QStringList{"a"} << false << "first a next -";
        QTest::newRow("one entry, loop: again and again") << QStringList{"a"} << true << "first a next a prev a";
    }
    void playOrder()
    {
        QFETCH(QStringList, entries);
        QFETCH(bool, loop);
        QFETCH(QString, walk);
        restore(entries);
        list->setPlayOptions(loop, false);
        const QStringList steps = walk.split(QLatin1Char(' '));
        for (int i = 0; i + 1 < steps.size(); i += 2) {
            if (steps[i] == "first")
                list->selectFirst();
            else if (steps[i] == "next")
                next();
            else if (steps[i] == "prev")
                list->selectPrevious();
            else
                list->listView()->clearSelection();
            QVERIFY2(selected() == steps[i + 1], qPrintable(QString("step %1: %2").arg(i / 2).arg(selected())));
        }
        QCOMPARE(list->entryAt(entries.size()), nullptr); // missing entries are kept
    }

    // Random play: each round plays every entry that can play once, in an order of its own,
    // and goes on past the end; Previous cannot go back and steps forward as Next does.
    void randomRounds_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("playable");
        QTest::newRow("every entry once a round") << QStringList{"a", "b", "c", "d", "e"}
                                                  << QStringList{"a", "b", "c", "d", "e"};
        QTest::newRow("missing files never chosen") << QStringList{"?a", "b", "?c", "d", "?e"}
                                                    << QStringList{"b", "d"};
        QTest::newRow("one entry plays again") << QStringList{"a"} << QStringList{"a"};
        QTest::newRow("nothing can play: nothing chosen") << QStringList{"?a", "?b"} << QStringList{"-"};
    }
    void randomRounds()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, playable);
        restore(entries);
        list->setPlayOptions(false, true);
        list->selectFirst();
        for (int round = 0; round < 3; ++round) {
            QStringList seen;
            for (int i = 0; i < playable.size(); ++i) {
                if (round > 0 || i > 0) {
                    if (i % 2)
                        list->selectPrevious();
                    else
                        next();
                }
                seen << selected();
            }
            std::sort(seen.begin(), seen.end());
            QCOMPARE(seen, playable);
        }
    }

    void aLongListIsNotPlayedInDisplayOrder()
    {
        std::vector<int> identity(64);
        std::iota(identity.begin(), identity.end(), 0);
        const std::vector<int> a = drawRandomRanks(64, 1);
        QVERIFY(a != identity && a != drawRandomRanks(64, 2));
        QCOMPARE(drawRandomRanks(64, 1), a); // the order follows the seed
    }

    void editing()
    {
        fill({"a", "b", "c", "d"});
        pages->setCatalogue(*tree, {"x", "y", "z"}); // "Add All Library" replaces, filters or not
        pages->library->findChild<QComboBox*>("artistBox")->setCurrentIndex(1);
        pages->library->updateList();
        list->addAll();
        list->selectFile(tree->make("own.ogg", makeTags("own"))); // not in the library: its own record
        QCOMPARE(list->ownedRecordCount(), 1);
        for (int row : {1, 2}) {
            list->listView()->setCurrentItem(list->entryAt(row));
            list->doRemove();
        }
        QCOMPARE(titles(), QStringList({"x", "z"}));
        QCOMPARE(indices(), QList<int>({0, 1}));
        QCOMPARE(list->ownedRecordCount(), 0);
        QCOMPARE(pages->library->catalogue().size(), size_t(3)); // the library keeps its records
        list->listView()->setCurrentItem(list->entryAt(1));
        list->doUp(); // the moved entry stays current
        list->doUp(); // nothing above
        list->listView()->setSorting(0, true); // the index orders the list, whatever the column
        list->listView()->sort();
        QCOMPARE(titles(), QStringList({"z", "x"}));
        QCOMPARE(indices(), QList<int>({0, 1}));
        QVERIFY(list->isModified());
        list->storeList();
        QCOMPARE(readSetting("PlayList", "0") + readSetting("PlayList", "1"), tree->path("z.mp3") + tree->path("x.mp3"));
        list->doDown();
        list->doDown(); // nothing below
        QCOMPARE(titles(), QStringList({"x", "z"}));
        list->removeAll();
        QVERIFY(list->isEmpty());
    }

    void restoreAndSelectFile()
    {
        pages->setCatalogue(*tree, {"lib", "d"});
        QSignalSpy play(list, qOverload<const QString&>(&PlayList::play));
        const QString own = tree->make("own.mp3", makeTags("Own Title", "Someone"));
        writeSetting("PlayList", "Names", "x|y");
        const QStringList stored = {tree->path("gone.mp3"), own, tree->path("lib.mp3"), "", tree->path("d.mp3")};
        for (int k = 0; k < stored.size(); ++k)
            writeSetting("PlayList", QString::number(k), stored[k]); // after a gap nothing is read
        list->restoreList();
        // A missing file (its card is out) keeps its entry, named after the file.
        QCOMPARE(titles(), QStringList({"gone", "Own Title", "lib"}));
        QCOMPARE(list->ownedRecordCount(), 2);
        QCOMPARE(list->entryAt(2)->record(), pages->library->findRecord(tree->path("lib.mp3")));
        emit list->listView()->returnPressed(list->entryAt(1)); // Enter plays the entry
        QCOMPARE(play.value(0).value(0).toString(), own);
        // Storing rewrites the group: the stray key goes, the names of the saved lists stay.
        list->storeList();
        QVERIFY(readSetting("PlayList", "4").isEmpty());
        QCOMPARE(readSetting("PlayList", "0"), stored[0]);
        QCOMPARE(readSetting("PlayList", "Names"), QStringLiteral("x|y"));
        // Selecting a listed file selects its entry; a new one is added at the end.
        list->selectFile(tree->path("lib.mp3"));
        QCOMPARE(selected(), QStringLiteral("lib"));
        const QString extra = tree->make("new.ogg", makeTags("New"));
        list->selectFile(extra);
        QCOMPARE(list->selectedFile(), extra);
        QCOMPARE(list->entryAt(3)->index(), 3);
        // Missing and unreadable files and folders add nothing; a stored unreadable file goes.
        list->selectFile(tree->path("missing.mp3"));
        list->selectFile(tree->folder("sub"));
        TestTrack::failOpen = true;
        list->selectFile(tree->make("bad.mp3"));
        QCOMPARE(titles().size(), 4);
        list->restoreList();
        QCOMPARE(titles(), QStringList({"gone", "lib"}));
    }

    void entriesShowTheirRecord()
    {
        writeSetting("PlayList", "0", tree->make("a.mp3", makeTags("  Title ", " Artist", "Album  ", 2001, 7)));
        writeSetting("PlayList", "1", tree->path("gone.mp3"));
        list->restoreList();
        const TrackItem* e = list->entryAt(0);
        QCOMPARE(QStringList({e->text(0), e->text(1), e->text(2), e->text(3), e->text(4), list->entryAt(1)->text(3)}),
                 QStringList({"Title", "Artist", "Album", "2001", "7", ""}));
        // A missing file's entry is shown apart, in italics.
        QVERIFY(!e->data(0, Qt::FontRole).value<QFont>().italic());
        QVERIFY(list->entryAt(1)->data(0, Qt::FontRole).value<QFont>().italic());
    }

    void rebuildKeepsTheList()
    {
        // Under AddressSanitizer this also catches an entry that outlives its record.
        fill({"a", "b", "c"});
        list->show();
        list->listView()->setCurrentItem(list->entryAt(1));
        list->doRemove(); // not stored by anyone before the rebuild
        pages->setCatalogue(*tree, {"a", "b", "c"}); // deletes the old records
        QVERIFY(list->isEmpty());
        list->grab();
        list->restoreList();
        QCOMPARE(titles(), QStringList({"a", "c"}));
        QCOMPARE(list->entryAt(0)->record(), pages->library->catalogue().front().get());
    }
};

QUAVRIX_TEST_MAIN(TestPlayList)
#include "tst_playlist.moc"
