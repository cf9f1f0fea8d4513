#include "testmain.h"

#include "customlistdialog.h"
#include "libraryfixture.h"
#include "listview.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <csignal>
#include <sys/resource.h>

// Named playlists: saving under new, current and taken names, loading, organising,
// renaming and deleting, the list dialog itself, and the data files.
class TestNamedPlayLists : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<DialogScript> script;
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<LibraryPages> pages;
    PlayList* list = nullptr;

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
        writeSetting("PlayList", "Names", saved);
        writeSetting("PlayList", "PlayListName", current);
        for (const QString& n : saved.split('|', Qt::SkipEmptyParts))
            writePlayList(n, {"a"});
        pages = std::make_unique<LibraryPages>();
        list = pages->list.get();
        pages->setCatalogue(*tree, {"a", "b", "c"});
        list->addAll();
    }
    void removeFirstEntry()
    {
        list->listView()->setCurrentItem(list->entryAt(0));
        list->doRemove();
    }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        script = std::make_unique<DialogScript>();
        clearGroup("PlayList");
        QDir(dataFile("").section('/', 0, -2)).removeRecursively();
        tree = std::make_unique<TrackTree>();
    }

    void cleanup()
    {
        pages.reset();
        script.reset();
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
        removeFirstEntry();
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
        removeFirstEntry(); // modified
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

QUAVRIX_TEST_MAIN(TestNamedPlayLists)
#include "tst_namedplaylists.moc"
