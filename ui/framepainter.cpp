#include "framepainter.h"

#include "vrxresource.h"

#include <QPainter>
#include <QPalette>

QImage FramePainter::frameImage()
{
    return findImage(QStringLiteral("frame"));
}

QColor FramePainter::panelColor()
{
    return QColor(0xa9, 0xbd, 0xcc);
}

QPixmap FramePainter::framed(const QImage& frame, const QSize& size, const QPalette& palette)
{
    if (size.width() <= 0 || size.height() <= 0)
        return QPixmap();
    QPixmap pm(size);
    // The picture's rounded corners are see-through: put the window colour under them.
    pm.fill(palette.color(QPalette::Active, QPalette::Window));
    const QPixmap picture = frame.isNull()
        ? QPixmap()
        : drawBorderedImage(size, frame, 0, 1, Left, Right, Top, Bottom, nullptr);
    QPainter p(&pm);
    if (!picture.isNull()) {
        p.drawPixmap(0, 0, picture);
    } else {
        // Plain bevelled panel.
        p.fillRect(pm.rect(), QColor(0x3d, 0x4b, 0x5a));
        const QRect inner = pm.rect().adjusted(3, 3, -3, -3);
        if (inner.isValid())
            p.fillRect(inner, panelColor());
    }
    return pm;
}
