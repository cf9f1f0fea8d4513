#pragma once

#include <QPushButton>

// A push button with an icon found by name and a text; tall enough for a stylus.
class VRXPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit VRXPushButton(QWidget* parent = nullptr, const QString& name = QString());
    VRXPushButton(const QString& iconName, const QString& text, QWidget* parent = nullptr,
                  const QString& name = QString());

    // Looks the icon up by name (normal and disabled looks).
    void setIconName(const QString& iconName);
    QString iconName() const { return m_iconName; }

    QSize sizeHint() const override;

private:
    QString m_iconName;
};
