#pragma once

#include <QColor>
#include <QTreeWidget>
#include <QTreeWidgetItem>

class VRXListView;

// An entry of VRXListView: per-column text, icon and sort key. Subclasses may compute
// texts on demand by overriding data(); sorting compares key(column).
class VRXListViewItem : public QTreeWidgetItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    // Appends the entry to the list.
    explicit VRXListViewItem(VRXListView* parent);
    VRXListViewItem(VRXListView* parent, const QString& text0);
    ~VRXListViewItem() override;

    VRXListView* listView() const;

    // The sort key of a column: the stored key, else the text.
    virtual QString key(int column) const;
    void setKey(int column, const QString& key);

    // Colours used in colour mode 2.
    void setItemColors(const QColor& text, const QColor& fill);
    bool hasItemColors() const { return m_text.isValid() && m_fill.isValid(); }
    QColor itemTextColor() const { return m_text; }
    QColor itemFillColor() const { return m_fill; }

    // Row number in the list (0 is the first row).
    int row() const;

    // A dimmed entry (something it stands for is unavailable) is drawn with its text
    // halfway to the row's fill colour.
    virtual bool isDimmed() const { return false; }

    bool operator<(const QTreeWidgetItem& other) const override;

private:
    QStringList m_keys;
    QColor m_text;
    QColor m_fill;
};

// A multi-column list on QTreeWidget with a flat item list, single selection and colour
// modes: 0 palette colours, 1 alternating pairs stored in the settings under the list's
// object name, 2 each item's own colours.
class VRXListView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit VRXListView(QWidget* parent = nullptr, const QString& name = QString());
    ~VRXListView() override;

    // Columns.
    int addColumn(const QString& title, int width = -1);
    void removeColumn(int column);
    int columns() const { return columnCount(); }
    void setHeaderVisible(bool visible);

    // Sorting: ascending or descending on one column; sort() re-sorts now.
    void setSorting(int column, bool ascending = true);
    int sortColumn() const { return m_sortColumn; }
    void sort();

    // Entries.
    int childCount() const { return topLevelItemCount(); }
    VRXListViewItem* itemAtRow(int row) const;
    VRXListViewItem* firstChild() const { return itemAtRow(0); }
    VRXListViewItem* currentItem() const;
    VRXListViewItem* selectedItem() const;
    VRXListViewItem* itemAbove(const VRXListViewItem* item) const;
    VRXListViewItem* itemBelow(const VRXListViewItem* item) const;
    void setCurrentItem(VRXListViewItem* item);
    void setSelected(VRXListViewItem* item, bool selected);
    void ensureItemVisible(const VRXListViewItem* item);
    // Deletes every entry.
    void clear();

    // Colours.
    int colorMode() const { return m_colorMode; }
    void setColorMode(int mode);
    void loadColors();
    virtual void setColors(const QColor* c1, const QColor* c2, const QColor* c3, const QColor* c4);
    QColor color(int i) const { return i >= 1 && i <= 4 ? m_c[i - 1] : QColor(); }
    // The settings file that holds this list's colours ("vrx" for "vrx..." names).
    QString colorFile() const;

    // Height of one entry row in pixels.
    int itemHeight() const;

public slots:
    virtual void rowColors(VRXListViewItem* item, QColor& text, QColor& fill, int y, int h);

signals:
    void currentChanged(VRXListViewItem* item);
    void returnPressed(VRXListViewItem* item);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void scheduleRepaint();
    void emitCurrentChanged(QTreeWidgetItem* current);

    int m_colorMode = 0;
    QColor m_c[4];
    int m_sortColumn = 0;
    bool m_ascending = true;
};
