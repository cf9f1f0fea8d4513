#include "trackitem.h"

#include "audioinfo.h"
#include "listview.h"

#include <QFont>
#include <QIcon>

namespace {
QString fieldText(const char* field)
{
    return QString::fromUtf8(field).trimmed();
}
}

TrackItem::TrackItem(ListView* parent, AudioInfo* record, int index)
    : VRXListViewItem(parent)
    , m_record(record)
    , m_index(index)
    , m_nonMp3(isNonMp3(record ? record->fileName : nullptr))
{
    // The base appended the entry before the fields above were set: tell the list.
    emitDataChanged();
}

bool TrackItem::isNonMp3(const char* fileName)
{
    const QString name = QString::fromUtf8(fileName ? fileName : "");
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).toLower();
    return ext != QLatin1String("mp3");
}

void TrackItem::setMissing(bool missing)
{
    if (missing == m_missing)
        return;
    m_missing = missing;
    emitDataChanged();
}

void TrackItem::setIndex(int index)
{
    m_index = index;
    emitDataChanged();
}

QString TrackItem::key(int) const
{
    return QString::asprintf("%08d", m_index);
}

bool TrackItem::operator<(const QTreeWidgetItem& other) const
{
    // Same order as comparing the "%08d" keys, without formatting them for every
    // comparison; other indices compare by their keys.
    const auto* o = dynamic_cast<const TrackItem*>(&other);
    if (o && m_index >= 0 && o->m_index >= 0 && m_index < 100000000 && o->m_index < 100000000)
        return m_index < o->m_index;
    return VRXListViewItem::operator<(other);
}

QVariant TrackItem::data(int column, int role) const
{
    if (role == Qt::DisplayRole) {
        if (!m_record)
            return QString();
        switch (column) {
        case 0: return fieldText(m_record->title);
        case 1: return fieldText(m_record->artist);
        case 2: return fieldText(m_record->album);
        case 3: return m_record->year ? QString::number(m_record->year) : QString();
        case 4: return m_record->track ? QString::number(m_record->track) : QString();
        default: return QString();
        }
    }
    if (m_missing && role == Qt::FontRole) {
        QFont f = treeWidget() ? treeWidget()->font() : QFont();
        f.setItalic(true);
        return f;
    }
    if (role == Qt::DecorationRole) {
        if (column != 0)
            return QVariant();
        auto* lv = qobject_cast<ListView*>(treeWidget());
        if (!lv)
            return QVariant();
        const QPixmap pm = lv->icon(m_nonMp3 ? 1 : 0);
        return pm.isNull() ? QVariant() : QVariant(pm);
    }
    return VRXListViewItem::data(column, role);
}
