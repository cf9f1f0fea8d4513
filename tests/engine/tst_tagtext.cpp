// Whole track texts: a title in any script comes back from every format as the tagger
// wrote it, up to a bound that a lying tag cannot push, and is never cut inside a character.
#include "decodehelpers.h"
#include "testdecoders.h"

#include "loopcontrol.h"

#include <memory>

namespace {
QString longTitle()
{
    return QStringLiteral("Größe Юность 夜明けの歌 ").repeated(10).left(119) + QLatin1Char('.');
}
} // namespace

class TestTagText : public QObject
{
    Q_OBJECT

private slots:
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
        PatternDecoder d(QStringLiteral("audio/mpeg"));
        TestTrack::reset();
        std::unique_ptr<AudioInfo> named(LoopControl::readTrackInfo(&d, "/m/" + text.section(QChar(0), 0, 0).toLower() + ".mp3"));
        QVERIFY(named);
        QCOMPARE(QString::fromUtf8(named->title), kept.toLower());
    }
};

QUAVRIX_TEST_MAIN(TestTagText)
#include "tst_tagtext.moc"
