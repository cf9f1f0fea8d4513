#pragma once

#include <QByteArray>
#include <QString>

// The tag-text codecs "SJIS", "eucJP" and "UTF-8" (and "ISO-8859-1"), with a score of how
// well a byte string fits each.
namespace TextCodec {

// True when the codec name is known here.
bool exists(const char* name);

// How well the bytes fit the codec: every valid multi-byte sequence counts up, plain
// ASCII counts nothing, and any invalid sequence makes the score -1. For SJIS and eucJP
// a pair that the codec does not map, or maps to a user-defined character, is invalid;
// for UTF-8 an overlong form, a surrogate or a value past U+10FFFF is.
int heuristicContentMatch(const char* name, const char* bytes, int length);

QString toUnicode(const char* name, const QByteArray& bytes);

} // namespace TextCodec
