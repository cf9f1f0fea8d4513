#include "testmain.h"

#include "customlistdialog.h"
#include "libraryfixture.h"
#include "listview.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "trackitem.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"

#include <QSignalSpy>

#include <deque>
#include <functional>

// Named playlists: saving under new, current and taken names, loading, organising,
// renaming and deleting, the list dialog itself, and the data-file helpers.
class TestNamedPlayLists : public QObject
{
    Q_OBJECT
private:
    using Answer = std::function<void(VRXDialog*)>;
    std::deque<Answer> answers;
    QStringList shown; // "<class>: <caption>: <text>" of every dialog, in order
    std::unique_ptr<VRXDialogAnswer> hook;
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<LoopControl> control;
    std::unique_ptr<MediaLibrary> library;
    std::unique_ptr<PlayList> list;
    QTemporaryDir qpeDir;

    void expect(Answer a) { answers.push_back(std::move(a)); }

    static QString describe(VRXDialog* d)
    {
        QString text;
        if (auto* in = qobject_cast<VRXInputDialog*>(d))
            text = in->text();
        else if (auto* box = qobject_cast<VRXMessageBox*>(d))
            text = box->text();
        else if (auto* ren = qobject_cast<VRXRenameDialog*>(d))
            text = ren->newText();
        return QString::fromLatin1(d->metaObject()->className()) + QStringLiteral(": ") + d->windowTitle()
               + QStringLiteral(": ") + text;
    }

    // Answers for the usual dialogs.
    static Answer typeName(const QString& name)
    {
        return [name](VRXDialog* d) {
            auto* in = qobject_cast<VRXInputDialog*>(d);
            QVERIFY(in);
            in->setText(name);
            in->accept();
        };
    }
    static Answer cancelDialog()
    {
        return [](VRXDialog* d) { d->reject(); };
    }
    static Answer chooseButton(int n)
    {
        return [n](VRXDialog* d) {
            QVERIFY(qobject_cast<VRXMessageBox*>(d));
            d->done(n);
        };
    }
    static Answer rename(const QString& name)
    {
        return [name](VRXDialog* d) {
            auto* r = qobject_cast<VRXRenameDialog*>(d);
            QVERIFY(r);
            r->setNewText(name);
            r->accept();
        };
    }

    QString dataFile(const QString& name) const { return dataFilePath(QStringLiteral("PlayList_") + name, true); }

    QByteArray contents(const QString& name) const
    {
        QFile f(dataFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QString names() const { return readSetting("PlayList", "Names"); }

    void fill(const QStringList& titles)
    {
        Catalogue c;
        for (const QString& t : titles)
            c.push_back(makeRecord(tree->make(t + ".mp3"), t.toUtf8().constData(),
                                   QByteArray::number(c.size()).rightJustified(3, '0').constData()));
        library->setCatalogue(std::move(c));
        list->addAll();
    }

    QStringList titles() const
    {
        QStringList out;
        for (int row = 0; TrackItem* e = list->entryAt(row); ++row)
            out << QString::fromUtf8(e->record()->title);
        return out;
    }

    void writePlayList(const QString& name, const QStringList& titles)
    {
        QStringList paths;
        for (const QString& t : titles)
            paths << tree->path(t + ".mp3");
        QVERIFY(writeStringList(QStringLiteral("PlayList_") + name, paths));
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        qputenv("QUAVRIX_QPEDIR", qpeDir.path().toUtf8());
        hook = std::make_unique<VRXDialogAnswer>([this](VRXDialog* d) {
            shown << describe(d);
            if (answers.empty()) {
                d->reject();
                return;
            }
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
        control = std::make_unique<LoopControl>();
        library = std::make_unique<MediaLibrary>(control.get());
        list = std::make_unique<PlayList>(nullptr, control.get());
        library->setPlayList(list.get());
        list->setLibrary(library.get());
        fill({"a", "b", "c"});
    }

    void cleanup()
    {
        QVERIFY2(answers.empty(), "a dialog that was expected did not appear");
        list.reset();
        library.reset();
        control.reset();
        tree.reset();
    }

    void saveNewName()
    {
        QVERIFY(list->currentPlayListName().isEmpty());
        expect([](VRXDialog* d) {
            QCOMPARE(static_cast<VRXInputDialog*>(d)->text(), QString()); // empty proposal
            typeName("Rock")(d);
        });
        list->save();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.at(0).startsWith("VRXInputDialog: Playlist Name ..."));
        QCOMPARE(contents("Rock"), (tree->path("a.mp3") + "\n" + tree->path("b.mp3") + "\n" + tree->path("c.mp3")).toUtf8());
        QCOMPARE(names(), QStringLiteral("Rock"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Rock"));
        QVERIFY(!list->isModified());
        // Written through a temporary file and a rename: nothing else is left behind.
        QCOMPARE(QDir(QFileInfo(dataFile("Rock")).absolutePath()).entryList(QDir::Files),
                 QStringList({"PlayList_Rock"}));

        // Again under the current name: overwritten without a question.
        list->listView()->setCurrentItem(list->entryAt(0));
        list->doRemove();
        QVERIFY(list->isModified());
        expect([](VRXDialog* d) {
            QCOMPARE(static_cast<VRXInputDialog*>(d)->text(), QStringLiteral("Rock"));
            d->accept();
        });
        list->save();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(contents("Rock"), (tree->path("b.mp3") + "\n" + tree->path("c.mp3")).toUtf8());
        QCOMPARE(names(), QStringLiteral("Rock"));
        QVERIFY(!list->isModified());
    }

    void saveTakenName()
    {
        writeSetting("PlayList", "Names", "Rock|Jazz");
        writePlayList("Jazz", {"a"});
        expect(typeName("Jazz"));
        expect(chooseButton(1)); // Cancel: asked again, proposing the rejected name
        expect([](VRXDialog* d) {
            QCOMPARE(static_cast<VRXInputDialog*>(d)->text(), QStringLiteral("Jazz"));
            d->accept();
        });
        expect(chooseButton(2)); // Overwrite
        list->save();
        QCOMPARE(shown.size(), 4);
        QVERIFY(shown.at(1).contains("Save Playlist ...: Playlist already exists!"));
        QCOMPARE(contents("Jazz").count('\n'), 2);
        QCOMPARE(names(), QStringLiteral("Rock|Jazz"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Jazz"));
    }

    void cancelEndsSave()
    {
        writeSetting("PlayList", "Names", "Old");
        writeSetting("PlayList", "PlayListName", "Old");
        PlayList named(nullptr, control.get());
        named.setLibrary(library.get());
        QCOMPARE(named.currentPlayListName(), QStringLiteral("Old"));
        named.addAll();
        expect(cancelDialog()); // the proposal "Old" is not saved on Cancel
        named.save();
        QCOMPARE(contents("Old"), QByteArray("<missing>"));
        QVERIFY(named.isModified());
        // A taken name, then Cancel at the question, then Cancel at the input: nothing saved.
        writePlayList("Jazz", {"a"});
        writeSetting("PlayList", "Names", "Old|Jazz");
        expect(typeName("Jazz"));
        expect(chooseButton(1));
        expect(cancelDialog());
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
        QCOMPARE(sanitiseName(typed), stored);
        expect(typeName(typed));
        list->save();
        if (stored.isEmpty()) { // nothing left of the name: as if cancelled
            QVERIFY(names().isEmpty());
            QVERIFY(list->isModified());
            QCOMPARE(QDir(QFileInfo(dataFile("x")).absolutePath()).entryList(QDir::Files), QStringList());
            return;
        }
        QCOMPARE(names(), stored);
        QCOMPARE(list->currentPlayListName(), stored);
        QVERIFY(QFileInfo::exists(dataFile(stored)));
    }

    void saveFailureIsReported()
    {
        QDir().mkpath(dataFile("Blocked")); // a folder where the file should go
        expect(typeName("Blocked"));
        expect(chooseButton(1));
        list->save();
        QVERIFY(shown.at(1).contains("Save failed!"));
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
        expect(typeName("One"));
        list->save();
        writePlayList("Other", {"c", "a"});
        list->listView()->setCurrentItem(list->entryAt(0));
        list->doRemove();
        expect(chooseButton(button));
        if (button == 2)
            expect(cancelDialog()); // the save's name input, proposing "One"; see below
        shown.clear();
        if (button == 2) {
            answers.back() = [](VRXDialog* d) {
                QCOMPARE(static_cast<VRXInputDialog*>(d)->text(), QStringLiteral("One"));
                d->accept();
            };
        }
        list->loadPlayList("Other");
        QCOMPARE(shown.at(0), QStringLiteral("VRXMessageBox: Load Playlist ...: Playlist One is modified!\n"
                                             "Would you like to save it?"));
        QCOMPARE(contents("One").count('\n'), button == 2 ? 1 : 2);
        QCOMPARE(titles(), QStringList({"c", "a"}));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Other"));
        QVERIFY(!list->isModified());
        // Not modified now: loading asks nothing.
        list->loadPlayList("One");
        QCOMPARE(shown.size(), button == 2 ? 2 : 1);
    }

    void loadSkipsDeletedFiles()
    {
        writePlayList("Three", {"a", "b", "c"});
        QFile::remove(tree->path("b.mp3"));
        library->setCatalogue(Catalogue()); // b's record is gone with the library
        list->loadPlayList("Three");
        QCOMPARE(titles(), QStringList({"a", "c"})); // read from the files themselves
        QCOMPARE(list->entryAt(0)->index(), 0);
        QCOMPARE(list->entryAt(1)->index(), 1);
        QCOMPARE(list->listView()->currentItem(), list->entryAt(0));
        // An unreadable playlist file loads as an empty list under its name.
        list->loadPlayList("Nothing");
        QVERIFY(list->isEmpty());
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Nothing"));
    }

    void loadThroughDialog()
    {
        writeSetting("PlayList", "Names", "First|Second");
        writePlayList("First", {"a"});
        writePlayList("Second", {"b", "c"});
        expect([](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Load Playlist"));
            QCOMPARE(dlg->items(), QStringList({"First", "Second"}));
            QVERIFY(!dlg->findChild<VRXPushButton*>("btnNew")->isHidden());
            QVERIFY(dlg->findChild<QWidget*>("renameGroup")->isHidden());
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(1));
            dlg->doNew();
        });
        list->load();
        QCOMPARE(titles(), QStringList({"b", "c"}));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Second"));
        // Closing without "Open" loads nothing.
        expect(cancelDialog());
        list->load();
        QCOMPARE(list->currentPlayListName(), QStringLiteral("Second"));
    }

    void organizeReorders()
    {
        writeSetting("PlayList", "Names", "a|b|c");
        expect([](VRXDialog* d) {
            auto* dlg = qobject_cast<CustomListDialog*>(d);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Organize Playlists"));
            QVERIFY(dlg->findChild<VRXPushButton*>("btnNew")->isHidden());
            dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(2));
            dlg->doUp();
            QCOMPARE(dlg->currentText(), QStringLiteral("c"));
            dlg->accept(); // even an accepted organiser never loads
        });
        list->organize();
        QCOMPARE(names(), QStringLiteral("a|c|b"));
        QVERIFY(list->currentPlayListName().isEmpty());
    }

    void renameCases()
    {
        writeSetting("PlayList", "Names", "a|b|ghost");
        writePlayList("a", {"a"});
        writePlayList("b", {"b"});
        expect(typeName("a"));
        expect(chooseButton(2));
        list->save(); // current playlist "a"
        auto renameRow = [](int row) {
            return [row](VRXDialog* d) {
                auto* dlg = qobject_cast<CustomListDialog*>(d);
                dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(row));
                dlg->doRename();
                d->accept();
            };
        };
        // Onto an existing name: refused, the old name stays.
        expect(renameRow(0));
        expect(rename("b"));
        expect(chooseButton(1));
        list->organize();
        QVERIFY(shown.last().contains("Rename Playlist ...: Playlist already exists!"));
        QCOMPARE(names(), QStringLiteral("a|b|ghost"));
        QVERIFY(QFileInfo::exists(dataFile("a")));
        // A name without a file cannot be renamed.
        expect(renameRow(2));
        expect(rename("real"));
        expect(chooseButton(1));
        list->organize();
        QVERIFY(shown.last().contains("Rename failed!"));
        QCOMPARE(names(), QStringLiteral("a|b|ghost"));
        // Renaming the current playlist follows it.
        expect(renameRow(0));
        expect(rename("x/y"));
        list->organize();
        QCOMPARE(names(), QStringLiteral("xy|b|ghost"));
        QCOMPARE(list->currentPlayListName(), QStringLiteral("xy"));
        QVERIFY(!QFileInfo::exists(dataFile("a")));
        expect([](VRXDialog* d) {
            QCOMPARE(static_cast<VRXInputDialog*>(d)->text(), QStringLiteral("xy"));
            d->accept();
        });
        list->save();
        QCOMPARE(contents("xy").count('\n'), 2);
        // Cancelled and unchanged renames do nothing.
        expect(renameRow(0));
        expect(cancelDialog());
        expect(renameRow(0));
        expect(rename("xy"));
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("xy|b|ghost"));
    }

    void deleteCases()
    {
        expect(typeName("a"));
        list->save();
        writePlayList("b", {"b"});
        writeSetting("PlayList", "Names", "a|b|nofile");
        list->listView()->setCurrentItem(list->entryAt(0));
        list->doRemove(); // modified
        auto removeRow = [](int row) {
            return [row](VRXDialog* d) {
                auto* dlg = qobject_cast<CustomListDialog*>(d);
                dlg->listView()->setCurrentItem(dlg->listView()->itemAtRow(row));
                dlg->doRemove();
                d->reject();
            };
        };
        expect(removeRow(1));
        expect(chooseButton(2)); // Cancel
        list->organize();
        QVERIFY(shown.last().contains("Are you sure you want to delete\nPlaylist :b?"));
        QCOMPARE(names(), QStringLiteral("a|b|nofile"));
        QVERIFY(QFileInfo::exists(dataFile("b")));
        expect(removeRow(0));
        expect(chooseButton(1)); // Ok
        expect(removeRow(1));    // "nofile": removed although it has no file
        expect(chooseButton(1));
        list->organize();
        list->organize();
        QCOMPARE(names(), QStringLiteral("b"));
        QVERIFY(!QFileInfo::exists(dataFile("a")));
        QVERIFY(list->currentPlayListName().isEmpty());
        QVERIFY(!list->isModified());
    }

    void listDialog()
    {
        CustomListDialog dlg({"b", "B", "a", "c"}, "PlayList|PlayList", "file_audio", false);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Edit PlayList"));
        QCOMPARE(dlg.currentText(), QStringLiteral("b"));
        QCOMPARE(dlg.listView()->itemAtRow(3)->key(0), QStringLiteral("003"));
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

    void dataFiles()
    {
        // Reading falls back to the installed copy; writing always goes to the user's file.
        const QString shipped = qpeDir.path() + "/etc/Quavrix/PlayList_Shipped";
        QDir().mkpath(QFileInfo(shipped).absolutePath());
        QFile f(shipped);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("/music/one.mp3\r\n\n/music/two.mp3\n");
        f.close();
        QCOMPARE(dataFilePath("PlayList_Shipped", false), shipped);
        QVERIFY(dataFilePath("PlayList_Shipped", true) != shipped);
        QCOMPARE(readStringList("PlayList_Shipped"), QStringList({"/music/one.mp3", "/music/two.mp3"}));
        QVERIFY(writeStringList("PlayList_Shipped", {QString::fromUtf8("/m\xc3\xbcsic/x.mp3")}));
        QCOMPARE(dataFilePath("PlayList_Shipped", false), dataFilePath("PlayList_Shipped", true));
        QCOMPARE(readStringList("PlayList_Shipped"), QStringList({QString::fromUtf8("/m\xc3\xbcsic/x.mp3")}));
        QCOMPARE(contents("Shipped"), QByteArray("/m\xc3\xbcsic/x.mp3"));
        QVERIFY(readStringList("PlayList_None").isEmpty());
        QVERIFY(writeStringList("PlayList_Empty", {}));
        QCOMPARE(contents("Empty"), QByteArray());
        QVERIFY(dataFilePath("x", true).contains("/QuavrixData/"));
    }
};

QUAVRIX_TEST_MAIN(TestNamedPlayLists)
#include "tst_namedplaylists.moc"
