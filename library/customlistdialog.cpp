#include "customlistdialog.h"

#include "deleteentry.h"
#include "screen.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

CustomListDialog::CustomListDialog(const QStringList& items, const QString& title, const QString& iconName,
                                   bool openMode, QWidget* parent, const QString& name)
    : CustomListBase(parent, name)
    , m_iconName(iconName)
{
    setWindowTitle(tr("Edit") + QLatin1Char(' ') + title.section(QLatin1Char('|'), 0, 0));
    const QSize display = displaySize();
    list->addColumn(QString(), qMax(display.width(), display.height()));
    list->setSorting(0, true);
    renameGroup->hide();
    btnNew->setVisible(openMode);
    arrangeButtons();

    licon->setPixmap(findPixmap(iconName));
    const QIcon icon = findIconSet(iconName);
    const int width = keyWidth(items.size());
    for (int i = 0; i < items.size(); ++i) {
        // The key is set before the entry joins the sorted list.
        auto* e = new VRXListViewItem(nullptr, items.at(i));
        e->setIcon(0, icon);
        e->setKey(0, QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')));
        list->addTopLevelItem(e);
    }
    list->sort();
    if (VRXListViewItem* first = list->firstChild())
        list->setCurrentItem(first);
    // The list does not report a first current entry that was set before: apply it here.
    currentChanged(list->currentItem());
}

int CustomListDialog::keyWidth(int count)
{
    // Three digits, or more for a longer list, so that text order stays number order.
    int width = 3;
    for (int n = count - 1; n >= 1000; n /= 10)
        ++width;
    return width;
}

QString CustomListDialog::positionKey(int position) const
{
    return QStringLiteral("%1").arg(position, keyWidth(list->childCount()), 10, QLatin1Char('0'));
}

void CustomListDialog::renumber()
{
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row)
        e->setKey(0, positionKey(row));
    list->sort();
}

QStringList CustomListDialog::items() const
{
    QStringList out;
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row)
        out << e->text(0);
    return out;
}

QString CustomListDialog::currentText() const
{
    VRXListViewItem* e = list->currentItem();
    return e ? e->text(0) : QString();
}

void CustomListDialog::currentChanged(VRXListViewItem* entry)
{
    const bool on = entry != nullptr;
    for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(btnRemove),
                       static_cast<QWidget*>(btnRename), static_cast<QWidget*>(btnNew),
                       static_cast<QWidget*>(btnSort)})
        w->setEnabled(on);
    if (!entry) {
        const QSignalBlocker block(text);
        text->clear();
        btnUp->setEnabled(false);
        btnDown->setEnabled(false);
        return;
    }
    list->setSelected(entry, true);
    list->ensureItemVisible(entry);
    {
        const QSignalBlocker block(text);
        text->setText(entry->text(0));
    }
    text->selectAll();
    btnUp->setEnabled(list->itemAbove(entry) != nullptr);
    btnDown->setEnabled(list->itemBelow(entry) != nullptr);
}

void CustomListDialog::moveCurrent(bool up)
{
    VRXListViewItem* cur = list->currentItem();
    if (!cur)
        return;
    VRXListViewItem* other = up ? list->itemAbove(cur) : list->itemBelow(cur);
    if (other) {
        const QString key = cur->key(0);
        cur->setKey(0, other->key(0));
        other->setKey(0, key);
        list->sort();
    }
    currentChanged(cur);
}

void CustomListDialog::doUp()
{
    moveCurrent(true);
}

void CustomListDialog::doDown()
{
    moveCurrent(false);
}

void CustomListDialog::sort()
{
    QList<VRXListViewItem*> entries;
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row)
        entries << e;
    // Plain code order: capitals before small letters.
    std::stable_sort(entries.begin(), entries.end(),
                     [](VRXListViewItem* a, VRXListViewItem* b) { return a->text(0) < b->text(0); });
    for (int i = 0; i < entries.size(); ++i)
        entries[i]->setKey(0, positionKey(i));
    list->sort();
    if (VRXListViewItem* first = list->firstChild()) {
        list->setCurrentItem(first);
        currentChanged(first);
    }
}

void CustomListDialog::doRemove()
{
    VRXListViewItem* cur = list->currentItem();
    if (!cur)
        return;
    bool ok = true;
    emit removeItem(cur->text(0), &ok);
    if (!ok)
        return;
    deleteEntry(list, cur);
    renumber();
    currentChanged(list->currentItem());
}

void CustomListDialog::doRename()
{
    VRXListViewItem* cur = list->currentItem();
    if (!cur)
        return;
    QString newText;
    bool ok = true;
    emit renameItem(cur->text(0), newText, &ok);
    if (ok && !newText.isEmpty()) {
        cur->setText(0, newText);
        currentChanged(cur);
    }
}

void CustomListDialog::doUpdate()
{
    if (VRXListViewItem* cur = list->currentItem())
        cur->setText(0, text->text());
}

void CustomListDialog::doNew()
{
    accept();
}
