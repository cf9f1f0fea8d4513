#pragma once

#include "screen.h"
#include "vrxresource.h"

#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

// Screenshots for review: <build>/screenshots/<name>-<W>x<H>.png.
inline QString screenshotPath(const QString& name, QSize display)
{
    const QString dir = QStringLiteral(QUAVRIX_BUILD_DIR "/screenshots");
    QDir().mkpath(dir);
    return QStringLiteral("%1/%2-%3x%4.png").arg(dir, name).arg(display.width()).arg(display.height());
}

inline QImage saveScreenshot(QWidget* w, const QString& name, QSize display)
{
    const QImage img = w->grab().toImage();
    img.save(screenshotPath(name, display), "PNG");
    return img;
}

// Switches the emulated display and forgets what depends on it.
inline void useDisplay(QSize s)
{
    setDisplaySize(s);
    resetScreenCache();
    resetPictureCache();
}
