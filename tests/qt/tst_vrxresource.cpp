#include "testmain.h"

#include "screen.h"
#include "vrxresource.h"

#include <QFontMetrics>


// Picture lookup by display size, sized pictures, and bordered pictures of sizes that do not fit.
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

};

QUAVRIX_TEST_MAIN(TestVRXResource)
#include "tst_vrxresource.moc"
