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
    // Styles widen every text button to a dialog's 80 pixels; a 240-pixel panel of three
    // buttons a row cannot afford that, so ask only for what the icon and text need.
    if (!text().isEmpty()) {
        int w = fontMetrics().horizontalAdvance(text()) + 10;
        if (!icon().isNull())
            w += iconSize().width() + 4;
        s.setWidth(qMin(s.width(), w));
    }
    s.setHeight(qMax(s.height(), 24));
    if (text().isEmpty())
        s.setWidth(qMax(s.width(), 24));
    return s;
}
