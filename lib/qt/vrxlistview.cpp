#include "vrxlistview.h"

#include "config.h"
#include "keycodes.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

// ---------------------------------------------------------------- VRXListViewItem

VRXListViewItem::VRXListViewItem(VRXListView* parent)
    : QTreeWidgetItem(Type)
{
    if (parent)
        parent->addTopLevelItem(this);
}

VRXListViewItem::VRXListViewItem(VRXListView* parent, const QString& text0)
    : QTreeWidgetItem(Type)
{
    setText(0, text0);
    if (parent)
        parent->addTopLevelItem(this);
}

VRXListViewItem::~VRXListViewItem() = default;

VRXListView* VRXListViewItem::listView() const
{
    return qobject_cast<VRXListView*>(treeWidget());
}

QString VRXListViewItem::key(int column) const
{
    if (column >= 0 && column < m_keys.size() && !m_keys.at(column).isNull())
        return m_keys.at(column);
    return data(column, Qt::DisplayRole).toString();
}

void VRXListViewItem::setKey(int column, const QString& key)
{
    if (column < 0)
        return;
    while (m_keys.size() <= column)
        m_keys.append(QString());
    m_keys[column] = key;
}

void VRXListViewItem::setItemColors(const QColor& text, const QColor& fill)
{
    m_text = text;
    m_fill = fill;
}

int VRXListViewItem::row() const
{
    QTreeWidget* w = treeWidget();
    return w ? w->indexOfTopLevelItem(const_cast<VRXListViewItem*>(this)) : -1;
}

bool VRXListViewItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (other.type() == Type) {
        const auto& o = static_cast<const VRXListViewItem&>(other);
        return key(column) < o.key(column);
    }
    return QTreeWidgetItem::operator<(other);
}

// ---------------------------------------------------------------- VRXListView

VRXListView::VRXListView(QWidget* parent, const QString& name)
    : QTreeWidget(parent)
{
    setObjectName(name);
    setColumnCount(0);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Pixel scrolling keeps the contents position of a row exact, which the row colours use.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns fit what is shown: measuring a thousand rows at every change of the current
    // entry made every step through a long list slow.
    header()->setResizeContentsPrecision(0);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { emitCurrentChanged(current); });
}

VRXListView::~VRXListView() = default;

int VRXListView::addColumn(const QString& title, int width)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    QTreeWidgetItem* h = headerItem();
    h->setText(column, title);
    if (width >= 0) {
        header()->setSectionResizeMode(column, QHeaderView::Interactive);
        header()->resizeSection(column, width);
    } else {
        header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    return column;
}

void VRXListView::removeColumn(int column)
{
    const int n = columnCount();
    if (column < 0 || column >= n)
        return;
    // Shift the header titles left, then drop the last column.
    QTreeWidgetItem* h = headerItem();
    for (int c = column; c < n - 1; ++c)
        h->setText(c, h->text(c + 1));
    setColumnCount(n - 1);
}

void VRXListView::setHeaderVisible(bool visible)
{
    setHeaderHidden(!visible);
}

void VRXListView::setSorting(int column, bool ascending)
{
    m_sortColumn = column;
    m_ascending = ascending;
    if (column < 0) {
        setSortingEnabled(false);
        return;
    }
    setSortingEnabled(true);
    sortByColumn(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void VRXListView::sort()
{
    if (m_sortColumn >= 0)
        sortItems(m_sortColumn, m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

VRXListViewItem* VRXListView::itemAtRow(int row) const
{
    QTreeWidgetItem* it = topLevelItem(row);
    return it && it->type() == VRXListViewItem::Type ? static_cast<VRXListViewItem*>(it) : nullptr;
}

VRXListViewItem* VRXListView::currentItem() const
{
    QTreeWidgetItem* it = QTreeWidget::currentItem();
    return it && it->type() == VRXListViewItem::Type ? static_cast<VRXListViewItem*>(it) : nullptr;
}

VRXListViewItem* VRXListView::selectedItem() const
{
    const QList<QTreeWidgetItem*> sel = selectedItems();
    if (sel.isEmpty() || sel.first()->type() != VRXListViewItem::Type)
        return nullptr;
    return static_cast<VRXListViewItem*>(sel.first());
}

VRXListViewItem* VRXListView::itemAbove(const VRXListViewItem* item) const
{
    return item ? itemAtRow(indexOfTopLevelItem(const_cast<VRXListViewItem*>(item)) - 1) : nullptr;
}

VRXListViewItem* VRXListView::itemBelow(const VRXListViewItem* item) const
{
    if (!item)
        return nullptr;
    const int row = indexOfTopLevelItem(const_cast<VRXListViewItem*>(item));
    return row < 0 ? nullptr : itemAtRow(row + 1);
}

void VRXListView::setCurrentItem(VRXListViewItem* item)
{
    QTreeWidget::setCurrentItem(item);
}

void VRXListView::setSelected(VRXListViewItem* item, bool selected)
{
    if (item)
        item->setSelected(selected);
}

void VRXListView::ensureItemVisible(const VRXListViewItem* item)
{
    if (item)
        scrollToItem(item);
}

void VRXListView::clear()
{
    QTreeWidget::clear();
    scheduleRepaint();
}

QString VRXListView::colorFile() const
{
    const QString name = objectName();
    if (name.startsWith(QLatin1String("vrx")))
        return QStringLiteral("vrx");
    QString app = qApp ? qApp->objectName() : QString();
    if (app.isEmpty())
        app = QCoreApplication::applicationName();
    return app;
}

void VRXListView::setColorMode(int mode)
{
    m_colorMode = mode;
    if (mode == 1)
        loadColors();
    scheduleRepaint();
}

void VRXListView::loadColors()
{
    if (m_colorMode != 1 || objectName().isEmpty())
        return;
    Config cfg(colorFile(), Config::User);
    cfg.setGroup(objectName());
    static const char* const keys[4] = {"c1", "c2", "c3", "c4"};
    static const char* const defaults[4] = {"#336699", "#e5e5e5", "#000000", "#ffffcc"};
    for (int i = 0; i < 4; ++i) {
        QColor c(cfg.readEntry(QLatin1String(keys[i]), QLatin1String(defaults[i])));
        // A garbled entry falls back to the default rather than an invalid colour.
        m_c[i] = c.isValid() ? c : QColor(QLatin1String(defaults[i]));
    }
    scheduleRepaint();
}

void VRXListView::setColors(const QColor* c1, const QColor* c2, const QColor* c3, const QColor* c4)
{
    m_colorMode = 1;
    const QPalette& pal = palette();
    m_c[0] = c1 ? *c1 : pal.color(QPalette::Active, QPalette::Text);
    m_c[1] = c2 ? *c2 : pal.color(QPalette::Active, QPalette::Base);
    m_c[2] = c3 ? *c3 : pal.color(QPalette::Active, QPalette::Text);
    m_c[3] = c4 ? *c4 : pal.color(QPalette::Active, QPalette::Base);
    scheduleRepaint();
    if (objectName().isEmpty())
        return;
    Config cfg(colorFile(), Config::User);
    cfg.setGroup(objectName());
    cfg.writeEntry(QStringLiteral("c1"), m_c[0].name());
    cfg.writeEntry(QStringLiteral("c2"), m_c[1].name());
    cfg.writeEntry(QStringLiteral("c3"), m_c[2].name());
    cfg.writeEntry(QStringLiteral("c4"), m_c[3].name());
}

void VRXListView::rowColors(VRXListViewItem* item, QColor& text, QColor& fill, int y, int h)
{
    if (m_colorMode == 1) {
        int row = 0;
        if (item) {
            const QRect r = visualItemRect(item);
            const int ih = r.height() > 0 ? r.height() : itemHeight();
            row = ih > 0 ? (r.y() + verticalOffset()) / ih : 0;
        } else {
            row = h > 0 ? y / h : 0;
        }
        if (row % 2 == 0) {
            text = m_c[0];
            fill = m_c[1];
        } else {
            text = m_c[2];
            fill = m_c[3];
        }
        return;
    }
    if (m_colorMode == 2 && item && item->hasItemColors()) {
        text = item->itemTextColor();
        fill = item->itemFillColor();
        return;
    }
    text = palette().color(QPalette::Active, QPalette::Text);
    fill = palette().color(QPalette::Active, QPalette::Base);
}

int VRXListView::itemHeight() const
{
    if (topLevelItemCount() > 0) {
        const int h = rowHeight(indexFromItem(topLevelItem(0)));
        if (h > 0)
            return h;
    }
    return qMax(fontMetrics().height() + 4, iconSize().height());
}

void VRXListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    // The pale selection that styles give a list without focus vanishes under the row
    // colours; keep the focused look so the chosen entry stays readable.
    opt.palette.setColor(QPalette::Inactive, QPalette::Highlight, opt.palette.color(QPalette::Active, QPalette::Highlight));
    opt.palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         opt.palette.color(QPalette::Active, QPalette::HighlightedText));
    QTreeWidgetItem* it = itemFromIndex(index);
    VRXListViewItem* item = it && it->type() == VRXListViewItem::Type ? static_cast<VRXListViewItem*>(it) : nullptr;
    QColor text = opt.palette.color(QPalette::Active, QPalette::Text);
    QColor fill = opt.palette.color(QPalette::Active, QPalette::Base);
    if (m_colorMode != 0) {
        auto* self = const_cast<VRXListView*>(this);
        self->rowColors(item, text, fill, option.rect.y() + verticalOffset(), option.rect.height());
        painter->fillRect(QRect(0, option.rect.y(), viewport()->width(), option.rect.height()), fill);
    }
    const bool dimmed = item && item->isDimmed();
    if (dimmed)
        text = QColor((text.red() + fill.red()) / 2, (text.green() + fill.green()) / 2, (text.blue() + fill.blue()) / 2);
    if (m_colorMode != 0 || dimmed) {
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            opt.palette.setColor(g, QPalette::Text, text);
            opt.palette.setColor(g, QPalette::Base, fill);
            opt.palette.setColor(g, QPalette::AlternateBase, fill);
        }
    }
    QTreeWidget::drawRow(painter, opt, index);

    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    const bool currentRow = hasFocus() && currentIndex().isValid() && currentIndex().row() == index.row()
        && currentIndex().parent() == index.parent();
    // The cells end with the last column; a selected row carries its highlight, and the
    // focus frame the style draws around the cells, on to the viewport's right edge.
    const int end = header()->length() - header()->offset();
    if (selected && end < viewport()->width()) {
        QStyleOptionViewItem rest = opt;
        // From the last cell's edge, so the style's frame around the cells does not show there.
        rest.rect = QRect(end - 1, option.rect.y(), viewport()->width() - end + 1, option.rect.height());
        rest.state |= QStyle::State_Selected;
        rest.showDecorationSelected = true;
        rest.viewItemPosition = QStyleOptionViewItem::End;
        rest.index = index;
        style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &rest, painter, this);
        if (currentRow) {
            QStyleOptionFocusRect frame;
            frame.QStyleOption::operator=(opt);
            frame.state |= QStyle::State_KeyboardFocusChange;
            frame.rect = QRect(0, option.rect.y(), viewport()->width(), option.rect.height());
            frame.backgroundColor = opt.palette.color(QPalette::Active, QPalette::Highlight);
            painter->save();
            painter->setClipRect(rest.rect);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, this);
            painter->restore();
        }
    }
    // The current entry without a selection (the play list clears it at the end) gets a
    // frame that shows on any row colour, across the whole row.
    if (!selected && currentRow) {
        painter->save();
        QPen pen(opt.palette.color(QPalette::Active, QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(0, option.rect.y(), viewport()->width(), option.rect.height()).adjusted(1, 1, -1, -1));
        painter->restore();
    }
}

void VRXListView::paintEvent(QPaintEvent* e)
{
    if (m_colorMode != 0) {
        // Continue the stripes below the last entry, keyed on the contents position.
        int y = 0;
        const int n = topLevelItemCount();
        if (n > 0) {
            const QRect last = visualItemRect(topLevelItem(n - 1));
            y = last.isValid() ? last.bottom() + 1 : viewport()->height();
        }
        const int h = itemHeight();
        if (h > 0 && y < viewport()->height()) {
            QPainter p(viewport());
            for (; y < viewport()->height(); y += h) {
                QColor text, fill;
                rowColors(nullptr, text, fill, y + verticalOffset(), h);
                p.fillRect(QRect(0, y, viewport()->width(), h), fill);
            }
        }
    }
    QTreeWidget::paintEvent(e);
}

void VRXListView::keyPressEvent(QKeyEvent* e)
{
    const int key = qt2Key(e->key());
    if (key == 0x1004 || key == 0x1005) { // Return, Enter
        if (VRXListViewItem* item = currentItem())
            emit returnPressed(item);
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void VRXListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTreeWidget::mouseDoubleClickEvent(e);
    QTreeWidgetItem* it = itemAt(e->position().toPoint());
    if (it && it->type() == VRXListViewItem::Type)
        emit returnPressed(static_cast<VRXListViewItem*>(it));
}

void VRXListView::scheduleRepaint()
{
    if (isVisible() && updatesEnabled())
        viewport()->update();
}

void VRXListView::emitCurrentChanged(QTreeWidgetItem* current)
{
    emit currentChanged(current && current->type() == VRXListViewItem::Type
                            ? static_cast<VRXListViewItem*>(current) : nullptr);
}
