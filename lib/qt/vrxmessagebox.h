#pragma once

#include "vrxdialog.h"

class QLabel;
class VRXPushButton;

// A message with an icon and one or two buttons. The result is the number of the chosen
// button (1 or 2); Escape chooses the escape button.
class VRXMessageBox : public VRXDialog
{
    Q_OBJECT
public:
    VRXMessageBox(const QString& caption, const QString& text, const QString& iconName,
                  QWidget* parent = nullptr);

    // Adds button number count()+1 (at most two).
    VRXPushButton* addButton(const QString& text, const QString& iconName);
    VRXPushButton* button(int number) const;
    void setDefaultButton(int number);
    void setEscapeButton(int number) { m_escape = number; }
    QString text() const;

    // Caption, text, "dialog_critical"; first button "Cancel" (default and escape), second
    // button as given. Returns 2 when the second button was chosen, else 1.
    static int question(QWidget* parent, const QString& caption, const QString& text,
                        const QString& button2, const QString& button2Icon);
    // "Delete ...", icon "remove2", "Ok" and "Cancel": true for "Ok".
    static bool confirmDelete(QWidget* parent, const QString& text);
    // Icon "dialog_critical", one button "Ok".
    static void error(QWidget* parent, const QString& caption, const QString& text);
    // The About box.
    static void about(QWidget* parent);

public slots:
    void reject() override;

private:
    QLabel* m_text;
    VRXPushButton* m_buttons[2] = {nullptr, nullptr};
    int m_count = 0;
    int m_escape = 1;
};
