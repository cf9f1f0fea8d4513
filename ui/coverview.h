#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

// The track's cover picture, scaled to fit the widget with its aspect ratio kept and
// centred. The picture is found and decoded on a worker thread; a result that arrives
// after another track was set is dropped. Without a picture it paints nothing.
class CoverView : public QWidget
{
    Q_OBJECT
public:
    explicit CoverView(QWidget* parent = nullptr);
    ~CoverView() override;

    // Looks for the cover of track; an empty name clears the picture at once. The current
    // picture stays until the new track's result arrives, so tracks of one album sharing a
    // cover do not flicker. Setting the track shown again does nothing.
    void setTrack(const QString& track);
    QString track() const { return m_track; }

    // Whether a result for the current track is still to come.
    bool isLooking() const { return m_looking; }
    bool hasPicture() const { return !m_picture.isNull(); }
    // The decoded picture (at most the display's longer side on each side), null when none.
    QImage picture() const { return m_picture; }
    // Where the picture is drawn: fitted into the widget, aspect kept, centred.
    QRect pictureRect() const;

    // The picture of the encoded bytes, shrunk to fit bound when larger; null when the
    // bytes are no picture Qt can read or claim more pixels than a cover needs.
    static QImage decode(const QByteArray& bytes, const QSize& bound);

    // Takes only the room the layout gives it.
    QSize sizeHint() const override { return QSize(0, 0); }
    QSize minimumSizeHint() const override { return QSize(0, 0); }

signals:
    // A result was taken (the picture may be unchanged or none).
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* e) override;

private slots:
    void deliver();

private:
    struct Request
    {
        QString track;
        uint64_t serial = 0;
        QSize bound;
    };
    void work();
    void take(uint64_t serial, const QImage& picture);

    // One worker: a newer track's request replaces one not yet begun, never runs beside it.
    // Requests and results cross under m_lock only.
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::optional<Request> m_request;
    std::optional<std::pair<uint64_t, QImage>> m_result;
    bool m_quit = false;
    std::thread m_worker;
    QString m_track;
    uint64_t m_serial = 0;
    bool m_looking = false;
    QImage m_picture;
    QPixmap m_scaled; // m_picture at the size last painted
};
