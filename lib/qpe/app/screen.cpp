#include "screen.h"

#include <QByteArray>
#include <QtGlobal>

// Stand-in until the platform layer lands: the emulated display from QUAVRIX_DISPLAY.
namespace {
QSize g_display;
int g_small = -1;
int g_large = -1;
}

QSize displaySize()
{
    if (!g_display.isValid()) {
        const QByteArray v = qgetenv("QUAVRIX_DISPLAY");
        const int x = v.indexOf('x');
        g_display = x > 0 ? QSize(v.left(x).toInt(), v.mid(x + 1).toInt()) : QSize(480, 640);
        if (!g_display.isValid())
            g_display = QSize(480, 640);
    }
    return g_display;
}

void setDisplaySize(const QSize& size) { g_display = size; }

bool isSmallScreen()
{
    if (g_small < 0)
        g_small = displaySize().width() == 240 || displaySize().width() == 320;
    return g_small;
}

bool isLargeScreen()
{
    if (g_large < 0)
        g_large = displaySize().width() == 480 || displaySize().width() == 640;
    return g_large;
}

bool isPortrait() { return displaySize().width() <= displaySize().height(); }

void resetScreenCache() { g_small = g_large = -1; }
