#include "testmain.h"

#include "copyremovedialog.h"
#include "libraryfixture.h"
#include "loopcontrol.h"
#include "mediafoldersdialog.h"
#include "screen.h"
#include "settingskeys.h"
#include "vrfiledialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <unistd.h>

// The media search over a temporary tree (folders with and without subfolders, extensions,
// overlapping folders, hidden files, links, documents, cancel) and the media folders dialog.
class TestMediaSearch : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TrackTree> tree;
    std::unique_ptr<TrackTree> docs;
    std::unique_ptr<LoopControl> control;

    void setFolders(const QStringList& items, bool documents)
    {
        Config cfg(applicationName(), Config::User);
        cfg.write(Settings::MediaFolders::Folders, items.join('|'));
        cfg.write(Settings::MediaFolders::Documents, documents);
    }

    // Runs a whole search as the library does and returns the files found, in order.
    QStringList search(int* total = nullptr, int* result = nullptr)
    {
        Catalogue c;
        c.push_back(makeRecord("/stale", "stale")); // the dialog starts from an empty catalogue
        CopyRemoveDialog dlg(&c, control.get());
        const int r = dlg.exec();
        if (total)
            *total = dlg.total();
        if (result)
            *result = r;
        QStringList files;
        for (const auto& rec : c)
            files << fileOf(rec.get());
        return files;
    }

    QStringList relative(const QStringList& files) const
    {
        QStringList out;
        for (const QString& f : files)
            out << (f.startsWith(tree->dir.path()) ? f.mid(tree->dir.path().size() + 1) : f);
        return out;
    }

private slots:
    void initTestCase() { setDecoderFactory(makePatternDecoder); }

    void init()
    {
        TestTrack::reset();
        tree = std::make_unique<TrackTree>();
        docs = std::make_unique<TrackTree>();
        qputenv("QUAVRIX_DOCUMENTS", docs->dir.path().toUtf8());
        control = std::make_unique<LoopControl>();
        MediaFoldersDialog::resetStartFolder();
    }

    void cleanup()
    {
        control.reset();
        tree.reset();
        docs.reset();
    }

    void extensions()
    {
        for (const char* yes : {"a.mp3", "a.MP3", "a.ogg", "a.OGG", "a.m4a", "a.M4A", "a.oga", "a.flac", "a.OPUS", "x.tar.mp3", ".mp3"})
            QVERIFY2(CopyRemoveDialog::isMediaFile(QLatin1String(yes)), yes);
        for (const char* no : {"a.Mp3", "a.aac", "a.Flac", "a.mp4", "mp3", "a.mp3.bak", "a.", "a.Ogg"})
            QVERIFY2(!CopyRemoveDialog::isMediaFile(QLatin1String(no)), no);
    }

    void foldersRecursiveAndNot()
    {
        for (const char* f : {"a/2.mp3", "a/1.ogg", "a/notes.txt", "a/song.Mp3", "a/deep/skipped.mp3", "b/Z.m4a",
                              "b/sub/x.mp3", "b/sub/inner/y.OGG", "b/a.mp3", "b/.hidden.mp3", "b/.dir/in.ogg"})
            tree->make(QLatin1String(f));
        setFolders({"0" + tree->path("a"), "1" + tree->path("b")}, false);
        int total = 0;
        int result = 0;
        const QStringList found = relative(search(&total, &result));
        QCOMPARE(result, int(QDialog::Accepted));
        // Name order ignoring case, files and folders together, depth first; hidden ones too.
        QCOMPARE(found, QStringList({"a/1.ogg", "a/2.mp3", "b/.dir/in.ogg", "b/.hidden.mp3", "b/a.mp3",
                                     "b/sub/inner/y.OGG", "b/sub/x.mp3", "b/Z.m4a"}));
        QCOMPARE(total, 4 + 6); // every file counts, taken or not
    }

    void nothingToSearch()
    {
        tree->make("m/a.mp3");
        int total = -1;
        // No folders, an empty flag-only item, a missing folder, an unreadable file.
        for (const QStringList& folders : {QStringList(), QStringList({"1", "0" + tree->path("missing")})}) {
            setFolders(folders, false);
            QVERIFY(search(&total).isEmpty());
            QCOMPARE(total, 0);
        }
        setFolders({"0" + tree->path("m")}, false);
        TestTrack::failOpen = true;
        QVERIFY(search(&total).isEmpty());
        QCOMPARE(total, 1);
    }

    void overlappingFoldersGiveTwoRecords()
    {
        tree->make("top/inner/song.mp3");
        setFolders({"1" + tree->path("top"), "0" + tree->path("top/inner")}, false);
        QCOMPARE(relative(search()), QStringList({"top/inner/song.mp3", "top/inner/song.mp3"}));
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
        const QStringList found = relative(search(&total));
        QCOMPARE(found, QStringList({"loop/song.mp3", "loop/to-other/linked.mp3"}));
        QCOMPARE(total, 2);
    }

    void unreadableFolder()
    {
        if (geteuid() == 0)
            QSKIP("permissions do not stop root");
        tree->make("locked/a.mp3");
        tree->make("open/b.mp3");
        QFile::setPermissions(tree->path("locked"), QFileDevice::WriteOwner);
        setFolders({"1" + tree->path("locked"), "1" + tree->path("open")}, false);
        QCOMPARE(relative(search()), QStringList({"open/b.mp3"}));
        QFile::setPermissions(tree->path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void documentsComeLast()
    {
        tree->make("m/a.mp3");
        const QString d1 = docs->make("doc one.ogg", makeTags("Doc"));
        const QString d2 = docs->make("sub/two.MP3");
        docs->make("sub/not-audio.txt");
        setFolders({"0" + tree->path("m")}, true);
        int total = 0;
        const QStringList found = search(&total);
        QCOMPARE(found, QStringList({tree->path("m/a.mp3"), d1, d2}));
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
        QVERIFY(search().isEmpty());
    }

    void cancelKeepsPartialCatalogue()
    {
        for (int i = 0; i < 10; ++i)
            tree->make(QStringLiteral("m/%1.mp3").arg(i));
        setFolders({"1" + tree->path("m")}, true);
        docs->make("d.mp3");
        Catalogue c;
        CopyRemoveDialog dlg(&c, control.get());
        int doneWhenCancelled = -1;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, &dlg, [&] {
            // Press Cancel once four files have been read.
            if (doneWhenCancelled < 0 && c.size() == 4) {
                doneWhenCancelled = dlg.filesDone();
                dlg.findChild<VRXPushButton*>("btnCancel")->click();
            }
        });
        poll.start();
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QVERIFY(dlg.isCancelled());
        QCOMPARE(c.size(), size_t(4)); // stops after the file in hand
        QCOMPARE(fileOf(c.back().get()), tree->path("m/3.mp3"));
        QCOMPARE(dlg.total(), 11);
        QCOMPARE(dlg.findChild<QProgressBar*>("progress")->maximum(), 11);
    }

    // Escape and closing the window stop the search as Cancel does, after the file in
    // hand, instead of hiding the dialog while the search runs on to a reported success.
    void escapeAndCloseCancel_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("window closed") << false;
    }
    void escapeAndCloseCancel()
    {
        QFETCH(bool, escape);
        for (int i = 0; i < 10; ++i)
            tree->make(QStringLiteral("m/%1.mp3").arg(i));
        setFolders({"1" + tree->path("m")}, false);
        Catalogue c;
        CopyRemoveDialog dlg(&c, control.get());
        bool sent = false;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, &dlg, [&] {
            if (!sent && c.size() == 4) {
                sent = true;
                if (escape)
                    QTest::keyClick(&dlg, Qt::Key_Escape);
                else
                    dlg.close();
            }
        });
        poll.start();
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QVERIFY(dlg.isCancelled());
        QCOMPARE(c.size(), size_t(4));
        QVERIFY(!dlg.isVisible());
    }

    void dialogLooks()
    {
        setDisplaySize(QSize(240, 320));
        Catalogue c;
        CopyRemoveDialog dlg(&c, control.get());
        QCOMPARE(dlg.width(), 220); // fits the small display
        tree->make("with space/a b.mp3");
        setFolders({"0" + tree->path("with space")}, false);
        dlg.countingPass();
        QCOMPARE(dlg.findChild<QLabel*>("text")->text(), QStringLiteral("Searching for Files ..."));
        QVERIFY(dlg.findChild<QLabel*>("iSource")->text().contains("with_space"));
        dlg.readingPass();
        QCOMPARE(dlg.findChild<QLabel*>("text")->text(), QStringLiteral("Sorting ..."));
        setDisplaySize(QSize(480, 640));
    }

    void foldersDialog()
    {
        const QString a = tree->folder("a");
        const QString b = tree->folder("b");
        const QString chosen = tree->folder("pick/chosen");
        tree->folder("x|y");
        setFolders({"0" + a, "1" + b}, false);
        // The chooser picks `pick`, or is cancelled when it is empty.
        QString pick = "chosen";
        int errors = 0;
        VRXDialogAnswer answer([&](VRXDialog* d) {
            if (pick.isEmpty())
                return d->reject();
            if (auto* fd = qobject_cast<VRFileDialog*>(d)) {
                fd->setDirectory(QFileInfo(pick == "chosen" ? chosen : tree->path("x|y")).path());
                fd->selectName(pick);
                fd->accept();
            } else {
                ++errors;
                QVERIFY(qobject_cast<VRXMessageBox*>(d));
                d->done(1);
            }
        });
        {
            MediaFoldersDialog dlg;
            auto* rec = dlg.findChild<QCheckBox*>("rec");
            auto* list = dlg.findChild<VRXListView*>("list");
            QCOMPARE(list->currentItem(), list->itemAtRow(0));
            QCOMPARE(dlg.findChild<QLabel*>("folderPath")->text(), a);
            QVERIFY(!rec->isChecked());
            list->setCurrentItem(list->itemAtRow(1));
            QVERIFY(rec->isChecked());
            // Added with flag "0", the chosen folder remembered; the check box sets the flag.
            dlg.findChild<VRXPushButton*>("btnNew")->click();
            QCOMPARE(dlg.folderItems(), QStringList({"0" + a, "1" + b, "0" + chosen}));
            QCOMPARE(readSetting("MediaFolders", "startWith"), chosen);
            QVERIFY(!rec->isChecked());
            rec->click();
            dlg.findChild<QCheckBox*>("processDoc")->setChecked(true);
            list->setCurrentItem(list->itemAtRow(0));
            dlg.findChild<VRXPushButton*>("btnRemove")->click();
            QVERIFY(list->currentItem());
            // A path with "|" is refused with a message.
            pick = "x|y";
            dlg.doNew();
            QCOMPARE(errors, 1);
        }
        // Written when the dialog goes away.
        QCOMPARE(readSetting("MediaFolders", "folders"), "1" + b + "|1" + chosen);
        QVERIFY(Config(applicationName(), Config::User).read(Settings::MediaFolders::Documents));

        setFolders({}, true);
        MediaFoldersDialog empty;
        QVERIFY(!empty.findChild<VRXPushButton*>("btnRemove")->isEnabled());
        QVERIFY(!empty.findChild<QCheckBox*>("rec")->isEnabled());
        QVERIFY(empty.findChild<QLabel*>("folderIcon")->isHidden());
        QVERIFY(empty.findChild<QCheckBox*>("processDoc")->isChecked());
        pick.clear();
        empty.doNew();
        QVERIFY(empty.folderItems().isEmpty());
    }
};

QUAVRIX_TEST_MAIN(TestMediaSearch)
#include "tst_mediasearch.moc"
