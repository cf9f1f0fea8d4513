// Library rebuild benchmark: a media folder tree of small tagged MP3 (ID3v1), Ogg and M4A
// files, generated once from three seeds. Measures the counting pass, the reading pass,
// sorting and filling the track list, the whole rebuild through the progress dialog, with
// the file data cold (evicted from the page cache) and warm, and the peak memory.
//
//   bench_library [--tree DIR] [--files N] [--runs N]
//
// Track information is read twice over: with the decoders createDecoder() provides, and with
// a tag-only reader of this benchmark (ID3v1 / Vorbis comments / MP4 item list) that stands
// in for decoders not yet available.
#include "audioinfo.h"
#include "config.h"
#include "copyremovedialog.h"
#include "datafile.h"
#include "decoder.h"
#include "decoderfactory.h"
#include "listview.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "settingskeys.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

bool generateTree(const QString& root, int files)
{
    const QString marker = root + QStringLiteral("/.complete-%1").arg(files);
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
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--tree"))
            root = args[i + 1];
        else if (args[i] == QLatin1String("--files"))
            files = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = qMax(1, args[i + 1].toInt());
    }

    const long startKiB = peakKiB();
    QElapsedTimer gen;
    gen.start();
    if (!generateTree(root, files)) {
        std::fprintf(stderr, "cannot generate the tree under %s\n", qPrintable(root));
        return 1;
    }
    std::printf("tree %s: %d files (60%% MP3+ID3v1, 20%% Ogg, 20%% M4A), 100 per folder, ready in %.0f ms\n",
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
    for (const Mode& mode : {Mode{"decoders from createDecoder()", nullptr}, Mode{"tag-only reader", makeTagDecoder}}) {
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
    std::printf("peak memory (max RSS): %ld KiB; %ld KiB before the tree was generated and read\n", peakKiB(),
                startKiB);
    return 0;
}
