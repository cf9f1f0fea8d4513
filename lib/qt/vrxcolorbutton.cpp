#include "vrxcolorbutton.h"

#include "vrxpopup.h"
#include "vrxresource.h"

#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QWidgetAction>

VRXColorButton::VRXColorButton(QWidget* parent, const QString& iconName, const QString& name)
    : QToolButton(parent)
    , m_color(Qt::black)
    , m_iconName(iconName)
    , m_menu(new QMenu(this))
{
    setObjectName(name);
    setPopupMode(QToolButton::InstantPopup);
    setMenu(m_menu);
    // The button places its menu below itself, which can be past a small display's edge.
    keepInDisplay(m_menu);
    setIconSize(QSize(24, 24));

    auto* grid = new QWidget(m_menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    const QList<QColor> colors = standardColors();
    for (int i = 0; i < colors.size(); ++i) {
        auto* swatch = new QToolButton(grid);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(i));
        swatch->setAutoRaise(true);
        QPixmap pm(18, 18);
        pm.fill(colors[i]);
        QPainter(&pm).drawRect(0, 0, 17, 17);
        swatch->setIcon(QIcon(pm));
        swatch->setIconSize(QSize(18, 18));
        swatch->setToolTip(colors[i].name());
        const QColor c = colors[i];
        connect(swatch, &QToolButton::clicked, this, [this, c] {
            m_menu->hide();
            choose(c);
        });
        layout->addWidget(swatch, i / 8, i % 8);
    }
    auto* action = new QWidgetAction(m_menu);
    action->setDefaultWidget(grid);
    m_menu->addAction(action);
    updateIcon();
}

QList<QColor> VRXColorButton::standardColors()
{
    static const char* const names[] = {
        "#000000", "#404040", "#808080", "#c0c0c0", "#e5e5e5", "#ffffff", "#505050", "#202040",
        "#800000", "#ff0000", "#ff8080", "#804000", "#ff8000", "#ffc080", "#ffffcc", "#ffff00",
        "#004000", "#008000", "#00c000", "#80ff80", "#004040", "#008080", "#00c0c0", "#c0ffff",
        "#000080", "#0000ff", "#336699", "#8080ff", "#400040", "#800080", "#c000c0", "#ffc0ff"};
    QList<QColor> list;
    for (const char* n : names)
        list << QColor(QLatin1String(n));
    return list;
}

void VRXColorButton::setColor(const QColor& color)
{
    m_color = color;
    updateIcon();
}

void VRXColorButton::choose(const QColor& color)
{
    if (!color.isValid())
        return;
    setColor(color);
    emit activated(color);
}

void VRXColorButton::updateIcon()
{
    // The named picture (a pen or a bucket) over a bar in the colour.
    const int side = 24;
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    const QPixmap picture = findPixmap(m_iconName);
    if (!picture.isNull())
        p.drawPixmap(QRect(0, 0, side, side - 6), picture, picture.rect());
    p.fillRect(QRect(0, side - 5, side, 5), m_color);
    p.setPen(Qt::black);
    p.drawRect(QRect(0, side - 5, side - 1, 4));
    p.end();
    setIcon(QIcon(pm));
}
