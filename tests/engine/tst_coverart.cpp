// The cover of a track: each format's embedded picture, the front cover among several, a
// picture file beside the track, and files that lie, stop short or are not files at all.
#include "decodehelpers.h"

#include "coverart.h"

#include <sys/stat.h>

namespace {

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

} // namespace

class TestCoverArt : public QObject
{
    Q_OBJECT
private slots:
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

QUAVRIX_TEST_MAIN(TestCoverArt)
#include "tst_coverart.moc"
