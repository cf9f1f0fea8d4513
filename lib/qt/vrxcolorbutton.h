#pragma once

#include <QColor>
#include <QToolButton>

class QMenu;

// A tool button that shows a colour and opens a pop-up grid of colours; choosing one sets
// it and emits activated().
class VRXColorButton : public QToolButton
{
    Q_OBJECT
public:
    explicit VRXColorButton(QWidget* parent = nullptr, const QString& iconName = QString(),
                            const QString& name = QString());

    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // The colours offered by the pop-up.
    static QList<QColor> standardColors();

public slots:
    // As if the user had picked the colour.
    void choose(const QColor& color);

signals:
    void activated(const QColor& color);

private:
    void updateIcon();

    QColor m_color;
    QString m_iconName;
    QMenu* m_menu;
};
