#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QGridLayout;
class QWidget;
class VRXColorButton;
class VRXListView;

// The "Colors" page's form: the preview list "lv", the rows "Odd Line:" (b1, b2) and
// "Even Line:" (b3, b4), the separator "Line1" and the check box "custom".
class ColorsWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit ColorsWidgetBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void customChanged() {}

protected:
    QGridLayout* grid;
    VRXListView* lv;
    QWidget* b[4];
    QFrame* Line1;
    QCheckBox* custom;
};

// Track-list colours. With "Custom colors" on, every colour picked is shown on the
// preview and stored at once (c1..c4 of group "listview"); with it off the preview shows
// the palette colours and nothing is stored.
class ColorsWidget : public ColorsWidgetBase
{
    Q_OBJECT
public:
    explicit ColorsWidget(QWidget* parent = nullptr, const QString& name = QString());

    VRXColorButton* picker(int n) const { return n >= 1 && n <= 4 ? m_pickers[n - 1] : nullptr; }
    VRXListView* preview() const { return lv; }

public slots:
    void customChanged() override;
    void colorChanged();

private:
    VRXColorButton* m_pickers[4];
};
