#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

struct AudioInfo;

// Two centred lines over the framed background: the title, and artist " - " album.
class TrackDescription : public QWidget
{
public:
    explicit TrackDescription(QWidget* parent = nullptr, const char* name = nullptr);

    void setDescription(AudioInfo* info);

    QString firstLine() const { return m_first; }
    QString secondLine() const { return m_second; }

    // The text unchanged when narrower than width, else its longest beginning that fits
    // after "..." followed by "..." (at least one character).
    QString elideText(const QString& text, int width) const;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QPixmap m_background;
    QString m_first;
    QString m_second;
};
