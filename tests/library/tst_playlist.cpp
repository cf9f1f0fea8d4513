#include "testmain.h"

#include "customlistdialog.h"
#include "libraryfixture.h"
#include "listview.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QComboBox>
#include <QSignalSpy>

#include <algorithm>
#include <csignal>
#include <numeric>

#include <sys/resource.h>

// The play list: play order under the loop and random options (with files missing),
// editing, the stored list, selecting files, and the library rebuilding under it. Named
// playlists: saving under new, current and taken names, loading, organising, renaming and
// deleting, the list dialog itself, and the data files.
class TestPlayList : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<DialogScript> script;
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

    // Where the user's files are, as the platform places them.
    static QString dataFile(const QString& name)
    {
        return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/QuavrixData/PlayList_") + name;
    }
    static QStringList dataFiles() { return QDir(dataFile("").section('/', 0, -2)).entryList(QDir::Files); }
    static QString names() { return readSetting("PlayList", "Names"); }

    QByteArray paths(const QStringList& titles) const
    {
        QStringList out;
        for (const QString& t : titles)
            out << tree->path(t + ".mp3");
        return out.join('\n').toUtf8();
    }
    void writePlayList(const QString& name, const QStringList& titles)
    {
        QVERIFY(writeStringList(QStringLiteral("PlayList_") + name, QString::fromUtf8(paths(titles)).split('\n')));
    }
    // The play list a, b, c, with these names saved (each file holding "a") and this one current.
    void start(const QString& saved = QString(), const QString& current = QString())
    {
        pages.reset(); // the list reads the settings when it is made
        writeSetting("PlayList", "Names", saved);
        writeSetting("PlayList", "PlayListName", current);
        for (const QString& n : saved.split('|', Qt::SkipEmptyParts))
            writePlayList(n, {"a"});
        pages = std::make_unique<LibraryPages>();
        list = pages->list.get();
        pages->setCatalogue(*tree, {"a", "b", "c"});
        list->addAll();
    }
    void removeEntry(int row)
    {
        list->listView()->setCurrentItem(list->entryAt(row));
        list->doRemove();
    }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        script = std::make_unique<DialogScript>();
        clearGroup(QStringLiteral("PlayList"));
        QDir(dataFile("").section('/', 0, -2)).removeRecursively();
        tree = std::make_unique<TrackTree>();
        pages = std::make_unique<LibraryPages>();
        list = pages->list.get();
    }

    void cleanup()
    {
        pages.reset();
        script.reset();
    }

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
        start();
        pages->setCatalogue(*tree, {"x", "y", "z"}); // "Add All Library" replaces, filters or not
        pages->library->findChild<QComboBox*>("artistBox")->setCurrentIndex(1);
        pages->library->updateList();
        list->addAll();
        list->selectFile(tree->make("own.ogg", makeTags("own"))); // not in the library: its own record
        QCOMPARE(list->ownedRecordCount(), 1);
        for (int row : {1, 2})
            removeEntry(row);
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
        start();
        list->show();
        removeEntry(1); // not stored by anyone before the rebuild
        pages->setCatalogue(*tree, {"a", "b", "c"}); // deletes the old records
        QVERIFY(list->isEmpty());
        list->grab();
        list->restoreList();
        QCOMPARE(titles(), QStringList({"a", "c"}));
        QCOMPARE(list->entryAt(0)->record(), pages->library->catalogue().front().get());
    }

    void save_data()
    {
        QTest::addColumn<QString>("saved"); // names before, each with a file; the first is current
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("names"); // after
        QTest::addColumn<QString>("written"); // the name the list went to; empty: none
        auto row = [](const char* what, const char* saved, const QStringList& answers, const char* names,
                      const char* written) { QTest::newRow(what) << saved << answers << names << written; };
        row("new name", "", {"name Rock"}, "Rock", "Rock");
        row("empty name: nothing saved", "", {"proposal "}, "", "");
        row("current name: overwritten without a question", "Rock", {"proposal Rock"}, "Rock", "Rock");
        row("taken name: Cancel asks again with it, then Overwrite", "Rock|Jazz",
            {"name Jazz", "button 1", "proposal Jazz", "button 2"}, "Rock|Jazz", "Jazz");
        row("Cancel at the name: the current one is not saved", "Old", {"cancel"}, "Old", "");
        row("taken name, Cancel, then Cancel at the name", "Old|Jazz", {"name Jazz", "button 1", "cancel"},
            "Old|Jazz", "");
        row("bar taken out", "", {"name a|b"}, "ab", "ab");
        row("slash taken out", "", {"name a/b"}, "ab", "ab");
        row("dot made a name", "", {"name ."}, "...", "...");
        row("dot dot made a name", "", {"name .."}, "...", "...");
        row("nothing left of the name: as if cancelled", "", {"name /|"}, "", "");
        row("other characters kept", "", {"name Rock & Roll"}, "Rock & Roll", "Rock & Roll");
    }
    void save()
    {
        QFETCH(QString, saved);
        QFETCH(QStringList, answers);
        QFETCH(QString, written);
        const QString current = saved.section('|', 0, 0);
        start(saved, current);
        *script << answers;
        list->save();
        QTEST(names(), "names");
        QCOMPARE(list->currentPlayListName(), written.isEmpty() ? current : written);
        QCOMPARE(list->isModified(), written.isEmpty());
        // Every other playlist keeps its file; nothing else is left (a temporary file).
        QStringList files = (saved + '|' + written).split('|', Qt::SkipEmptyParts);
        files.removeDuplicates();
        files.sort();
        QCOMPARE(dataFiles(), files.replaceInStrings(QRegularExpression("^"), "PlayList_"));
        for (const QString& n : saved.split('|', Qt::SkipEmptyParts))
            QCOMPARE(readBytes(dataFile(n)), paths(n == written ? QStringList{"a", "b", "c"} : QStringList{"a"}));
        if (!written.isEmpty())
            QCOMPARE(readBytes(dataFile(written)), paths({"a", "b", "c"}));
    }

    // Loading over a modified list offers to save it first; a save that fails (reported) or
    // is abandoned keeps the list in hand and stops the load.
    void loadOverAModifiedList_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("one"); // the file of "One" afterwards
        QTest::newRow("Save: saved, then loaded") << QStringList{"button 2", "proposal One"} << "Other" << "b c";
        QTest::newRow("Cancel: loaded unsaved") << QStringList{"button 1"} << "Other" << "a b c";
        QTest::newRow("the save fails: nothing loaded") << QStringList{"button 2", "proposal One", "button 1"} << "One"
                                                        << "blocked";
        QTest::newRow("the name is cancelled: nothing loaded") << QStringList{"button 2", "cancel"} << "One" << "a b c";
    }
    void loadOverAModifiedList()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, current);
        QFETCH(QString, one);
        start();
        *script << QStringList{"name One"};
        list->save();
        writePlayList("Other", {"c", "a"});
        removeEntry(0);
        if (one == "blocked")
            QVERIFY(QFile::remove(dataFile("One")) && QDir().mkpath(dataFile("One")));
        *script << answers;
        list->loadPlayList("Other");
        QCOMPARE(list->currentPlayListName(), current);
        const bool loaded = current == "Other";
        QCOMPARE(pages->titles(), loaded ? QStringList({"c", "a"}) : QStringList({"b", "c"}));
        QCOMPARE(list->isModified(), !loaded);
        if (one != "blocked")
            QCOMPARE(readBytes(dataFile("One")), paths(one.split(' ')));
        // Not modified now: loading asks nothing.
        const int asked = script->shown.size();
        if (loaded)
            list->loadPlayList("One");
        QCOMPARE(script->shown.size(), asked);
    }

    void loadKeepsMissingFiles()
    {
        start();
        writePlayList("Three", {"a", "b", "c"});
        QFile::remove(tree->path("b.mp3"));
        pages->library->setCatalogue(Catalogue()); // b's record is gone with the library
        list->loadPlayList("Three");
        // Read from the files themselves; b stays, unavailable, so saving again keeps it.
        QCOMPARE(pages->titles(), QStringList({"a", "b", "c"}));
        QVERIFY(list->entryAt(1)->isMissing());
        // An unreadable playlist file loads as an empty list under its name.
        list->loadPlayList("Nothing");
        QVERIFY(list->isEmpty());
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Nothing"));
    }

    void loadAndOrganize()
    {
        start("First|Second|Third");
        writePlayList("Second", {"b", "c"});
        *script << [](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QCOMPARE(dlg->items(), QStringList({"First", "Second", "Third"}));
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(1));
            dlg->doNew(); // "Open"
        };
        *script << QStringList{"cancel"}; // closing without "Open" loads nothing
        list->load();
        list->load();
        QCOMPARE(pages->titles(), QStringList({"b", "c"}));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Second"));
        *script << [](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(2));
            dlg->doUp();
            dlg->accept(); // even an accepted organiser never loads
        };
        list->organize();
        QCOMPARE(names(), QStringLiteral("First|Third|Second"));
        QCOMPARE(pages->titles(), QStringList({"b", "c"}));
    }

    void rename()
    {
        start("a|b|ghost", "a");
        QFile::remove(dataFile("ghost"));
        // Onto an existing name, and from a name without a file: refused, files as they were.
        *script << QStringList{"row 0 rename", "rename b", "button 1", "row 2 rename", "rename real", "button 1"};
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("a|b|ghost"));
        QCOMPARE(dataFiles(), QStringList({"PlayList_a", "PlayList_b"}));
        // Renaming the current playlist follows it; the new name is cleaned. Cancelled and
        // unchanged renames do nothing.
        *script << QStringList{"row 0 rename", "rename x/y", "row 0 rename", "cancel", "row 0 rename", "rename xy"};
        for (int i = 0; i < 3; ++i)
            list->organize();
        QCOMPARE(names(), QStringLiteral("xy|b|ghost"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("xy"));
        QCOMPARE(dataFiles(), QStringList({"PlayList_b", "PlayList_xy"}));
        QCOMPARE(readBytes(dataFile("xy")), paths({"a"}));
    }

    void remove()
    {
        start("a|b|nofile", "a");
        QFile::remove(dataFile("nofile"));
        removeEntry(0); // modified
        *script << QStringList{"row 1 remove", "button 2"}; // Cancel
        list->organize();
        QCOMPARE(names(), QStringLiteral("a|b|nofile"));
        QCOMPARE(dataFiles(), QStringList({"PlayList_a", "PlayList_b"}));
        // Ok; then "nofile", removed although it has no file.
        *script << QStringList{"row 0 remove", "button 1", "row 1 remove", "button 1"};
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("b"));
        QCOMPARE(dataFiles(), QStringList({"PlayList_b"}));
        // The current playlist is gone: the list is unnamed and nothing is offered for saving.
        QVERIFY(list->currentPlayListName().isEmpty());
        QVERIFY(!list->isModified());
    }

    // A write that fails part-way (here: the file size limit, which binds root too) must
    // leave the old playlist whole, never a truncated or half-written one.
    void failedReplaceKeepsTheOldFile()
    {
        const QStringList old = {"/music/one.mp3", "/music/two.mp3"};
        QVERIFY(writeStringList("PlayList_Rock", old));
        QStringList longer;
        for (int i = 0; i < 2000; ++i)
            longer << QStringLiteral("/music/a rather long folder name/track %1.mp3").arg(i);
        struct rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = writeStringList("PlayList_Rock", longer);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written);
        QCOMPARE(readStringList("PlayList_Rock"), old);
        QCOMPARE(dataFiles(), QStringList({"PlayList_Rock"}));
    }
};

QUAVRIX_TEST_MAIN(TestPlayList)
#include "tst_playlist.moc"
