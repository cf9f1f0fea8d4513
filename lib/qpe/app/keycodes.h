#pragma once

#include <Qt>

// The program's key values are the classic ones: special keys 0x1000 + n (Escape 0x1000,
// Left 0x1012, Up 0x1013, Right 0x1014, Down 0x1015, F1 0x1030 ...), printable keys their
// Latin-1 value. Settings keep these values, so stored bindings mean the same key
// everywhere. Qt 6 numbers the special keys 0x01000000 + n: convert once, at the edge.
inline int qt2Key(int qt6Key)
{
    return (qt6Key & 0x01000000) ? (0x1000 | (qt6Key & 0xfff)) : qt6Key;
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
    return (qt2 & 0x1000) && qt2 < 0x2000 ? (0x01000000 | (qt2 & 0xfff)) : qt2;
}
