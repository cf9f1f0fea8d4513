#include "trackdescription.h"

#include "audioinfo.h"
#include "framepainter.h"

#include <QEvent>
#include <QPainter>

namespace {
const QColor kTextColour(0x50, 0x50, 0x50);

QString stripped(const char* field)
{
    return QString::fromUtf8(field).trimmed();
}
}

TrackDescription::TrackDescription(QWidget* parent, const char* name)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    // Every pixel is painted from the background pixmap: no erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedHeight(2 * fontMetrics().lineSpacing() + 10);
}

void TrackDescription::setDescription(AudioInfo* info)
{
    m_first = info ? stripped(info->title) : QString();
    m_second = info ? stripped(info->artist) : QString();
    if (info && !info->album.isEmpty()) {
        if (!m_second.isEmpty())
            m_second += QStringLiteral(" - ");
        m_second += stripped(info->album);
    }
    repaint();
}

QString TrackDescription::elideText(const QString& text, int width) const
{
    const QFontMetrics fm = fontMetrics();
    if (fm.horizontalAdvance(text) < width)
        return text;
    const QString dots = QStringLiteral("...");
    // The longest start that fits with the dots, found by halving: titles can be long.
    int n = 0;
    int lo = 1, hi = int(text.size());
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        if (fm.horizontalAdvance(dots + text.left(mid)) < width) {
            n = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    // Never cut a surrogate pair in half.
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate())
        --n;
    if (n == 0 && !text.isEmpty())
        n = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
    return text.left(n) + dots;
}

void TrackDescription::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    m_background = FramePainter::framed(FramePainter::frameImage(), size(), palette());
}

void TrackDescription::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        setFixedHeight(2 * fontMetrics().lineSpacing() + 10);
    QWidget::changeEvent(e);
}

void TrackDescription::paintEvent(QPaintEvent*)
{
    QPixmap canvas = m_background.size() == size()
        ? m_background
        : FramePainter::framed(FramePainter::frameImage(), size(), palette());
    if (canvas.isNull())
        return;
    const int ls = fontMetrics().lineSpacing();
    const int w = width() - 22;
    {
        QPainter p(&canvas);
        p.setFont(font());
        p.setPen(kTextColour);
        p.drawText(QRect(11, 5, w, ls), Qt::AlignCenter, elideText(m_first, w));
        p.drawText(QRect(11, ls + 5, w, ls), Qt::AlignCenter, elideText(m_second, w));
    }
    QPainter(this).drawPixmap(0, 0, canvas);
}
