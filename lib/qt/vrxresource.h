#pragma once

#include <QBitmap>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

class QColor;
class QFontMetrics;
class QSize;

// Pictures are found by bare name in the platform's picture folders: the application's
// own folder before the toolkit's ("vrx"), double-resolution folders first on large
// displays. A missing picture gives a null result.

// The candidate paths for a name, in search order (for tests and diagnostics).
QStringList pictureSearchPaths(const QString& name);
// The first existing candidate, or an empty string.
QString findPicturePath(const QString& name);

QImage findImage(const QString& name);
QPixmap findPixmap(const QString& name);
QBitmap findBitmap(const QString& name);
QIcon findIconSet(const QString& name);

// "16", "24" or "32" for a font height: the list icons follow the font.
int pictureSizeBucket(int fontHeight);
QPixmap findSizedPixmap(const QString& name, const QFontMetrics& fm);
QImage findSizedImage(const QString& name, const QFontMetrics& fm);
// The picture drawn for one size bucket (16, 24 or 32): "<size>/<name>".
QPixmap findSizedPixmap(const QString& name, int bucket);

// The greyed, lightened, more transparent look of a disabled icon.
QImage disabledImage(const QImage& image);
// An icon with the image for the normal state and its disabled look.
QIcon iconSetFromImage(const QImage& image);

// Draws picture `frame` of the `frames` stacked in image at any size, keeping the four
// borders and tiling edges and middle. Null when the size cannot hold the borders.
QPixmap drawBorderedImage(const QSize& size, const QImage& image, int frame, int frames,
                          int left, int right, int top, int bottom, const QColor* fill);

// The base folder is read once; tests that change QUAVRIX_QPEDIR call this.
void resetPictureCache();
