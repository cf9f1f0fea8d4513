#pragma once

#include <QSize>

// The display the program runs on: the screen of a small device, or on a desktop the
// emulated handheld display (QUAVRIX_DISPLAY=WxH or --display WxH, default 480x640) that
// the main window is shown at. Resizing the main window changes it.
QSize displaySize();
// "WxH" (each 100..8192) as a size; invalid for anything else.
QSize parseDisplaySize(const QString& text);
void setDisplaySize(const QSize& size);

// The desktop is 240 or 320 pixels wide. Computed on first use, then kept.
bool isSmallScreen();
// The desktop is 480 or 640 pixels wide. Computed on first use, then kept.
bool isLargeScreen();
// The desktop is not wider than it is tall.
bool isPortrait();

// Forgets the kept small/large answers (for tests that change the display).
void resetScreenCache();
