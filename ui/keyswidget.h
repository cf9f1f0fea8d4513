#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The key page's form: a group with the labels "l1".."l7" and toggle buttons "k1".."k7"
// (Volume Up, Volume Down, Play / Pause, Next, Prev, Fast Forward, Rewind), the separator
// "line1", then "line2" and the check box "cancel".
class KeysWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit KeysWidgetBase(QWidget* parent = nullptr, const QString& name = QString());

protected:
    QGroupBox* group;
    QLabel* l[7];
    QPushButton* k[7];
    QFrame* line1;
    QFrame* line2;
    QCheckBox* cancel;
};

// The "Key" options page. Tap a key button (it stays down), then press the key to bind:
// the button shows the key's name and pops up. Backspace clears a bound button (and binds
// Backspace on an empty one); a key already bound elsewhere moves to this button.
class KeysWidget : public KeysWidgetBase
{
    Q_OBJECT
public:
    explicit KeysWidget(QWidget* parent = nullptr, const QString& name = QString());

    // Writes the seven key codes and "cancel".
    void saveKeys();
    // Shows code on the button and stores it ("0" and "None" for 0), clearing any other
    // button that held the same code; Backspace clears unless initial. Toggles the button off.
    void assignKey(QPushButton* button, int code, bool initial);
    // The first of "k1".."k7" that is toggled on, or null.
    QPushButton* activeKeyButton() const;
    // The code stored on button n (1..7).
    int code(int n) const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void buttonToggled(QPushButton* button, bool on);
};
