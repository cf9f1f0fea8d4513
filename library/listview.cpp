#include "listview.h"

#include "keycodes.h"
#include "vrxresource.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>

ListView::ListView(QWidget* parent, const QString&)
    : VRXListView(parent, QStringLiteral("listview"))
{
    setHeaderVisible(false);
    setSorting(0, true);
    loadIcons();
    resetColumns();
    setColorMode(1);
}

void ListView::resetColumns()
{
    while (columns() > 0)
        removeColumn(columns() - 1);
    for (int i = 0; i < 5; ++i)
        addColumn(QString());
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
    if (e->type() == QEvent::FontChange)
        loadIcons();
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
