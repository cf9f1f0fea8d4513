#include "trackinfo.h"

#include "framepainter.h"
#include "playinfo.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTime>

namespace {
const QColor kTextColour(0x50, 0x50, 0x50);
}

TrackInfo::TrackInfo(QWidget* parent, const char* name)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedHeight(fontMetrics().lineSpacing() + 10);
}

QString TrackInfo::minutesSeconds(int seconds)
{
    // Minutes go on counting past the hour: a long recording's 62 minutes are not 2.
    seconds = qMax(0, seconds);
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void TrackInfo::setPosition(int seconds, PlayInfo* info)
{
    if (!info) {
        m_time.clear();
        m_length.clear();
        m_info.clear();
        repaint();
        return;
    }
    m_time = minutesSeconds(seconds);
    m_length = minutesSeconds(info->length);
    // shownInfo() drops whole fields by spaces: each unit and channel word stays one word.
    m_info = QStringLiteral("%1 %2 %3 %4 %5 %6")
                 .arg(QString::number(info->bitrate / 1000), tr("kbps"), QString::number(info->rate / 1000),
                      tr("kHz"), info->channels == 1 ? tr("mono") : tr("stereo"), minutesSeconds(info->length));
    repaint();
}

QString TrackInfo::shownTime() const
{
    if (!m_combined || m_time.isEmpty())
        return m_time;
    const QString both = m_time + QLatin1Char('/') + m_length;
    return fontMetrics().horizontalAdvance(both) <= m_timePanel.width() - 6 ? both : m_time;
}

QString TrackInfo::shownInfo() const
{
    // Drop whole fields from the right (length, channels, rate) until the line fits, so
    // a narrow panel never shows half a number.
    const QFontMetrics fm = fontMetrics();
    QStringList words = m_info.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (m_combined && !words.isEmpty())
        words.removeLast(); // the length is in the time panel
    static const int fieldWords[] = {1, 1, 2}; // length; channel mode; "44 kHz"
    for (int i = m_combined ? 1 : 0; i < 3; ++i) {
        const QString line = words.join(QLatin1Char(' '));
        // The bit rate with its unit always stays.
        if (fm.horizontalAdvance(line) <= m_infoPanel.width() || words.size() - fieldWords[i] < 2)
            return line;
        words = words.mid(0, words.size() - fieldWords[i]);
    }
    return words.join(QLatin1Char(' '));
}

void TrackInfo::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    // Where the longest line and the length do not fit beside the elapsed time, the time
    // panel shows both times ("01:05/03:35") and the line goes without the length.
    const QFontMetrics fm = fontMetrics();
    const int narrow = fm.horizontalAdvance(QStringLiteral("000:00"));
    const int longest = fm.horizontalAdvance(QStringLiteral("320 %1 48 %2 %3 000:00").arg(tr("kbps"), tr("kHz"), tr("stereo")));
    m_combined = narrow + 14 + 14 + longest > width();
    const int w0 = m_combined ? fm.horizontalAdvance(QStringLiteral("00:00/00:00")) : narrow;
    const int H = height();
    const int W = width();
    m_timePanel = QRect(0, 0, w0 + 14, H);
    const QRect right(QPoint(w0 + 14, 0), QPoint(W - 1, H - 1));
    m_infoPanel = right.adjusted(7, 0, -7, 0);

    m_background = QPixmap(size());
    m_background.fill(palette().color(QPalette::Active, QPalette::Window));
    const QImage frame = FramePainter::frameImage();
    QPainter p(&m_background);
    p.drawPixmap(m_timePanel.topLeft(), FramePainter::framed(frame, m_timePanel.size(), palette()));
    if (right.width() > 0)
        p.drawPixmap(right.topLeft(), FramePainter::framed(frame, right.size(), palette()));
}

void TrackInfo::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        setFixedHeight(fontMetrics().lineSpacing() + 10);
    QWidget::changeEvent(e);
}

void TrackInfo::paintEvent(QPaintEvent*)
{
    if (m_background.size() != size()) {
        QResizeEvent re(size(), size());
        resizeEvent(&re);
    }
    if (m_background.isNull())
        return;
    QPixmap canvas = m_background;
    {
        QPainter p(&canvas);
        p.setFont(font());
        p.setPen(kTextColour);
        p.drawText(m_timePanel, Qt::AlignCenter, shownTime());
        p.drawText(m_infoPanel, Qt::AlignCenter, shownInfo());
    }
    QPainter(this).drawPixmap(0, 0, canvas);
}
