// What the user built survives what happens to devices: a memory card pulled out, a full
// disk, a read-only settings folder. The play list, the settings, the
// bookmarks and the named playlists stay as they were, and the user is told once.
#include "testmain.h"
#include "testdecoders.h"
#include "modalwatch.h"
#include "scratchfs.h"
#include "../qt/screenshot.h"

#include "bookamrks.h"
#include "config.h"
#include "datafile.h"
#include "listview.h"
#include "loopcontrol.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "vrxplayerwindow.h"

#include <QDirIterator>
#include <QMap>

#include <memory>

namespace {
QStringList storedList()
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.setGroup(QStringLiteral("PlayList"));
    QStringList paths;
    for (int k = 0; cfg.hasKey(QString::number(k)); ++k)
        paths << cfg.readEntry(QString::number(k));
    return paths;
}

void storeList(const QStringList& paths, const QString& file = QString(), int pos = 0)
{
    Config cfg(QStringLiteral("Quavrix"));
    cfg.write(Settings::Options::File, file);
    cfg.write(Settings::Options::Position, pos);
    cfg.setGroup(QStringLiteral("PlayList"));
    for (int k = 0; k < paths.size(); ++k)
        cfg.writeEntry(QString::number(k), paths[k]);
}

// The play list's files; "?" marks one shown unavailable.
QStringList entries(VRXPlayerWindow& w)
{
    QStringList files;
    for (int row = 0; TrackItem* e = w.playList()->entryAt(row); ++row)
        files << QString::fromUtf8(e->record()->fileName) + (e->isMissing() ? "?" : "");
    return files;
}

// Every file below folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.fileName().endsWith(QLatin1String("/.filler")) && f.open(QIODevice::ReadOnly))
            files.insert(f.fileName(), f.readAll());
    }
    return files;
}
} // namespace

class TestNothingLost : public QObject
{
    Q_OBJECT
    QString m_music;
    QStringList m_tracks;

    QString track(const QString& name, const char* title)
    {
        const QString p = m_music + QLatin1Char('/') + name;
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        TestTrack::tags.insert(p, makeTags(title, "Artist"));
        return p;
    }

    // Settings and data in a folder of their own (a small file system, say).
    void useFolders(const QString& root)
    {
        qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        useDisplay(QSize(480, 640));
        m_music = quavrixTestRoot() + QStringLiteral("/music");
        qputenv("QUAVRIX_DOCUMENTS", m_music.toUtf8());
    }

    void init()
    {
        TestTrack::reset();
        TestTrack::totalBytes = int64_t(600) * 44100 * 4;
        TestTrack::blockDelayUs = 2000;
        useFolders(quavrixTestRoot());
        QDir(m_music + QStringLiteral(".out")).removeRecursively();
        QDir(m_music).removeRecursively();
        QDir().mkpath(m_music);
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        m_tracks = {track("a.mp3", "A"), track("b.mp3", "B"), track("c.mp3", "C")};
    }

    // The music is on a card that is out: the list, the stored track and its position
    // stay through Play, Next, a close and a restart, and play once the card is back.
    void missingCardKeepsThePlayList()
    {
        storeList(m_tracks, m_tracks[1], 7);
        QVERIFY(QDir().rename(m_music, m_music + QStringLiteral(".out")));
        {
            VRXPlayerWindow w;
            w.show();
            QTRY_COMPARE(entries(w), QStringList({m_tracks[0] + '?', m_tracks[1] + '?', m_tracks[2] + '?'}));
            w.playPause();
            w.next();
            QCOMPARE(w.playState(), int(VRXPlayerWindow::Stopped));
            QVERIFY(w.close());
        }
        QCOMPARE(storedList(), m_tracks);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::File), m_tracks[1]);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Position), 7);

        QVERIFY(QDir().rename(m_music + QStringLiteral(".out"), m_music));
        VRXPlayerWindow w;
        w.show();
        QTRY_COMPARE(w.playState(), int(VRXPlayerWindow::Playing));
        QCOMPARE(w.currentFile(), m_tracks[1]);
        QTRY_VERIFY(w.controller()->positionMs() >= 7000);
        QCOMPARE(entries(w), m_tracks);

        // Pulled while playing: the track ends with its file gone, nothing else can play,
        // and the next start comes back to it.
        QVERIFY(QDir().rename(m_music, m_music + QStringLiteral(".out")));
        TestTrack::totalBytes = 0;
        QTRY_COMPARE(w.playState(), int(VRXPlayerWindow::Stopped));
        QCOMPARE(entries(w).replaceInStrings(QStringLiteral("?"), QString()), m_tracks);
        QVERIFY(w.close());
        QCOMPARE(storedList(), m_tracks);
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::File), m_tracks[1]);
    }

    // A full disk or a read-only folder: every file stays as it was, byte for byte, the
    // user hears of it once, and the changes wait in memory for a save that can succeed.
    void failedSavesChangeNoFile_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "full" << "no space left on the device";
        QTest::newRow("read-only file system") << "read-only" << "the device is read-only";
        QTest::newRow("settings file without write permission") << "chmod" << "the file is read-only";
    }
    void failedSavesChangeNoFile()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        const QString root = quavrixTestRoot() + QStringLiteral("/small-") + fault;
        std::unique_ptr<ScratchFs> fs;
        if (fault != QLatin1String("chmod")) {
            fs = std::make_unique<ScratchFs>(root, 256 * 1024);
            if (!fs->isMounted())
                QSKIP(qPrintable(fs->why()));
        }
        useFolders(root);
        storeList(m_tracks);
        Config(QStringLiteral("Quavrix")).write(Settings::Options::Interval, 9);
        Bookamrks().append(QStringLiteral("mark"), m_tracks[0], 12);
        QVERIFY(writeStringList(QStringLiteral("PlayList_Rock"), {m_tracks[1]}));
        Config(QStringLiteral("Quavrix")).write(Settings::PlayList::Names, QStringLiteral("Rock"));
        const auto before = snapshot(root);

        // The fault on, and off again.
        auto fail = [&](bool on) {
            if (fault == QLatin1String("full")) {
                on ? fs->fill() : fs->makeRoom();
                return true;
            }
            if (fault == QLatin1String("read-only"))
                return fs->setReadOnly(on);
            return QFile::setPermissions(Config::filePath(QStringLiteral("Quavrix")),
                                         QFileDevice::ReadOwner | (on ? QFileDevice::Permissions() : QFileDevice::WriteOwner));
        };
        QVERIFY(fail(true));
        ModalWatch watch;
        {
            VRXPlayerWindow w;
            w.show();
            QTRY_COMPARE(entries(w), m_tracks);
            w.playList()->listView()->setCurrentItem(w.playList()->entryAt(0));
            w.playList()->doRemove();
            w.playPause(); // a track change stores the list
            QTRY_VERIFY(!watch.texts.isEmpty());
            w.bookmarks()->append(QStringLiteral("another"), m_tracks[2], 3);
            w.bookmarks()->saveBookmarks(&w);
            w.playList()->loadPlayList(QStringLiteral("Rock"));
            w.playList()->save(); // over "Rock", the name proposed
            // A new name that cannot be registered leaves no file behind.
            w.playList()->loadPlayList(QStringLiteral("New"));
            QVERIFY(!w.playList()->save());
            QVERIFY(!QFile::exists(dataFilePath(QStringLiteral("PlayList_New"), true)));
            QVERIFY(w.close());
        }
        if (fault == QLatin1String("chmod")) {
            const QString file = Config::filePath(QStringLiteral("Quavrix"));
            QCOMPARE(snapshot(root).value(file), before.value(file));
        } else {
            QCOMPARE(snapshot(root), before);
        }
        const QString settings = QStringLiteral("Could not save the settings: ") + reason;
        QCOMPARE(watch.texts.count(settings), 1);
        if (fault != QLatin1String("chmod")) {
            QVERIFY2(watch.texts.contains(QStringLiteral("Could not save the bookmarks: ") + reason),
                     qPrintable(watch.texts.join(QLatin1Char('|'))));
            QVERIFY(watch.texts.contains(QStringLiteral("Could not save the playlist: ") + reason));
        }

        // With room again, the next write saves what was kept.
        QVERIFY(fail(false));
        QVERIFY(Config(QStringLiteral("Quavrix")).write());
        QVERIFY(storedList().isEmpty()); // "New", loaded last
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::PlayList::Names), QStringLiteral("Rock"));
        QCOMPARE(Config(QStringLiteral("Quavrix")).read(Settings::Options::Interval), 9);
    }
};

QUAVRIX_TEST_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
