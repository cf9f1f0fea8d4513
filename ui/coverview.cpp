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
    // Process-wide, so set here on the GUI thread rather than beside each read.
    QImageReader::setAllocationLimit(AllocationLimitMB);
}

CoverView::~CoverView()
{
    if (!m_worker.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_quit = true;
        m_request.reset();
    }
    m_wake.notify_one();
    m_worker.join();
}

void CoverView::work()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_request; });
        if (m_quit)
            return;
        const Request r = std::move(*m_request);
        m_request.reset();
        lock.unlock();
        QImage picture = decode(CoverArt::find(r.track), r.bound);
        lock.lock();
        m_result.emplace(r.serial, std::move(picture));
        // Queued to the GUI thread; what it delivers is taken from m_result there.
        QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
    }
}

void CoverView::deliver()
{
    std::optional<std::pair<uint64_t, QImage>> result;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        result.swap(m_result);
    }
    if (result)
        take(result->first, result->second);
}

void CoverView::setTrack(const QString& track)
{
    if (track == m_track)
        return;
    m_track = track;
    ++m_serial;
    if (track.isEmpty()) {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_request.reset();
        }
        take(m_serial, QImage());
        return;
    }
    m_looking = true;
    const uint64_t serial = m_serial;
    const QSize display = displaySize();
    const int side = qMax(display.width(), display.height());
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_request = Request{track, serial, QSize(side, side)};
    }
    if (!m_worker.joinable())
        m_worker = std::thread([this] { work(); });
    m_wake.notify_one();
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
