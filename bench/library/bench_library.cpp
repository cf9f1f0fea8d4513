// Library rebuild benchmark: a media folder tree of small tagged MP3 (ID3v1, half of them
// with an ID3v2 tag in front as well, some of those with a cover picture), Ogg and M4A
// files, generated once from three seeds. Measures the counting pass, the reading pass,
// sorting and filling the track list, the whole rebuild through the progress dialog, with
// the file data cold (evicted from the page cache) and warm, the same with the tag cache
// (empty, full warm, full cold), the ID3v2 read per file against TagLib, and the peak
// memory.
//
//   bench_library [--tree DIR] [--files N] [--runs N] [--part all|search|cache|id3]
//
// Track information is read twice over: with the decoders createDecoder() provides, and with
// a tag-only reader of this benchmark (ID3v1 / Vorbis comments / MP4 item list) as a floor.
#include "audioinfo.h"
#include "config.h"
#include "copyremovedialog.h"
#include "datafile.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "listview.h"
#include "loopcontrol.h"
#include "id3v2tag.h"
#include "medialibrary.h"
#include "mp3decoder.h"
#include "playlist.h"
#include "settingskeys.h"
#include "tagcache.h"

#ifdef QUAVRIX_BENCH_TAGLIB
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#endif

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------- tree generation

uint32_t oggCrc(const uint8_t* data, size_t n)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int k = 0; k < 8; ++k)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            table[i] = r;
        }
        ready = true;
    }
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i)
        crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xff];
    return crc;
}

void fixOggChecksums(QByteArray& file)
{
    int pos = 0;
    while (pos + 27 <= file.size() && file.mid(pos, 4) == "OggS") {
        auto* p = reinterpret_cast<uint8_t*>(file.data() + pos);
        const int segments = p[26];
        int body = 0;
        for (int i = 0; i < segments; ++i)
            body += p[27 + i];
        const int length = 27 + segments + body;
        if (pos + length > file.size())
            break;
        std::memset(p + 22, 0, 4);
        const uint32_t crc = oggCrc(p, size_t(length));
        p[22] = uint8_t(crc);
        p[23] = uint8_t(crc >> 8);
        p[24] = uint8_t(crc >> 16);
        p[25] = uint8_t(crc >> 24);
        pos += length;
    }
}

void replaceOnce(QByteArray& data, const QByteArray& from, const QByteArray& to, int after = 0)
{
    const int at = data.indexOf(from, after);
    if (at >= 0 && from.size() == to.size())
        data.replace(at, from.size(), to);
}

QByteArray id3v1(const QByteArray& title, const QByteArray& artist, const QByteArray& album, int year)
{
    QByteArray tag(128, '\0');
    std::memcpy(tag.data(), "TAG", 3);
    auto put = [&tag](int at, const QByteArray& s, int n) { std::memcpy(tag.data() + at, s.constData(), size_t(qMin(n, int(s.size())))); };
    put(3, title, 30);
    put(33, artist, 30);
    put(63, album, 30);
    put(93, QByteArray::number(year), 4);
    tag[127] = char(255);
    return tag;
}

QByteArray syncSafe(uint32_t n)
{
    QByteArray b(4, 0);
    for (int i = 0; i < 4; ++i)
        b[i] = char(n >> (7 * (3 - i)) & 0x7f);
    return b;
}

// An ID3v2.3 tag as LAME and most taggers write it: UTF-16 text frames, a cover picture
// after them when asked, padding.
QByteArray id3v2(const QByteArray& title, const QByteArray& artist, const QByteArray& album, int track, int year,
                 int pictureBytes)
{
    auto frame = [](const char* id, const QByteArray& body) {
        const uint32_t n = uint32_t(body.size());
        QByteArray f(id, 4);
        for (int i = 3; i >= 0; --i)
            f += char(n >> (8 * i));
        return f + QByteArray(2, 0) + body;
    };
    auto text = [](const QByteArray& latin) {
        QByteArray b("\x01\xff\xfe", 3);
        for (const char c : latin)
            b += QByteArray(1, c) + '\0';
        return b + QByteArray(2, 0);
    };
    QByteArray body = frame("TIT2", text(title)) + frame("TPE1", text(artist)) + frame("TALB", text(album))
        + frame("TRCK", text(QByteArray::number(track) + "/99")) + frame("TYER", text(QByteArray::number(year)));
    if (pictureBytes)
        body += frame("APIC", QByteArray("\0image/jpeg\0\x03\0", 14) + QByteArray(pictureBytes, '\x55'));
    body += QByteArray(1024, 0);
    return QByteArray("ID3\x03\x00\x00", 6) + syncSafe(uint32_t(body.size())) + body;
}

bool generateTree(const QString& root, int files)
{
    const QString marker = root + QStringLiteral("/.complete-v2-%1").arg(files);
    if (QFile::exists(marker))
        return true;
    QDir(root).removeRecursively();
    QByteArray seeds[3];
    const char* names[3] = {"seed.mp3", "seed.ogg", "seed.m4a"};
    for (int i = 0; i < 3; ++i) {
        QFile f(QStringLiteral(QUAVRIX_BENCH_SEEDS "/") + QLatin1String(names[i]));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        seeds[i] = f.readAll();
    }
    for (int i = 0; i < files; ++i) {
        const int kind = i % 10 < 6 ? 0 : i % 10 < 8 ? 1 : 2; // 60 % MP3, 20 % Ogg, 20 % M4A
        const int artistNo = (i * 7) % 200;
        const int albumNo = (i / 10) % 1000;
        const int year = 1970 + (i % 40);
        const QByteArray title = QByteArray("Title ") + QByteArray::number(i).rightJustified(5, '0');
        const QByteArray artist = QByteArray("Artist ") + QByteArray::number(artistNo).rightJustified(3, '0');
        const QByteArray album = QByteArray("Album ") + QByteArray::number(albumNo).rightJustified(4, '0');
        QByteArray data = seeds[kind];
        if (kind == 0) {
            if (i % 2 == 0)
                data.prepend(id3v2(title, artist, album, i % 100, year, i % 10 == 0 ? 30000 : 0));
            data += id3v1(title, artist, album, year);
        } else {
            replaceOnce(data, "Title 00000", title);
            replaceOnce(data, "Artist 000", artist);
            replaceOnce(data, "Album 0000", album);
            if (kind == 1) {
                replaceOnce(data, "DATE=2000", "DATE=" + QByteArray::number(year));
                fixOggChecksums(data);
            } else {
                replaceOnce(data, "2000", QByteArray::number(year), qMax(0, int(data.indexOf("\xa9" "day"))));
            }
        }
        const QString dir = root + QStringLiteral("/d%1/e%2").arg(i / 1000, 2, 10, QLatin1Char('0')).arg((i / 100) % 10);
        QDir().mkpath(dir);
        static const char* const ext[3] = {"mp3", "ogg", "m4a"};
        QFile out(dir + QStringLiteral("/%1 track %2.%3").arg(i, 5, 10, QLatin1Char('0')).arg(i % 100).arg(QLatin1String(ext[kind])));
        if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size())
            return false;
    }
    ::sync();
    QFile m(marker);
    return m.open(QIODevice::WriteOnly);
}

// Drops the tree's file data from the page cache (folder entries stay cached).
void evict(const QString& root)
{
    if (QFileInfo(root).isFile()) {
        const int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
        return;
    }
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const int fd = ::open(QFile::encodeName(it.next()).constData(), O_RDONLY);
        if (fd >= 0) {
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }
}

// ---------------------------------------------------------------- tag-only reader

QByteArray readAt(QFile& f, qint64 at, qint64 n)
{
    return f.seek(at) ? f.read(n) : QByteArray();
}

class TagDecoder : public Decoder
{
public:
    explicit TagDecoder(const QString& mime) : m_mime(mime) {}
    QString mimeType() const override { return m_mime; }
    void close() override {}
    bool decode(char*, int, int* produced, PlayInfo*) override { *produced = 0; return false; }

    bool open(const QString& file, AudioInfo* info) override
    {
        if (!info)
            return false;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        if (m_mime == QLatin1String("audio/mpeg")) {
            const QByteArray tag = readAt(f, f.size() - 128, 128);
            if (tag.size() != 128 || !tag.startsWith("TAG"))
                return true;
            AudioInfo::setText(info->title, tag.mid(3, 30).constData(), false);
            AudioInfo::setText(info->artist, tag.mid(33, 30).constData(), false);
            AudioInfo::setText(info->album, tag.mid(63, 30).constData(), false);
            info->year = tag.mid(93, 4).toInt();
            return true;
        }
        const QByteArray head = f.read(16384);
        info->isUtf8 = 1;
        if (m_mime == QLatin1String("audio/ogg")) {
            auto comment = [&head](const char* key) {
                const int at = head.indexOf(key);
                if (at < 4)
                    return QByteArray();
                const auto* p = reinterpret_cast<const uint8_t*>(head.constData() + at - 4);
                const int len = int(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
                const int keyLen = int(std::strlen(key));
                return head.mid(at + keyLen, qMax(0, len - keyLen));
            };
            AudioInfo::setText(info->title, comment("TITLE="));
            AudioInfo::setText(info->artist, comment("ARTIST="));
            AudioInfo::setText(info->album, comment("ALBUM="));
            info->year = comment("DATE=").toInt();
            return true;
        }
        auto item = [&head](const char* name) {
            const int at = head.indexOf(name);
            if (at < 0 || at + 20 > head.size() || head.mid(at + 8, 4) != "data")
                return QByteArray();
            const auto* p = reinterpret_cast<const uint8_t*>(head.constData() + at + 4);
            const int size = int(uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]);
            return head.mid(at + 20, qMax(0, size - 16));
        };
        AudioInfo::setText(info->title, item("\xa9nam"));
        AudioInfo::setText(info->artist, item("\xa9" "ART"));
        AudioInfo::setText(info->album, item("\xa9" "alb"));
        info->year = item("\xa9" "day").left(4).toInt();
        return true;
    }

private:
    QString m_mime;
};

Decoder* makeTagDecoder(const QString& mime)
{
    return new TagDecoder(mime);
}

// ---------------------------------------------------------------- measuring

struct Run
{
    double count = 0, read = 0, sort = 0, fill = 0, whole = 0;
    double store = 0, restore = 0, addAll = 0;
    size_t records = 0;
    double parts() const { return count + read + sort + fill; }
};

double ms(QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

Run measure(LoopControl* control, MediaLibrary* library, PlayList* playList, const QString& root, bool cold)
{
    Run r;
    Catalogue c;
    {
        CopyRemoveDialog dlg(&c, control);
        QElapsedTimer t;
        t.start();
        dlg.countingPass();
        r.count = ms(t);
        t.restart();
        dlg.readingPass();
        r.read = ms(t);
    }
    r.records = c.size();
    // The sort alone, on a copy of the pointers, then the library's own sort and fill.
    std::vector<AudioInfo*> copy;
    for (const auto& p : c)
        copy.push_back(p.get());
    QElapsedTimer t;
    t.start();
    std::stable_sort(copy.begin(), copy.end(), [](AudioInfo* a, AudioInfo* b) { return compareAudioInfo(*a, *b) < 0; });
    r.sort = ms(t);
    t.restart();
    library->setCatalogue(std::move(c));
    QCoreApplication::processEvents();
    r.fill = ms(t) - r.sort;
    // The play list with the whole catalogue ("Add All Library").
    t.restart();
    playList->addAll();
    QCoreApplication::processEvents();
    r.addAll = ms(t);
    // The whole rebuild as the main window runs it: store the play list, progress dialog on
    // screen with both passes, sort, filters and list, then restore the play list.
    if (cold)
        evict(root);
    QFile::remove(TagCache::defaultPath()); // the figures without the cache: it is measured on its own
    t.restart();
    playList->storeList();
    r.store = ms(t);
    library->rebuild();
    QElapsedTimer t2;
    t2.start();
    playList->restoreList();
    QCoreApplication::processEvents();
    r.restore = ms(t2);
    r.whole = ms(t);
    return r;
}

void print(const char* label, const Run& r)
{
    std::printf("  %-5s records %5zu | count %7.1f ms  read %7.1f ms  sort %5.1f ms  fill+filters %6.1f ms"
                " | play list: add all %6.1f ms  store %6.1f ms  restore %6.1f ms"
                " | whole rebuild (store, search, show, restore) %7.1f ms\n",
                label, r.records, r.count, r.read, r.sort, r.fill, r.addAll, r.store, r.restore, r.whole);
}

// Every byte of every record, in the order found.
QByteArray image(const Catalogue& c)
{
    QByteArray out;
    for (const auto& r : c)
        out += r->fileNameBytes() + r->title.bytes() + '\0' + r->artist.bytes() + '\0'
            + r->album.bytes() + '\0' + QByteArray::number(r->year) + ' ' + QByteArray::number(r->track)
            + ' ' + QByteArray::number(r->isUtf8) + '\n';
    return out;
}

struct CacheRun
{
    double load = 0, count = 0, read = 0, save = 0;
    QByteArray image;
    double total() const { return load + count + read + save; }
};

// The two passes of the search with the cache file: loaded first unless it is to start
// empty, saved after.
CacheRun cacheRun(LoopControl* control, bool load)
{
    CacheRun r;
    QElapsedTimer t;
    t.start();
    TagCache cache;
    if (load && !cache.load())
        std::printf("  (the cache file did not load)\n");
    r.load = ms(t);
    Catalogue c;
    {
        CopyRemoveDialog dlg(&c, control);
        dlg.setTagCache(&cache);
        t.restart();
        dlg.countingPass();
        r.count = ms(t);
        t.restart();
        dlg.readingPass();
        r.read = ms(t);
    }
    t.restart();
    cache.save();
    r.save = ms(t);
    r.image = image(c);
    return r;
}

void printCache(const char* label, const CacheRun& r, const QByteArray& direct)
{
    std::printf("  %-17s load %6.1f ms  count %7.1f ms  read %7.1f ms  save %6.1f ms | search %7.1f ms | catalogue %s\n",
                label, r.load, r.count, r.read, r.save, r.total(), r.image == direct ? "identical" : "DIFFERS");
}

void measureCache(LoopControl* control, MediaLibrary* library, const QString& root, int runs)
{
    std::printf("tag cache (decoders from createDecoder()), search = load + both passes + save:\n");
    Catalogue c;
    {
        CopyRemoveDialog dlg(&c, control);
        dlg.countingPass();
        dlg.readingPass();
    }
    const QByteArray direct = image(c);
    c.clear();
    const QString file = TagCache::defaultPath();
    CacheRun best;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(file);
        const CacheRun r = cacheRun(control, false);
        if (i == 0 || r.total() < best.total())
            best = r;
    }
    printCache("empty, warm", best, direct);
    for (int i = 0; i < runs; ++i) {
        const CacheRun r = cacheRun(control, true);
        if (i == 0 || r.total() < best.total())
            best = r;
    }
    printCache("full, warm", best, direct);
    evict(root);
    evict(file);
    printCache("full, cold", cacheRun(control, true), direct);
    std::printf("  cache file: %lld bytes\n", static_cast<long long>(QFileInfo(file).size()));
    // The whole rebuild as the window runs it, now reading the cache.
    QElapsedTimer t;
    double warm = 0;
    for (int i = 0; i < runs; ++i) {
        t.start();
        library->rebuild();
        warm = i == 0 ? ms(t) : std::min(warm, ms(t));
    }
    evict(root);
    evict(file);
    t.start();
    library->rebuild();
    std::printf("  whole rebuild with a full cache: warm %7.1f ms, cold %7.1f ms\n", warm, ms(t));
}

// Time per MP3 file of the ID3 reads, warm.
void measureId3(const QString& root, int runs)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.mp3")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    int withV2 = 0;
    for (const QString& f : files) {
        Id3v2::Tag tag;
        withV2 += Id3v2::readFile(f, &tag);
    }
    auto perFile = [&](const std::function<void(const QString&)>& read) {
        double best = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            for (const QString& f : files)
                read(f);
            const double us = double(t.nsecsElapsed()) / 1e3 / double(files.size());
            best = i == 0 ? us : std::min(best, us);
        }
        return best;
    };
    std::printf("ID3 reads, warm, microseconds per MP3 file (%d files, %d with an ID3v2 tag, 1 in 5 of those with a "
                "30 KB picture):\n", int(files.size()), withV2);
    const double v2 = perFile([](const QString& f) { Id3v2::Tag t; Id3v2::readFile(f, &t); });
    const double v1 = perFile([](const QString& f) { Mp3Decoder d; AudioInfo i; d.open(f, &i); });
    LoopControl control;
    const double whole = perFile([&control](const QString& f) { delete LoopControl::readTrackInfo(control.decoderFor(f), f); });
    std::printf("  ID3v2 (ours) %6.1f us | ID3v1 (Mp3Decoder) %6.1f us | readTrackInfo (both, merged) %6.1f us\n", v2, v1, whole);
#ifdef QUAVRIX_BENCH_TAGLIB
    // Both readers must agree before their times mean anything.
    int differ = 0;
    for (const QString& f : files) {
        TagLib::MPEG::File file(QFile::encodeName(f).constData(), false);
        Id3v2::Tag ours;
        Id3v2::readFile(f, &ours);
        if (TagLib::ID3v2::Tag* t = file.ID3v2Tag(); t && !t->isEmpty())
            differ += t->title().to8Bit(true) != ours.title.bytes.toStdString() || int(t->year()) != ours.year
                || int(t->track()) != ours.track;
    }
    const double taglibOnly = perFile([](const QString& f) {
        TagLib::MPEG::File file(QFile::encodeName(f).constData(), false);
        if (TagLib::ID3v2::Tag* t = file.ID3v2Tag())
            (void)t->title();
    });
    std::printf("  TagLib 1.13 MPEG::File, no audio properties: %6.1f us (ours %.2fx); titles that differ: %d\n",
                taglibOnly, taglibOnly / v2, differ);
#else
    std::printf("  TagLib: not built in (install libtag1-dev for the comparison)\n");
#endif
}

long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Private settings: the benchmark never touches the user's media folders.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("QUAVRIX_DOCUMENTS", (home.path() + "/no-documents").toUtf8());

    QApplication app(argc, argv);
    app.setObjectName(QStringLiteral("Quavrix"));
    QString root = QDir::tempPath() + QStringLiteral("/quavrix-bench-library");
    int files = 10000;
    int runs = 3;
    QString part = QStringLiteral("all");
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--tree"))
            root = args[i + 1];
        else if (args[i] == QLatin1String("--files"))
            files = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--part"))
            part = args[i + 1];
    }

    const long startKiB = peakKiB();
    QElapsedTimer gen;
    gen.start();
    if (!generateTree(root, files)) {
        std::fprintf(stderr, "cannot generate the tree under %s\n", qPrintable(root));
        return 1;
    }
    std::printf("tree %s: %d files (60%% MP3+ID3v1, half of them with ID3v2 too, 20%% Ogg, 20%% M4A), 100 per folder, ready in %.0f ms\n",
                qPrintable(root), files, double(gen.elapsed()));
    {
        Config cfg(applicationName(), Config::User);
        cfg.write(Settings::MediaFolders::Folders, QStringLiteral("1") + root);
        cfg.write(Settings::MediaFolders::Documents, false);
    }

    struct Mode
    {
        const char* name;
        DecoderFactoryFunction factory;
    };
    const auto doing = [&part](const char* name) { return part == QLatin1String("all") || part == QLatin1String(name); };
    for (const Mode& mode : {Mode{"decoders from createDecoder()", nullptr}, Mode{"tag-only reader", makeTagDecoder}}) {
        if (!doing("search"))
            break;
        setDecoderFactory(mode.factory);
        LoopControl control;
        MediaLibrary library(&control);
        PlayList playList(nullptr, &control);
        library.setPlayList(&playList);
        playList.setLibrary(&library);
        library.resize(480, 640);
        library.show();
        playList.resize(480, 640);
        playList.show();
        std::printf("%s:\n", mode.name);
        evict(root);
        print("cold", measure(&control, &library, &playList, root, true));
        Run best;
        for (int i = 0; i < runs; ++i) {
            const Run r = measure(&control, &library, &playList, root, false);
            if (i == 0 || r.whole < best.whole)
                best = r;
        }
        print("warm", best);
    }
    if (doing("cache")) {
        setDecoderFactory(nullptr);
        LoopControl control;
        MediaLibrary library(&control);
        library.resize(480, 640);
        library.show();
        measureCache(&control, &library, root, runs);
    }
    if (doing("id3"))
        measureId3(root, runs);
    std::printf("peak memory (max RSS): %ld KiB; %ld KiB before the tree was generated and read\n", peakKiB(),
                startKiB);
    return 0;
}
