#include "testmain.h"

#include "copyremovedialog.h"
#include "libraryfixture.h"
#include "mediafoldersdialog.h"
#include "settingskeys.h"
#include "vrfiledialog.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>

#include <sys/stat.h>

// The media search over a temporary tree: folders with and without subfolders, extensions,
// overlapping folders, hidden files, links, FIFOs, documents, cancel.
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
        tree = std::make_unique<TrackTree>();
        docs = std::make_unique<TrackTree>();
        qputenv("QUAVRIX_DOCUMENTS", docs->dir.path().toUtf8());
        control = std::make_unique<LoopControl>();
    }

    void cleanup()
    {
        control.reset();
        tree.reset();
        docs.reset();
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

QUAVRIX_TEST_MAIN(TestMediaSearch)
#include "tst_mediasearch.moc"
