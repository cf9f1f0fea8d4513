#include "testmain.h"

#include "screen.h"
#include "vrxresource.h"
#include "vrxstyleloader.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <tuple>

// Picture lookup, icon sets, bordered pictures and the style library.
class TestVRXResource : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_tree;
    QByteArray m_oldQpeDir;

    void put(const QString& rel, QColor colour, QSize size = QSize(4, 4))
    {
        const QString path = m_tree.path() + QLatin1Char('/') + rel;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage img(size, QImage::Format_ARGB32);
        img.fill(colour);
        QVERIFY(img.save(path, "PNG"));
    }
    void useDisplay(QSize s)
    {
        setDisplaySize(s);
        resetScreenCache();
    }
    static QRgb colourOf(const QImage& img) { return img.isNull() ? 0 : img.pixel(0, 0); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_tree.isValid());
        m_oldQpeDir = qgetenv("QUAVRIX_QPEDIR");
        qputenv("QUAVRIX_QPEDIR", m_tree.path().toUtf8());
        resetPictureCache();
        // Search order: each picture exists in the folders from the given step on; a
        // folder with a picture's name is not a picture.
        const std::pair<const char*, Qt::GlobalColor> pictures[] = {
            {"pics144/Quavrix/a", Qt::red}, {"pics/Quavrix/a", Qt::green}, {"pics144/vrx/b", Qt::red},
            {"pics/Quavrix/b", Qt::green}, {"pics/Quavrix/c", Qt::green}, {"pics/vrx/c", Qt::blue},
            {"pics/vrx/d", Qt::blue}, {"pics144/d", Qt::red}, {"pics144/e", Qt::red}, {"pics/e", Qt::yellow},
            {"pics144/only144", Qt::red}, {"pics/f", Qt::yellow}};
        for (const auto& [name, colour] : pictures)
            put(QLatin1String(name) + QStringLiteral(".png"), colour);
        QDir().mkpath(m_tree.path() + QStringLiteral("/pics144/Quavrix/f.png"));
        for (int s : {16, 24, 32})
            put(QStringLiteral("pics/Quavrix/%1/s.png").arg(s), Qt::red, QSize(s, s));
    }
    void cleanupTestCase()
    {
        qputenv("QUAVRIX_QPEDIR", m_oldQpeDir);
        resetPictureCache();
        useDisplay(QSize(480, 640));
    }

    void searchOrder_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QString>("colours"); // of pictures a..f, "-" for none
        QTest::newRow("large") << QSize(640, 480) << "RRGBRY";
        QTest::newRow("small") << QSize(240, 320) << "GGGBYY";
    }
    void searchOrder()
    {
        QFETCH(QSize, display);
        QFETCH(QString, colours);
        useDisplay(display);
        const bool large = display.width() >= 480;
        const QHash<QChar, QRgb> rgb = {{'R', QColor(Qt::red).rgb()}, {'G', QColor(Qt::green).rgb()},
                                        {'B', QColor(Qt::blue).rgb()}, {'Y', QColor(Qt::yellow).rgb()}};
        for (int i = 0; i < colours.size(); ++i) {
            const QString name(QChar('a' + i));
            QVERIFY2(colourOf(findImage(name)) == rgb.value(colours[i]), qPrintable(name));
        }
        QCOMPARE(findPixmap("only144").isNull(), !large);
        QVERIFY(findImage("missing").isNull());
        QVERIFY(findIconSet("missing").isNull());
    }

    void sizeBuckets_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("bucket");
        QTest::newRow("1") << 1 << 16;
        QTest::newRow("16") << 16 << 16;
        QTest::newRow("17") << 17 << 24;
        QTest::newRow("24") << 24 << 24;
        QTest::newRow("25") << 25 << 32;
        QTest::newRow("80") << 80 << 32;
    }
    void sizeBuckets()
    {
        QFETCH(int, height);
        QFETCH(int, bucket);
        QCOMPARE(pictureSizeBucket(height), bucket);
        // The sized look-up takes the picture of the font's bucket.
        useDisplay(QSize(240, 320));
        QFont f;
        f.setPixelSize(height);
        const QFontMetrics fm(f);
        QCOMPARE(findSizedImage("s", fm).width(), pictureSizeBucket(fm.height()));
        QCOMPARE(findSizedPixmap("s", fm).width(), pictureSizeBucket(fm.height()));
    }

    void borderedGeometry()
    {
        // Picture 20x12 per frame, two frames; borders left 3, right 4, top 2, bottom 5.
        // Frame 1 is drawn; frame 0 is all black so any leak shows. Each of the nine
        // parts has its own colour; a marker at the first middle pixel shows the tiling.
        const int L = 3, R = 4, T = 2, B = 5, PW = 20, PH = 12;
        QImage img(PW, 2 * PH, QImage::Format_ARGB32);
        img.fill(Qt::black);
        QPainter p(&img);
        const int xs[] = {0, L, PW - R, PW}, ys[] = {0, T, PH - B, PH};
        auto part = [](int col, int row) { return QColor(10 + 80 * col, 10 + 80 * row, 200); };
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.fillRect(QRect(QPoint(xs[col], PH + ys[row]), QPoint(xs[col + 1] - 1, PH + ys[row + 1] - 1)), part(col, row));
        p.end();
        img.setPixel(L, PH + T, qRgb(99, 0, 99));

        const QSize size(57, 31);
        const QImage out = drawBorderedImage(size, img, 1, 2, L, R, T, B, nullptr).toImage();
        QCOMPARE(out.size(), size);
        auto at = [&](int x, int y) { return QColor(out.pixel(x, y)); };
        // Corners keep their size, edges stretch between them.
        const std::tuple<int, int, int, int> checks[] = {
            {0, 0, 0, 0}, {L - 1, T - 1, 0, 0}, {56, 0, 2, 0}, {56 - R + 1, T - 1, 2, 0}, {0, 30, 0, 2},
            {56, 30, 2, 2}, {56 - R + 1, 31 - B, 2, 2}, {L, 0, 1, 0}, {56 - R, T - 1, 1, 0}, {30, 30, 1, 2},
            {0, 15, 0, 1}, {56, 15, 2, 1}, {L + 1, T + 1, 1, 1}};
        for (const auto& [x, y, col, row] : checks)
            QVERIFY2(at(x, y) == part(col, row), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        QCOMPARE(at(L, T), QColor(99, 0, 99));
        QCOMPARE(at(L + (PW - L - R), T + (PH - T - B)), QColor(99, 0, 99)); // tiled

        const QColor fill(1, 2, 3);
        const QImage filled = drawBorderedImage(size, img, 1, 2, L, R, T, B, &fill).toImage();
        QCOMPARE(QColor(filled.pixel(L, T)), fill);
        QCOMPARE(QColor(filled.pixel(0, 0)), part(0, 0));
    }

    void borderedNull_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("borders"); // frame, frames, left, right, top, bottom
        QTest::addColumn<bool>("drawn");
        QTest::newRow("too narrow") << QSize(24, 30) << QList<int>{0, 1, 12, 13, 11, 11} << false;
        QTest::newRow("too low") << QSize(30, 21) << QList<int>{0, 1, 12, 13, 11, 11} << false;
        QTest::newRow("borders fit") << QSize(25, 22) << QList<int>{0, 1, 12, 13, 11, 11} << true;
        QTest::newRow("no height") << QSize(30, 0) << QList<int>{0, 1, 0, 0, 0, 0} << false;
        QTest::newRow("no width") << QSize(0, 30) << QList<int>{0, 1, 0, 0, 1, 1} << false;
        QTest::newRow("no top") << QSize(30, 30) << QList<int>{0, 1, 1, 1, 0, 1} << false;
        QTest::newRow("no bottom") << QSize(30, 30) << QList<int>{0, 1, 1, 1, 1, 0} << false;
        QTest::newRow("negative") << QSize(30, 30) << QList<int>{0, 1, -1, 1, 1, 1} << false;
        // A frame past the picture, or no picture: nothing to draw from, the size stays.
        QTest::newRow("frame past") << QSize(30, 30) << QList<int>{5, 2, 1, 1, 1, 1} << true;
    }
    void borderedNull()
    {
        QFETCH(QSize, size);
        QFETCH(QList<int>, borders);
        QFETCH(bool, drawn);
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(Qt::white);
        const auto& b = borders;
        const QPixmap out = drawBorderedImage(size, img, b[0], b[1], b[2], b[3], b[4], b[5], nullptr);
        QCOMPARE(out.isNull(), !drawn);
        if (drawn)
            QCOMPARE(out.size(), size);
        QCOMPARE(drawBorderedImage(size, QImage(), b[0], b[1], b[2], b[3], b[4], b[5], nullptr).isNull(), !drawn);
    }

    void styleLibrary()
    {
        QTemporaryDir qpe;
        QDir().mkpath(qpe.path() + "/lib");
        qputenv("QUAVRIX_QPEDIR", qpe.path().toUtf8());
        VRXStyleLoader loader;
        // No library: nothing happens.
        QVERIFY(!loader.load());
        QVERIFY(!loader.unload());

        QVERIFY(QFile::copy(QStringLiteral(STYLE_PLUGIN), qpe.path() + "/lib/libvrxstyle.so"));
        QVERIFY(loader.load());
        QVERIFY(loader.isLoaded());
        QCOMPARE(QApplication::style()->objectName(), QStringLiteral("xp"));
        QPointer<QStyle> first = QApplication::style();
        // Loading again keeps the handle and installs a fresh style object.
        QVERIFY(loader.load());
        QVERIFY(QApplication::style() != first.data());
        QCOMPARE(QApplication::style()->objectName(), QStringLiteral("xp"));

        VRXStyleLoader::replaceLibraryStyle();
        QVERIFY(QApplication::style()->objectName() != QStringLiteral("xp"));
        QVERIFY(loader.unload());
        QVERIFY(!loader.isLoaded());
        // Unloading while the library's style is installed replaces it first.
        QVERIFY(loader.load());
        QCOMPARE(QApplication::style()->objectName(), QStringLiteral("xp"));
        QVERIFY(loader.unload());
        QVERIFY(QApplication::style()->objectName() != QStringLiteral("xp"));
        QWidget().grab(); // painting with the replacement style works

        // A library without the entry point leaves the style alone.
        QFile::remove(qpe.path() + "/lib/libvrxstyle.so");
        QVERIFY(QFile::copy(QStringLiteral(STYLE_PLUGIN_NOSYM), qpe.path() + "/lib/libvrxstyle.so"));
        const QString styleBefore = QApplication::style()->objectName();
        QVERIFY(!loader.load());
        QVERIFY(loader.isLoaded());
        QCOMPARE(QApplication::style()->objectName(), styleBefore);
        QVERIFY(loader.unload());
        qputenv("QUAVRIX_QPEDIR", m_tree.path().toUtf8());
    }
};

QUAVRIX_TEST_MAIN(TestVRXResource)
#include "tst_vrxresource.moc"
