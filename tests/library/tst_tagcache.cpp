#include "testmain.h"

#include "copyremovedialog.h"
#include "libraryfixture.h"
#include "settingskeys.h"
#include "tagcache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <thread>

// The tag cache: a search with it gives the catalogue a search without it gives, on a tree
// of real files from the fixtures, through changes, removals, and damaged cache files.
namespace {

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray fixture(const QByteArray& name)
{
    return readBytes(QStringLiteral(QUAVRIX_TEST_DATA "/") + QString::fromUtf8(name));
}

QByteArray id3v1(const QByteArray& title, int track)
{
    QByteArray tag(128, '\0');
    tag.replace(0, 3, "TAG");
    tag.replace(3, int(title.size()), title);
    tag.replace(33, 13, "Caf\xc3\xa9 M\xc3\xbcller");
    tag.replace(93, 4, "1999");
    tag[126] = char(track);
    return tag;
}

// Every byte of every record, file name included, in the order the search found them.
QByteArray image(const Catalogue& c)
{
    QByteArray out;
    for (const auto& r : c)
        out += r->fileNameBytes() + '\n' + r->title.bytes() + '\0' + r->artist.bytes() + '\0' + r->album.bytes() + '\0'
            + QByteArray::number(r->year) + ' ' + QByteArray::number(r->track) + ' ' + QByteArray::number(r->isUtf8) + '\n';
    return out;
}

} // namespace

class TestTagCache : public QObject
{
    Q_OBJECT

    QTemporaryDir tree;
    QString cacheFile;

    QString path(const QString& rel) const { return tree.path() + QLatin1Char('/') + rel; }

    // The image of a search's catalogue; with the cache, loaded from its file and saved
    // back afterwards.
    QByteArray scan(bool withCache, bool* loaded = nullptr)
    {
        LoopControl control;
        Catalogue c;
        TagCache cache(cacheFile);
        const bool ok = withCache && cache.load();
        if (loaded)
            *loaded = ok;
        CopyRemoveDialog dlg(&c, &control);
        dlg.setTagCache(withCache ? &cache : nullptr);
        dlg.countingPass();
        dlg.readingPass();
        if (withCache && !cache.save())
            qFatal("cache not saved");
        return image(c);
    }

    int entriesInCacheFile()
    {
        TagCache cache(cacheFile);
        return cache.load() ? cache.size() : -1;
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(nullptr);
        cacheFile = quavrixTestRoot() + QStringLiteral("/tagcache");
        // Real files as taggers and encoders write them, some of them copies with other tags.
        const QByteArray mp3 = fixture("mp3/mono64.mp3");
        for (int i = 0; i < 12; ++i)
            writeAll(path(QStringLiteral("mp3/%1 Track Name.mp3").arg(i, 2, 10, QLatin1Char('0'))),
                     mp3 + id3v1("TITLE " + QByteArray::number(i), i));
        writeAll(path("mp3/untagged 07.mp3"), mp3);
        // ogg/garbage.ogg gives no record.
        for (const char* f : {"mp3/tagged-v1.mp3", "mp3/tagged-v2.mp3", "ogg/stereo.ogg", "ogg/sub/upper-case.ogg",
                              "ogg/long-utf8.ogg", "ogg/garbage.ogg", "mp4/stereo-tagged.m4a", "mp4/mono.m4a"})
            writeAll(path(f), fixture(QByteArray(f).replace("sub/", "")));
        Config cfg(applicationName(), Config::User);
        cfg.write(Settings::MediaFolders::Folders, QStringLiteral("1") + tree.path());
        cfg.write(Settings::MediaFolders::Documents, false);
    }

    // Between two searches a file changes: the cache must not give its old record.
    void whatInvalidatesAnEntry_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("entries");
        QTest::newRow("tag rewritten at the same size, old modification time put back") << "same time" << 21;
        QTest::newRow("tag rewritten at the same size, later") << "later" << 21;
        QTest::newRow("file grown") << "grown" << 21;
        QTest::newRow("file removed: its entry dropped") << "removed" << 20;
        QTest::newRow("file added") << "added" << 22;
    }
    void whatInvalidatesAnEntry()
    {
        QFETCH(QString, change);
        QFETCH(int, entries);
        const QString file = path("mp3/03 Track Name.mp3");
        const QByteArray original = readBytes(file);
        QFile::remove(cacheFile);
        bool loaded = true;
        scan(true, &loaded); // no cache yet: every file read
        QVERIFY(!loaded);
        struct stat before;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &before), 0);
        QByteArray bytes = original;
        bytes.replace(bytes.size() - 128, 128, id3v1("EDITED TITLE", 3));
        if (change == "grown")
            bytes += id3v1("GROWN", 3);
        if (change == "removed")
            QVERIFY(QFile::remove(file));
        else if (change == "added")
            writeAll(path("mp3/new.mp3"), bytes);
        else
            writeAll(file, bytes);
        if (change == "same time") {
            // Only the inode change time tells this version from the old one; it moves at
            // the clock's tick, so the times are put back until it has.
            const decltype(before.st_mtim) times[2] = {before.st_atim, before.st_mtim};
            struct stat after;
            for (int i = 0; i < 200; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
                QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
                QCOMPARE(::stat(QFile::encodeName(file).constData(), &after), 0);
                if (after.st_ctim.tv_nsec != before.st_ctim.tv_nsec || after.st_ctim.tv_sec != before.st_ctim.tv_sec)
                    break;
            }
            QVERIFY(after.st_mtim.tv_nsec == before.st_mtim.tv_nsec && after.st_size == before.st_size);
        } else if (change == "later") {
            const decltype(before.st_mtim) times[2] = {before.st_atim, {before.st_mtim.tv_sec + 10, before.st_mtim.tv_nsec}};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
        }
        const QByteArray direct = scan(false);
        QCOMPARE(direct.count("\n") / 2, entries - 1); // every file but the garbage one
        QCOMPARE(scan(true), direct);
        QCOMPARE(entriesInCacheFile(), entries); // the file without a record is remembered too
        QCOMPARE(direct.contains(change == "grown" ? "Grown" : "Edited Title"), change != "removed");
        // With a full cache no file is read at all: decoders that fail change nothing.
        setDecoderFactory(makePatternDecoder);
        TestTrack::failOpen = true;
        QCOMPARE(scan(true, &loaded), direct);
        QVERIFY(loaded);
        TestTrack::failOpen = false;
        setDecoderFactory(nullptr);
        writeAll(file, original);
        QFile::remove(path("mp3/new.mp3"));
    }

    void aDamagedOrForeignCacheIsIgnoredAndRebuilt_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QFile::remove(cacheFile);
        scan(true);
        const QByteArray good = readBytes(cacheFile);
        QByteArray flipped = good, later = good;
        flipped[good.size() / 2] = char(good[good.size() / 2] ^ 0x20);
        later[8] = char(good[8] + 1);
        QTest::newRow("a byte flipped in an entry") << flipped;
        QTest::newRow("cut short") << good.chopped(100);
        QTest::newRow("another program's file") << QByteArray("[General]\nkey=value\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a later version") << later;
    }
    void aDamagedOrForeignCacheIsIgnoredAndRebuilt()
    {
        QFETCH(QByteArray, bytes);
        const QByteArray direct = scan(false);
        writeAll(cacheFile, bytes);
        bool loaded = true;
        QCOMPARE(scan(true, &loaded), direct);
        QVERIFY(!loaded);
        QCOMPARE(entriesInCacheFile(), 21);
    }

    void liesWithASoundChecksumAreRefused_data()
    {
        QTest::addColumn<int>("at"); // offset from the start of the entry
        QTest::addColumn<QByteArray>("value");
        // The entry is "/a" with a record whose title is "T": path length at 0, the path at
        // 2, stamps at 4, flags at 28, title length at 29.
        QTest::newRow("count larger than the entries") << -4 << QByteArray("\x05\x00\x00\x00", 4);
        QTest::newRow("count smaller: bytes left over") << -4 << QByteArray("\x00\x00\x00\x00", 4);
        QTest::newRow("path length past the end") << 0 << QByteArray("\xff\x0f", 2);
        QTest::newRow("empty path") << 0 << QByteArray("\x00\x00", 2);
        QTest::newRow("unknown flags") << 28 << QByteArray("\x09");
        QTest::newRow("title longer than a field") << 29 << QByteArray("\x01\x04", 2);
        QTest::newRow("title holding a NUL") << 31 << QByteArray("\x00", 1);
    }
    void liesWithASoundChecksumAreRefused()
    {
        QFETCH(int, at);
        QFETCH(QByteArray, value);
        TagCache cache(QStringLiteral("/nonexistent"));
        AudioInfo r = makeTags("T", "A", "B", 2000, 3, true);
        cache.store("/a", TagCache::Stamp{10, 20, 30}, &r);
        QByteArray bytes = cache.toBytes(false);
        QVERIFY(cache.fromBytes(bytes));
        AudioInfo out;
        QCOMPARE(cache.find("/a", TagCache::Stamp{10, 20, 30}, &out), TagCache::Found::Record);
        QCOMPARE(QByteArray(out.title) + out.artist + out.album, QByteArray("TAB"));
        QCOMPARE(out.year * 100 + out.track + out.isUtf8 * 10, 200013);
        for (const TagCache::Stamp other : {TagCache::Stamp{11, 20, 30}, {10, 21, 30}, {10, 20, 31}})
            QCOMPARE(cache.find("/a", other, &out), TagCache::Found::Nothing);
        cache.store("/b", TagCache::Stamp{1, 2, 3}, nullptr);
        QCOMPARE(cache.find("/b", TagCache::Stamp{1, 2, 3}, &out), TagCache::Found::NoRecord);

        bytes.chop(8);
        const int entry = 16; // after the magic, the version and the count
        QCOMPARE(bytes.mid(entry, 4), QByteArray("\x02\x00/a", 4));
        bytes.replace(entry + at, int(value.size()), value);
        uint64_t h = 0xcbf29ce484222325ull; // FNV-1a 64
        for (const char c : bytes)
            h = (h ^ uint8_t(c)) * 0x100000001b3ull;
        for (int i = 0; i < 8; ++i)
            bytes += char(h >> (8 * i));
        QVERIFY(!cache.fromBytes(bytes));
        QCOMPARE(cache.size(), 0);
    }

};

QUAVRIX_TEST_MAIN(TestTagCache)
#include "tst_tagcache.moc"
