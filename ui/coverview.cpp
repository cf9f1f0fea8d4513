#include "coverview.h"

#include "coverart.h"
#include "screen.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace {
// Covers are a few hundred pixels a side; a picture claiming more is damaged or hostile.
constexpr int MaxSide = 8192;
constexpr int AllocationLimitMB = 64;
} // namespace

CoverView::CoverView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("cover"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // One worker: a newer track's request waits behind the one reading, never beside it.
    m_pool.setMaxThreadCount(1);
    // Process-wide, so set here on the GUI thread rather than beside each read.
    QImageReader::setAllocationLimit(AllocationLimitMB);
}

CoverView::~CoverView()
{
    // The worker posts its result to this object: it must be done before this goes.
    m_pool.clear();
    m_pool.waitForDone();
}

void CoverView::setTrack(const QString& track)
{
    if (track == m_track)
        return;
    m_track = track;
    ++m_serial;
    m_pool.clear();
    if (track.isEmpty()) {
        take(m_serial, QImage());
        return;
    }
    m_looking = true;
    const uint64_t serial = m_serial;
    const QSize display = displaySize();
    const int side = qMax(display.width(), display.height());
    m_pool.start([this, track, serial, side] {
        const QImage picture = decode(CoverArt::find(track), QSize(side, side));
        QMetaObject::invokeMethod(this, [this, serial, picture] { take(serial, picture); }, Qt::QueuedConnection);
    });
}

void CoverView::take(uint64_t serial, const QImage& picture)
{
    if (serial != m_serial)
        return; // for a track that is no longer current
    m_looking = false;
    m_picture = picture;
    m_scaled = QPixmap();
    update();
    emit pictureChanged();
}

QImage CoverView::decode(const QByteArray& bytes, const QSize& bound)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size comes from the header; nothing is allocated for a picture that lies in it.
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide)
        return QImage();
    if (size.width() > bound.width() || size.height() > bound.height())
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

QRect CoverView::pictureRect() const
{
    if (m_picture.isNull())
        return QRect();
    const QSize fitted = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
    QRect r(QPoint(0, 0), fitted);
    r.moveCenter(rect().center());
    return r;
}

void CoverView::paintEvent(QPaintEvent*)
{
    const QRect r = pictureRect();
    if (r.isEmpty())
        return;
    if (m_scaled.size() != r.size())
        m_scaled = QPixmap::fromImage(m_picture.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPainter(this).drawPixmap(r.topLeft(), m_scaled);
}
