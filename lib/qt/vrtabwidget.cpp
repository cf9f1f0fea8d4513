#include "vrtabwidget.h"

#include "screen.h"
#include "vrxresource.h"

#include <QStyle>
#include <QTransform>
#include <QtGlobal>

VRTabBar::VRTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setUsesScrollButtons(true);
    // A label is read whole or not at all: a long bar scrolls instead.
    setElideMode(Qt::ElideNone);
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
    // A tab that shows only its icon needs no room for a label: kept short, the compact bar
    // fits along a small display instead of scrolling.
    if (tabText(index).isEmpty() && !tabIcon(index).isNull()) {
        const int along = qMax(24, iconSize().width() + 8);
        if (vertical)
            s.setHeight(qMin(s.height(), along));
        else
            s.setWidth(qMin(s.width(), along));
    }
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

int VRTabWidget::addTab(QWidget* page, const QString& label, const QString& iconName)
{
    const int index = QTabWidget::addTab(page, findIconSet(iconName), label);
    if (index >= 0 && index < m_iconNames.size()) {
        m_iconNames[index] = iconName;
        updateIcons();
        updateLabels();
    }
    return index;
}

int VRTabWidget::iconExtent() const
{
    const int bucket = pictureSizeBucket(QFontMetrics(tabBar()->font()).height());
    if (!isLargeScreen())
        return bucket;
    return bucket == 16 ? 24 : 32;
}

void VRTabWidget::updateIcons()
{
    if (m_icons.size() != count() || m_iconNames.size() != count())
        return;
    const int e = iconExtent();
    tabBar()->setIconSize(QSize(e, e));
    // The bar turns its left tabs a quarter counter-clockwise and its right tabs clockwise.
    const int turn = m_position == 2 ? 90 : m_position == 3 ? -90 : 0;
    for (int i = 0; i < count(); ++i) {
        QPixmap pm;
        if (!m_iconNames[i].isEmpty())
            pm = findSizedPixmap(m_iconNames[i], e);
        if (pm.isNull() && !m_icons[i].isNull())
            pm = m_icons[i].pixmap(QSize(e, e));
        if (pm.isNull()) {
            setTabIcon(i, QIcon());
            continue;
        }
        QImage img = pm.toImage();
        if (img.size() != QSize(e, e))
            img = img.scaled(e, e, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (turn)
            img = img.transformed(QTransform().rotate(turn));
        setTabIcon(i, iconSetFromImage(img));
    }
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
    updateIcons();
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
    m_icons.insert(index, tabIcon(index));
    m_iconNames.insert(index, QString());
    updateIcons();
    updateLabels();
}

void VRTabWidget::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    if (index >= 0 && index < m_labels.size())
        m_labels.removeAt(index);
    if (index >= 0 && index < m_icons.size()) {
        m_icons.removeAt(index);
        m_iconNames.removeAt(index);
    }
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
