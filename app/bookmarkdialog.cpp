#include "bookmarkdialog.h"

#include "deleteentry.h"
#include "screen.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"
#include "vrxresource.h"

namespace {
// Each entry keeps the index of its record in the store's list.
constexpr int RecordRole = Qt::UserRole + 1;

// Three digits, more for a longer list, so that text order stays number order.
QString sortKey(int i, int count)
{
    return QStringLiteral("%1").arg(i, qMax(3, int(QString::number(count).size())), 10, QLatin1Char('0'));
}
} // namespace

BookmarkDialog::BookmarkDialog(QList<Bookmark>* list, QWidget* parent, const QString& name)
    : BookmarkManagerBase(parent, name)
    , m_list(list)
{
    this->list->setHeaderVisible(false);
    const QSize display = displaySize();
    this->list->setColumnWidth(0, qMax(display.width(), display.height()));
    this->list->setSorting(0, true);
    const QIcon icon = findIconSet(QStringLiteral("bookmark"));
    for (int i = 0; i < m_list->size(); ++i) {
        auto* e = new VRXListViewItem(nullptr, m_list->at(i).name);
        e->setIcon(0, icon);
        e->setKey(0, sortKey(i, int(m_list->size())));
        e->setData(0, RecordRole, i);
        this->list->addTopLevelItem(e);
    }
    this->list->sort();
    if (VRXListViewItem* first = this->list->firstChild())
        this->list->setCurrentItem(first);
    currentChanged();
    connect(this->list, &VRXListView::currentChanged, this, [this] { currentChanged(); });
    setWindowState(windowState() | Qt::WindowMaximized);
}

int BookmarkDialog::recordOf(const VRXListViewItem* entry) const
{
    return entry ? entry->data(0, RecordRole).toInt() : -1;
}

void BookmarkDialog::currentChanged()
{
    VRXListViewItem* cur = list->currentItem();
    const bool on = cur != nullptr;
    btnRemove->setEnabled(on);
    btnGo->setEnabled(on);
    btnRename->setEnabled(on);
    if (!cur) {
        btnUp->setEnabled(false);
        btnDown->setEnabled(false);
        return;
    }
    list->setSelected(cur, true);
    list->ensureItemVisible(cur);
    btnUp->setEnabled(list->itemAbove(cur) != nullptr);
    btnDown->setEnabled(list->itemBelow(cur) != nullptr);
}

void BookmarkDialog::move(bool up)
{
    VRXListViewItem* cur = list->currentItem();
    if (!cur)
        return;
    if (VRXListViewItem* other = up ? list->itemAbove(cur) : list->itemBelow(cur)) {
        const QString key = cur->key(0);
        cur->setKey(0, other->key(0));
        other->setKey(0, key);
        list->sort();
        list->setCurrentItem(cur);
    }
    currentChanged();
}

void BookmarkDialog::doUp()
{
    move(true);
}

void BookmarkDialog::doDown()
{
    move(false);
}

void BookmarkDialog::doGo()
{
    const int i = recordOf(list->currentItem());
    if (i < 0 || i >= m_list->size())
        return;
    m_selected = m_list->at(i);
    accept();
}

void BookmarkDialog::doRemove()
{
    VRXListViewItem* cur = list->currentItem();
    if (!cur || !VRXMessageBox::confirmDelete(this, tr("Are you sure you want to delete\nCurrent Bookmark?")))
        return;
    deleteEntry(list, cur);
    if (!list->currentItem())
        if (VRXListViewItem* first = list->firstChild())
            list->setCurrentItem(first);
    currentChanged();
}

void BookmarkDialog::doRename()
{
    VRXListViewItem* cur = list->currentItem();
    const int i = recordOf(cur);
    if (i < 0 || i >= m_list->size())
        return;
    QString newText;
    if (!VRXRenameDialog::getNewName(cur->text(0), newText, this, tr("Rename")) || newText.isEmpty())
        return;
    (*m_list)[i].name = newText;
    cur->setText(0, newText);
}

void BookmarkDialog::applyOrder()
{
    QList<Bookmark> ordered;
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row) {
        const int i = recordOf(e);
        if (i >= 0 && i < m_list->size())
            ordered.append(m_list->at(i));
    }
    *m_list = ordered;
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row)
        e->setData(0, RecordRole, row);
}
