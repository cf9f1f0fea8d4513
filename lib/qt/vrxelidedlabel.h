#pragma once

#include <QLabel>

// A one-line label for long texts such as folder paths: what does not fit is left out in
// the middle ("/home/user/…/Rock"), so both the start and the last folder stay in view,
// and the full text is the tool tip. It never asks for more width than a few characters,
// so a long path cannot widen a dialog past the display. text() stays the full text.
class VRXElidedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit VRXElidedLabel(QWidget* parent = nullptr, const QString& name = QString());

    // The text as drawn at the label's current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
};
