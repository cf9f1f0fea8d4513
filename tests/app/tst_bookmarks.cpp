// Bookmarks: the data file's exact bytes, damaged files, the menu, adding and the organiser.
#include "testmain.h"
#include "../library/libraryfixture.h"

#include "bookamrks.h"
#include "bookmarkdialog.h"
#include "vrxlistview.h"

#include <QMenu>
#include <QPushButton>

namespace {

QByteArray be32(quint32 v)
{
    return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0'));
}

// A string as the file stores it: byte length, then UTF-16 big-endian (here ASCII only).
QByteArray str(const QByteArray& s)
{
    QByteArray b = be32(quint32(s.size() * 2));
    for (char c : s)
        b += QByteArray(1, '\0') + c;
    return b;
}

QByteArray record(const QByteArray& name, const QByteArray& file, qint32 pos)
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

} // namespace

class TestBookmarks : public QObject
{
    Q_OBJECT
    std::unique_ptr<DialogScript> script;

private slots:
    void init()
    {
        script = std::make_unique<DialogScript>();
        QFile::remove(Bookamrks::filePath());
        QFile::remove(Bookamrks::filePath() + QStringLiteral(".damaged"));
    }
    void cleanup() { script.reset(); }

    void fileBytesForAKnownList()
    {
        QList<Bookmark> list{{QStringLiteral("Ab"), QStringLiteral("/m/é.mp3"), 83},
                             {QString(), QStringLiteral(""), 0}};
        // Count, then per record: name, file (byte length, UTF-16 big-endian; null: -1), seconds.
        const QByteArray expected = QByteArray::fromHex("00000002" "00000004" "00410062" "00000010"
                                                        "002f006d002f00e9002e006d00700033" "00000053"
                                                        "ffffffff" "00000000" "00000000");
        QCOMPARE(BookmarkFile::serialise(list), expected);
        QCOMPARE(BookmarkFile::serialise({}), QByteArray::fromHex("00000000"));
        QCOMPARE(Bookamrks().count(), 0); // no file yet
        // And the store writes the same bytes and reads them back.
        {
            Bookamrks store;
            *store.list() = list;
            QVERIFY(store.saveBookmarks());
        }
        QCOMPARE(readBytes(qEnvironmentVariable("XDG_DATA_HOME") + "/QuavrixData/bookmarks"), expected);
        Bookamrks again;
        QCOMPARE(again.count(), 2);
        QCOMPARE(again.at(0)->file + QString::number(again.at(0)->position), QStringLiteral("/m/é.mp383"));
        QVERIFY(again.at(1)->name.isNull() && !again.at(2) && !again.at(-1));
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
        QFile f(Bookamrks::filePath());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        Bookamrks store;
        QCOMPARE(names(*store.list()), kept);
        // The damaged file is set aside, not overwritten; the whole records are the new file.
        const QString aside = Bookamrks::filePath() + QStringLiteral(".damaged");
        QCOMPARE(readBytes(aside), bytes);
        QList<Bookmark> reread;
        QVERIFY(BookmarkFile::parse(readBytes(Bookamrks::filePath()), &reread));
        QCOMPARE(names(reread), kept);
    }

    void failedWriteKeepsTheList()
    {
        Bookamrks store;
        // A folder where the file should be: no write can succeed, even as root.
        QVERIFY(QDir().mkpath(Bookamrks::filePath()));
        store.append(QStringLiteral("b"), QStringLiteral("/b.mp3"), 2);
        QVERIFY(!store.saveBookmarks() && QDir().rmdir(Bookamrks::filePath()));
        QVERIFY(store.saveBookmarks());
        QCOMPARE(Bookamrks().count(), 1);
    }

    // Ids: 0 add (only while a track is in hand), 1 organise, 2 + n the first seven bookmarks.
    void menuShowsTheFirstSevenWithTheirIds()
    {
        Bookamrks store;
        QMenu menu;
        store.fillMenu(&menu, false);
        auto shown = [&] {
            QStringList out;
            for (QAction* a : menu.actions())
                out << (a->isSeparator() ? "-" : QString("%1%2").arg(a->data().toInt()).arg(a->isEnabled() ? "" : "x"));
            return out;
        };
        QCOMPARE(shown(), QStringList({"0x", "1x"}));
        for (int i = 0; i < 10; ++i)
            store.append(QStringLiteral("b%1").arg(i), QStringLiteral("/f.mp3"), i);
        store.fillMenu(&menu, true);
        QCOMPARE(shown(), QStringList({"0", "1", "-", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(menu.actions().at(9)->text(), QStringLiteral("b6"));
    }

    void organiserCancelKeepsMovesAndRemovals()
    {
        QList<Bookmark> list;
        for (const char* n : {"a", "b", "c", "d"})
            list.append({QString::fromLatin1(n), QStringLiteral("/%1.mp3").arg(n), 1});
        BookmarkDialog dlg(&list);
        auto* lv = dlg.findChild<VRXListView*>(QStringLiteral("list"));
        lv->setCurrentItem(lv->itemAtRow(2)); // c
        dlg.doUp();
        dlg.doUp();
        dlg.doUp(); // c a b d: nothing above the top
        QVERIFY(!dlg.findChild<QPushButton*>(QStringLiteral("btnUp"))->isEnabled());
        lv->setCurrentItem(lv->itemAtRow(3));
        dlg.doDown(); // nothing below the bottom
        *script << QStringList{"button 2", "button 1"}; // Cancel the deletion, then Ok
        dlg.doRemove();
        dlg.doRemove(); // c a b
        lv->setCurrentItem(lv->itemAtRow(1));
        *script << QStringList{"rename A!", "rename "}; // an empty name keeps the old one
        dlg.doRename();
        dlg.doRename();
        dlg.reject();
        dlg.applyOrder();
        QCOMPARE(names(list), QStringList({"c", "A!", "b"}));
        QCOMPARE(list.at(1).file, QStringLiteral("/a.mp3"));
        QVERIFY(!dlg.selectedBookmark());
        // Go picks the current record.
        lv->setCurrentItem(lv->itemAtRow(2));
        dlg.doGo();
        QCOMPARE(dlg.selectedBookmark() ? dlg.selectedBookmark()->file : QString(), QStringLiteral("/b.mp3"));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

QUAVRIX_TEST_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
