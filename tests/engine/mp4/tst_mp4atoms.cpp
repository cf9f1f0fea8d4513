// The user-data walk and the decoder configuration, on hand-built data.

#include "../decodehelpers.h"

#include "mp4atoms.h"

using namespace Mp4Atoms;

namespace {
// An atom whose length field says something else than its real size.
QByteArray lyingAtom(const QByteArray& type, const QByteArray& body, uint32_t claimed)
{
    return be32(claimed) + type + body;
}

// Text length, language code, text.
QByteArray classicText(const QByteArray& type, const QByteArray& text)
{
    return atom(type, be32(uint32_t(text.size()) << 16 | 0x15c7) + text);
}

QByteArray item(const QByteArray& type, const QByteArray& text)
{
    return atom(type, atom("data", be32(1) + be32(0) + text));
}

QByteArray meta(const QByteArray& children)
{
    return atom("meta", be32(0) + atom("hdlr", be32(0) + "mdirappl" + QByteArray(9, 0)) + children);
}

// The fields the walk found: name|artist|album|notice|info.
QByteArray walk(const QByteArray& udta)
{
    Tags t;
    parseUserData(reinterpret_cast<const uint8_t*>(udta.constData()), size_t(udta.size()), &t);
    return t.name + '|' + t.artist + '|' + t.album + '|' + t.notice + '|' + t.info;
}
} // namespace

class TestMp4Atoms : public QObject
{
    Q_OBJECT

private slots:
    void userData_data()
    {
        QTest::addColumn<QByteArray>("udta");
        QTest::addColumn<QByteArray>("fields");
        const QByteArray ilst = atom("ilst", item("\251nam", "New Title") + item("\251ART", "An Artist")
                                                 + item("covr", QByteArray(100, 'p')) + item("\251alb", "An Album"));
        QTest::newRow("classic items") << classicText("\251nam", "Old Title") + classicText("\251cpy", "(c) Someone")
                + classicText("\251inf", "Info text") << QByteArray("Old Title|||(c) Someone|Info text");
        QTest::newRow("text length beyond the item: cut there") << atom("\251nam", QByteArray("\x01\x00\x00\x00", 4) + "Short") << QByteArray("Short||||");
        QTest::newRow("classic text not UTF-8: taken as Latin-1") << classicText("\251nam", "Caf\xe9") << QByteArray("Caf\xc3\xa9||||");
        QTest::newRow("Latin-1 capitals DE D3 52 are not UTF-8") << classicText("\251nam", "\xde\xd3R") << QByteArray("\xc3\x9e\xc3\x93R||||");
        QTest::newRow("text stops at a NUL") << classicText("\251nam", QByteArray("ab\0cd", 5)) << QByteArray("ab||||");
        QTest::newRow("item too short for its header: empty") << classicText("\251nam", "x") + atom("\251nam", "ab") << QByteArray("||||");
        QTest::newRow("item list") << meta(ilst) << QByteArray("New Title|An Artist|An Album||");
        QTest::newRow("item list after a classic item wins") << classicText("\251nam", "First") + meta(atom("ilst", item("\251nam", "Second")))
                                                             << QByteArray("Second||||");
        QTest::newRow("meta without version and flags") << atom("meta", atom("hdlr", be32(0) + "mdirappl" + QByteArray(9, 0)) + ilst)
                                                        << QByteArray("New Title|An Artist|An Album||");
        QTest::newRow("data atom shorter than the item: its end counts")
            << meta(atom("ilst", atom("\251ART", atom("data", be32(1) + be32(0) + "Padded") + QByteArray(12, 'z')))) << QByteArray("|Padded|||");
        QTest::newRow("nothing after the data header: field kept") << meta(atom("ilst", item("\251alb", "Kept") + item("\251alb", "")))
                                                                   << QByteArray("||Kept||");
        // Lying lengths. The lying items hold sound text, which shows if the lie is believed.
        QTest::newRow("longer than its parent: the walk stops there")
            << meta(atom("ilst", item("\251nam", "Good") + lyingAtom("\251ART", atom("data", be32(1) + be32(0) + "Liar"), 5000)))
            << QByteArray("Good||||");
        QTest::newRow("shorter than a header") << lyingAtom("\251nam", "abcdefgh", 4) + classicText("\251nam", "After") << QByteArray("||||");
        QTest::newRow("zero: to the end of the parent") << lyingAtom("\251nam", QByteArray("\x00\x03\x00\x00" "abc", 7), 0) << QByteArray("abc||||");
        QTest::newRow("64-bit length larger than the data")
            << be32(1) + "\251nam" + QByteArray(8, '\xff') + be32(4 << 16 | 0x15c7) + "Liar" << QByteArray("||||");
        QTest::newRow("data atom longer than the item: the item's end counts")
            << meta(atom("ilst", atom("\251alb", lyingAtom("data", be32(1) + be32(0) + "Album", 9999)))) << QByteArray("||Album||");
        QTest::newRow("meta too short for its version word") << atom("meta", "ab") << QByteArray("||||");
        QTest::newRow("trailing bytes too few for a header") << classicText("\251nam", "Tail") + "abc" << QByteArray("Tail||||");
        QByteArray nested = item("\251nam", "Deep");
        for (int i = 0; i < 2000; ++i)
            nested = atom("ilst", nested);
        QTest::newRow("deeply nested item lists end") << meta(nested) << QByteArray("||||");
    }
    void userData()
    {
        QFETCH(QByteArray, udta);
        QTEST(walk(udta), "fields");
    }

    void trackAndYear_data()
    {
        QTest::addColumn<QByteArray>("ilst");
        QTest::addColumn<QByteArray>("numbers"); // track|year
        const QByteArray trkn = item("trkn", QByteArray("\0\0\0\x05\0\x0c\0\0", 8));
        QTest::newRow("track of a count, date with month and day") << trkn + item("\251day", "1987-03-02") << QByteArray("5|1987");
        QTest::newRow("year alone") << item("\251day", "2004") << QByteArray("0|2004");
        QTest::newRow("track value cut short: none") << item("trkn", QByteArray("\0\0\0", 3)) << QByteArray("0|0");
        QTest::newRow("data atom longer than its item: not read")
            << atom("trkn", lyingAtom("data", be32(0) + be32(0) + QByteArray("\0\0\0\x09\0\0\0\0", 8), 400))
            << QByteArray("0|0");
        QTest::newRow("date without a year") << item("\251day", "unknown") << QByteArray("0|0");
    }
    void trackAndYear()
    {
        QFETCH(QByteArray, ilst);
        const QByteArray udta = meta(atom("ilst", ilst));
        Tags t;
        parseUserData(reinterpret_cast<const uint8_t*>(udta.constData()), size_t(udta.size()), &t);
        QTEST(QByteArray::number(t.track) + '|' + QByteArray::number(t.year), "numbers");
    }

    void fileSummary()
    {
        // In the file too, a user-data atom longer than its movie atom is not read (its
        // text would show); a media atom cut short counts up to the end of the file.
        const QByteArray udta = lyingAtom("udta", classicText("\251nam", "Liar"), 5000);
        const QString file = writeFile(QStringLiteral("lying.m4a"), atom("moov", atom("free", "xx") + udta)
                                                                       + lyingAtom("mdat", QByteArray(100, 'm'), 10000));
        FileSummary summary;
        QVERIFY(readFileSummary(file, &summary));
        QVERIFY(summary.hasMovie);
        QCOMPARE(summary.mediaBytes, int64_t(100));
        QVERIFY(summary.tags.name.isEmpty());
    }

    void audioSpecificConfig_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("objectType");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("coreRate"); // 0: no SBR
        QTest::addColumn<bool>("ps");
        QTest::newRow("LC 44100 stereo, as ffmpeg writes it") << QByteArray("\x12\x10\x56\xe5\x00", 5) << true << 2 << 44100 << 2 << 0 << false;
        QTest::newRow("LC 22050 mono") << QByteArray("\x13\x88") << true << 2 << 22050 << 1 << 0 << false;
        QTest::newRow("explicit HE-AAC, LC core") << QByteArray("\x2b\x92\x08\x00", 4) << true << 2 << 44100 << 2 << 22050 << false;
        QTest::newRow("HE-AAC v2: mono core made stereo") << QByteArray("\xeb\x8a\x08\x00", 4) << true << 2 << 44100 << 2 << 22050 << true;
        QTest::newRow("SBR and PS signalled after the core") << QByteArray("\x13\x90\x56\xe5\xa5\x48\x80") << true << 2 << 44100 << 2 << 22050 << true;
        QTest::newRow("too short") << QByteArray("\x12") << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("reserved rate index") << QByteArray("\x16\x90") << false << 0 << 0 << 0 << 0 << false;
        QTest::newRow("no channel layout") << QByteArray("\x12\x00", 2) << false << 0 << 0 << 0 << 0 << false;
    }
    void audioSpecificConfig()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        AudioConfig c;
        QCOMPARE(parseAudioSpecificConfig(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), &c), ok);
        if (!ok)
            return;
        QTEST(c.objectType, "objectType");
        QTEST(c.rate, "rate");
        QTEST(c.channels, "channels");
        QFETCH(int, coreRate);
        QCOMPARE(c.sbr, coreRate != 0);
        if (c.sbr)
            QCOMPARE(c.coreRate, coreRate);
        QTEST(c.ps, "ps");
    }

    void adtsHeader()
    {
        AudioConfig c;
        const uint8_t stereo[] = {0x12, 0x10};
        QVERIFY(parseAudioSpecificConfig(stereo, sizeof stereo, &c));
        uint8_t h[7];
        QVERIFY(makeAdtsHeader(c, 371, h));
        // Sync word, MPEG-4, no CRC; profile LC (1), index 4, channels 2, length 378.
        const uint8_t expected[7] = {0xff, 0xf1, 0x50, 0x80, 0x2f, 0x5f, 0xfc};
        QCOMPARE(QByteArray(reinterpret_cast<char*>(h), 7), QByteArray(reinterpret_cast<const char*>(expected), 7));
        QVERIFY(makeAdtsHeader(c, 8191 - 7, h));
        QVERIFY(!makeAdtsHeader(c, 8191 - 6, h));
        QVERIFY(!makeAdtsHeader(AudioConfig(), 100, h));
    }
};

QUAVRIX_TEST_MAIN(TestMp4Atoms)
#include "tst_mp4atoms.moc"
