// Track descriptions: the ID3 version 2 reader on hand-built tags (versions, text
// encodings, unsynchronisation, extended headers, frame flags, sizes that lie), and
// readTrackInfo's normalisation and codec guessing. Whole track texts: a title in any
// script comes back from every format as the tagger wrote it, up to a bound that a lying
// tag cannot push, and is never cut inside a character. The cover of a track: each
// format's embedded picture, the front cover among several, a picture file beside the
// track, and files that lie, stop short or are not files at all.
#include "decodehelpers.h"
#include "testdecoders.h"

#include "coverart.h"
#include "id3v2tag.h"

#include <memory>

#include <sys/stat.h>

namespace {

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), int(list.size()));
}

QByteArray syncSafe(uint32_t v)
{
    return bytes({char(v >> 21 & 0x7f), char(v >> 14 & 0x7f), char(v >> 7 & 0x7f), char(v & 0x7f)});
}

QByteArray unsync(const QByteArray& in)
{
    QByteArray out;
    for (int i = 0; i < in.size(); ++i) {
        out += in[i];
        if (uchar(in[i]) == 0xFF && (i + 1 == in.size() || uchar(in[i + 1]) >= 0xE0 || in[i + 1] == 0))
            out += '\0';
    }
    return out;
}

QByteArray frame22(const char* id, const QByteArray& body)
{
    const uint32_t n = uint32_t(body.size());
    return QByteArray(id, 3) + bytes({char(n >> 16), char(n >> 8), char(n)}) + body;
}

// A 2.3/2.4 frame with the size field given (it may lie).
QByteArray frame(const char* id, const QByteArray& size, const QByteArray& body, uint16_t flags = 0)
{
    return QByteArray(id, 4) + size + bytes({char(flags >> 8), char(flags)}) + body;
}

QByteArray frame23(const char* id, const QByteArray& body, uint16_t flags = 0)
{
    return frame(id, be32(uint32_t(body.size())), body, flags);
}

QByteArray frame24(const char* id, const QByteArray& body, uint16_t flags = 0)
{
    return frame(id, syncSafe(uint32_t(body.size())), body, flags);
}

QByteArray tag(int version, const QByteArray& body, uint8_t flags = 0, int padding = 0)
{
    return QByteArray("ID3") + char(version) + char(0) + char(flags) + syncSafe(uint32_t(body.size() + padding)) + body
        + QByteArray(padding, 0);
}

QByteArray latin1(const QByteArray& s) { return '\0' + s; }
QByteArray utf8(const char* s) { return '\3' + QByteArray(s); }

QByteArray utf16(const QString& s, bool bigEndian, bool mark, char encoding)
{
    QByteArray out(1, encoding);
    if (mark)
        out += bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : s) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xff);
        out += bigEndian ? bytes({hi, lo}) : bytes({lo, hi});
    }
    return out + QByteArray(2, 0);
}

// The tag's fields: title|artist|album|track|year, a text of single-byte encoding marked "~".
QByteArray describe(const Id3v2::Tag& t)
{
    auto text = [](const Id3v2::Text& x) { return (x.latin1 ? "~" : "") + x.bytes; };
    return text(t.title) + '|' + text(t.artist) + '|' + text(t.album) + '|' + QByteArray::number(t.track) + '|'
        + QByteArray::number(t.year);
}

QByteArray parsed(const QByteArray& bytes)
{
    Id3v2::Tag t;
    if (!Id3v2::parse(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), &t))
        return "no tag";
    return describe(t);
}

QString cover(const char* name) { return fixture("covers/") + QLatin1String(name); }

// A file cut n bytes after the first place its bytes hold needle.
QString cutAfter(const char* from, const QByteArray& needle, int n, const QString& name)
{
    const QByteArray bytes = readFile(cover(from));
    const qsizetype at = bytes.indexOf(needle);
    if (at < 0)
        qFatal("%s not in %s", needle.constData(), from);
    return writeFile(name, bytes.left(at + n));
}

QString fifo(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make %s", qPrintable(path));
    return path;
}

QString longTitle()
{
    return QStringLiteral("Größe Юность 夜明けの歌 ").repeated(10).left(119) + QLatin1Char('.');
}

const QByteArray three23 = frame23("TIT2", latin1("Title")) + frame23("TPE1", latin1("Artist"))
    + frame23("TALB", latin1("Album"));

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

    // Without a tag the title is the file name, its words lowered after their first
    // letter; the track is the name's first two digits, also when a version 1 tag holds
    // 32 (a space: the byte of a comment running on) as its track.
    void titleAndTrackFromTheFileName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("tagTrack"); // -1: no tag
        QTest::addColumn<QString>("read"); // title|track
        QTest::newRow("upper case lowered") << "/m/07 - SOME TITLE.mp3" << -1 << "07 - Some Title|7";
        QTest::newRow("nothing raised") << "/m/07 - some title.mp3" << -1 << "07 - some title|7";
        QTest::newRow("only the last extension") << "/m/a.b.mp3" << -1 << "a.b|0";
        QTest::newRow("no dot") << "/m/track07" << -1 << "track07|7";
        QTest::newRow("first two digits") << "/m/1 x 234.ogg" << -1 << "1 x 234|23";
        QTest::newRow("digits in the folder do not count") << "/m/99/abc.mp3" << -1 << "abc|0";
        QTest::newRow("dot file") << "/m/.mp3" << -1 << "|0";
        QTest::newRow("tag track 32: the name's") << "/m/05 x.mp3" << 32 << "T|5";
        QTest::newRow("tag track 3 wins") << "/m/06 y.mp3" << 3 << "T|3";
        QTest::newRow("tag track 32, no digits: none") << "/m/z.mp3" << 32 << "T|0";
    }
    void titleAndTrackFromTheFileName()
    {
        QFETCH(QString, file);
        QFETCH(int, tagTrack);
        if (tagTrack >= 0)
            TestTrack::tags.insert(file, makeTags("T", "", "", 0, tagTrack));
        auto info = read(file);
        QVERIFY(info);
        QTEST(QString::fromUtf8(info->title) + QLatin1Char('|') + QString::number(info->track), "read");
        QCOMPARE(QByteArray(info->fileName), file.toUtf8());
    }

    // Tag bytes of unknown encoding (ID3 version 1) as common taggers write them, and the
    // text a reader expects to see. Control characters become spaces in any tag; words of
    // a version 1 tag are lowered after their first letter, UTF-8 tags keep theirs.
    void tagTextEncodingIsGuessed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8"); // the decoder says the tag is UTF-8
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8 accents lost to eucJP") << QByteArray("Caf\xc3\xa9 M\xc3\xbcller") << false << QStringLiteral("Café Müller");
        QTest::newRow("UTF-8 capital C cedilla lost to SJIS") << QByteArray("\xc3\x87" "a ira") << false << QStringLiteral("Ça ira");
        QTest::newRow("UTF-8 kana lost to SJIS (mojibake)") << QByteArray("\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88") << false
                                                            << QStringLiteral("あいうえ");
        QTest::newRow("Latin-1 read as SJIS user-defined and unmapped pairs")
            << QByteArray("Bj\xf6rk M\xfcller") << false << QStringLiteral("Björk Müller");
        QTest::newRow("Latin-1 accents") << QByteArray("CAF\xc9 ALBUM") << false << QStringLiteral("Café Album");
        QTest::newRow("SJIS kanji") << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << false << QStringLiteral("日本語");
        QTest::newRow("SJIS kana") << QByteArray("\x82\xa0\x82\xa2\x82\xa4\x82\xa6") << false << QStringLiteral("あいうえ");
        QTest::newRow("eucJP kanji") << QByteArray("\xc6\xfc\xcb\xdc\xb8\xec") << false << QStringLiteral("日本語");
        QTest::newRow("eucJP kana") << QByteArray("\xa4\xa2\xa4\xa4\xa4\xa6\xa4\xa8") << false << QStringLiteral("あいうえ");
        QTest::newRow("ASCII unchanged") << QByteArray("Plain Title 42") << false << QStringLiteral("Plain Title 42");
        QTest::newRow("version 1 controls become spaces, DEL kept") << QByteArray("LOUD\x01" "b\tc\x1b[31m\x7f") << false
                                                                   << QStringLiteral("Loud b c [31m\x7f");
        QTest::newRow("UTF-8 tag: controls become spaces, words as written") << QByteArray("LOUD\x01" "b\tc\x1f") << true
                                                                            << QStringLiteral("LOUD b c ");
        QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("A\xe0\x80\x80") << false << QStringLiteral("Aà\u0080\u0080");
    }
    void tagTextEncodingIsGuessed()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QFETCH(QString, text);
        TestTrack::tags.insert(QStringLiteral("/m/t.mp3"), makeTags(bytes.constData(), bytes.constData(), bytes.constData(), 0, 0, utf8));
        auto info = read(QStringLiteral("/m/t.mp3"));
        QCOMPARE(QString::fromUtf8(info->title), text);
        QCOMPARE(QString::fromUtf8(info->artist), text);
        QCOMPARE(QString::fromUtf8(info->album), text);
    }

    // A version 2 tag at the start of the file over the version 1 fields the decoder gives.
    void id3v2MergesOverId3v1_data()
    {
        QTest::addColumn<QByteArray>("v2");
        QTest::addColumn<QByteArray>("v1"); // title|artist|album|year|track, empty: no tag
        QTest::addColumn<QByteArray>("record");
        const QByteArray v2 = tag(3, frame23("TIT2", latin1("Version Two")) + frame23("TPE1", utf8("AC/DC")));
        QTest::newRow("version 2 only: no file-name title, an artist, words as written")
            << v2 << QByteArray() << QByteArray("Version Two|AC/DC||0|7|0");
        QTest::newRow("version 2 title wins, version 1 fills the rest (capitalised as before)")
            << v2 << QByteArray("OLD TITLE|OLD ARTIST|OLD ALBUM|1999|4") << QByteArray("Version Two|AC/DC|Old Album|1999|4|0");
        QTest::newRow("version 2 track and year win")
            << tag(3, frame23("TRCK", latin1("32/40")) + frame23("TDRC", utf8("2020-05-01")))
            << QByteArray("V1|A|B|1999|4") << QByteArray("V1|A|B|2020|32|0");
        QTest::newRow("version 2 single-byte text guessed like version 1")
            << tag(3, frame23("TALB", latin1("\x93\xfa\x96\x7b\x8c\xea")) + frame23("TPE1", latin1("Bj\xf6rk")))
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

    void frames_data()
    {
        QTest::addColumn<QByteArray>("tag");
        QTest::addColumn<QByteArray>("fields");

        // Versions and the fields each one names.
        QTest::newRow("2.3: title, artist, album, track of a count, year")
            << tag(3, three23 + frame23("TRCK", latin1("5/12")) + frame23("TYER", latin1("1999")), 0, 40)
            << QByteArray("~Title|~Artist|~Album|5|1999");
        QTest::newRow("2.4: recording date gives the year") << tag(4, frame24("TIT2", utf8("T")) + frame24("TDRC", utf8("2020-05-01")))
                                                           << QByteArray("T|||0|2020");
        QTest::newRow("2.4: year frame before the date frame wins")
            << tag(4, frame24("TDRC", utf8("2020")) + frame24("TYER", utf8("1980"))) << QByteArray("|||0|1980");
        QTest::newRow("2.2: three-letter frames")
            << tag(2, frame22("TT2", latin1("Old")) + frame22("TP1", latin1("Band")) + frame22("TAL", latin1("LP"))
                          + frame22("TRK", latin1("3")) + frame22("TYE", latin1("1987")))
            << QByteArray("~Old|~Band|~LP|3|1987");
        QTest::newRow("2.2 frames in a 2.3 tag are not ours") << tag(3, frame22("TT2", latin1("Old")) + frame23("TPE1", latin1("B")))
                                                             << QByteArray("|||0|0");
        QTest::newRow("track with a leading zero is base 10") << tag(3, frame23("TRCK", latin1("08"))) << QByteArray("|||8|0");
        QTest::newRow("track past 99999: none") << tag(3, frame23("TRCK", latin1("123456"))) << QByteArray("|||0|0");

        // Text encodings.
        const QString cafe = QStringLiteral("Café 日本");
        QTest::newRow("UTF-16, little-endian mark") << tag(3, frame23("TIT2", utf16(cafe, false, true, 1))) << cafe.toUtf8() + "|||0|0";
        QTest::newRow("UTF-16, big-endian mark") << tag(3, frame23("TIT2", utf16(cafe, true, true, 1))) << cafe.toUtf8() + "|||0|0";
        QTest::newRow("UTF-16 without its mark: order from the zero bytes")
            << tag(3, frame23("TIT2", utf16(QStringLiteral("Abc"), false, false, 1))) << QByteArray("Abc|||0|0");
        QTest::newRow("UTF-16BE") << tag(4, frame24("TIT2", utf16(cafe, true, false, 2))) << cafe.toUtf8() + "|||0|0";
        QTest::newRow("UTF-8") << tag(4, frame24("TIT2", utf8("Caf\xc3\xa9"))) << QByteArray("Caf\xc3\xa9|||0|0");
        QTest::newRow("UTF-8 that is not: guessed like Latin-1") << tag(4, frame24("TIT2", utf8("Caf\xe9")))
                                                                 << QByteArray("~Caf\xe9|||0|0");
        QTest::newRow("UTF-8 frame holding Latin-1 capitals DE D3 52: single-byte text")
            << tag(3, frame23("TIT2", utf8("\xde\xd3R"))) << QByteArray("~\xde\xd3R|||0|0");
        QTest::newRow("unknown encoding: frame ignored, the next one read")
            << tag(3, frame23("TIT2", "\x07" "Bad") + frame23("TIT2", latin1("Good"))) << QByteArray("~Good|||0|0");
        QTest::newRow("several strings: the first") << tag(4, frame24("TPE1", utf8("One") + QByteArray(1, 0) + "Two"))
                                                    << QByteArray("|One||0|0");
        QTest::newRow("first frame of a kind wins") << tag(3, frame23("TIT2", latin1("First")) + frame23("TIT2", latin1("Second")))
                                                    << QByteArray("~First|||0|0");
        QTest::newRow("empty title does not hide a later one")
            << tag(3, frame23("TIT2", latin1("")) + frame23("TIT2", latin1("Later"))) << QByteArray("~Later|||0|0");

        // Unsynchronisation: a title "a\xFF\xE0b" reads "a\xFF" where it is not undone.
        const QByteArray ff = latin1("a\xFF\xE0" "b");
        QTest::newRow("2.3 unsynchronised as a whole") << tag(3, unsync(frame23("TIT2", ff) + frame23("TPE1", latin1("\xFF\xFF"))), 0x80)
                                                       << QByteArray("~a\xFF\xE0" "b|~\xFF\xFF||0|0");
        QTest::newRow("2.4 frame unsynchronised") << tag(4, frame24("TIT2", unsync(ff), 0x0002)) << QByteArray("~a\xFF\xE0" "b|||0|0");
        QTest::newRow("2.4 header flag: every frame unsynchronised") << tag(4, frame24("TIT2", unsync(ff)), 0x80)
                                                                    << QByteArray("~a\xFF\xE0" "b|||0|0");

        // Extended headers.
        QTest::newRow("2.3 extended header skipped") << tag(3, be32(6) + QByteArray(6, 0) + three23, 0x40)
                                                     << QByteArray("~Title|~Artist|~Album|0|0");
        QTest::newRow("2.4 extended header skipped (its size counts itself)")
            << tag(4, syncSafe(6) + QByteArray("\x01\x00", 2) + frame24("TIT2", utf8("T")), 0x40) << QByteArray("T|||0|0");
        QTest::newRow("extended header longer than the tag: nothing read")
            << tag(3, be32(5000) + QByteArray(6, 0) + three23, 0x40) << QByteArray("|||0|0");

        // Frame flags.
        QTest::newRow("2.3 compressed frame skipped")
            << tag(3, frame23("TIT2", QByteArray("\0\0\0\x10xyz", 7), 0x0080) + frame23("TIT2", latin1("Plain"))) << QByteArray("~Plain|||0|0");
        QTest::newRow("2.4 encrypted frame skipped")
            << tag(4, frame24("TIT2", QByteArray("\x80") + utf8("Secret"), 0x0004) + frame24("TPE1", utf8("Open"))) << QByteArray("|Open||0|0");
        QTest::newRow("2.3 group byte before the text") << tag(3, frame23("TIT2", QByteArray("\x05") + latin1("G"), 0x0020))
                                                        << QByteArray("~G|||0|0");
        QTest::newRow("2.4 group byte and data length before the text")
            << tag(4, frame24("TIT2", QByteArray("\x05") + syncSafe(2) + latin1("G"), 0x0041)) << QByteArray("~G|||0|0");

        // Sizes.
        const QByteArray longTitle = latin1(QByteArray(255, 'a'));
        QTest::newRow("2.4 with plain frame sizes (an old writer's fault)")
            << tag(4, frame("TIT2", be32(256), longTitle) + frame24("TPE1", utf8("After")))
            << QByteArray("~" + QByteArray(255, 'a') + "|After||0|0");
        // 256 is 00 00 01 00: sync-safe in shape, 128 if read so, which lands in the zeros.
        QTest::newRow("2.3 frame sizes are plain even where they look sync-safe")
            << tag(3, frame23("PRIV", QByteArray(256, 0)) + three23) << QByteArray("~Title|~Artist|~Album|0|0");
        QTest::newRow("frame longer than the tag: the walk stops there")
            << tag(3, frame23("TIT2", latin1("Kept")) + frame("TPE1", be32(4000), latin1("Sound text")) + frame23("TALB", latin1("Never")))
            << QByteArray("~Kept|||0|0");
        QTest::newRow("frame size near 4 GiB: the walk stops")
            << tag(3, frame("TPE1", be32(0xFFFFFFF0u), latin1("Sound text")) + frame23("TALB", latin1("Never"))) << QByteArray("|||0|0");
        QTest::newRow("padding ends the walk") << tag(3, frame23("TIT2", latin1("T")) + QByteArray(10, 0) + frame23("TPE1", latin1("Hidden")))
                                               << QByteArray("~T|||0|0");
        QTest::newRow("frames past the tag's end are not read")
            << tag(3, frame23("TIT2", latin1("In"))).append(frame23("TPE1", latin1("Audio"))) << QByteArray("~In|||0|0");
        QTest::newRow("empty frame skipped") << tag(3, frame23("TPE2", "") + frame23("TIT2", latin1("T"))) << QByteArray("~T|||0|0");
        QTest::newRow("tag longer than the data: frames that fit are read")
            << (tag(3, three23, 0, 5000).left(10 + three23.size() - 2)) << QByteArray("~Title|~Artist||0|0");

        // Headers that are not a tag.
        QTest::newRow("no tag") << QByteArray("TAG plain bytes") << QByteArray("no tag");
        QTest::newRow("version 5") << tag(5, three23) << QByteArray("no tag");
        QTest::newRow("size with its high bit set") << QByteArray("ID3\x03\x00\x00\x00\x00\x80\x00", 10) + three23 << QByteArray("no tag");
        QTest::newRow("2.2 compressed") << tag(2, frame22("TT2", latin1("x")), 0x40) << QByteArray("no tag");
        QTest::newRow("header only") << QByteArray("ID3\x03\x00\x00\x00\x00\x00\x00", 10) << QByteArray("|||0|0");
    }
    void frames()
    {
        QFETCH(QByteArray, tag);
        QTEST(parsed(tag), "fields");
    }

    void everyShorterInputIsSafe()
    {
        // Each cut of a tag full of flags: no read past the end, no crash (run under ASan).
        const QByteArray full = tag(4, syncSafe(6) + QByteArray("\x01\x00", 2) + frame24("TIT2", QByteArray("\x05") + syncSafe(4) + unsync(latin1("a\xFF\xE0")), 0x0043)
                                           + frame24("TPE1", utf16(QStringLiteral("x"), false, true, 1)), 0xC0);
        for (int n = 0; n <= full.size(); ++n)
            parsed(full.left(n));
        QCOMPARE(parsed(full), QByteArray("~a\xFF\xE0|x||0|0"));
    }

    void fileReadSkipsPicturesBeforeTheText()
    {
        // A large picture first: the text frames after it are found with a seek. Its size,
        // 00 03 0D 40, also reads as sync-safe and would land inside the picture's zeros.
        const QByteArray picture = frame23("APIC", QByteArray(200000, '\0'));
        const QByteArray bytes = tag(3, picture + three23 + frame23("TYER", latin1("2001")), 0, 100) + QByteArray(500, '\xff');
        Id3v2::Tag t;
        QVERIFY(Id3v2::readFile(writeFile(QStringLiteral("picture.mp3"), bytes), &t));
        QCOMPARE(describe(t), QByteArray("~Title|~Artist|~Album|0|2001"));
        QVERIFY(!Id3v2::readFile(fixture("mp3/tagged-v1.mp3"), &t));
        QVERIFY(!Id3v2::readFile(QStringLiteral("/nonexistent/file.mp3"), &t));
    }

    void everyFormatGivesTheWholeTitle_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::newRow("ID3v2.3, UTF-16") << fixture("tags/long-v23.mp3") << longTitle();
        QTest::newRow("ID3v2.4, UTF-8") << fixture("tags/long-v24.mp3") << longTitle();
        QTest::newRow("31 bytes of Cyrillic") << fixture("tags/cyrillic31.mp3") << QStringLiteral("!") + QString(15, QChar(0x436));
        QTest::newRow("Ogg Vorbis") << fixture("tags/long.ogg") << longTitle();
        QTest::newRow("FLAC") << fixture("tags/long.flac") << longTitle();
        QTest::newRow("Opus") << fixture("tags/long.opus") << longTitle();
        QTest::newRow("MP4") << fixture("tags/long.m4a") << longTitle();
    }
    void everyFormatGivesTheWholeTitle()
    {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QCOMPARE(title.size(), file.contains("cyrillic") ? 16 : 120);
        LoopControl control;
        std::unique_ptr<AudioInfo> info(LoopControl::readTrackInfo(control.decoderFor(file), file));
        QVERIFY(info);
        QCOMPARE(QString::fromUtf8(info->title), title);
        QCOMPARE(QString::fromUtf8(info->artist), QStringLiteral("Артист 歌手"));
        QCOMPARE(QString::fromUtf8(info->album), QStringLiteral("Álbum"));
        // A copy, as the library and the play list keep them, is as whole.
        const AudioInfo copy = *info;
        QCOMPARE(QString::fromUtf8(copy.title), title);
    }

    // Past the bound the cut falls between characters, whatever their length; a NUL ends
    // the text as it ends a version 1 field.
    void theBoundCutsBetweenCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("three-byte characters") << QString(400, QChar(0x65e5)) << QString(341, QChar(0x65e5));
        QTest::newRow("two-byte characters") << QString(600, QChar(0x436)) << QString(512, QChar(0x436));
        QTest::newRow("a byte, then two-byte ones") << "!" + QString(600, QChar(0x436)) << "!" + QString(511, QChar(0x436));
        QTest::newRow("four-byte characters") << QString::fromUcs4(U"\U0001F3B5").repeated(300)
                                              << QString::fromUcs4(U"\U0001F3B5").repeated(256);
        QTest::newRow("a NUL ends it") << QString::fromUtf8("Title\0rest", 10) << QStringLiteral("Title");
    }
    void theBoundCutsBetweenCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        AudioInfo info;
        AudioInfo::setText(info.title, text.toUtf8());
        QCOMPARE(QString::fromUtf8(info.title), kept);
        QVERIFY(info.title.size() <= TagText::MaxBytes);
        // A file name as long gives a title as whole, bounded the same way.
        auto named = read("/m/" + text.section(QChar(0), 0, 0).toLower() + ".mp3");
        QVERIFY(named);
        QCOMPARE(QString::fromUtf8(named->title), kept.toLower());
    }

    void picture_data()
    {
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("expected"); // the picture file whose bytes come back, or none
        const QByteArray png("\x89PNG");
        QTest::newRow("ID3v2.3 APIC") << cover("apic.mp3") << "front.jpg";
        QTest::newRow("MP4 covr") << cover("covr.m4a") << "front.jpg";
        QTest::newRow("FLAC: the front cover, not the first picture") << cover("picture.flac") << "front.png";
        QTest::newRow("Opus METADATA_BLOCK_PICTURE") << cover("picture.opus") << "front.png";
        QTest::newRow("beside the track, name in another case") << cover("beside/plain.mp3") << "front.jpg";
        QTest::newRow("APIC size says 2 GiB: nothing, and no cover beside") << cover("lying.mp3") << "";
        QTest::newRow("no picture anywhere") << fixture("replaygain/plain.flac") << "";
        QTest::newRow("APIC cut inside the picture")
            << cutAfter("apic.mp3", "\xFF\xD8", 100, QStringLiteral("cut.mp3")) << "";
        // The front cover's block runs past the end: the whole back cover before it is all.
        QTest::newRow("FLAC cut inside the front cover")
            << cutAfter("picture.flac", "front", 125, QStringLiteral("cut.flac")) << "back.png";
        QTest::newRow("Opus cut inside the picture comment")
            << cutAfter("picture.opus", "METADATA_BLOCK_PICTURE", 300, QStringLiteral("cut.opus")) << "";
        QTest::newRow("MP4 cut inside covr") << cutAfter("covr.m4a", "covr", 300, QStringLiteral("cut.m4a")) << "";
        // A block of 60 bytes whose picture claims 2 GiB, the bytes there being a PNG start.
        const QByteArray block = be32(3) + be32(9) + "image/png" + be32(0) + QByteArray(16, '\0') + be32(0x80000000u) + png;
        QTest::newRow("FLAC picture length says 2 GiB")
            << writeFile(QStringLiteral("lying.flac"), "fLaC" + be32(0x86000000u | uint32_t(block.size())) + block) << "";
        QTest::newRow("FLAC block length says 16 MiB")
            << writeFile(QStringLiteral("long.flac"), "fLaC" + be32(0x86FFFFFFu) + block) << "";
        QTest::newRow("a FIFO named cover.jpg beside the track")
            << (fifo(quavrixTestRoot() + QStringLiteral("/fifo/cover.jpg")),
                QFile::copy(cover("beside/plain.mp3"), quavrixTestRoot() + QStringLiteral("/fifo/plain.mp3")),
                quavrixTestRoot() + QStringLiteral("/fifo/plain.mp3"))
            << "";
        QTest::newRow("the track a FIFO") << fifo(quavrixTestRoot() + QStringLiteral("/fifo/track.mp3")) << "";
    }
    void picture()
    {
        QFETCH(QString, track);
        QFETCH(QString, expected);
        // A FIFO opened for reading would block here until the test times out.
        const QByteArray found = CoverArt::find(track);
        QCOMPARE(found.size(), expected.isEmpty() ? 0 : readFile(cover(qPrintable(expected))).size());
        if (!expected.isEmpty())
            QVERIFY(found == readFile(cover(qPrintable(expected))));
    }
};

QUAVRIX_TEST_MAIN(TestTrackInfo)
#include "tst_trackinfo.moc"
