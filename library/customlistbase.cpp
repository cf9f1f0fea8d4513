#include "customlistbase.h"

#include "screen.h"
#include "vrxlistview.h"
#include "vrxpushbutton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

CustomListBase::CustomListBase(QWidget* parent, const QString& name)
    : VRXDialog(parent, name.isEmpty() ? QStringLiteral("CustomListBase") : name)
{
    grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);

    list = new VRXListView(this, QStringLiteral("list"));
    list->setHeaderVisible(false);
    grid->addWidget(list, 0, 0, 1, 7);

    renameGroup = new QGroupBox(this);
    renameGroup->setObjectName(QStringLiteral("renameGroup"));
    auto* row = new QHBoxLayout(renameGroup);
    licon = new QLabel(renameGroup);
    licon->setObjectName(QStringLiteral("licon"));
    label = new QLabel(tr("Text:"), renameGroup);
    label->setObjectName(QStringLiteral("label"));
    text = new QLineEdit(renameGroup);
    text->setObjectName(QStringLiteral("text"));
    row->addWidget(licon);
    row->addWidget(label);
    row->addWidget(text, 1);
    grid->addWidget(renameGroup, 1, 0, 1, 7);

    btnUp = new VRXPushButton(QStringLiteral("up"), QString(), this, QStringLiteral("btnUp"));
    btnDown = new VRXPushButton(QStringLiteral("down"), QString(), this, QStringLiteral("btnDown"));
    btnSort = new VRXPushButton(QStringLiteral("sort-name"), tr("Sort"), this, QStringLiteral("btnSort"));
    btnNew = new VRXPushButton(QStringLiteral("file_audio"), tr("Open"), this, QStringLiteral("btnNew"));
    btnRename = new VRXPushButton(QStringLiteral("rename"), QString(), this, QStringLiteral("btnRename"));
    btnRemove = new VRXPushButton(QStringLiteral("remove"), QString(), this, QStringLiteral("btnRemove"));
    arrangeButtons();

    connect(list, &VRXListView::currentChanged, this, &CustomListBase::currentChanged);
    connect(text, &QLineEdit::textChanged, this, &CustomListBase::doUpdate);
    connect(btnUp, &QPushButton::clicked, this, &CustomListBase::doUp);
    connect(btnDown, &QPushButton::clicked, this, &CustomListBase::doDown);
    connect(btnSort, &QPushButton::clicked, this, &CustomListBase::sort);
    connect(btnNew, &QPushButton::clicked, this, &CustomListBase::doNew);
    connect(btnRename, &QPushButton::clicked, this, &CustomListBase::doRename);
    connect(btnRemove, &QPushButton::clicked, this, &CustomListBase::doRemove);
}

void CustomListBase::arrangeButtons()
{
    const QList<VRXPushButton*> all = {btnUp, btnDown, btnSort, btnNew, btnRename, btnRemove};
    for (VRXPushButton* b : all)
        grid->removeWidget(b);
    for (QLayout* row : std::as_const(m_buttonRows)) {
        grid->removeItem(row);
        delete row;
    }
    m_buttonRows.clear();

    // One row when every button gets its full label within the display, else the
    // labelled buttons move to a second row: a squeezed button clips its label.
    int wanted = grid->contentsMargins().left() + grid->contentsMargins().right();
    int shown = 0;
    for (VRXPushButton* b : all) {
        if (!b->isHidden()) {
            wanted += b->sizeHint().width();
            ++shown;
        }
    }
    wanted += qMax(0, shown - 1) * grid->horizontalSpacing();
    const bool oneRow = wanted <= displaySize().width() - 10;

    auto* first = new QHBoxLayout;
    first->setSpacing(grid->horizontalSpacing());
    m_buttonRows << first;
    first->addWidget(btnUp);
    first->addWidget(btnDown);
    QHBoxLayout* second = first;
    if (oneRow) {
        first->addWidget(btnSort);
    } else {
        second = new QHBoxLayout;
        second->setSpacing(grid->horizontalSpacing());
        m_buttonRows << second;
        second->addWidget(btnSort, 1);
        second->addWidget(btnNew, 1);
    }
    first->addStretch(1);
    if (oneRow)
        first->addWidget(btnNew);
    first->addWidget(btnRename);
    first->addWidget(btnRemove);
    grid->addLayout(first, 2, 0, 1, 7);
    if (second != first)
        grid->addLayout(second, 3, 0, 1, 7);
}
