#pragma once

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;

// The "Style" page's form: group "w1" with the radio buttons top, bottom, left, right and
// automatic (ids 0 to 4, the tab positions), and group "w2" with the preview label "image".
class TabPositionWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit TabPositionWidgetBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void positionChanged(int) {}

protected:
    QGroupBox* w1;
    QGroupBox* w2;
    QButtonGroup* buttons;
    QRadioButton* radio[5];
    QLabel* image;
};

// The position of the main window's page tabs, previewed as a picture of the layout.
class TabPositionWidget : public TabPositionWidgetBase
{
    Q_OBJECT
public:
    explicit TabPositionWidget(QWidget* parent = nullptr, const QString& name = QString());

    // Writes "tabpos".
    void save();
    int selected() const;
    // The name of the picture shown ("v0", "h2", ...).
    QString previewName() const { return m_preview; }

public slots:
    void positionChanged(int id) override;

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void showPreview();

    QString m_preview;
};
