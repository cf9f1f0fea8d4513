#include "vrxpopup.h"

#include "screen.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QScreen>

namespace {
bool isMainWindow(const QWidget* w)
{
    return w->windowType() == Qt::Window && !qobject_cast<const QDialog*>(w);
}

// Moves its menu into the display just before the menu is shown.
class DisplayKeeper : public QObject
{
public:
    explicit DisplayKeeper(QMenu* menu)
        : QObject(menu)
    {
        setObjectName(QStringLiteral("displayKeeper"));
    }

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // The show event comes before the window is mapped: no jump is seen.
        if (e->type() == QEvent::Show) {
            auto* menu = static_cast<QMenu*>(watched);
            menu->move(popupPosition(menu, menu->pos(), menu->size()));
        }
        return false;
    }
};
} // namespace

QRect displayAreaOf(const QWidget* w)
{
    // The main window shows the display: the window of the nearest parent that is neither
    // dialog nor popup, else the first visible main window.
    const QWidget* main = w && w->parentWidget() ? w->parentWidget()->window() : nullptr;
    while (main && !isMainWindow(main))
        main = main->parentWidget() ? main->parentWidget()->window() : nullptr;
    if (!main || !main->isVisible()) {
        main = nullptr;
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (const QWidget* t : tops) {
            if (t != w && t->isVisible() && isMainWindow(t)) {
                main = t;
                break;
            }
        }
    }
    QPoint at;
    if (main)
        at = main->geometry().topLeft();
    else if (const QScreen* s = w ? w->screen() : QGuiApplication::primaryScreen())
        at = s->availableGeometry().topLeft();
    return QRect(at, displaySize());
}

QPoint popupPosition(const QWidget* from, const QPoint& wanted, const QSize& size)
{
    const QRect display = displayAreaOf(from);
    const int x = qMax(display.left(), qMin(wanted.x(), display.right() + 1 - size.width()));
    const int y = qMax(display.top(), qMin(wanted.y(), display.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

void keepInDisplay(QMenu* menu)
{
    if (menu->findChild<QObject*>(QStringLiteral("displayKeeper"), Qt::FindDirectChildrenOnly))
        return;
    menu->installEventFilter(new DisplayKeeper(menu));
}
