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

    void showPage(QWidget* page);
    QWidget* currentPage() const { return currentWidget(); }

    // Out-of-range positions are clamped into 0..3.
    void setTabPosition(int position);
    int tabPositionNumber() const { return m_position; }

signals:
    void currentPageChanged(QWidget* page);

private:
    int m_position = 0;
};
