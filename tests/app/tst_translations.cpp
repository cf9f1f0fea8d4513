// The shipped languages: every text translated, the catalogues level with the sources, the
// window in the chosen language (German from the start here) and nothing stored in it.
#include "testmain.h"

#include "medialibrary.h"
#include "translations.h"
#include "vrtabwidget.h"
#include "vrxapplication.h"
#include "vrxplayerwindow.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QXmlStreamReader>

namespace {
const QString sources = QStringLiteral(QUAVRIX_TEST_DATA "/../..");
const char* const languages[] = {"de", "fr", "es", "it", "pt_BR", "ru", "ja", "zh_CN"};

// context|source|comment -> translation, "?" when unfinished or empty; obsolete ones left out.
QMap<QString, QString> entries(const QString& ts)
{
    QMap<QString, QString> out;
    QFile f(ts);
    f.open(QIODevice::ReadOnly);
    QXmlStreamReader x(&f);
    QString at[3]; // context, source, comment
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement)
            continue;
        const int i = QStringList{"name", "source", "comment", "message"}.indexOf(x.name().toString());
        if (i >= 0)
            at[qMin(i, 2)] = i == 3 ? QString() : x.readElementText(); // a message clears the comment
        if (x.name() != QLatin1String("translation"))
            continue;
        const QString type = x.attributes().value("type").toString(), text = x.readElementText();
        if (type != "vanished" && type != "obsolete")
            out.insert(at[0] + '|' + at[1] + '|' + at[2], type.isEmpty() && !text.trimmed().isEmpty() ? text : "?");
    }
    return out;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    // Any entry unfinished, empty or without its placeholders, or a catalogue behind the
    // sources (compared with a fresh lupdate run where lupdate is installed).
    void everyTextTranslated()
    {
        const QString lupdate = QStringLiteral("/usr/lib/qt6/bin/lupdate"), fresh = quavrixTestRoot() + QStringLiteral("/fresh.ts");
        QStringList args{QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none")};
        for (const char* d : {"app", "ui", "library", "lib", "engine"})
            args << sources + '/' + QLatin1String(d);
        args << QStringLiteral("-ts") << fresh;
        const bool compare = QFileInfo(lupdate).isExecutable() && QProcess::execute(lupdate, args) == 0;
        if (!compare)
            qWarning("no lupdate here: the catalogues are not compared with the sources");
        for (const char* lang : languages) {
            const auto all = entries(sources + QStringLiteral("/translations/quavrix_%1.ts").arg(QLatin1String(lang)));
            QVERIFY2(all.size() > 100, lang);
            if (compare)
                QCOMPARE(all.keys(), entries(fresh).keys());
            for (auto e = all.begin(); e != all.end(); ++e) {
                const QString source = e.key().section('|', 1, -2), what = QLatin1String(lang) + ": " + e.key();
                QVERIFY2(e.value() != QLatin1String("?"), qPrintable(what));
                for (const char* mark : {"%1", "%2", "\n"})
                    QVERIFY2(source.count(QLatin1String(mark)) == e.value().count(QLatin1String(mark)), qPrintable(what));
            }
        }
    }

    void windowInTheChosenLanguage_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("shown"); // the three page titles and Qt's own Cancel
        QTest::newRow("German from the start") << "de" << "Playlist|Bibliothek|Player|Abbrechen";
        QTest::newRow("Brazilian Portuguese") << "pt_BR" << "Playlist|Biblioteca|Player|Cancelar";
        QTest::newRow("unknown language: English") << "xx" << "Play List|Library|Player|Cancel";
    }
    void windowInTheChosenLanguage()
    {
        QFETCH(QString, lang);
        QFETCH(QString, shown);
        if (lang != qEnvironmentVariable("QUAVRIX_LANG")) { // the first row sees what start-up installed
            qputenv("QUAVRIX_LANG", lang.toUtf8());
            QCOMPARE(Translations::install(), lang == QLatin1String("xx") ? QStringLiteral("en") : lang);
        }
        VRXPlayerWindow w;
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(QStringList({w.tabs()->label(0), w.tabs()->label(1), w.tabs()->label(2),
                              box.button(QDialogButtonBox::Cancel)->text()}).join('|'), shown);
    }

    // Settings keys, the page, the play list: in English, whatever the language shown.
    void nothingStoredChangesWithTheLanguage()
    {
        QStringList stored;
        for (const char* lang : {"xx", "de"}) {
            for (const char* d : {"/config", "/data"})
                QDir(quavrixTestRoot() + QLatin1String(d)).removeRecursively();
            qputenv("QUAVRIX_LANG", lang);
            Translations::install();
            VRXPlayerWindow w;
            w.show();
            QTRY_VERIFY(!w.library()->catalogue().empty());
            w.library()->addAll();
            w.tabs()->showPage(w.library());
            w.close();
            stored << QString();
            for (const char* d : {"/config", "/data"}) {
                for (QDirIterator it(quavrixTestRoot() + QLatin1String(d), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
                    QFile f(it.next());
                    f.open(QIODevice::ReadOnly);
                    stored.last() += it.filePath() + '\n' + QString::fromUtf8(f.readAll());
                }
            }
        }
        QVERIFY(stored[0].contains(QLatin1String("MediaLibrary")));
        QCOMPARE(stored[1], stored[0]);
    }
};

int main(int argc, char** argv)
{
    quavrixIsolateTest();
    const QString music = quavrixTestRoot() + QStringLiteral("/music");
    QDir().mkpath(music);
    QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/ogg/stereo.ogg"), music + QStringLiteral("/stereo.ogg"));
    qputenv("QUAVRIX_DOCUMENTS", music.toUtf8());
    qputenv("QUAVRIX_LANG", "de");
    VRXApplication app("Quavrix", argc, argv);
    TestTranslations tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_translations.moc"
