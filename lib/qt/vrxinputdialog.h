#pragma once

#include "vrxdialog.h"

class QLabel;
class QLineEdit;

// One line of text with OK and Cancel.
class VRXInputDialog : public VRXDialog
{
    Q_OBJECT
public:
    VRXInputDialog(const QString& caption, const QString& label, const QString& text,
                   QWidget* parent = nullptr, const QString& name = QStringLiteral("vrxInputDialog"));

    QString text() const;
    void setText(const QString& text);
    QLineEdit* lineEdit() const { return m_edit; }

    // Returns the edited text with ok set on OK; on Cancel the initial text with ok clear.
    static QString getText(const QString& caption, const QString& label, const QString& text,
                           bool* ok = nullptr, QWidget* parent = nullptr);

private:
    QLabel* m_label;
    QLineEdit* m_edit;
};
