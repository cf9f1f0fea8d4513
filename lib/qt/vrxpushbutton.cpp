#include "vrxpushbutton.h"

#include "vrxresource.h"

VRXPushButton::VRXPushButton(QWidget* parent, const QString& name)
    : QPushButton(parent)
{
    setObjectName(name);
}

VRXPushButton::VRXPushButton(const QString& iconName, const QString& text, QWidget* parent,
                             const QString& name)
    : QPushButton(text, parent)
{
    setObjectName(name);
    setIconName(iconName);
}

void VRXPushButton::setIconName(const QString& iconName)
{
    m_iconName = iconName;
    const QIcon icon = findIconSet(iconName);
    setIcon(icon);
    if (!icon.isNull()) {
        const QSize s = icon.availableSizes().value(0);
        if (s.isValid())
            setIconSize(s);
    }
}

QSize VRXPushButton::sizeHint() const
{
    QSize s = QPushButton::sizeHint();
    s.setHeight(qMax(s.height(), 24));
    if (text().isEmpty())
        s.setWidth(qMax(s.width(), 24));
    return s;
}
