#include "medialibrary.h"

#include "audioinfo.h"
#include "listview.h"
#include "playlist.h"
#include "tagcache.h"
#include "trackitem.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace {
QString textOf(const TagText& field)
{
    return QString::fromUtf8(field.bytes()).trimmed();
}

void fillBox(QComboBox* box, const QString& allLabel, QStringList values, const QString& emptyLabel)
{
    std::sort(values.begin(), values.end());
    values.prepend(allLabel);
    values.append(emptyLabel);
    box->clear();
    box->addItems(values);
    box->setCurrentIndex(0);
}

// Filter rule of one combo box: index 0 takes everything, the last item ("[Empty]") takes
// records without a value, any other item the records with exactly that value.
struct Filter
{
    int current;
    int count;
    QString text;

    explicit Filter(const QComboBox* box) : current(box->currentIndex()), count(box->count()), text(box->currentText()) {}
    bool all() const { return current <= 0; }
    bool empty() const { return current == count - 1; }
};

bool matchesText(const Filter& f, const TagText& field)
{
    if (f.all())
        return true;
    // A value of blanks only is listed under no value of its own, so "[Empty]" takes it.
    if (f.empty())
        return textOf(field).isEmpty();
    return textOf(field) == f.text;
}

bool matchesYear(const Filter& f, int year, int wanted)
{
    if (f.all())
        return true;
    if (f.empty())
        return year == 0;
    return year == wanted;
}
} // namespace

MediaLibrary::MediaLibrary(LoopControl* control, QWidget* parent, const QString& name)
    : MediaLibraryBase(parent, name)
    , control(control)
{
    artistIcon->setPixmap(findPixmap(QStringLiteral("kuser")));
    yearIcon->setPixmap(findPixmap(QStringLiteral("cabinet")));
    albumIcon->setPixmap(findPixmap(QStringLiteral("cd_audio")));
    for (QLabel* icon : {artistIcon, yearIcon, albumIcon})
        icon->installEventFilter(this);
    setFocusProxy(lv);
    updateFilter();
}

MediaLibrary::~MediaLibrary()
{
    releaseCatalogue();
}

void MediaLibrary::setPlayList(PlayList* p)
{
    playList = p;
}

void MediaLibrary::releaseCatalogue()
{
    // Nothing may show a record once it is gone: the play list lets go first, then our
    // own entries.
    emit catalogueAboutToChange();
    lv->clear();
    m_byFile.clear();
}

void MediaLibrary::rebuild()
{
    // The search lets events run; a second rebuild started from one of them would empty the
    // catalogue under the running search.
    if (m_rebuilding)
        return;
    const QScopedValueRollback<bool> busy(m_rebuilding, true);
    releaseCatalogue();
    {
        TagCache cache;
        cache.load();
        CopyRemoveDialog dlg(&m_catalogue, control, this, QStringLiteral("CopyRemoveDialog"));
        dlg.setTagCache(&cache);
        dlg.exec();
        // A cancelled search has not seen every file: nothing is dropped then.
        cache.save(!dlg.isCancelled());
    }
    sortAndShow();
    qDebug("+ library %d tracks", int(m_catalogue.size()));
}

void MediaLibrary::setCatalogue(Catalogue records)
{
    releaseCatalogue();
    m_catalogue = std::move(records);
    sortAndShow();
}

void MediaLibrary::sortAndShow()
{
    std::stable_sort(m_catalogue.begin(), m_catalogue.end(),
                     [](const std::unique_ptr<AudioInfo>& a, const std::unique_ptr<AudioInfo>& b) {
                         return compareAudioInfo(*a, *b) < 0;
                     });
    m_byFile.clear();
    m_byFile.reserve(qsizetype(m_catalogue.size()));
    for (const auto& r : m_catalogue) {
        const QByteArray key(r->fileName ? r->fileName : "");
        if (!m_byFile.contains(key))
            m_byFile.insert(key, r.get());
    }
    artistBox->clear();
    albumBox->clear();
    yearBox->clear();
    updateFilter();
}

void MediaLibrary::updateFilter()
{
    lv->clear();
    lv->resetColumns();
    QSet<QString> seenArtists, seenAlbums;
    QSet<int> seenYears;
    QStringList artists, albums, years;
    // Filling an unsorted list and sorting once keeps a large catalogue fast; the entries
    // go in all at once.
    lv->setSortingEnabled(false);
    int count = 0;
    QList<QTreeWidgetItem*> entries;
    entries.reserve(qsizetype(m_catalogue.size()));
    for (const auto& r : m_catalogue) {
        entries.append(new TrackItem(nullptr, r.get(), count++));
        const QString artist = textOf(r->artist);
        if (!artist.isEmpty() && !seenArtists.contains(artist)) {
            seenArtists.insert(artist);
            artists << artist;
        }
        const QString album = textOf(r->album);
        if (!album.isEmpty() && !seenAlbums.contains(album)) {
            seenAlbums.insert(album);
            albums << album;
        }
        if (r->year != 0 && !seenYears.contains(r->year)) {
            seenYears.insert(r->year);
            years << QString::number(r->year);
        }
    }
    lv->addTopLevelItems(entries);
    fillBox(artistBox, tr("[All Artists]"), artists, tr("[Empty]"));
    fillBox(albumBox, tr("[All Albums]"), albums, tr("[Empty]"));
    fillBox(yearBox, tr("[All Years]"), years, tr("[Empty]"));
    finishList();
}

void MediaLibrary::updateList()
{
    lv->clear();
    lv->resetColumns();
    const Filter artist(artistBox), album(albumBox), year(yearBox);
    bool numeric = false;
    const int wantedYear = year.text.toInt(&numeric);
    lv->setSortingEnabled(false);
    int count = 0;
    QList<QTreeWidgetItem*> entries;
    for (const auto& r : m_catalogue) {
        if (!matchesText(artist, r->artist) || !matchesText(album, r->album)
            || !matchesYear(year, r->year, numeric ? wantedYear : -1))
            continue;
        entries.append(new TrackItem(nullptr, r.get(), count++));
    }
    lv->addTopLevelItems(entries);
    finishList();
}

void MediaLibrary::finishList()
{
    lv->setSorting(0, true);
    VRXListViewItem* first = lv->firstChild();
    if (first)
        lv->setCurrentItem(first);
    currentChanged(first);
    addallbtn->setEnabled(first != nullptr);
}

void MediaLibrary::currentChanged(VRXListViewItem* entry)
{
    addbtn->setEnabled(entry != nullptr);
    if (entry) {
        lv->setSelected(entry, true);
        lv->ensureItemVisible(entry);
    }
}

void MediaLibrary::activated(VRXListViewItem* entry)
{
    auto* e = static_cast<TrackItem*>(entry);
    if (e && e->record())
        emit play(QString::fromUtf8(e->record()->fileName ? e->record()->fileName : ""));
}

void MediaLibrary::add()
{
    auto* cur = static_cast<TrackItem*>(lv->currentItem());
    if (!cur)
        return;
    if (playList)
        playList->addRecords(RecordList{cur->record()});
    // Repeated presses add consecutive tracks.
    if (VRXListViewItem* below = lv->itemBelow(cur)) {
        lv->setCurrentItem(below);
        lv->ensureItemVisible(below);
    }
}

void MediaLibrary::addAll()
{
    RecordList records;
    for (int row = 0; auto* e = static_cast<TrackItem*>(lv->itemAtRow(row)); ++row)
        records << e->record();
    if (playList)
        playList->addRecords(records);
}

AudioInfo* MediaLibrary::findRecord(const QString& file) const
{
    return m_byFile.value(file.toUtf8(), nullptr);
}

void MediaLibrary::addWholeCatalogue()
{
    RecordList records;
    records.reserve(qsizetype(m_catalogue.size()));
    for (const auto& r : m_catalogue)
        records << r.get();
    if (playList)
        playList->addRecords(records);
}

bool MediaLibrary::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        QComboBox* box = watched == artistIcon ? artistBox
                         : watched == yearIcon ? yearBox
                         : watched == albumIcon ? albumBox
                                                : nullptr;
        if (box) {
            box->setCurrentIndex(0);
            updateList();
        }
    }
    return MediaLibraryBase::eventFilter(watched, event);
}
