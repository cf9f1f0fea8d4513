#include "testmain.h"

#include "config.h"
#include "settingskeys.h"

#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

class TestConfig : public QObject
{
    Q_OBJECT

private:
    static void writeRaw(const QString& name, const QByteArray& bytes)
    {
        QFile f(Config::filePath(name));
        QDir().mkpath(QFileInfo(f).absolutePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.flush();
        // QSettings keeps parsed files by path, size and modification time: a rewrite of
        // the same size within the clock's resolution would read as the old contents.
        static int step = 0;
        f.setFileTime(QDateTime::currentDateTime().addSecs(++step), QFileDevice::FileModificationTime);
    }

private slots:
    void init() { QDir(QFileInfo(Config::filePath(QStringLiteral("x"))).absolutePath()).removeRecursively(); }

    // What a first start sees, key by key (in the order of settingskeys.h).
    void defaultsOfEveryKeyWithoutAFile()
    {
        using namespace Settings;
        Config cfg(QString::fromLatin1(AppFile)), vrx(QString::fromLatin1(ToolkitFile));
        Config fd(QString::fromLatin1(FileDialogFile)), qpe(QString::fromLatin1(PlatformFile));
        const QList<int> numbers = {
            cfg.read(Options::KeyVolumeUp), cfg.read(Options::KeyVolumeDown), cfg.read(Options::KeyPlay), cfg.read(Options::KeyNext),
            cfg.read(Options::KeyPrev), cfg.read(Options::KeyForward), cfg.read(Options::KeyRewind), cfg.read(Options::Interval),
            cfg.read(Options::Loop), cfg.read(Options::Random), cfg.read(Options::Backlight), cfg.read(Options::DisplayOff),
            cfg.read(Options::PowerOnDelay), cfg.read(Options::TabPosition), cfg.read(Options::OptionsPage),
            cfg.read(Options::Zoom(11)), cfg.read(Options::Position), vrx.read(Style::Id), fd.read(FileDialog::Sort),
            qpe.read(Platform::ShortOrder), qpe.read(Platform::LongOrder)};
        QCOMPARE(numbers, (QList<int>{4115, 4117, 32, 4116, 4114, 0, 0, 5, 0, 0, 0, 0, 0, 4, 1, 11, -1, -1, 0, 273, 273}));
        QList<int> analyzer;
        for (bool small : {true, false})
            analyzer << cfg.read(Analyzer::Visible(small)) << cfg.read(Analyzer::Peaks(small)) << cfg.read(Analyzer::Bars(small))
                     << cfg.read(Analyzer::Width(small)) << cfg.read(Analyzer::Space(small)) << cfg.read(Analyzer::Height(small));
        QCOMPARE(analyzer, (QList<int>{1, 1, 17, 7, 2, 50, 0, 0, 14, 14, 6, 100}));
        const QList<bool> flags = {cfg.read(Options::Cancel), cfg.read(MediaFolders::Documents), fd.read(FileDialog::Detail),
                                   fd.read(FileDialog::List), fd.read(FileDialog::DirsToo), fd.read(FileDialog::HiddenToo),
                                   qpe.read(Platform::AmPm), qpe.read(Platform::Monday)};
        QCOMPARE(flags, (QList<bool>{false, true, true, false, true, true, true, false}));
        const QStringList texts = {cfg.read(Options::Page), cfg.read(Options::File), cfg.read(MediaFolders::Folders),
                                   cfg.read(MediaFolders::StartWith("/home/u")), cfg.read(PlayList::Name), cfg.read(PlayList::Names),
                                   qpe.read(Platform::DateSeparator)};
        QCOMPARE(texts, (QStringList{"MediaLibrary", "", "", "/home/u", "", "", "/"}));
        // Reading creates nothing.
        QVERIFY(!QFile::exists(Config::filePath(QStringLiteral("Quavrix"))));
    }

    void roundTripsAreSeenByLaterObjects()
    {
        {
            Config cfg(QStringLiteral("Quavrix"));
            cfg.setGroup(QStringLiteral("Options"));
            cfg.writeEntry(QStringLiteral("interval"), 12);
            cfg.writeEntry(QStringLiteral("cancel"), true);
            cfg.writeEntry(QStringLiteral("list"), QStringList{QStringLiteral("/a"), QStringLiteral("/b c")}, QLatin1Char('|'));
            cfg.setGroup(QStringLiteral("PlayList"));
            cfg.writeEntry(QStringLiteral("0"), QStringLiteral("/x.mp3"));
            cfg.writeEntry(QStringLiteral("1"), QStringLiteral("/y.mp3"));
            cfg.write(Settings::Options::Loop, true);
        }
        {
            // Clearing a group leaves the others alone.
            Config cfg(QStringLiteral("Quavrix"));
            cfg.setGroup(QStringLiteral("PlayList"));
            cfg.clearGroup();
            cfg.writeEntry(QStringLiteral("0"), QStringLiteral("/c.mp3"));
        }
        Config cfg(QStringLiteral("Quavrix"));
        cfg.setGroup(QStringLiteral("Options"));
        QCOMPARE(cfg.readNumEntry(QStringLiteral("interval"), 5), 12);
        QCOMPARE(cfg.readBoolEntry(QStringLiteral("cancel"), false), true);
        QCOMPARE(cfg.readListEntry(QStringLiteral("list"), QLatin1Char('|')), (QStringList{QStringLiteral("/a"), QStringLiteral("/b c")}));
        QCOMPARE(cfg.read(Settings::Options::Loop), 1);
        cfg.setGroup(QStringLiteral("PlayList"));
        QCOMPARE(cfg.readEntry(QStringLiteral("0")), QStringLiteral("/c.mp3"));
        QVERIFY(!cfg.hasKey(QStringLiteral("1")));
        // Booleans are stored as "1" and "0".
        QFile f(Config::filePath(QStringLiteral("Quavrix")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY(text.contains("cancel=1") && text.contains("loop=1"));
    }

    // Files written by hand, by older versions or damaged: what reads back (file|pos|
    // interval|tabpos|cancel|loop), defaults for what is not a value. INI reads an unquoted
    // comma as a list separator; a path must come back whole. The next save makes the file
    // good again without touching another file.
    void writtenByHandOrDamaged_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("read");
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) & 0xff));
        QTest::newRow("unquoted comma") << QByteArray("[Options]\nfile=/music/a,b.mp3\npos=12\n") << "/music/a,b.mp3|12|5|4|0|0";
        QTest::newRow("two commas") << QByteArray("[Options]\nfile=/m/a,b,c.mp3\n") << "/m/a,b,c.mp3|-1|5|4|0|0";
        QTest::newRow("quoted") << QByteArray("[Options]\nfile=\"/music/a,b.mp3\"\n") << "/music/a,b.mp3|-1|5|4|0|0";
        QTest::newRow("values that are not numbers") << QByteArray("[Options]\ninterval=fast\ncancel=maybe\nloop=\ntabpos=  3 \n") << "|-1|5|3|0|0";
        QTest::newRow("binary junk") << junk << "|-1|5|4|0|0";
    }
    void writtenByHandOrDamaged()
    {
        QFETCH(QByteArray, text);
        using namespace Settings::Options;
        Config(QStringLiteral("vrx")).write(Settings::Style::Id, 2);
        writeRaw(QStringLiteral("Quavrix"), text);
        {
            Config cfg(QStringLiteral("Quavrix"));
            const QStringList read = {cfg.read(File), QString::number(cfg.read(Position)), QString::number(cfg.read(Interval)),
                                      QString::number(cfg.read(TabPosition)), QString::number(cfg.read(Cancel)), QString::number(cfg.read(Loop))};
            QTEST(read.join(QLatin1Char('|')), "read");
            cfg.write(File, cfg.read(File) + QStringLiteral(",x"));
            cfg.write(Interval, 7);
        }
        QFETCH(QString, read);
        Config again(QStringLiteral("Quavrix"));
        QCOMPARE(again.read(File), read.section(QLatin1Char('|'), 0, 0) + QStringLiteral(",x"));
        QCOMPARE(again.read(Interval), 7);
        QCOMPARE(Config(QStringLiteral("vrx")).read(Settings::Style::Id), 2);
    }

    // A FIFO (or a folder) where the settings file belongs: start-up goes on with the
    // defaults instead of waiting for a writer, and the FIFO is left as it was.
    void specialFileGivesDefaultsWithoutWaiting_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("FIFO") << true;
        QTest::newRow("folder") << false;
    }
    void specialFileGivesDefaultsWithoutWaiting()
    {
        QFETCH(bool, fifo);
        const QString path = Config::filePath(QString::fromLatin1(QTest::currentDataTag()));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(fifo ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QDir().mkpath(path));
        {
            Config cfg(path, Config::File);
            QCOMPARE(cfg.read(Settings::Options::Interval), 5);
            cfg.write(Settings::Options::Interval, 7);
            QCOMPARE(cfg.read(Settings::Options::Interval), 7);
            QVERIFY(!cfg.write()); // never put in the place of what is there
        }
        QCOMPARE(QFileInfo(path).isFile(), false);
        QDir(path).removeRecursively();
        QFile::remove(path);
    }

    // Files written by earlier versions (through QSettings) and by this one read back the
    // same both ways, whatever the text holds.
    void iniTextMatchesQSettings()
    {
        const QStringList values = {
            QStringLiteral("plain"), QStringLiteral(" padded "), QStringLiteral("a,b;c=d"), QStringLiteral("@at"),
            QStringLiteral("@@two"), QStringLiteral("quote\" back\\slash"), QStringLiteral("tab\tnew\nline\r"),
            QStringLiteral("ctl\x01" "9"), QString(QChar(0)) + QStringLiteral("0x"), QStringLiteral("Zoë ÞÓR Ελλάδα 日本語 🎵"),
            QString(), QStringLiteral("/music/Ärzte, die/01 - Schrei nach Liebe.mp3"), QStringLiteral("end\\")};
        const QString ours = Config::filePath(QStringLiteral("ours"));
        const QString theirs = Config::filePath(QStringLiteral("theirs"));
        {
            Config cfg(QStringLiteral("ours"));
            QSettings qs(theirs, QSettings::IniFormat);
            for (int i = 0; i < values.size(); ++i) {
                const QString key = QStringLiteral("k%1 ü/").arg(i).remove(QLatin1Char('/'));
                cfg.setGroup(i % 2 ? QStringLiteral("Options") : QStringLiteral("General"));
                cfg.writeEntry(key, values[i]);
                qs.setValue(cfg.group() + QLatin1Char('/') + key, values[i]);
            }
        }
        Config readTheirs(QStringLiteral("theirs"));
        QSettings readOurs(ours, QSettings::IniFormat);
        for (int i = 0; i < values.size(); ++i) {
            const QString key = QStringLiteral("k%1 ü").arg(i);
            readTheirs.setGroup(i % 2 ? QStringLiteral("Options") : QStringLiteral("General"));
            QCOMPARE(readTheirs.readEntry(key, QStringLiteral("?")), values[i]);
            QCOMPARE(readOurs.value(readTheirs.group() + QLatin1Char('/') + key).toString(), values[i]);
        }
    }

    // A save goes to a temporary file renamed over the old one: the inode changes, no
    // temporary file is left, and a lock file left by a killed run does not stop it.
    void savesReplaceTheFileAtomically()
    {
        const QString path = Config::filePath(QStringLiteral("Quavrix"));
        Config(QStringLiteral("Quavrix")).write(Settings::Options::Interval, 6);
        struct stat before, after;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        QFile lock(path + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nquavrix\nsomehost\n");
        lock.close();
        {
            Config cfg(QStringLiteral("Quavrix"));
            cfg.write(Settings::Options::Interval, 11);
            QVERIFY(cfg.write());
        }
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QVERIFY(before.st_ino != after.st_ino);
        QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("Options/interval")).toInt(), 11);
        QFile::remove(lock.fileName());
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{QStringLiteral("Quavrix.conf")});
    }
};

QUAVRIX_TEST_MAIN(TestConfig)
#include "tst_config.moc"
