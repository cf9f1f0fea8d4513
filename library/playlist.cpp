#include "playlist.h"

#include "audioinfo.h"
#include "datafile.h"
#include "deleteentry.h"
#include "listview.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "settingskeys.h"
#include "trackitem.h"
#include "vrxactionregistry.h"
#include "vrxmainwindow.h"
#include "vrxpopup.h"
#include "vrxpushbutton.h"

#include <QFileInfo>
#include <QMenu>

#include <algorithm>
#include <cstring>

namespace {
QString fileOf(const AudioInfo* record)
{
    return QString::fromUtf8(record && record->fileName ? record->fileName : "");
}

QStringList splitNames(const QString& joined)
{
    return joined.split(QLatin1Char(Settings::PlayList::ListSeparator), Qt::SkipEmptyParts);
}
} // namespace

PlayList::PlayList(VRXMainWindow* mainWindow, LoopControl* control, QWidget* parent, const QString& name)
    : PlayListBase(parent, name)
    , control(control)
    , m_menu(new QMenu(this))
{
    createActions(mainWindow);
    connect(btnAbout, &QPushButton::clicked, this, [this] {
        m_menu->popup(popupPosition(m_menu, btnAbout->mapToGlobal(QPoint(0, btnAbout->height())), m_menu->sizeHint()));
    });
    connect(btnPlay, &QPushButton::clicked, this, qOverload<>(&PlayList::play));

    Config cfg(applicationName(), Config::User);
    playListName = cfg.read(Settings::PlayList::Name);
    stateChanged(LoopControl::Stopped);
    currentChanged(nullptr);
}

PlayList::~PlayList()
{
    // Entries go before the records they show.
    lv->clear();
}

void PlayList::createActions(VRXMainWindow* window)
{
    if (!window)
        return;
    VRXActionRegistry* reg = window->actionRegistry();
    const QString more = QStringLiteral(" ...");
    // The window's own commands; a window without them still gets the entries.
    auto windowSlot = [window](const char* signature, const char* member) -> const char* {
        return window->metaObject()->indexOfSlot(signature) >= 0 ? member : nullptr;
    };
    reg->add(QStringLiteral("dir"), QStringLiteral("folder_audio"), tr("Media Folders") + more,
             static_cast<const QObject*>(window),
             windowSlot("mediaFolders()", SLOT(mediaFolders())));
    reg->add(QStringLiteral("options"), QStringLiteral("package_utilities"), tr("Options") + more,
             static_cast<const QObject*>(window),
             windowSlot("options()", SLOT(options())));
    reg->add(QStringLiteral("save"), QStringLiteral("filesave"), tr("Save") + more, this, &PlayList::save);
    reg->add(QStringLiteral("load"), QStringLiteral("fileopen"), tr("Load") + more, this, &PlayList::load);
    reg->add(QStringLiteral("organize"), QStringLiteral("file_audio"), tr("Organize") + more, this,
             &PlayList::organize);

    static const char* const order[] = {"save", "load", "organize", nullptr, "options", nullptr, "dir",
                                        nullptr, "zoomin", "zoomout", nullptr, "Orblane"};
    for (const char* name : order) {
        if (!name)
            m_menu->addSeparator();
        else if (QAction* a = reg->action(QLatin1String(name)))
            m_menu->addAction(a);
    }
}

void PlayList::setLibrary(MediaLibrary* lib)
{
    if (library)
        disconnect(library, nullptr, this, nullptr);
    library = lib;
    if (lib)
        connect(lib, &MediaLibrary::catalogueAboutToChange, this, &PlayList::releaseLibraryRecords);
}

void PlayList::releaseLibraryRecords()
{
    // Keep the list across the rebuild: restoreList() brings it back on the new records.
    // Until then the stored copy is the list, and nothing may store the emptied one.
    if (m_listLoaded)
        storeList();
    clearEntries();
    m_listLoaded = false;
    currentChanged(nullptr);
}

// ------------------------------------------------------------------ entries

TrackItem* PlayList::entryAt(int row) const
{
    return static_cast<TrackItem*>(lv->itemAtRow(row));
}

TrackItem* PlayList::selectedEntry() const
{
    return static_cast<TrackItem*>(lv->selectedItem());
}

TrackItem* PlayList::currentEntry() const
{
    return static_cast<TrackItem*>(lv->currentItem());
}

bool PlayList::isEmpty() const
{
    return lv->childCount() == 0;
}

void PlayList::clearEntries()
{
    ++m_changes;
    m_orderAhead = nullptr;
    m_byRank.clear();
    lv->clear();
    lv->resetColumns();
    ownedRecords.clear();
}

TrackItem* PlayList::appendEntry(AudioInfo* record)
{
    ++m_changes;
    m_listLoaded = true;
    return new TrackItem(lv, record, lv->childCount());
}

void PlayList::selectEntry(TrackItem* entry)
{
    if (!entry)
        return;
    lv->setCurrentItem(entry);
    lv->setSelected(entry, true);
}

AudioInfo* PlayList::resolve(const QString& file, bool* missing)
{
    *missing = false;
    if (library) {
        if (AudioInfo* r = library->findRecord(file))
            return r;
    }
    if (!QFileInfo(file).isFile()) {
        // Not there now (a memory card that is out): the entry stays, named after its file,
        // until the file is back.
        *missing = true;
        auto r = std::make_unique<AudioInfo>();
        r->setFileName(file.toUtf8());
        QString title = QFileInfo(file).completeBaseName();
        LoopControl::capitalizeWords(title);
        AudioInfo::setText(r->title, title.toUtf8());
        r->isUtf8 = 1;
        ownedRecords.push_back(std::move(r));
        return ownedRecords.back().get();
    }
    if (!control)
        return nullptr;
    Decoder* decoder = control->decoderFor(file);
    if (!decoder)
        return nullptr;
    AudioInfo* r = LoopControl::readTrackInfo(decoder, file);
    if (r)
        ownedRecords.emplace_back(r);
    return r;
}

bool PlayList::checkAvailable(TrackItem* entry)
{
    const bool there = entry && QFileInfo(fileOf(entry->record())).isFile();
    if (entry)
        entry->setMissing(!there);
    return there;
}

TrackItem* PlayList::firstAvailable(int row, int step)
{
    for (TrackItem* e = entryAt(row); e; e = entryAt(row += step)) {
        if (checkAvailable(e))
            return e;
    }
    return nullptr;
}

bool PlayList::hasAvailableEntry()
{
    return firstAvailable(0, 1) != nullptr;
}

void PlayList::releaseOwned(AudioInfo* record)
{
    // Only this list's own records are deleted, and only when no entry shows them any more.
    for (int row = 0; TrackItem* e = entryAt(row); ++row) {
        if (e->record() == record)
            return;
    }
    for (auto it = ownedRecords.begin(); it != ownedRecords.end(); ++it) {
        if (it->get() == record) {
            ownedRecords.erase(it);
            return;
        }
    }
}

void PlayList::removeEntry(TrackItem* entry)
{
    if (!entry)
        return;
    int previous = entry->index();
    for (TrackItem* e = static_cast<TrackItem*>(lv->itemBelow(entry)); e;
         e = static_cast<TrackItem*>(lv->itemBelow(e))) {
        const int own = e->index();
        e->setIndex(previous);
        previous = own;
    }
    ++m_changes;
    AudioInfo* record = entry->record();
    std::replace(m_byRank.begin(), m_byRank.end(), entry, static_cast<TrackItem*>(nullptr));
    if (m_orderAhead == entry)
        m_orderAhead = nullptr;
    deleteEntry(lv, entry);
    releaseOwned(record);
}

void PlayList::fillFromPaths(const QStringList& paths)
{
    // All at once: a list of 100,000 entries goes in with one insertion.
    QList<QTreeWidgetItem*> batch;
    batch.reserve(paths.size());
    int index = lv->childCount();
    for (const QString& path : paths) {
        bool missing;
        if (AudioInfo* r = resolve(path, &missing)) {
            auto* e = new TrackItem(nullptr, r, index++);
            e->setMissing(missing);
            batch.append(e);
        }
    }
    ++m_changes;
    m_listLoaded = true;
    lv->addTopLevelItems(batch);
    lv->sort();
    if (TrackItem* first = entryAt(0))
        selectEntry(first);
    else
        currentChanged(nullptr);
    setupRandomOrder();
    modified = false;
}

// ------------------------------------------------------------------ play order

void PlayList::setupRandomOrder()
{
    m_orderAhead = nullptr;
    const std::vector<int> ranks = drawRandomRanks(lv->childCount());
    m_byRank.assign(ranks.size(), nullptr);
    for (int row = 0; row < int(ranks.size()); ++row) {
        if (TrackItem* e = entryAt(row)) {
            e->setRandomRank(ranks[size_t(row)]);
            m_byRank[size_t(ranks[size_t(row)])] = e;
        }
    }
}

TrackItem* PlayList::entryOfRank(int rank) const
{
    // The order as drawn, while the entries still carry it; else a walk down the list
    // finds the first entry of that rank.
    if (rank >= 0 && size_t(rank) < m_byRank.size()) {
        TrackItem* e = m_byRank[size_t(rank)];
        if (e && e->randomRank() == rank)
            return e;
    }
    for (int row = 0; TrackItem* e = entryAt(row); ++row) {
        if (e->randomRank() == rank)
            return e;
    }
    return nullptr;
}

void PlayList::selectRandomRank(int rank)
{
    const int n = lv->childCount();
    if (!(rank < n)) {
        setupRandomOrder();
        rank = 0;
    }
    // Entries whose files are missing are passed over; past the last rank a new order is
    // drawn once, so random play goes on while anything can play, and ends when nothing can.
    for (bool redrawn = rank == 0; n > 0;) {
        for (; rank < n; ++rank) {
            TrackItem* e = entryOfRank(rank);
            if (!e) {
                lv->clearSelection(); // a rank nobody has
                return;
            }
            if (checkAvailable(e)) {
                selectEntry(e);
                return;
            }
        }
        if (redrawn)
            break;
        redrawn = true;
        setupRandomOrder();
        rank = 0;
    }
    lv->clearSelection();
}

void PlayList::selectFirst()
{
    if (random) {
        setupRandomOrder();
        selectRandomRank(0);
    } else if (TrackItem* first = firstAvailable(0, 1)) {
        selectEntry(first);
    } else {
        lv->clearSelection();
    }
}

void PlayList::selectNext()
{
    if (TrackItem* sel = selectedEntry()) {
        if (random && m_orderAhead == sel) {
            m_orderAhead = nullptr;
            selectRandomRank(0);
            return;
        }
        if (random) {
            // Past the last rank a new order is drawn: random play never runs out.
            selectRandomRank(sel->randomRank() + 1);
            return;
        }
        if (TrackItem* below = firstAvailable(sel->index() + 1, 1)) {
            selectEntry(below);
            return;
        }
    }
    if (loop)
        selectFirst();
    else
        lv->clearSelection();
}

TrackItem* PlayList::peekNext()
{
    const int n = lv->childCount();
    auto firstOfOrder = [&]() -> TrackItem* {
        for (int rank = 0; rank < n; ++rank) {
            TrackItem* e = entryOfRank(rank);
            if (e && checkAvailable(e))
                return e;
        }
        return nullptr;
    };
    TrackItem* sel = selectedEntry();
    if (sel && random) {
        if (m_orderAhead == sel)
            return firstOfOrder();
        for (int rank = sel->randomRank() + 1; rank < n; ++rank) {
            TrackItem* e = entryOfRank(rank);
            if (!e)
                return nullptr;
            if (checkAvailable(e))
                return e;
        }
        setupRandomOrder();
        m_orderAhead = sel;
        return firstOfOrder();
    }
    if (sel) {
        if (TrackItem* below = firstAvailable(sel->index() + 1, 1))
            return below;
    }
    if (!loop)
        return nullptr;
    if (random) {
        setupRandomOrder();
        m_orderAhead = sel;
        return firstOfOrder();
    }
    return firstAvailable(0, 1);
}

void PlayList::selectContinued(int index, const QString& file)
{
    TrackItem* e = entryAt(index);
    if (!e || fileOf(e->record()) != file) {
        e = nullptr;
        for (int row = 0; TrackItem* candidate = entryAt(row); ++row) {
            if (fileOf(candidate->record()) == file) {
                e = candidate;
                break;
            }
        }
    }
    m_orderAhead = nullptr;
    if (e)
        selectEntry(e);
}

void PlayList::selectPrevious()
{
    if (TrackItem* sel = selectedEntry()) {
        if (random) {
            // A random order has no way back: previous steps forward like next.
            selectRandomRank(sel->randomRank() + 1);
            return;
        }
        if (TrackItem* above = firstAvailable(sel->index() - 1, -1)) {
            selectEntry(above);
            return;
        }
        TrackItem* last = loop ? firstAvailable(lv->childCount() - 1, -1) : nullptr;
        if (last)
            selectEntry(last);
        else
            lv->clearSelection();
        return;
    }
    if (loop)
        selectFirst();
    else
        lv->clearSelection();
}

QString PlayList::selectedFile()
{
    TrackItem* sel = selectedEntry();
    if (!sel)
        return QString();
    if (lv->currentItem() != sel)
        lv->setCurrentItem(sel);
    return fileOf(sel->record());
}

void PlayList::selectFile(const QString& file)
{
    const QByteArray utf8 = file.toUtf8();
    for (int row = 0; TrackItem* e = entryAt(row); ++row) {
        if (e->record() && e->record()->fileName && utf8 == e->record()->fileName) {
            selectEntry(e);
            return;
        }
    }
    if (!control || !QFileInfo(file).isFile())
        return;
    Decoder* decoder = control->decoderFor(file);
    if (!decoder)
        return;
    AudioInfo* r = LoopControl::readTrackInfo(decoder, file);
    if (!r)
        return;
    ownedRecords.emplace_back(r);
    selectEntry(appendEntry(r));
}

void PlayList::setPlayOptions(bool loopOn, bool randomOn)
{
    loop = loopOn;
    random = randomOn;
    setupRandomOrder();
    emit nextChanged();
}

void PlayList::showMenu()
{
    btnAbout->animateClick();
}

// ------------------------------------------------------------------ editing

void PlayList::doUp()
{
    TrackItem* cur = currentEntry();
    auto* above = cur ? static_cast<TrackItem*>(lv->itemAbove(cur)) : nullptr;
    if (!above)
        return;
    const int i = cur->index();
    cur->setIndex(above->index());
    above->setIndex(i);
    ++m_changes;
    lv->sort();
    currentChanged(cur);
    modified = true;
}

void PlayList::doDown()
{
    TrackItem* cur = currentEntry();
    auto* below = cur ? static_cast<TrackItem*>(lv->itemBelow(cur)) : nullptr;
    if (!below)
        return;
    const int i = cur->index();
    cur->setIndex(below->index());
    below->setIndex(i);
    ++m_changes;
    lv->sort();
    currentChanged(cur);
    modified = true;
}

void PlayList::doRemove()
{
    removeEntry(currentEntry());
    lv->sort();
    currentChanged(lv->currentItem());
    setupRandomOrder();
    modified = true;
}

void PlayList::addRecords(const RecordList& records)
{
    TrackItem* firstNew = nullptr;
    QList<QTreeWidgetItem*> batch;
    int index = lv->childCount();
    for (AudioInfo* r : records) {
        if (!r)
            continue;
        auto* e = new TrackItem(nullptr, r, index++);
        batch.append(e);
        if (!firstNew)
            firstNew = e;
    }
    ++m_changes;
    m_listLoaded = true;
    lv->addTopLevelItems(batch);
    lv->sort();
    // A list that had no current entry gets one, so that its buttons (Play first of all)
    // work at once.
    if (!lv->currentItem() && firstNew)
        lv->setCurrentItem(firstNew);
    currentChanged(lv->currentItem());
    setupRandomOrder();
    modified = true;
}

void PlayList::addAll()
{
    clearEntries();
    if (library)
        library->addWholeCatalogue();
    else
        currentChanged(nullptr);
    modified = true;
}

void PlayList::removeAll()
{
    clearEntries();
    currentChanged(nullptr);
    modified = true;
}

void PlayList::currentChanged(VRXListViewItem* entry)
{
    const bool on = entry != nullptr;
    emit nextChanged();
    btnRemove->setEnabled(on);
    btnPlay->setEnabled(on);
    btnClear->setEnabled(on);
    if (!entry) {
        btnUp->setEnabled(false);
        btnDown->setEnabled(false);
        return;
    }
    lv->setSelected(entry, true);
    lv->ensureItemVisible(entry);
    btnUp->setEnabled(lv->itemAbove(entry) != nullptr);
    btnDown->setEnabled(lv->itemBelow(entry) != nullptr);
}

void PlayList::activated(VRXListViewItem* entry)
{
    if (auto* e = static_cast<TrackItem*>(entry))
        emit play(fileOf(e->record()));
}

void PlayList::stateChanged(int state)
{
    switch (state) {
    case LoopControl::Playing:
    case LoopControl::Resumed:
        btnPlay->setText(tr("Stop"));
        btnPlay->setIconName(QStringLiteral("exit"));
        break;
    case LoopControl::Stopped:
    case LoopControl::Paused:
        btnPlay->setText(tr("Play"));
        btnPlay->setIconName(QStringLiteral("play"));
        break;
    default:
        break;
    }
}

// ------------------------------------------------------------------ stored list

void PlayList::restoreList()
{
    clearEntries();
    Config cfg(applicationName(), Config::User);
    cfg.setGroup(QString::fromLatin1(Settings::PlayList::Group));
    QStringList paths;
    for (int k = 0;; ++k) {
        const QString path = cfg.readEntry(QString::number(k));
        if (path.isEmpty())
            break;
        paths << path;
    }
    fillFromPaths(paths);
    m_listLoaded = true;
}

void PlayList::storeList()
{
    // While the entries are out for a library rebuild the stored copy is the list; and a
    // list stored as it stands is not written again (it is stored at every track change).
    if (!m_listLoaded || (m_changes == m_storedChanges && playListName == m_storedName))
        return;
    Config cfg(applicationName(), Config::User);
    cfg.setGroup(QString::fromLatin1(Settings::PlayList::Group));
    const QStringList names = splitNames(cfg.readEntry(QString::fromLatin1(Settings::PlayList::Names.key)));
    cfg.clearGroup();
    cfg.writeEntry(QString::fromLatin1(Settings::PlayList::Name.key), playListName);
    for (int row = 0; TrackItem* e = entryAt(row); ++row)
        cfg.writeEntry(QString::number(e->index()), fileOf(e->record()));
    cfg.writeEntry(QString::fromLatin1(Settings::PlayList::Names.key),
                   names.join(QLatin1Char(Settings::PlayList::ListSeparator)));
    m_storedChanges = m_changes;
    m_storedName = playListName;
}
