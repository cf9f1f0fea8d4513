#include "screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <optional>

namespace {
std::optional<QSize> g_display;
std::optional<bool> g_small;
std::optional<bool> g_large;

} // namespace

QSize parseDisplaySize(const QString& text)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return QSize();
    bool okW, okH;
    const int w = parts[0].trimmed().toInt(&okW), h = parts[1].trimmed().toInt(&okH);
    if (!okW || !okH || w < 100 || h < 100 || w > 8192 || h > 8192)
        return QSize();
    return QSize(w, h);
}

namespace {
QSize initialDisplay()
{
    const QSize fromEnv = parseDisplaySize(qEnvironmentVariable("QUAVRIX_DISPLAY"));
    if (fromEnv.isValid())
        return fromEnv;
    // A real handheld: the screen itself is the display.
    if (qGuiApp && qGuiApp->primaryScreen()
        && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        const QSize s = qGuiApp->primaryScreen()->size();
        if (s.width() <= 640 && s.height() <= 640)
            return s;
    }
    return QSize(480, 640);
}
} // namespace

QSize displaySize()
{
    if (!g_display)
        g_display = initialDisplay();
    return *g_display;
}

void setDisplaySize(const QSize& size)
{
    if (size.isValid())
        g_display = size;
}

bool isSmallScreen()
{
    if (!g_small) {
        const int w = displaySize().width();
        g_small = (w == 240 || w == 320);
    }
    return *g_small;
}

bool isLargeScreen()
{
    if (!g_large) {
        const int w = displaySize().width();
        g_large = (w == 480 || w == 640);
    }
    return *g_large;
}

bool isPortrait()
{
    const QSize s = displaySize();
    return s.width() <= s.height();
}

void resetScreenCache()
{
    g_small.reset();
    g_large.reset();
}
