#pragma once

#include <QTabBar>
#include <QTabWidget>

// The tab bar of VRTabWidget: tabs wide enough to hit with a stylus.
class VRTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit VRTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
};

// Pages in tabs placed at 0 top, 1 bottom, 2 left or 3 right. Hidden pages stay alive.
class VRTabWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit VRTabWidget(QWidget* parent = nullptr, const QString& name = QString());

    using QTabWidget::addTab;
    int addTab(QWidget* page, const QString& label, const QIcon& icon);
    // A tab whose icon is the named picture drawn for the tab's icon size (see iconExtent).
    int addTab(QWidget* page, const QString& label, const QString& iconName);

    void showPage(QWidget* page);
    QWidget* currentPage() const { return currentWidget(); }

    // Out-of-range positions are clamped into 0..3.
    void setTabPosition(int position);
    int tabPositionNumber() const { return m_position; }

    // A tab's label. When the labels do not fit along the bar, only the current tab shows
    // its label and the others show their icons (the label becomes their tool tip).
    QString label(int index) const { return m_labels.value(index); }
    void setLabel(int index, const QString& label);
    bool isCompact() const { return m_compact; }

    // Side of the square tab icons: the size bucket of the tab font, one bucket larger on
    // large displays, whose page buttons carry double-size pictures.
    int iconExtent() const;

signals:
    void currentPageChanged(QWidget* page);

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void updateLabels();
    // Sizes the icons and turns them against the bar's rotation, so that they stand
    // upright on left and right tabs.
    void updateIcons();

    int m_position = 0;
    QStringList m_labels;
    // What each tab was given: an icon, or a picture name for the sized lookup.
    QList<QIcon> m_icons;
    QStringList m_iconNames;
    bool m_compact = false;
    bool m_updating = false;
};
