#include "vrxresource.h"

#include "global.h"
#include "screen.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>

namespace {

QString g_baseDir;
bool g_baseDirKnown = false;
// Pictures by path, read once: buttons change their icons with every play and stop. The
// pictures are few and small.
QHash<QString, QString> g_paths;
QHash<QString, QImage> g_images;
QHash<QString, QPixmap> g_pixmaps;
QHash<QString, QIcon> g_icons;

QString baseDir()
{
    if (!g_baseDirKnown) {
        g_baseDir = Global::qpeDir();
        g_baseDirKnown = true;
    }
    return g_baseDir;
}

QString appName()
{
    QString name = qApp ? qApp->objectName() : QString();
    if (name.isEmpty() && qApp)
        name = QCoreApplication::applicationName();
    return name;
}

} // namespace

void resetPictureCache()
{
    g_baseDirKnown = false;
    g_baseDir.clear();
    g_paths.clear();
    g_images.clear();
    g_pixmaps.clear();
    g_icons.clear();
}

QStringList pictureSearchPaths(const QString& name)
{
    const QString q = baseDir();
    const QString a = appName();
    const bool large = isLargeScreen();
    QStringList paths;
    if (large) {
        paths << q + QStringLiteral("/pics144/") + a + QStringLiteral("/%1.png");
        paths << q + QStringLiteral("/pics144/vrx/%1.png");
    }
    paths << q + QStringLiteral("/pics/") + a + QStringLiteral("/%1.png");
    paths << q + QStringLiteral("/pics/vrx/%1.png");
    if (large)
        paths << q + QStringLiteral("/pics144/%1.png");
    paths << q + QStringLiteral("/pics/%1.png");
    for (QString& p : paths)
        p = p.arg(name);
    return paths;
}

QString findPicturePath(const QString& name)
{
    if (name.isEmpty())
        return QString();
    // The folders searched depend on the screen's size class, so that is part of the key.
    const QString key = (isLargeScreen() ? QLatin1Char('L') : QLatin1Char('S')) + name;
    const auto known = g_paths.constFind(key);
    if (known != g_paths.cend())
        return *known;
    QString found;
    for (const QString& p : pictureSearchPaths(name)) {
        if (QFileInfo(p).isFile()) {
            found = p;
            break;
        }
    }
    g_paths.insert(key, found);
    return found;
}

QImage findImage(const QString& name)
{
    const QString path = findPicturePath(name);
    if (path.isEmpty())
        return QImage();
    auto it = g_images.constFind(path);
    if (it == g_images.cend())
        it = g_images.insert(path, QImage(path));
    return *it;
}

QPixmap findPixmap(const QString& name)
{
    const QString path = findPicturePath(name);
    if (path.isEmpty())
        return QPixmap();
    auto it = g_pixmaps.constFind(path);
    if (it == g_pixmaps.cend())
        it = g_pixmaps.insert(path, QPixmap(path));
    return *it;
}

QBitmap findBitmap(const QString& name)
{
    const QString path = findPicturePath(name);
    return path.isEmpty() ? QBitmap() : QBitmap(path);
}

int pictureSizeBucket(int fontHeight)
{
    if (fontHeight <= 16)
        return 16;
    if (fontHeight <= 24)
        return 24;
    return 32;
}

static QString sizedName(const QString& name, const QFontMetrics& fm)
{
    return QStringLiteral("%1/%2").arg(pictureSizeBucket(fm.height())).arg(name);
}

QPixmap findSizedPixmap(const QString& name, const QFontMetrics& fm)
{
    return findPixmap(sizedName(name, fm));
}

QImage findSizedImage(const QString& name, const QFontMetrics& fm)
{
    return findImage(sizedName(name, fm));
}

QPixmap findSizedPixmap(const QString& name, int bucket)
{
    return findPixmap(QStringLiteral("%1/%2").arg(bucket).arg(name));
}

static QRgb disabledPixel(QRgb c, bool keepAlpha)
{
    const int grey = (11 * qRed(c) + 16 * qGreen(c) + 5 * qBlue(c)) >> 5;
    const int light = grey + (255 - grey) * 25 / 100;
    const int a = keepAlpha ? qAlpha(c) - qAlpha(c) * 25 / 100 : 255;
    return qRgba(light, light, light, a);
}

QImage disabledImage(const QImage& image)
{
    if (image.isNull())
        return QImage();
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB) {
        QImage img = image.copy();
        QList<QRgb> table = img.colorTable();
        for (QRgb& c : table)
            c = disabledPixel(c, false);
        img.setColorTable(table);
        return img;
    }
    // Work on straight (not premultiplied) ARGB so that the alpha formula applies as is.
    QImage img = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = disabledPixel(line[x], true);
    }
    return img;
}

QIcon iconSetFromImage(const QImage& image)
{
    if (image.isNull())
        return QIcon();
    QIcon icon;
    const QPixmap normal = QPixmap::fromImage(image);
    icon.addPixmap(normal, QIcon::Normal, QIcon::Off);
    icon.addPixmap(QPixmap::fromImage(disabledImage(image)), QIcon::Disabled, QIcon::Off);
    return icon;
}

QIcon findIconSet(const QString& name)
{
    // One icon a picture for the whole run: what a style derives from an icon (the pressed
    // and disabled looks) is kept in the pixmap cache under that icon's key, so a new icon
    // at every play-state change filled the cache with copies, up to its 10 MB.
    const QString path = findPicturePath(name);
    if (path.isEmpty())
        return QIcon();
    auto it = g_icons.constFind(path);
    if (it == g_icons.cend())
        it = g_icons.insert(path, iconSetFromImage(findImage(name)));
    return *it;
}

static void tile(QPainter& p, const QRect& target, const QImage& src, const QRect& part)
{
    if (target.isEmpty() || part.isEmpty())
        return;
    const QImage piece = src.copy(part);
    for (int y = target.top(); y <= target.bottom(); y += piece.height()) {
        for (int x = target.left(); x <= target.right(); x += piece.width()) {
            const int w = qMin(piece.width(), target.right() - x + 1);
            const int h = qMin(piece.height(), target.bottom() - y + 1);
            p.drawImage(QPoint(x, y), piece, QRect(0, 0, w, h));
        }
    }
}

QPixmap drawBorderedImage(const QSize& size, const QImage& image, int frame, int frames,
                          int left, int right, int top, int bottom, const QColor* fill)
{
    const int W = size.width();
    const int H = size.height();
    if (W - left - right < 0 || H - top - bottom < 0 || W <= 0 || H <= 0 || top <= 0 || bottom <= 0
        || left < 0 || right < 0)
        return QPixmap();
    if (frames <= 0)
        frames = 1;
    const int ph = image.height() / frames;
    const int pw = image.width();
    const int py = frame * ph;

    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    // Source parts of the picture; empty parts are skipped.
    const int midW = pw - left - right;
    const int midH = ph - top - bottom;
    const QRect tMid(left, top, W - left - right, H - top - bottom);
    if (fill && fill->isValid())
        p.fillRect(pm.rect(), *fill);
    else if (midW > 0 && midH > 0)
        tile(p, tMid, image, QRect(left, py + top, midW, midH));

    if (image.isNull() || ph <= 0)
        return pm;
    if (midW > 0) {
        tile(p, QRect(left, 0, W - left - right, top), image, QRect(left, py, midW, top));
        tile(p, QRect(left, H - bottom, W - left - right, bottom), image,
             QRect(left, py + ph - bottom, midW, bottom));
    }
    if (midH > 0) {
        if (left > 0)
            tile(p, QRect(0, top, left, H - top - bottom), image, QRect(0, py + top, left, midH));
        if (right > 0)
            tile(p, QRect(W - right, top, right, H - top - bottom), image,
                 QRect(pw - right, py + top, right, midH));
    }
    // Corners, unscaled.
    if (left > 0)
        p.drawImage(QPoint(0, 0), image, QRect(0, py, left, top));
    if (right > 0)
        p.drawImage(QPoint(W - right, 0), image, QRect(pw - right, py, right, top));
    if (left > 0)
        p.drawImage(QPoint(0, H - bottom), image, QRect(0, py + ph - bottom, left, bottom));
    if (right > 0)
        p.drawImage(QPoint(W - right, H - bottom), image, QRect(pw - right, py + ph - bottom, right, bottom));
    return pm;
}
