#include "vrxelidedlabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

VRXElidedLabel::VRXElidedLabel(QWidget* parent, const QString& name)
    : QLabel(parent)
{
    setObjectName(name);
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString VRXElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, qMax(0, contentsRect().width()));
}

QSize VRXElidedLabel::sizeHint() const
{
    const QSize s = QLabel::sizeHint();
    return QSize(qMin(s.width(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 12), s.height());
}

QSize VRXElidedLabel::minimumSizeHint() const
{
    const QSize s = QLabel::minimumSizeHint();
    return QSize(qMin(s.width(), fontMetrics().horizontalAdvance(QLatin1Char('x')) * 6), s.height());
}

void VRXElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    drawFrame(&p);
    const QRect r = contentsRect();
    style()->drawItemText(&p, r, QStyle::visualAlignment(layoutDirection(), alignment()) | Qt::TextSingleLine,
                          palette(), isEnabled(), shownText(), foregroundRole());
}

bool VRXElidedLabel::event(QEvent* e)
{
    // Only a shortened text needs the whole of it as a tip.
    if (e->type() == QEvent::ToolTip) {
        if (shownText() == text()) {
            QToolTip::hideText();
            e->ignore();
            return true;
        }
        setToolTip(text());
    }
    return QLabel::event(e);
}
