#include "vrfiledialog.h"

#include "vrxelidedlabel.h"
#include "vrxlistview.h"
#include "vrxokcancel.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>

namespace {
// Entries keep their full path as hidden data and sort folders before files.
constexpr int PathRole = Qt::UserRole + 1;
}

VRFileDialog::VRFileDialog(Mode mode, const QString& startDir, const QString& caption, QWidget* parent)
    : VRXDialog(parent, QStringLiteral("vrFileDialog"))
    , m_mode(mode)
{
    setCaption(caption);
    auto* grid = new QGridLayout(this);
    m_up = new VRXPushButton(QStringLiteral("up"), QString(), this, QStringLiteral("btnUp"));
    grid->addWidget(m_up, 0, 0);
    // Long paths are shortened in the middle and never widen the dialog past the display.
    m_path = new VRXElidedLabel(this, QStringLiteral("path"));
    m_path->setMinimumWidth(40);
    grid->addWidget(m_path, 0, 1);
    m_list = new VRXListView(this, QStringLiteral("vrxFileList"));
    m_list->addColumn(QString());
    m_list->setHeaderVisible(false);
    m_list->setSorting(0, true);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new VRXOkCancel(this);
    grid->addWidget(buttons, 2, 0, 1, 2);
    connect(buttons, &VRXOkCancel::ok, this, &QDialog::accept);
    connect(buttons, &VRXOkCancel::cancel, this, &QDialog::reject);
    connect(m_up, &QPushButton::clicked, this, &VRFileDialog::up);
    connect(m_list, &VRXListView::returnPressed, this, &VRFileDialog::activated);
    connect(m_list, &VRXListView::currentChanged, this, &VRFileDialog::currentChanged);
    setMinimumWidth(comfortableWidth(220));
    setMinimumHeight(200);

    QString dir = startDir;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    setDirectory(dir);
}

void VRFileDialog::setDirectory(const QString& dir)
{
    m_dir = QDir::cleanPath(QDir(dir).absolutePath());
    m_path->setText(m_dir);
    m_up->setEnabled(m_dir != QLatin1String("/"));
    fill();
}

void VRFileDialog::fill()
{
    m_list->clear();
    QDir d(m_dir);
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
    if (m_mode == ExistingFile)
        filters |= QDir::Files;
    const QFontMetrics fm(m_list->font());
    const QPixmap folderIcon = findSizedPixmap(QStringLiteral("folder_audio"), fm);
    const QPixmap fileIcon = findSizedPixmap(QStringLiteral("file_audio"), fm);
    const QFileInfoList entries = d.entryInfoList(filters, QDir::Name | QDir::DirsFirst | QDir::IgnoreCase);
    int n = 0;
    for (const QFileInfo& fi : entries) {
        auto* item = new VRXListViewItem(m_list, fi.fileName());
        item->setIcon(0, fi.isDir() ? folderIcon : fileIcon);
        item->setData(0, PathRole, fi.absoluteFilePath());
        item->setKey(0, QStringLiteral("%1").arg(n++, 6, 10, QLatin1Char('0')));
    }
    m_list->sort();
}

QString VRFileDialog::selectedPath() const
{
    VRXListViewItem* item = m_list->selectedItem();
    if (item)
        return item->data(0, PathRole).toString();
    return m_mode == Directory ? m_dir : QString();
}

void VRFileDialog::selectName(const QString& name)
{
    for (int i = 0; i < m_list->childCount(); ++i) {
        VRXListViewItem* item = m_list->itemAtRow(i);
        if (item->text(0) == name) {
            m_list->setCurrentItem(item);
            m_list->setSelected(item, true);
            return;
        }
    }
}

void VRFileDialog::up()
{
    QDir d(m_dir);
    if (d.cdUp())
        setDirectory(d.absolutePath());
}

void VRFileDialog::activated(VRXListViewItem* item)
{
    if (!item)
        return;
    const QString path = item->data(0, PathRole).toString();
    if (QFileInfo(path).isDir())
        setDirectory(path);
    else if (m_mode == ExistingFile)
        accept();
}

void VRFileDialog::currentChanged(VRXListViewItem* item)
{
    m_path->setText(item ? item->data(0, PathRole).toString() : m_dir);
}

QString VRFileDialog::getExistingDirectory(const QString& startDir, const QString& caption, QWidget* parent)
{
    VRFileDialog dlg(Directory, startDir, caption, parent);
    if (dlg.run() != QDialog::Accepted)
        return QString();
    return dlg.selectedPath();
}

QString VRFileDialog::getOpenFileName(const QString& startDir, const QString& caption, QWidget* parent)
{
    VRFileDialog dlg(ExistingFile, startDir, caption, parent);
    if (dlg.run() != QDialog::Accepted)
        return QString();
    const QString path = dlg.selectedPath();
    return QFileInfo(path).isFile() ? path : QString();
}
