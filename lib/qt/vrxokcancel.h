#pragma once

#include <QWidget>

class VRXPushButton;

// The OK and Cancel buttons at the foot of a dialog.
class VRXOkCancel : public QWidget
{
    Q_OBJECT
public:
    explicit VRXOkCancel(QWidget* parent = nullptr, const QString& okText = QString(),
                         const QString& cancelText = QString());

    VRXPushButton* okButton() const { return m_ok; }
    VRXPushButton* cancelButton() const { return m_cancel; }

signals:
    void ok();
    void cancel();

private:
    VRXPushButton* m_ok;
    VRXPushButton* m_cancel;
};
