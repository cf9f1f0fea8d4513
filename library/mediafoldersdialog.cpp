#include "mediafoldersdialog.h"

#include "datafile.h"
#include "deleteentry.h"
#include "settingskeys.h"
#include "vrfiledialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>

namespace {
// The hidden flag of an entry ("1" or "0") is kept under a role of its only column.
constexpr int FlagRole = Qt::UserRole + 1;

QString& startFolder()
{
    static QString folder;
    return folder;
}

QString flagOf(const VRXListViewItem* e)
{
    return e->data(0, FlagRole).toString();
}

void setFlag(VRXListViewItem* e, const QString& flag)
{
    e->setData(0, FlagRole, flag);
}
} // namespace

MediaFoldersDialog::MediaFoldersDialog(QWidget* parent)
    : MediaFoldersBase(parent, QStringLiteral("MediaFoldersDialog"))
{
    setWindowTitle(tr("Edit Media Folders"));
    setWindowState(windowState() | Qt::WindowMaximized);
    Config cfg(applicationName(), Config::User);
    const QStringList items = cfg.read(Settings::MediaFolders::Folders)
                                  .split(QLatin1Char(Settings::MediaFolders::ListSeparator), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        // A flag without a path names no folder.
        if (item.size() > 1)
            addEntry(item.mid(1), item.left(1));
    }
    if (VRXListViewItem* first = list->firstChild())
        list->setCurrentItem(first);
    currentChanged(list->currentItem());
    processDoc->setChecked(cfg.read(Settings::MediaFolders::Documents));
    m_openedWith = folderItems();
    m_documentsOpenedWith = processDoc->isChecked();
}

MediaFoldersDialog::~MediaFoldersDialog()
{
    Config cfg(applicationName(), Config::User);
    cfg.write(Settings::MediaFolders::Folders,
              folderItems().join(QLatin1Char(Settings::MediaFolders::ListSeparator)));
    cfg.write(Settings::MediaFolders::Documents, processDoc->isChecked());
}

bool MediaFoldersDialog::changed() const
{
    return folderItems() != m_openedWith || processDoc->isChecked() != m_documentsOpenedWith;
}

void MediaFoldersDialog::resetStartFolder()
{
    startFolder().clear();
}

QStringList MediaFoldersDialog::folderItems() const
{
    QStringList out;
    for (int row = 0; VRXListViewItem* e = list->itemAtRow(row); ++row)
        out << flagOf(e) + e->text(0);
    return out;
}

VRXListViewItem* MediaFoldersDialog::addEntry(const QString& path, const QString& flag)
{
    auto* e = new VRXListViewItem(list, path);
    e->setIcon(0, findIconSet(QStringLiteral("folder_audio")));
    setFlag(e, flag);
    return e;
}

void MediaFoldersDialog::currentChanged(VRXListViewItem* entry)
{
    btnRemove->setEnabled(entry != nullptr);
    if (!entry) {
        folderIcon->hide();
        rec->setChecked(false);
        rec->setEnabled(false);
        folderPath->clear();
        return;
    }
    folderIcon->show();
    rec->setEnabled(true);
    list->setSelected(entry, true);
    list->ensureItemVisible(entry);
    folderPath->setText(entry->text(0));
    rec->setChecked(flagOf(entry) == QLatin1String("1"));
}

void MediaFoldersDialog::doNew()
{
    QString& start = startFolder();
    if (start.isEmpty()) {
        Config cfg(applicationName(), Config::User);
        start = cfg.read(Settings::MediaFolders::StartWith(QDir::homePath().toUtf8().constData()));
    }
    const QString path = VRFileDialog::getExistingDirectory(start, tr("Select Media Folder"), this);
    if (path.isEmpty())
        return;
    if (path.contains(QLatin1Char(Settings::MediaFolders::ListSeparator))) {
        // The stored list is joined with "|": such a path would come back as two broken ones.
        VRXMessageBox::error(this, tr("Select Media Folder"), tr("A media folder path cannot contain \"|\"."));
        return;
    }
    start = path;
    {
        Config cfg(applicationName(), Config::User);
        cfg.write(Settings::MediaFolders::StartWith(""), path);
    }
    VRXListViewItem* e = addEntry(path, QStringLiteral("0"));
    list->setCurrentItem(e);
    currentChanged(e);
}

void MediaFoldersDialog::doRemove()
{
    if (VRXListViewItem* cur = list->currentItem())
        deleteEntry(list, cur);
    currentChanged(list->currentItem());
}

void MediaFoldersDialog::recurrenceChanged()
{
    if (VRXListViewItem* cur = list->currentItem())
        setFlag(cur, rec->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}
