#include "testmain.h"

#include "screen.h"
#include "vrxresource.h"
#include "vrxstyleloader.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

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
        // Search order: each picture exists in the folders from the given step on.
        put(QStringLiteral("pics144/Quavrix/a.png"), Qt::red);
        put(QStringLiteral("pics/Quavrix/a.png"), Qt::green);
        put(QStringLiteral("pics144/vrx/b.png"), Qt::red);
        put(QStringLiteral("pics/Quavrix/b.png"), Qt::green);
        put(QStringLiteral("pics/Quavrix/c.png"), Qt::green);
        put(QStringLiteral("pics/vrx/c.png"), Qt::blue);
        put(QStringLiteral("pics/vrx/d.png"), Qt::blue);
        put(QStringLiteral("pics144/d.png"), Qt::red);
        put(QStringLiteral("pics144/e.png"), Qt::red);
        put(QStringLiteral("pics/e.png"), Qt::yellow);
        put(QStringLiteral("pics144/only144.png"), Qt::red);
        put(QStringLiteral("pics/Quavrix/16/s.png"), Qt::red, QSize(16, 16));
        put(QStringLiteral("pics/Quavrix/24/s.png"), Qt::green, QSize(24, 24));
        put(QStringLiteral("pics/Quavrix/32/s.png"), Qt::blue, QSize(32, 32));
        // A folder with a picture's name is not a picture.
        QDir().mkpath(m_tree.path() + QStringLiteral("/pics144/Quavrix/f.png"));
        put(QStringLiteral("pics/f.png"), Qt::yellow);
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
        const QString q = m_tree.path();
        QStringList want = {q + "/pics144/Quavrix/n.png", q + "/pics144/vrx/n.png", q + "/pics/Quavrix/n.png",
                            q + "/pics/vrx/n.png", q + "/pics144/n.png", q + "/pics/n.png"};
        if (!large)
            want = want.filter("/pics/");
        QCOMPARE(pictureSearchPaths(QStringLiteral("n")), want);
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

    void baseFolderIsKept()
    {
        useDisplay(QSize(240, 320));
        QVERIFY(!findImage("a").isNull());
        qputenv("QUAVRIX_QPEDIR", "/nonexistent");
        QVERIFY(!findImage("a").isNull()); // read once, kept for the run
        resetPictureCache();
        QVERIFY(findImage("a").isNull());
        qputenv("QUAVRIX_QPEDIR", m_tree.path().toUtf8());
        resetPictureCache();
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

    void disabledPixels()
    {
        QImage img(4, 1, QImage::Format_ARGB32);
        img.setPixel(0, 0, qRgba(0, 0, 0, 255));
        img.setPixel(1, 0, qRgba(255, 255, 255, 255));
        img.setPixel(2, 0, qRgba(200, 100, 50, 255));
        img.setPixel(3, 0, qRgba(10, 20, 30, 100));
        const QImage d = disabledImage(img);
        QCOMPARE(d.pixel(0, 0), qRgba(63, 63, 63, 192));
        QCOMPARE(d.pixel(1, 0), qRgba(255, 255, 255, 192));
        // grey (2200 + 1600 + 250) >> 5 = 126; 126 + 129 * 25 / 100 = 158
        QCOMPARE(d.pixel(2, 0), qRgba(158, 158, 158, 192));
        // grey (110 + 320 + 150) >> 5 = 18; 18 + 237 * 25 / 100 = 77; alpha 100 - 25
        QCOMPARE(d.pixel(3, 0), qRgba(77, 77, 77, 75));
        // The original is untouched.
        QCOMPARE(img.pixel(0, 0), qRgba(0, 0, 0, 255));

        // Colour-table images: every entry converted and made opaque.
        QImage idx(2, 1, QImage::Format_Indexed8);
        idx.setColorTable({qRgba(0, 0, 0, 255), qRgba(200, 100, 50, 10)});
        idx.setPixel(0, 0, 0);
        idx.setPixel(1, 0, 1);
        const QImage di = disabledImage(idx);
        QCOMPARE(di.color(0), qRgba(63, 63, 63, 255));
        QCOMPARE(di.color(1), qRgba(158, 158, 158, 255));
    }

    void iconSetHasDisabledLook()
    {
        QImage img(8, 8, QImage::Format_ARGB32);
        img.fill(qRgba(0, 0, 0, 255));
        const QIcon icon = iconSetFromImage(img);
        QVERIFY(!icon.isNull());
        const QImage disabled = icon.pixmap(QSize(8, 8), QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
        // Pixmaps are stored premultiplied: allow one step of rounding.
        const QRgb d = disabled.pixel(3, 3);
        QCOMPARE(qAlpha(d), 192);
        QVERIFY2(qAbs(qRed(d) - 63) <= 1 && qRed(d) == qGreen(d) && qGreen(d) == qBlue(d),
                 qPrintable(QString::number(qRed(d))));
        QVERIFY(iconSetFromImage(QImage()).isNull());
    }

    void borderedGeometry()
    {
        // Picture 20x12 per frame, two frames; borders left 3, right 4, top 2, bottom 5.
        // Frame 1 is drawn; frame 0 is all black so any leak shows.
        const int L = 3, R = 4, T = 2, B = 5, PW = 20, PH = 12;
        QImage img(PW, 2 * PH, QImage::Format_ARGB32);
        img.fill(Qt::black);
        auto region = [&](int x, int y, int w, int h, QColor c) {
            for (int yy = y; yy < y + h; ++yy)
                for (int xx = x; xx < x + w; ++xx)
                    img.setPixel(xx, PH + yy, c.rgba());
        };
        const QColor tl(255, 0, 0), tr(0, 255, 0), bl(0, 0, 255), br(255, 255, 0);
        const QColor top(10, 10, 10), bottom(20, 20, 20), left(30, 30, 30), right(40, 40, 40), mid(50, 50, 50);
        region(0, 0, L, T, tl);
        region(PW - R, 0, R, T, tr);
        region(0, PH - B, L, B, bl);
        region(PW - R, PH - B, R, B, br);
        region(L, 0, PW - L - R, T, top);
        region(L, PH - B, PW - L - R, B, bottom);
        region(0, T, L, PH - T - B, left);
        region(PW - R, T, R, PH - T - B, right);
        region(L, T, PW - L - R, PH - T - B, mid);
        // A marker at the first middle pixel shows the tiling period.
        img.setPixel(L, PH + T, qRgb(99, 0, 99));

        const QSize size(57, 31);
        const QImage out = drawBorderedImage(size, img, 1, 2, L, R, T, B, nullptr).toImage();
        QCOMPARE(out.size(), size);
        auto at = [&](int x, int y) { return QColor(out.pixel(x, y)); };
        QCOMPARE(at(0, 0), tl);
        QCOMPARE(at(L - 1, T - 1), tl);
        QCOMPARE(at(56, 0), tr);
        QCOMPARE(at(56 - R + 1, T - 1), tr);
        QCOMPARE(at(0, 30), bl);
        QCOMPARE(at(56, 30), br);
        QCOMPARE(at(56 - R + 1, 31 - B), br);
        QCOMPARE(at(L, 0), top);
        QCOMPARE(at(56 - R, T - 1), top);
        QCOMPARE(at(30, 30), bottom);
        QCOMPARE(at(0, 15), left);
        QCOMPARE(at(56, 15), right);
        QCOMPARE(at(L, T), QColor(99, 0, 99));
        QCOMPARE(at(L + (PW - L - R), T + (PH - T - B)), QColor(99, 0, 99)); // tiled
        QCOMPARE(at(L + 1, T + 1), mid);

        const QColor fill(1, 2, 3);
        const QImage filled = drawBorderedImage(size, img, 1, 2, L, R, T, B, &fill).toImage();
        QCOMPARE(QColor(filled.pixel(L, T)), fill);
        QCOMPARE(QColor(filled.pixel(0, 0)), tl);

        // Exactly the borders: no middle.
        QCOMPARE(drawBorderedImage(QSize(L + R, T + B), img, 1, 2, L, R, T, B, nullptr).size(), QSize(L + R, T + B));
    }

    void borderedNull()
    {
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(Qt::white);
        QVERIFY(drawBorderedImage(QSize(24, 30), img, 0, 1, 12, 13, 11, 11, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(30, 21), img, 0, 1, 12, 13, 11, 11, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(30, 0), img, 0, 1, 0, 0, 0, 0, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(0, 30), img, 0, 1, 0, 0, 1, 1, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(30, 30), img, 0, 1, 1, 1, 0, 1, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(30, 30), img, 0, 1, 1, 1, 1, 0, nullptr).isNull());
        QVERIFY(!drawBorderedImage(QSize(25, 22), img, 0, 1, 12, 13, 11, 11, nullptr).isNull());
        QVERIFY(drawBorderedImage(QSize(30, 30), img, 0, 1, -1, 1, 1, 1, nullptr).isNull());
        // A frame number past the picture draws nothing from outside it.
        QCOMPARE(drawBorderedImage(QSize(30, 30), img, 5, 2, 1, 1, 1, 1, nullptr).size(), QSize(30, 30));
        // A null picture still gives a picture of the size (nothing to draw on it).
        QCOMPARE(drawBorderedImage(QSize(40, 40), QImage(), 0, 1, 12, 13, 11, 11, nullptr).size(), QSize(40, 40));
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
        QWidget w; // painting with the replacement style works
        w.resize(20, 20);
        w.grab();

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
