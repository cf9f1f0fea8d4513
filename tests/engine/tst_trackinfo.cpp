// Track descriptions: normalisation by readTrackInfo, codec guessing, ordering, and the
// decoder slots.
#include "decodehelpers.h"
#include "testdecoders.h"

#include "loopcontrol.h"

#include <memory>

namespace {
// An ID3 version 2.3 tag holding the frames given (id, body with its encoding byte).
QByteArray id3v23(const QList<QPair<QByteArray, QByteArray>>& frames)
{
    QByteArray body;
    for (const auto& f : frames) {
        const uint32_t n = uint32_t(f.second.size());
        body += f.first + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n) + QByteArray(2, 0) + f.second;
    }
    const uint32_t n = uint32_t(body.size());
    return QByteArray("ID3\x03\x00\x00", 6) + char(n >> 21 & 0x7f) + char(n >> 14 & 0x7f) + char(n >> 7 & 0x7f) + char(n & 0x7f) + body;
}
} // namespace

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

    // Tag bytes of unknown encoding (ID3 version 1) as common taggers write them, and the
    // text a reader expects to see.
    void tagTextEncodingIsGuessed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 accents lost to eucJP") << QByteArray("Caf\xc3\xa9 M\xc3\xbcller") << QStringLiteral("Café Müller");
        QTest::newRow("UTF-8 capital C cedilla lost to SJIS") << QByteArray("\xc3\x87" "a ira") << QStringLiteral("Ça ira");
        QTest::newRow("UTF-8 kana lost to SJIS (mojibake)") << QByteArray("\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88")
                                                            << QStringLiteral("あいうえ");
        QTest::newRow("Latin-1 read as SJIS user-defined and unmapped pairs")
            << QByteArray("Bj\xf6rk M\xfcller") << QStringLiteral("Björk Müller");
        QTest::newRow("Latin-1 accents") << QByteArray("CAF\xc9 ALBUM") << QStringLiteral("Café Album");
        QTest::newRow("SJIS kanji") << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << QStringLiteral("日本語");
        QTest::newRow("SJIS kana") << QByteArray("\x82\xa0\x82\xa2\x82\xa4\x82\xa6") << QStringLiteral("あいうえ");
        QTest::newRow("eucJP kanji") << QByteArray("\xc6\xfc\xcb\xdc\xb8\xec") << QStringLiteral("日本語");
        QTest::newRow("eucJP kana") << QByteArray("\xa4\xa2\xa4\xa4\xa4\xa6\xa4\xa8") << QStringLiteral("あいうえ");
        QTest::newRow("ASCII unchanged") << QByteArray("Plain Title 42") << QStringLiteral("Plain Title 42");
        QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("A\xe0\x80\x80") << QStringLiteral("Aà\u0080\u0080");
    }
    void tagTextEncodingIsGuessed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        TestTrack::tags.insert(QStringLiteral("/m/t.mp3"), makeTags(bytes.constData(), bytes.constData()));
        auto info = read(QStringLiteral("/m/t.mp3"));
        QCOMPARE(QString::fromUtf8(info->title), text);
        QCOMPARE(QString::fromUtf8(info->artist), text);
    }

    // A version 2 tag at the start of the file over the version 1 fields the decoder gives.
    void id3v2MergesOverId3v1_data()
    {
        QTest::addColumn<QByteArray>("v2");
        QTest::addColumn<QByteArray>("v1"); // title|artist|album|year|track, empty: no tag
        QTest::addColumn<QByteArray>("record");
        const QByteArray v2 = id3v23({{"TIT2", QByteArray(1, 0) + "Version Two"}, {"TPE1", "\x03" "AC/DC"}});
        QTest::newRow("version 2 only: no file-name title, an artist, words as written")
            << v2 << QByteArray() << QByteArray("Version Two|AC/DC||0|7|0");
        QTest::newRow("version 2 title wins, version 1 fills the rest (capitalised as before)")
            << v2 << QByteArray("OLD TITLE|OLD ARTIST|OLD ALBUM|1999|4") << QByteArray("Version Two|AC/DC|Old Album|1999|4|0");
        QTest::newRow("version 2 track and year win")
            << id3v23({{"TRCK", QByteArray(1, 0) + "32/40"}, {"TDRC", "\x03" "2020-05-01"}})
            << QByteArray("V1|A|B|1999|4") << QByteArray("V1|A|B|2020|32|0");
        QTest::newRow("version 2 single-byte text guessed like version 1")
            << id3v23({{"TALB", QByteArray(1, 0) + "\x93\xfa\x96\x7b\x8c\xea"}, {"TPE1", QByteArray(1, 0) + "Bj\xf6rk"}})
            << QByteArray() << QByteArray("07 x|Björk|日本語|0|7|0");
        QTest::newRow("a damaged version 2 tag leaves version 1 alone")
            << QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10) + QByteArray("TIT2\xff\xff\xff\xff\0\0\0Lie", 13)
            << QByteArray("V1 TITLE|A||0|0") << QByteArray("V1 Title|A||0|7|0");
    }
    void id3v2MergesOverId3v1()
    {
        QFETCH(QByteArray, v2);
        QFETCH(QByteArray, v1);
        const QString file = writeFile(QStringLiteral("07 x.mp3"), v2 + QByteArray(64, '\xff'));
        if (!v1.isEmpty()) {
            const QList<QByteArray> f = v1.split('|');
            TestTrack::tags.insert(file, makeTags(f[0].constData(), f[1].constData(), f[2].constData(), f[3].toInt(), f[4].toInt()));
        }
        auto info = read(file);
        QVERIFY(info);
        QTEST(describe(*info), "record");
    }

    // Control characters become spaces in any tag; words of a version 1 tag are lowered
    // after their first letter, UTF-8 tags keep theirs.
    void controlCharactersBecomeSpaces_data()
    {
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("version 1 tag") << false << QByteArray("Loud b c ");
        QTest::newRow("UTF-8 tag") << true << QByteArray("LOUD b c ");
    }
    void controlCharactersBecomeSpaces()
    {
        QFETCH(bool, utf8);
        TestTrack::tags.insert(QStringLiteral("/m/c.mp3"), makeTags("LOUD\x01" "b\tc\x1f", "\x1b[31m", "x\ny\x7f", 0, 0, utf8));
        auto info = read(QStringLiteral("/m/c.mp3"));
        QTEST(QByteArray(info->title), "title");
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
};

QUAVRIX_TEST_MAIN(TestTrackInfo)
#include "tst_trackinfo.moc"
