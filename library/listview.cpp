#include "listview.h"

#include "keycodes.h"
#include "vrxresource.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

ListView::ListView(QWidget* parent, const QString&)
    : VRXListView(parent, QStringLiteral("listview"))
{
    setHeaderVisible(false);
    setSorting(0, true);
    loadIcons();
    resetColumns();
    setColorMode(1);
    setTextElideMode(Qt::ElideRight);
    // Nothing lies beyond the right edge: clipped texts are elided instead.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A column without text (no year in any tag) takes no room at all.
    header()->setMinimumSectionSize(0);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &ListView::scheduleFit);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &ListView::scheduleFit);
    connect(model(), &QAbstractItemModel::dataChanged, this, &ListView::scheduleFit);
    connect(model(), &QAbstractItemModel::modelReset, this, &ListView::scheduleFit);
}

ListView::~ListView()
{
    // The base class empties the model after this part of the object is gone: its
    // removals must not reach scheduleFit any more.
    disconnect(model(), nullptr, this, nullptr);
}

void ListView::resetColumns()
{
    while (columns() > 0)
        removeColumn(columns() - 1);
    for (int i = 0; i < 5; ++i) {
        addColumn(QString());
        header()->setSectionResizeMode(i, QHeaderView::Fixed);
    }
    scheduleFit();
}

void ListView::scheduleFit()
{
    if (m_fitPending)
        return;
    m_fitPending = true;
    QTimer::singleShot(0, this, [this] {
        m_fitPending = false;
        fitColumns();
    });
}

void ListView::fitColumns()
{
    const int n = columns();
    if (n == 0)
        return;
    // Sized to contents, a column ends where its longest text does: with one entry the
    // next column's text would follow without a break.
    const int gap = fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 2;
    QList<int> width(n, 0);
    for (int c = 0; c < n; ++c) {
        const int hint = sizeHintForColumn(c);
        width[c] = hint > 0 ? hint + gap : 0;
    }
    // Year and track are short and read whole; the text columns share the rest, the
    // narrow ones keeping their width, the wide ones cut to their share: the title, which
    // tells the entries apart, twice that of artist or album.
    int room = viewport()->width();
    QList<int> text;
    for (int c = 0; c < n; ++c) {
        if (c < 3)
            text << c;
        else
            room -= width[c];
    }
    auto weight = [](int c) { return c == 0 ? 2 : 1; };
    int weights = 0;
    for (int c : text)
        weights += weight(c);
    // Columns that need less than their share first, so what they leave goes to the others.
    std::sort(text.begin(), text.end(), [&](int a, int b) { return width[a] * weight(b) < width[b] * weight(a); });
    for (int c : text) {
        const int share = qMax(0, room) * weight(c) / weights;
        width[c] = qMin(width[c], share);
        room -= width[c];
        weights -= weight(c);
    }
    for (int c = 0; c < n; ++c) {
        if (header()->sectionSize(c) != width[c])
            header()->resizeSection(c, width[c]);
    }
}

bool ListView::viewportEvent(QEvent* e)
{
    // The viewport narrows without the list when the scroll bar appears.
    if (e->type() == QEvent::Resize)
        scheduleFit();
    return VRXListView::viewportEvent(e);
}

void ListView::loadIcons()
{
    const QFontMetrics fm(font());
    m_audio = findSizedPixmap(QStringLiteral("audio"), fm);
    m_fileAudio = findSizedPixmap(QStringLiteral("file_audio"), fm);
    const int side = qMax(m_audio.height(), m_fileAudio.height());
    if (side > 0)
        setIconSize(QSize(side, side));
}

QPixmap ListView::icon(int which) const
{
    switch (which) {
    case 0: return m_audio;
    case 1: return m_fileAudio;
    default: return QPixmap();
    }
}

void ListView::setFont(const QFont& font)
{
    VRXListView::setFont(font);
    loadIcons();
}

void ListView::changeEvent(QEvent* e)
{
    // Rows take the new height by themselves: the entries stay, only the icons follow the
    // font's size.
    if (e->type() == QEvent::FontChange) {
        loadIcons();
        scheduleFit();
    }
    VRXListView::changeEvent(e);
}

void ListView::keyPressEvent(QKeyEvent* e)
{
    const int code = keyCode(e);
    if (code < 0) {
        VRXListView::keyPressEvent(e);
        return;
    }
    bool handled = false;
    emit checkKey(handled, code);
    if (handled) {
        e->ignore();
        return;
    }
    VRXListView::keyPressEvent(e);
}
