// The application object and its languages: every text translated, the catalogues level
// with the sources, the window in the chosen language (German from the start here) and
// nothing stored in it; the platform channel's style requests.
#include "testmain.h"

#include "medialibrary.h"
#include "qcop.h"
#include "translations.h"
#include "vrtabwidget.h"
#include "vrxapplication.h"
#include "vrxplayerwindow.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
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

    // The window in the chosen language: German as start-up installed it, a region's own
    // catalogue, English for a language there is none of (nothing of the one before left).
    // Settings keys, the page, the play list: stored in English, whatever the language shown.
    void windowInTheChosenLanguageStoresNothingInIt()
    {
        const std::pair<const char*, const char*> shownIn[] = { // the page titles and Qt's own Cancel
            {"de", "Playlist|Bibliothek|Player|Abbrechen"},
            {"pt_BR", "Playlist|Biblioteca|Player|Cancelar"},
            {"xx", "Play List|Library|Player|Cancel"}};
        QStringList stored;
        for (const auto& [lang, shown] : shownIn) {
            for (const char* d : {"/config", "/data"})
                QDir(quavrixTestRoot() + QLatin1String(d)).removeRecursively();
            if (qEnvironmentVariable("QUAVRIX_LANG") != QLatin1String(lang)) { // German: as start-up left it
                qputenv("QUAVRIX_LANG", lang);
                QCOMPARE(Translations::install(), QLatin1String(lang) == QLatin1String("xx") ? QStringLiteral("en") : QLatin1String(lang));
            }
            VRXPlayerWindow w;
            QDialogButtonBox box(QDialogButtonBox::Cancel);
            QCOMPARE(QStringList({w.tabs()->label(0), w.tabs()->label(1), w.tabs()->label(2),
                                  box.button(QDialogButtonBox::Cancel)->text()}).join('|'), QLatin1String(shown));
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
        QCOMPARE(stored[2], stored[0]);
    }

    // Last: with no installation found, no language can be loaded either.
    void styleRequestWithoutALibraryChangesNothing()
    {
        qputenv("QUAVRIX_QPEDIR", quavrixTestRoot().toUtf8() + "/no-install");
        const QString before = qApp->style()->objectName();
        QCopEnvelope(QStringLiteral("QPE/System"), "applyVRXStyle()");
        QCopEnvelope(QStringLiteral("QPE/System"), "somethingElse(int)") << 3;
        QCOMPARE(qApp->style()->objectName(), before);
        QVERIFY(!VRXApplication::instance()->styleLoaded());
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
