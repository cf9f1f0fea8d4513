#pragma once

#include <QImage>
#include <QPixmap>

class QPalette;
class QSize;

// Draws the framed background of the track display and the analyzer from the nine-part
// picture "frame" (borders 12 left, 13 right, 11 top, 11 bottom). Without the picture, or
// at a size too small for its borders, a plain panel of the same look is drawn, so the
// widgets always paint every pixel.
class FramePainter
{
public:
    static constexpr int Left = 12, Right = 13, Top = 11, Bottom = 11;

    static QImage frameImage();
    static QPixmap framed(const QImage& frame, const QSize& size, const QPalette& palette);
    static QColor panelColor();
};
