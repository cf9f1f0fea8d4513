// Track descriptions: normalisation by readTrackInfo, codec guessing, ordering, and the
// decoder slots.
#include "testmain.h"
#include "testdecoders.h"

#include "loopcontrol.h"

#include <memory>

class TestTrackInfo : public QObject
{
    Q_OBJECT

    std::unique_ptr<AudioInfo> read(const QString& file)
    {
        PatternDecoder d(QStringLiteral("audio/mpeg"));
        return std::unique_ptr<AudioInfo>(LoopControl::readTrackInfo(&d, file));
    }

private slots:
    void init() { TestTrack::reset(); }

    void titleAndTrackFromTheFileName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("track");
        QTest::newRow("upper case lowered") << "/m/07 - SOME TITLE.mp3" << "07 - Some Title" << 7;
        QTest::newRow("nothing raised") << "/m/07 - some title.mp3" << "07 - some title" << 7;
        QTest::newRow("only the last extension") << "/m/a.b.mp3" << "a.b" << 0;
        QTest::newRow("no dot") << "/m/track07" << "track07" << 7;
        QTest::newRow("first two digits") << "/m/1 x 234.ogg" << "1 x 234" << 23;
        QTest::newRow("digits in the folder do not count") << "/m/99/abc.mp3" << "abc" << 0;
        QTest::newRow("dot file") << "/m/.mp3" << "" << 0;
    }
    void titleAndTrackFromTheFileName()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(int, track);
        auto info = read(file);
        QVERIFY(info);
        QCOMPARE(QString::fromUtf8(info->title), title);
        QCOMPARE(info->track, track);
        QCOMPARE(QByteArray(info->fileName), file.toUtf8());
    }

    void trackByteOfASpaceCountsAsNone()
    {
        TestTrack::tags.insert(QStringLiteral("/m/05 x.mp3"), makeTags("T", "", "", 0, 32));
        TestTrack::tags.insert(QStringLiteral("/m/06 y.mp3"), makeTags("T", "", "", 0, 3));
        TestTrack::tags.insert(QStringLiteral("/m/z.mp3"), makeTags("T", "", "", 0, 32));
        QCOMPARE(read(QStringLiteral("/m/05 x.mp3"))->track, 5);
        QCOMPARE(read(QStringLiteral("/m/06 y.mp3"))->track, 3);
        QCOMPARE(read(QStringLiteral("/m/z.mp3"))->track, 0);
    }

    void tagTextIsDecodedAndCapitalised()
    {
        TestTrack::tags.insert(QStringLiteral("/m/sjis.mp3"),
                               makeTags("\x93\xfa\x96\x7b\x8c\xea", "\xc6\xfc\xcb\xdc\xb8\xec", "CAF\xc9 ALBUM"));
        auto info = read(QStringLiteral("/m/sjis.mp3"));
        QCOMPARE(QString::fromUtf8(info->title), QStringLiteral("日本語"));
        QCOMPARE(QString::fromUtf8(info->artist), QStringLiteral("日本語"));
        // No multi-byte codec fits: Latin-1, as version 1 tags are written.
        QCOMPARE(QString::fromUtf8(info->album), QStringLiteral("Café Album"));
    }

    void utf8TagsAreKeptAsTheyAre()
    {
        TestTrack::tags.insert(QStringLiteral("/m/u.ogg"), makeTags("LOUD TITLE", "AC/DC", "", 0, 0, true));
        auto info = read(QStringLiteral("/m/u.ogg"));
        QCOMPARE(QByteArray(info->title), QByteArray("LOUD TITLE"));
        QCOMPARE(QByteArray(info->artist), QByteArray("AC/DC"));
    }

    void controlCharactersBecomeSpaces_data()
    {
        QTest::addColumn<bool>("utf8");
        QTest::newRow("version 1 tag") << false;
        QTest::newRow("UTF-8 tag") << true;
    }
    void controlCharactersBecomeSpaces()
    {
        QFETCH(bool, utf8);
        TestTrack::tags.insert(QStringLiteral("/m/c.mp3"),
                               makeTags("a\x01" "b\tc\x1f", "\x1b[31m", "x\ny\x7f", 0, 0, utf8));
        auto info = read(QStringLiteral("/m/c.mp3"));
        QCOMPARE(QByteArray(info->title), QByteArray("a b c "));
        QCOMPARE(QByteArray(info->artist), QByteArray(" [31m"));
        QCOMPARE(QByteArray(info->album), QByteArray("x y\x7f"));
    }

    void longTextIsCutAtACharacterBoundary()
    {
        // Eleven three-byte characters: 33 bytes, cut to ten characters (30 bytes).
        const QString eleven = QString(11, QChar(0x65e5));
        auto info = read(QStringLiteral("/m/") + eleven + QStringLiteral(".mp3"));
        QCOMPARE(QString::fromUtf8(info->title), QString(10, QChar(0x65e5)));
        // Two-byte characters: 15 fit exactly; a 16th would straddle the end.
        const QString sixteen = QString(16, QChar(0xe9));
        info = read(QStringLiteral("/m/") + sixteen + QStringLiteral(".mp3"));
        QCOMPARE(QString::fromUtf8(info->title), QString(15, QChar(0xe9)));
        QCOMPARE(info->title[30], '\0');
    }

    void aFileThatDoesNotOpenGivesNoRecord()
    {
        TestTrack::failOpen = true;
        QTest::ignoreMessage(QtDebugMsg, "Canot open /m/bad.mp3");
        QVERIFY(!read(QStringLiteral("/m/bad.mp3")));
    }

    void guessCodecPicksTheBestScoreOrLatin1()
    {
        QCOMPARE(QByteArray(LoopControl::guessCodec("\x93\xfa\x96\x7b\x8c\xea")), QByteArray("SJIS"));
        QCOMPARE(QByteArray(LoopControl::guessCodec("\xc6\xfc\xcb\xdc\xb8\xec")), QByteArray("eucJP"));
        QCOMPARE(QByteArray(LoopControl::guessCodec("\xe6\x97\xa5\xe6\x9c\xac")), QByteArray("UTF-8"));
        QCOMPARE(QByteArray(LoopControl::guessCodec("plain")), QByteArray("ISO-8859-1"));
        QCOMPARE(QByteArray(LoopControl::guessCodec("")), QByteArray("ISO-8859-1"));
    }

    void capitalizeWordsOnlyLowers()
    {
        QString s = QStringLiteral("HELLO wORLD, it'S 2ND-tIME ÉTÉ");
        LoopControl::capitalizeWords(s);
        QCOMPARE(s, QStringLiteral("Hello world, it'S 2nd-time Été"));
    }

    void ordering()
    {
        AudioInfo a = makeTags("B", "Artist", "Album", 1999, 2);
        AudioInfo b = makeTags("A", "Artist", "Album", 1999, 2);
        QVERIFY(b < a);
        QVERIFY(a > b);
        QVERIFY(!(a == b));
        b = makeTags("B", "Artist", "Album", 1999, 2);
        QVERIFY(a == b);
        QCOMPARE(compareAudioInfo(a, b), 0);
        // Artist decides before album, album before year, year before track.
        QVERIFY(makeTags("Z", "A", "Z", 2000, 9) < makeTags("A", "B", "A", 1, 1));
        QVERIFY(makeTags("Z", "A", "A", 2000, 9) < makeTags("A", "A", "B", 1, 1));
        QVERIFY(makeTags("Z", "A", "A", 1999, 9) < makeTags("A", "A", "A", 2000, 1));
        QVERIFY(makeTags("Z", "A", "A", 1999, 1) < makeTags("A", "A", "A", 1999, 2));
        // Byte-wise: bytes above 0x7f sort after ASCII.
        QVERIFY(makeTags("", "Zed") < makeTags("", "\xc3\x89t\xc3\xa9"));
        QCOMPARE(compareAudioInfo(makeTags("", "b"), makeTags("", "a")), 1);
        QCOMPARE(compareAudioInfo(makeTags("", "a"), makeTags("", "b")), -1);
    }

    void copiesOwnTheirFileName()
    {
        AudioInfo a;
        a.setFileName("/m/a.mp3");
        AudioInfo b = a;
        a.setFileName("/m/other.mp3");
        QCOMPARE(QByteArray(b.fileName), QByteArray("/m/a.mp3"));
    }

    void decoderForKeepsOneObjectPerType()
    {
        setDecoderFactory(makePatternDecoder);
        LoopControl control;
        Decoder* a = control.decoderFor(QStringLiteral("/m/a.ogg"));
        QCOMPARE(control.decoderFor(QStringLiteral("/m/b.OGG")), a);
        QCOMPARE(a->mimeType(), QStringLiteral("audio/ogg"));
        Decoder* mp3 = control.decoderFor(QStringLiteral("/m/c.mp3"));
        QVERIFY(mp3 != a);
        QCOMPARE(mp3->mimeType(), QStringLiteral("audio/mpeg"));
        // Reading another type's tags leaves the first decoder alive.
        QCOMPARE(control.decoderFor(QStringLiteral("/m/d.ogg")), a);
        // Files of no known type share one decoder as well.
        Decoder* unknown = control.decoderFor(QStringLiteral("/m/e.wav"));
        QCOMPARE(control.decoderFor(QStringLiteral("/m/f")), unknown);
        setDecoderFactory(nullptr);
    }
};

QUAVRIX_TEST_MAIN(TestTrackInfo)
#include "tst_trackinfo.moc"
