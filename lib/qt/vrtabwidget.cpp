#include "vrtabwidget.h"

#include <QStyle>
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
    // No frame around the pages: on a 240-pixel display every pixel goes to the page.
    setDocumentMode(true);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        updateLabels();
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
    updateLabels();
}

void VRTabWidget::setLabel(int index, const QString& label)
{
    if (index < 0 || index >= m_labels.size())
        return;
    m_labels[index] = label;
    updateLabels();
}

void VRTabWidget::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    m_labels.insert(index, tabText(index));
    updateLabels();
}

void VRTabWidget::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    if (index >= 0 && index < m_labels.size())
        m_labels.removeAt(index);
    updateLabels();
}

void VRTabWidget::resizeEvent(QResizeEvent* e)
{
    QTabWidget::resizeEvent(e);
    updateLabels();
}

void VRTabWidget::updateLabels()
{
    if (m_updating || m_labels.size() != count())
        return;
    m_updating = true;
    // Room the labelled tabs need along the bar.
    const QFontMetrics fm(tabBar()->font());
    const int pad = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabBar()) + 8;
    int needed = 0;
    for (int i = 0; i < count(); ++i) {
        needed += fm.horizontalAdvance(m_labels[i]) + pad;
        if (!tabIcon(i).isNull())
            needed += tabBar()->iconSize().width() + 4;
    }
    const bool vertical = m_position >= 2;
    const int room = vertical ? height() : width();
    m_compact = count() > 1 && needed > room;
    for (int i = 0; i < count(); ++i) {
        const bool shown = !m_compact || i == currentIndex() || tabIcon(i).isNull();
        const QString text = shown ? m_labels[i] : QString();
        if (tabText(i) != text)
            setTabText(i, text);
        setTabToolTip(i, shown ? QString() : m_labels[i]);
    }
    m_updating = false;
}
