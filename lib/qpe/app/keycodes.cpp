#include "keycodes.h"

#include <QKeyEvent>
#include <QKeySequence>

int keyCode(int key, int state)
{
    if (isExcludedKey(key))
        return -1;
    int code = key;
    if (state == 0x100 || state == 8)
        code |= KeyShiftBit;
    else if (state == 0x200 || state == 16)
        code |= KeyControlBit;
    else if (state == 0x400 || state == 32)
        code |= KeyAltBit;
    return code;
}

int keyCode(const QKeyEvent* e)
{
    return keyCode(qt2Key(e->key()), qt2Modifiers(e->modifiers()));
}

QString keyName(int code)
{
    if (code == 0)
        return QString();
    const int key = code & (2 * ExtendedKeyBase - 1);
    Qt::KeyboardModifiers mods;
    if (code & KeyShiftBit) mods |= Qt::ShiftModifier;
    if (code & KeyControlBit) mods |= Qt::ControlModifier;
    if (code & KeyAltBit) mods |= Qt::AltModifier;
    const QString name = key ? QKeySequence(qt6Key(key)).toString(QKeySequence::NativeText) : QString();
    if (!name.isEmpty())
        return QKeySequence(QKeyCombination(mods, Qt::Key(qt6Key(key)))).toString(QKeySequence::NativeText);
    // Keys QKeySequence has no name for (a key value of 0, device keys).
    QString prefix;
    if (mods & Qt::ShiftModifier) prefix = QStringLiteral("Shift+");
    if (mods & Qt::ControlModifier) prefix = QStringLiteral("Ctrl+");
    if (mods & Qt::AltModifier) prefix = QStringLiteral("Alt+");
    return prefix + QStringLiteral("0x%1").arg(key, 4, 16, QLatin1Char('0'));
}
