#include "vrtabwidget.h"

#include <QtGlobal>

VRTabBar::VRTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideRight);
    setExpanding(false);
}

QSize VRTabBar::tabSizeHint(int index) const
{
    QSize s = QTabBar::tabSizeHint(index);
    // Roughly a fingertip: never shorter than 24 pixels across the bar.
    const bool vertical = shape() == QTabBar::RoundedWest || shape() == QTabBar::RoundedEast
        || shape() == QTabBar::TriangularWest || shape() == QTabBar::TriangularEast;
    if (vertical)
        s.setWidth(qMax(s.width(), 24));
    else
        s.setHeight(qMax(s.height(), 24));
    return s;
}

VRTabWidget::VRTabWidget(QWidget* parent, const QString& name)
    : QTabWidget(parent)
{
    setObjectName(name);
    setTabBar(new VRTabBar(this));
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        emit currentPageChanged(widget(index));
    });
}

int VRTabWidget::addTab(QWidget* page, const QString& label, const QIcon& icon)
{
    return QTabWidget::addTab(page, icon, label);
}

void VRTabWidget::showPage(QWidget* page)
{
    if (page && indexOf(page) >= 0)
        setCurrentWidget(page);
}

void VRTabWidget::setTabPosition(int position)
{
    m_position = qBound(0, position, 3);
    static const QTabWidget::TabPosition positions[4] = {QTabWidget::North, QTabWidget::South,
                                                          QTabWidget::West, QTabWidget::East};
    QTabWidget::setTabPosition(positions[m_position]);
}
