#pragma once

#include "vrxdialog.h"

class QLineEdit;

// Rename: the old text read-only above an editable, fully selected copy.
class VRXRenameDialog : public VRXDialog
{
    Q_OBJECT
public:
    explicit VRXRenameDialog(const QString& oldText, QWidget* parent = nullptr,
                             const QString& caption = QString());

    QString newText() const;
    void setNewText(const QString& text);
    QLineEdit* lineEdit() const { return m_edit; }

    // True on OK, with the edited text in newText.
    static bool getNewName(const QString& oldText, QString& newText, QWidget* parent = nullptr,
                           const QString& caption = QString());

private:
    QLineEdit* m_edit;
};
