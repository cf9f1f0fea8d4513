#include "testmain.h"

#include "customlistdialog.h"
#include "libraryfixture.h"
#include "listview.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"

#include <csignal>
#include <deque>
#include <functional>

#include <sys/resource.h>

// Named playlists: saving under new, current and taken names, loading, organising,
// renaming and deleting, the list dialog itself, and the data-file helpers.
class TestNamedPlayLists : public QObject
{
    Q_OBJECT
private:
    using Answer = std::function<void(VRXDialog*)>;
    std::deque<Answer> answers;
    QStringList shown; // "<caption>: <text>" of every dialog, in order
    std::unique_ptr<VRXDialogAnswer> hook;
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<LibraryPages> pages;
    PlayList* list = nullptr;
    QTemporaryDir qpeDir;

    void expect(Answer a) { answers.push_back(std::move(a)); }
    void expect(const QStringList& steps)
    {
        for (const QString& step : steps)
            answers.push_back([step](VRXDialog* d) { answer(d, step); });
    }

    // Answers a dialog by a script step: "name X" types X into the input, "proposal X"
    // accepts the input after checking that it proposes X, "button N", "cancel",
    // "rename X", and "row N rename|remove" presses a button of the organiser on row N.
    static void answer(VRXDialog* d, const QString& step)
    {
        const QString arg = step.section(QLatin1Char(' '), 1);
        if (step.startsWith("name ") || step.startsWith("proposal ")) {
            auto* in = qobject_cast<VRXInputDialog*>(d);
            QVERIFY2(in, qPrintable(step));
            if (step.startsWith("name "))
                in->setText(arg);
            QCOMPARE(in->text(), arg);
            in->accept();
        } else if (step.startsWith("button ")) {
            QVERIFY2(qobject_cast<VRXMessageBox*>(d), qPrintable(step));
            d->done(arg.toInt());
        } else if (step.startsWith("rename ")) {
            auto* r = qobject_cast<VRXRenameDialog*>(d);
            QVERIFY2(r, qPrintable(step));
            r->setNewText(arg);
            r->accept();
        } else if (step.startsWith("row ")) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QVERIFY2(dlg, qPrintable(step));
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(step.section(QLatin1Char(' '), 1, 1).toInt()));
            step.endsWith("rename") ? dlg->doRename() : dlg->doRemove();
            d->reject();
        } else {
            QCOMPARE(step, QStringLiteral("cancel"));
            d->reject();
        }
    }

    QString dataFile(const QString& name) const { return dataFilePath(QStringLiteral("PlayList_") + name, true); }
    QStringList dataFiles() const { return QDir(QFileInfo(dataFile("x")).absolutePath()).entryList(QDir::Files); }

    QByteArray contents(const QString& name) const
    {
        QFile f(dataFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QString names() const { return readSetting("PlayList", "Names"); }

    void writePlayList(const QString& name, const QStringList& titles)
    {
        QStringList paths;
        for (const QString& t : titles)
            paths << tree->path(t + ".mp3");
        QVERIFY(writeStringList(QStringLiteral("PlayList_") + name, paths));
    }

    void removeFirstEntry()
    {
        list->listView()->setCurrentItem(list->entryAt(0));
        list->doRemove();
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        qputenv("QUAVRIX_QPEDIR", qpeDir.path().toUtf8());
        hook = std::make_unique<VRXDialogAnswer>([this](VRXDialog* d) {
            QString text;
            if (auto* box = qobject_cast<VRXMessageBox*>(d))
                text = box->text();
            shown << d->windowTitle() + QStringLiteral(": ") + text;
            if (answers.empty())
                return d->reject();
            Answer a = std::move(answers.front());
            answers.pop_front();
            a(d);
        });
    }

    void init()
    {
        TestTrack::reset();
        answers.clear();
        shown.clear();
        clearGroup("PlayList");
        QDir(QFileInfo(dataFile("x")).absolutePath()).removeRecursively();
        tree = std::make_unique<TrackTree>();
        pages = std::make_unique<LibraryPages>();
        list = pages->list.get();
        pages->setCatalogue(*tree, {"a", "b", "c"});
        list->addAll();
    }

    void cleanup()
    {
        QVERIFY2(answers.empty(), "a dialog that was expected did not appear");
        pages.reset();
        tree.reset();
    }

    void saveNewAndCurrentName()
    {
        expect({"proposal ", "name Rock"}); // an empty proposal: accepted as it is, nothing is saved
        list->save();
        QVERIFY(names().isEmpty());
        list->save();
        QCOMPARE(shown.at(1), QStringLiteral("Playlist Name ...: "));
        QCOMPARE(contents("Rock"), (tree->path("a.mp3") + "\n" + tree->path("b.mp3") + "\n" + tree->path("c.mp3")).toUtf8());
        QCOMPARE(names(), QStringLiteral("Rock"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Rock"));
        QVERIFY(!list->isModified());
        // Written through a temporary file and a rename: nothing else is left behind.
        QCOMPARE(dataFiles(), QStringList({"PlayList_Rock"}));

        // Again under the current name: overwritten without a question.
        removeFirstEntry();
        QVERIFY(list->isModified());
        expect({"proposal Rock"});
        list->save();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(contents("Rock"), (tree->path("b.mp3") + "\n" + tree->path("c.mp3")).toUtf8());
        QCOMPARE(names(), QStringLiteral("Rock"));
        QVERIFY(!list->isModified());
    }

    void saveTakenName()
    {
        writeSetting("PlayList", "Names", "Rock|Jazz");
        writePlayList("Jazz", {"a"});
        // Cancel at the question: asked again, proposing the rejected name; then Overwrite.
        expect({"name Jazz", "button 1", "proposal Jazz", "button 2"});
        list->save();
        QCOMPARE(shown.at(1), QStringLiteral("Save Playlist ...: Playlist already exists!"));
        QCOMPARE(contents("Jazz").count('\n'), 2);
        QCOMPARE(names(), QStringLiteral("Rock|Jazz"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Jazz"));
    }

    void cancelEndsSave()
    {
        writeSetting("PlayList", "Names", "Old");
        writeSetting("PlayList", "PlayListName", "Old");
        PlayList named(nullptr, pages->control.get());
        named.setLibrary(pages->library.get());
        QCOMPARE(named.currentPlayListName(), QStringLiteral("Old"));
        named.addAll();
        expect({"cancel"}); // the proposal "Old" is not saved on Cancel
        named.save();
        QCOMPARE(contents("Old"), QByteArray("<missing>"));
        QVERIFY(named.isModified());
        // A taken name, then Cancel at the question, then Cancel at the input: nothing saved.
        writePlayList("Jazz", {"a"});
        writeSetting("PlayList", "Names", "Old|Jazz");
        expect({"name Jazz", "button 1", "cancel"});
        named.save();
        QCOMPARE(contents("Jazz"), tree->path("a.mp3").toUtf8());
    }

    void sanitisedNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("bar") << "a|b" << "ab";
        QTest::newRow("slash") << "a/b" << "ab";
        QTest::newRow("dot") << "." << "...";
        QTest::newRow("dotdot") << ".." << "...";
        QTest::newRow("only slash") << "/" << "";
        QTest::newRow("only bars") << "||" << "";
        QTest::newRow("plain") << "Rock & Roll" << "Rock & Roll";
    }

    void sanitisedNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        expect({"name " + typed});
        list->save();
        QCOMPARE(names(), stored);
        QCOMPARE(list->currentPlayListName(), stored);
        // Nothing left of the name: as if cancelled.
        QCOMPARE(list->isModified(), stored.isEmpty());
        QCOMPARE(dataFiles(), stored.isEmpty() ? QStringList() : QStringList({"PlayList_" + stored}));
    }

    void saveFailureIsReported()
    {
        QDir().mkpath(dataFile("Blocked")); // a folder where the file should go
        expect({"name Blocked", "button 1"});
        list->save();
        QVERIFY(shown.at(1).contains("Could not save the playlist"));
        QVERIFY(list->isModified());
        QVERIFY(names().isEmpty());
        QVERIFY(list->currentPlayListName().isEmpty());
    }

    void loadModifiedOffersSave_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("save") << 2;
        QTest::newRow("cancel") << 1;
    }

    void loadModifiedOffersSave()
    {
        QFETCH(int, button);
        expect({"name One"});
        list->save();
        writePlayList("Other", {"c", "a"});
        removeFirstEntry();
        expect(button == 2 ? QStringList({"button 2", "proposal One"}) : QStringList({"button 1"}));
        shown.clear();
        list->loadPlayList("Other");
        QCOMPARE(shown.at(0), QStringLiteral("Load Playlist ...: Playlist One is modified!\nWould you like to save it?"));
        QCOMPARE(contents("One").count('\n'), button == 2 ? 1 : 2);
        QCOMPARE(pages->titles(), QStringList({"c", "a"}));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Other"));
        QVERIFY(!list->isModified());
        // Not modified now: loading asks nothing.
        list->loadPlayList("One");
        QCOMPARE(shown.size(), button == 2 ? 2 : 1);
    }

    // Save chosen before a load, and the save fails (or its name is cancelled): the
    // unsaved list stays, the load does not happen.
    void loadStopsWhenTheSaveFails_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("write fails") << QStringList({"button 2", "proposal One", "button 1"});
        QTest::newRow("name cancelled") << QStringList({"button 2", "cancel"});
    }
    void loadStopsWhenTheSaveFails()
    {
        QFETCH(QStringList, answers);
        expect({"name One"});
        list->save();
        const QStringList before = pages->titles();
        writePlayList("Other", {"c", "a"});
        removeFirstEntry();
        const QStringList edited = pages->titles();
        QVERIFY(edited != before);
        QVERIFY(QFile::remove(dataFile("One")));
        QDir().mkpath(dataFile("One")); // the file cannot be written now
        expect(answers);
        list->loadPlayList("Other");
        QCOMPARE(pages->titles(), edited);
        QCOMPARE(list->currentPlayListName(), QStringLiteral("One"));
        QVERIFY(list->isModified());
    }

    void loadKeepsMissingFiles()
    {
        writePlayList("Three", {"a", "b", "c"});
        QFile::remove(tree->path("b.mp3"));
        pages->library->setCatalogue(Catalogue()); // b's record is gone with the library
        list->loadPlayList("Three");
        // Read from the files themselves; b stays, unavailable, so saving again keeps it.
        QCOMPARE(pages->titles(), QStringList({"a", "b", "c"}));
        QVERIFY(list->entryAt(1)->isMissing());
        QCOMPARE(list->entryAt(2)->index(), 2);
        QCOMPARE(list->listView()->currentItem(), list->entryAt(0));
        // An unreadable playlist file loads as an empty list under its name.
        list->loadPlayList("Nothing");
        QVERIFY(list->isEmpty());
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Nothing"));
    }

    void loadAndOrganizeDialogs()
    {
        writeSetting("PlayList", "Names", "First|Second|Third");
        writePlayList("First", {"a"});
        writePlayList("Second", {"b", "c"});
        expect([](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Load Playlist"));
            QCOMPARE(dlg->items(), QStringList({"First", "Second", "Third"}));
            QVERIFY(dlg->findChild<QWidget*>("renameGroup")->isHidden());
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(1));
            dlg->doNew();
        });
        list->load();
        QCOMPARE(pages->titles(), QStringList({"b", "c"}));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Second"));
        // Closing without "Open" loads nothing.
        expect({"cancel"});
        list->load();
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Second"));

        expect([](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Organize Playlists"));
            QVERIFY(dlg->findChild<VRXPushButton*>("btnNew")->isHidden());
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(2));
            dlg->doUp();
            dlg->accept(); // even an accepted organiser never loads
        });
        list->organize();
        QCOMPARE(names(), QStringLiteral("First|Third|Second"));
        QCOMPARE(pages->titles(), QStringList({"b", "c"}));
    }

    void renameCases()
    {
        writeSetting("PlayList", "Names", "a|b|ghost");
        writePlayList("a", {"a"});
        writePlayList("b", {"b"});
        expect({"name a", "button 2"});
        list->save(); // current playlist "a"
        // Onto an existing name: refused, the old name stays.
        expect({"row 0 rename", "rename b", "button 1"});
        list->organize();
        QCOMPARE(shown.last(), QStringLiteral("Rename Playlist ...: Playlist already exists!"));
        QCOMPARE(names(), QStringLiteral("a|b|ghost"));
        QCOMPARE(contents("a"), tree->path("a.mp3").toUtf8() + "\n" + tree->path("b.mp3").toUtf8() + "\n"
                                    + tree->path("c.mp3").toUtf8());
        QCOMPARE(contents("b"), tree->path("b.mp3").toUtf8());
        // A name without a file cannot be renamed.
        expect({"row 2 rename", "rename real", "button 1"});
        list->organize();
        QVERIFY(shown.last().contains("Rename failed!"));
        QCOMPARE(names(), QStringLiteral("a|b|ghost"));
        // Renaming the current playlist follows it; the new name is cleaned.
        expect({"row 0 rename", "rename x/y"});
        list->organize();
        QCOMPARE(names(), QStringLiteral("xy|b|ghost"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("xy"));
        QVERIFY(!QFileInfo::exists(dataFile("a")));
        QCOMPARE(contents("xy").count('\n'), 2);
        // Cancelled and unchanged renames do nothing.
        expect({"row 0 rename", "cancel", "row 0 rename", "rename xy"});
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("xy|b|ghost"));
    }

    void deleteCases()
    {
        expect({"name a"});
        list->save();
        writePlayList("b", {"b"});
        writeSetting("PlayList", "Names", "a|b|nofile");
        removeFirstEntry(); // modified
        expect({"row 1 remove", "button 2"}); // Cancel
        list->organize();
        QVERIFY(shown.last().contains("Are you sure you want to delete\nPlaylist :b?"));
        QCOMPARE(names(), QStringLiteral("a|b|nofile"));
        QVERIFY(QFileInfo::exists(dataFile("b")));
        // Ok; then "nofile", removed although it has no file.
        expect({"row 0 remove", "button 1", "row 1 remove", "button 1"});
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("b"));
        QVERIFY(!QFileInfo::exists(dataFile("a")));
        // The current playlist is gone: the list is unnamed and nothing is offered for saving.
        QVERIFY(list->currentPlayListName().isEmpty());
        QVERIFY(!list->isModified());
    }

    void listDialog()
    {
        CustomListDialog dlg({"b", "B", "a", "c"}, "PlayList|PlayList", "file_audio", false);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Edit PlayList"));
        QCOMPARE(dlg.currentText(), QStringLiteral("b"));
        QVERIFY(!dlg.findChild<VRXPushButton*>("btnUp")->isEnabled());
        QVERIFY(dlg.findChild<VRXPushButton*>("btnDown")->isEnabled());
        dlg.sort();
        QCOMPARE(dlg.items(), QStringList({"B", "a", "b", "c"}));
        QCOMPARE(dlg.currentText(), QStringLiteral("B"));
        dlg.doDown();
        QCOMPARE(dlg.items(), QStringList({"a", "B", "b", "c"}));
        // The owner may refuse a removal or a rename.
        connect(&dlg, &CustomListDialog::removeItem, this, [](const QString&, bool* ok) { *ok = false; });
        connect(&dlg, &CustomListDialog::renameItem, this,
                [](const QString& old, QString& n, bool* ok) { n = old == "B" ? "Z" : QString(); *ok = true; });
        dlg.doRemove();
        QCOMPARE(dlg.items().size(), 4);
        dlg.doRename();
        QCOMPARE(dlg.items(), QStringList({"a", "Z", "b", "c"}));

        CustomListDialog empty({}, "PlayList|PlayList", "file_audio", true);
        QVERIFY(empty.currentText().isNull());
        for (const char* b : {"btnUp", "btnDown", "btnRemove", "btnRename", "btnNew", "btnSort"})
            QVERIFY2(!empty.findChild<VRXPushButton*>(b)->isEnabled(), b);
        empty.doUp();
        empty.doRemove();
        QVERIFY(empty.items().isEmpty());

        // Past 1000 entries the keys grow a digit, so the order still holds.
        QStringList many;
        for (int i = 0; i < 1005; ++i)
            many << QString::number(1004 - i);
        CustomListDialog big(many, "PlayList|PlayList", "file_audio", false);
        QCOMPARE(big.items(), many);
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

    void dataFileHelpers()
    {
        // Reading falls back to the installed copy; writing always goes to the user's file.
        const QString shipped = qpeDir.path() + "/etc/Quavrix/PlayList_Shipped";
        QDir().mkpath(QFileInfo(shipped).absolutePath());
        QFile f(shipped);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("/music/one.mp3\r\n\n/music/two.mp3\n");
        f.close();
        QCOMPARE(dataFilePath("PlayList_Shipped", false), shipped);
        QCOMPARE(readStringList("PlayList_Shipped"), QStringList({"/music/one.mp3", "/music/two.mp3"}));
        const QString utf = QString::fromUtf8("/m\xc3\xbcsic/x.mp3");
        QVERIFY(writeStringList("PlayList_Shipped", {utf}));
        QCOMPARE(dataFilePath("PlayList_Shipped", false), dataFile("Shipped"));
        QVERIFY(dataFile("Shipped").contains("/QuavrixData/"));
        QCOMPARE(contents("Shipped"), utf.toUtf8());
        QCOMPARE(readStringList("PlayList_Shipped"), QStringList({utf}));
        QVERIFY(readStringList("PlayList_None").isEmpty());
        QVERIFY(writeStringList("PlayList_Empty", {}));
        QCOMPARE(contents("Empty"), QByteArray());
    }
};

QUAVRIX_TEST_MAIN(TestNamedPlayLists)
#include "tst_namedplaylists.moc"
