#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

// The program's key values are the classic ones: special keys 0x1000 + n (Escape 0x1000,
// Left 0x1012, Up 0x1013, Right 0x1014, Down 0x1015, F1 0x1030 ...), printable keys their
// Latin-1 value. Settings keep these values, so stored bindings mean the same key
// everywhere. Qt 6 numbers the special keys 0x01000000 + n: convert once, at the edge.
//
// Qt 6 also has keys outside that block (phone and camera keys at 0x011000xx, 0x0101xxxx and
// 0x0102xxxx, input-method keys at 0x010011xx). Masking them into 0x1000 + n would make
// Context1 look like Escape, so they get values of their own: 0x100000 | group << 12 | n,
// with group the Qt 6 bits 16-23 (Call 0x01100004 -> 0x110004, Select 0x01010000 ->
// 0x101000). These stay below the modifier bits and clear of every classic value.
inline constexpr int ExtendedKeyBase = 0x100000;

inline int qt2Key(int qt6Key)
{
    if (!(qt6Key & 0x01000000))
        return qt6Key;
    if (!(qt6Key & 0x00fff000))
        return 0x1000 | (qt6Key & 0xfff);
    return ExtendedKeyBase | (((qt6Key >> 16) & 0xff) << 12) | (qt6Key & 0xfff);
}

// Shift 0x100, Control 0x200, Alt 0x400, Meta 0x800; the keypad flag is dropped.
inline int qt2Modifiers(Qt::KeyboardModifiers m)
{
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 0x100;
    if (m & Qt::ControlModifier) s |= 0x200;
    if (m & Qt::AltModifier) s |= 0x400;
    if (m & Qt::MetaModifier) s |= 0x800;
    return s;
}

// The reverse, for showing a key's name through QKeySequence.
inline int qt6Key(int qt2)
{
    if (qt2 >= ExtendedKeyBase && qt2 < 2 * ExtendedKeyBase) {
        const int group = (qt2 >> 12) & 0xff;
        // Within the first group only the 0x010011xx input-method keys are extended.
        return 0x01000000 | (group << 16) | (group == 0 ? 0x1000 : 0) | (qt2 & 0xfff);
    }
    return (qt2 & 0x1000) && qt2 < 0x2000 ? (0x01000000 | (qt2 & 0xfff)) : qt2;
}

// Bits added to a key code when exactly one modifier is held.
inline constexpr int KeyShiftBit = 0x200000;
inline constexpr int KeyControlBit = 0x400000;
inline constexpr int KeyAltBit = 0x800000;
inline constexpr int KeyEscape = 0x1000;
inline constexpr int KeyBackspace = 0x1003;
inline constexpr int KeyF11 = 0x103a;

// Shift, Control, Alt and 0x1045 never make a key code (Meta does).
inline bool isExcludedKey(int qt2key)
{
    return qt2key == 0x1020 || qt2key == 0x1021 || qt2key == 0x1023 || qt2key == 0x1045;
}

// The key code of a classic key value and modifier state: the value plus 0x200000 (Shift),
// 0x400000 (Control) or 0x800000 (Alt) when the state is exactly that one modifier (the
// old 8/16/32 state values count too); two or more modifiers add nothing. -1 for an
// excluded key.
int keyCode(int qt2key, int qt2state);
// The same for a Qt 6 key event.
int keyCode(const QKeyEvent* e);

// A readable name for a key code ("Right", "Shift+A", "Call"); empty for 0. A code that no
// name is known for is shown as its hexadecimal value.
QString keyName(int code);
