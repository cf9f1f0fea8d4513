#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QMenu;
class QWidget;

// The program's display on the desktop, as seen from widget w: the area of the main window
// it belongs to (at the display size), or the display size at the screen's corner before
// there is a main window. Dialogs and popups on the way to the main window are passed over.
QRect displayAreaOf(const QWidget* w);

// Where a popup of the given size opens when wanted is asked for: moved the least so that
// it lies inside the display of from. A popup larger than the display keeps its top left
// corner on the display's.
QPoint popupPosition(const QWidget* from, const QPoint& wanted, const QSize& size);

// Keeps the menu inside its display each time it opens, wherever its opener placed it
// (a tool button's menu, say). Installing it twice does no harm.
void keepInDisplay(QMenu* menu);
