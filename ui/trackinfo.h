#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

struct PlayInfo;

// One line in two framed panels: elapsed minutes and seconds on the left, the stream's
// bit rate, sample rate, channel mode and length on the right. Where the line does not
// fit a narrow display, the length joins the elapsed time on the left.
class TrackInfo : public QWidget
{
    Q_OBJECT
public:
    explicit TrackInfo(QWidget* parent = nullptr, const char* name = nullptr);

    void setPosition(int seconds, PlayInfo* info);

    QString timeText() const { return m_time; }
    QString infoText() const { return m_info; }
    // What the time panel shows: the elapsed time, and the length where it moved there.
    QString shownTime() const;
    // What the info panel shows: infoText() less the fields that do not fit.
    QString shownInfo() const;
    QRect timePanel() const { return m_timePanel; }
    QRect infoPanel() const { return m_infoPanel; }

    // Minutes and seconds of a duration ("62:05" for one hour, two minutes, five seconds).
    static QString minutesSeconds(int seconds);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QPixmap m_background;
    QRect m_timePanel;
    QRect m_infoPanel;
    QString m_info;
    QString m_time;
    QString m_length;
    bool m_combined = false; // the length shows in the time panel
};
