// Bookmarks: the data file's exact bytes, damaged files, the menu, adding and the organiser.
#include "testmain.h"

#include "bookamrks.h"
#include "bookmarkdialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxrenamedialog.h"

#include <QMenu>
#include <QPushButton>

#include <deque>
#include <functional>

namespace {

QByteArray be32(quint32 v)
{
    QByteArray b(4, 0);
    qToBigEndian(v, b.data());
    return b;
}

// A string as the file stores it: byte length, then UTF-16 big-endian.
QByteArray str(const QString& s)
{
    if (s.isNull())
        return be32(0xffffffffu);
    QByteArray b = be32(quint32(s.size() * 2));
    for (QChar c : s) {
        b.append(char(c.unicode() >> 8));
        b.append(char(c.unicode() & 0xff));
    }
    return b;
}

QByteArray record(const QString& name, const QString& file, qint32 pos)
{
    return str(name) + str(file) + be32(quint32(pos));
}

QStringList names(const QList<Bookmark>& list)
{
    QStringList out;
    for (const Bookmark& b : list)
        out << b.name;
    return out;
}

void writeFile(const QByteArray& bytes)
{
    QFile f(Bookamrks::filePath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestBookmarks : public QObject
{
    Q_OBJECT

    using Answer = std::function<void(VRXDialog*)>;
    std::deque<Answer> answers;
    std::unique_ptr<VRXDialogAnswer> hook;

private slots:
    void initTestCase()
    {
        hook = std::make_unique<VRXDialogAnswer>([this](VRXDialog* d) {
            QVERIFY2(!answers.empty(), qPrintable(QStringLiteral("unexpected dialog ") + d->windowTitle()));
            Answer a = std::move(answers.front());
            answers.pop_front();
            a(d);
        });
    }

    void init()
    {
        answers.clear();
        QFile::remove(Bookamrks::filePath());
        QFile::remove(Bookamrks::filePath() + QStringLiteral(".damaged"));
    }

    void cleanup() { QVERIFY2(answers.empty(), "an expected dialog did not appear"); }

    void fileBytesForAKnownList()
    {
        QList<Bookmark> list{{QStringLiteral("Ab"), QStringLiteral("/m/é.mp3"), 83},
                             {QString(), QStringLiteral(""), 0}};
        const QByteArray expected = QByteArray::fromHex("00000002"
                                                        "00000004" "00410062"
                                                        "00000010" "002f006d002f00e9002e006d00700033"
                                                        "00000053"
                                                        "ffffffff"
                                                        "00000000"
                                                        "00000000");
        QCOMPARE(BookmarkFile::serialise(list), expected);
        QCOMPARE(BookmarkFile::serialise({}), QByteArray::fromHex("00000000"));
        QCOMPARE(Bookamrks().count(), 0); // no file yet
        // And the store writes the same bytes and reads them back.
        {
            Bookamrks store;
            *store.list() = list;
            QVERIFY(store.saveBookmarks());
        }
        QCOMPARE(readFile(Bookamrks::filePath()), expected);
        Bookamrks again;
        QCOMPARE(again.count(), 2);
        QCOMPARE(again.at(0)->file, QStringLiteral("/m/é.mp3"));
        QCOMPARE(again.at(0)->position, 83);
        QVERIFY(again.at(1)->name.isNull());
        QVERIFY(!again.at(2));
        QVERIFY(!again.at(-1));
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("kept");
        const QByteArray a = record("a", "/a.mp3", 1);
        const QByteArray b = record("b", "/b.mp3", 2);
        QTest::newRow("count larger than the records: the whole ones stay")
            << be32(3) + a + b << QStringList{"a", "b"};
        QTest::newRow("huge count, nothing allocated from it") << be32(0x7fffffff) + a << QStringList{"a"};
        QTest::newRow("negative count: nothing") << be32(0xffffffffu) + a << QStringList{};
        QTest::newRow("string length past the end")
            << be32(2) + a + be32(0x7ffffff0) + QByteArray("\0b", 2) << QStringList{"a"};
        QTest::newRow("odd string length") << be32(2) + a + be32(3) + QByteArray("\0b\0", 3) + b
                                           << QStringList{"a"};
        QTest::newRow("negative position") << be32(2) + a + record("b", "/b.mp3", -5) << QStringList{"a"};
        QTest::newRow("record cut in its position") << be32(2) + a + b.left(b.size() - 2)
                                                    << QStringList{"a"};
        QTest::newRow("record cut in its file name") << be32(2) + a + b.left(12) << QStringList{"a"};
        QTest::newRow("bytes after the last record") << be32(1) + a + "junk" << QStringList{"a"};
        QTest::newRow("shorter than a count") << QByteArray("\0\0", 2) << QStringList{};
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, kept);
        writeFile(bytes);
        Bookamrks store;
        QCOMPARE(names(*store.list()), kept);
        // The damaged file is set aside, not overwritten; the whole records are the new file.
        const QString aside = Bookamrks::filePath() + QStringLiteral(".damaged");
        QCOMPARE(readFile(aside), bytes);
        QList<Bookmark> reread;
        QVERIFY(BookmarkFile::parse(readFile(Bookamrks::filePath()), &reread));
        QCOMPARE(names(reread), kept);
    }

    void failedWriteKeepsTheList()
    {
        Bookamrks store;
        store.append(QStringLiteral("a"), QStringLiteral("/a.mp3"), 1);
        // A folder where the file should be: no write can succeed, even as root.
        QFile::remove(Bookamrks::filePath());
        QVERIFY(QDir().mkpath(Bookamrks::filePath()));
        store.append(QStringLiteral("b"), QStringLiteral("/b.mp3"), 2);
        QVERIFY(!store.saveBookmarks());
        QVERIFY(QDir().rmdir(Bookamrks::filePath()));
        QCOMPARE(store.count(), 2);
        QVERIFY(store.saveBookmarks());
        QCOMPARE(Bookamrks().count(), 2);
    }

    void menuShowsTheFirstSevenWithTheirIds()
    {
        Bookamrks store;
        QMenu menu;
        store.fillMenu(&menu, false);
        QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->data().toInt(), 0);
        QVERIFY(!actions[0]->isEnabled()); // stopped
        QCOMPARE(actions[1]->data().toInt(), 1);
        QVERIFY(!actions[1]->isEnabled()); // no bookmark yet

        for (int i = 0; i < 10; ++i)
            store.append(QStringLiteral("b%1").arg(i), QStringLiteral("/f.mp3"), i);
        store.fillMenu(&menu, true);
        actions = menu.actions();
        QCOMPARE(actions.size(), 2 + 1 + 7);
        QVERIFY(actions[0]->isEnabled());
        QVERIFY(actions[1]->isEnabled());
        QVERIFY(actions[2]->isSeparator());
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(actions[3 + i]->text(), QStringLiteral("b%1").arg(i));
            QCOMPARE(actions[3 + i]->data().toInt(), 2 + i);
        }
    }

    void organiserCancelKeepsMovesAndRemovals()
    {
        QList<Bookmark> list;
        for (const char* n : {"a", "b", "c", "d"})
            list.append({QString::fromLatin1(n), QStringLiteral("/%1.mp3").arg(n), 1});
        BookmarkDialog dlg(&list);
        auto* lv = dlg.findChild<VRXListView*>(QStringLiteral("list"));
        auto* up = dlg.findChild<QPushButton*>(QStringLiteral("btnUp"));
        auto* down = dlg.findChild<QPushButton*>(QStringLiteral("btnDown"));
        QCOMPARE(lv->childCount(), 4);
        QVERIFY(!up->isEnabled());
        QVERIFY(down->isEnabled());
        lv->setCurrentItem(lv->itemAtRow(2)); // c
        dlg.doUp();                          // a c b d
        QCOMPARE(lv->currentItem()->text(0), QStringLiteral("c"));
        dlg.doUp(); // c a b d
        QVERIFY(!up->isEnabled());
        dlg.doUp(); // nothing at the top
        lv->setCurrentItem(lv->itemAtRow(3));
        dlg.doDown(); // nothing at the bottom
        answers.push_back([](VRXDialog* d) { d->done(2); }); // Cancel the deletion
        dlg.doRemove();
        answers.push_back([](VRXDialog* d) { d->done(1); }); // Ok
        dlg.doRemove();                                       // c a b
        lv->setCurrentItem(lv->itemAtRow(1));
        answers.push_back([](VRXDialog* d) {
            qobject_cast<VRXRenameDialog*>(d)->setNewText(QStringLiteral("A!"));
            d->accept();
        });
        dlg.doRename();
        answers.push_back([](VRXDialog* d) {
            qobject_cast<VRXRenameDialog*>(d)->setNewText(QString());
            d->accept();
        });
        dlg.doRename(); // an empty name keeps the old one
        dlg.reject();
        dlg.applyOrder();
        QCOMPARE(names(list), QStringList({"c", "A!", "b"}));
        QCOMPARE(list.at(1).file, QStringLiteral("/a.mp3"));
        QVERIFY(!dlg.selectedBookmark());
        // Go picks the current record.
        lv->setCurrentItem(lv->itemAtRow(2));
        dlg.doGo();
        QVERIFY(dlg.selectedBookmark());
        QCOMPARE(dlg.selectedBookmark()->file, QStringLiteral("/b.mp3"));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

QUAVRIX_TEST_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
