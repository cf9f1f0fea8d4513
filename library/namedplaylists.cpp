// Named playlists: saving the play list under a name, loading one in its place, and the
// dialog that reorders, sorts, renames and deletes the names.
#include "playlist.h"

#include "atomicfile.h"
#include "audioinfo.h"
#include "customlistdialog.h"
#include "datafile.h"
#include "listview.h"
#include "regularfile.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "vrxinputdialog.h"
#include "vrxmessagebox.h"
#include "vrxrenamedialog.h"

#include <QFile>
#include <QFileInfo>

namespace {
const QChar separator = QLatin1Char(Settings::PlayList::ListSeparator);

QString playListFile(const QString& name)
{
    return QStringLiteral("PlayList_%1").arg(name);
}

QStringList readNames()
{
    Config cfg(applicationName(), Config::User);
    return cfg.read(Settings::PlayList::Names).split(separator, Qt::SkipEmptyParts);
}

// True when the names reached the settings file.
bool writeNames(const QStringList& names)
{
    Config cfg(applicationName(), Config::User);
    cfg.write(Settings::PlayList::Names, names.join(separator));
    return cfg.write();
}
} // namespace

bool PlayList::save()
{
    QStringList names = readNames();
    QStringList files;
    for (int row = 0; TrackItem* e = entryAt(row); ++row)
        files << QString::fromUtf8(e->record() && e->record()->fileName ? e->record()->fileName : "");

    QString proposal = playListName;
    QString name;
    for (;;) {
        bool ok = false;
        const QString answer = VRXInputDialog::getText(tr("Playlist Name"), QString(), proposal, &ok, this);
        // Cancel ends the save; so does a name with nothing left after cleaning.
        if (!ok || answer.isEmpty())
            return false;
        name = sanitiseName(answer);
        if (name.isEmpty())
            return false;
        if (name == playListName || !names.contains(name))
            break;
        const int choice = VRXMessageBox::question(this, tr("Save Playlist"), tr("Playlist already exists!"),
                                                   tr("Overwrite"), QStringLiteral("filesave"));
        if (choice == 2)
            break;
        proposal = name;
    }

    // What the file held before, to put back if the name cannot be registered.
    const QString path = dataFilePath(playListFile(name), true);
    QFile old(path);
    const bool existed = RegularFile::open(old);
    const QByteArray oldBytes = existed ? old.readAll() : QByteArray();
    old.close();

    QString reason;
    if (!writeStringList(playListFile(name), files, &reason)) {
        // Nothing was written: keep the list marked as changed and say so.
        qDebug("Canot write %s", qPrintable(playListFile(name)));
        VRXMessageBox::error(this, tr("Save Playlist"), tr("Could not save the playlist: %1").arg(reason));
        return false;
    }
    if (!names.contains(name)) {
        // A file whose name is not among the names is lost to the user: registered, or
        // taken back.
        const QStringList before = names;
        names << name;
        if (!writeNames(names)) {
            writeNames(before);
            if (existed)
                AtomicFile::write(path, oldBytes);
            else
                QFile::remove(path);
            VRXMessageBox::error(this, tr("Save Playlist"), tr("Could not save the playlist: %1")
                                 .arg(tr("its name could not be stored in the settings")));
            return false;
        }
    }
    playListName = name;
    modified = false;
    return true;
}

void PlayList::chooseNames(bool openMode)
{
    CustomListDialog dlg(readNames(), QStringLiteral("PlayList|PlayList"), QStringLiteral("file_audio"), openMode,
                         this, QStringLiteral("CustomListDialog"));
    connect(&dlg, &CustomListDialog::removeItem, this, &PlayList::deletePlayList);
    connect(&dlg, &CustomListDialog::renameItem, this, &PlayList::renamePlayListItem);
    dlg.setWindowTitle(openMode ? tr("Load Playlist") : tr("Organize Playlists"));
    const bool accepted = dlg.run() == QDialog::Accepted;
    writeNames(dlg.items());
    if (openMode && accepted && !dlg.currentText().isEmpty())
        loadPlayList(dlg.currentText());
}

void PlayList::load()
{
    chooseNames(true);
}

void PlayList::organize()
{
    chooseNames(false);
}

void PlayList::loadPlayList(const QString& name)
{
    if (modified && !playListName.isEmpty()) {
        const int choice = VRXMessageBox::question(
            this, tr("Load Playlist"), tr("Playlist %1 is modified!\nWould you like to save it?").arg(playListName),
            tr("Save"), QStringLiteral("filesave"));
        // The list in hand is replaced only once it is safe: a save that failed or was
        // abandoned keeps it, and the load stops here.
        if (choice == 2 && !save())
            return;
    }
    playListName = name;
    const QStringList paths = readStringList(playListFile(name));
    clearEntries();
    fillFromPaths(paths);
}

void PlayList::deletePlayList(const QString& name, bool* ok)
{
    if (ok)
        *ok = false;
    if (!VRXMessageBox::confirmDelete(this, tr("Are you sure you want to delete\nPlaylist :%1?").arg(name)))
        return;
    QFile::remove(dataFilePath(playListFile(name), true));
    if (name == playListName)
        playListName.clear();
    modified = false;
    if (ok)
        *ok = true;
}

void PlayList::renamePlayListItem(const QString& oldName, QString& newName, bool* ok)
{
    if (ok)
        *ok = false;
    QString answer;
    if (!VRXRenameDialog::getNewName(oldName, answer, this, tr("Rename")) || answer.isEmpty() || answer == oldName)
        return;
    const QString name = sanitiseName(answer);
    if (name.isEmpty() || name == oldName)
        return;
    // A name already in the list is taken even when its file is missing: two entries of one
    // name would stand for one file.
    auto* dlg = qobject_cast<CustomListDialog*>(sender());
    const QString target = dataFilePath(playListFile(name), true);
    if (QFileInfo::exists(target) || (dlg && dlg->items().contains(name))) {
        VRXMessageBox::error(this, tr("Rename Playlist"), tr("Playlist already exists!"));
        return;
    }
    if (!QFile::rename(dataFilePath(playListFile(oldName), true), target)) {
        VRXMessageBox::error(this, tr("Rename Playlist"), tr("Rename failed!"));
        return;
    }
    if (oldName == playListName)
        playListName = name;
    newName = name;
    if (ok)
        *ok = true;
}
