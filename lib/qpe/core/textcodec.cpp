#include "textcodec.h"

#include <QStringDecoder>

#include <cstring>

namespace {

enum class Kind { Unknown, ShiftJis, EucJp, Utf8, Latin1 };

Kind kindOf(const char* name)
{
    if (!name)
        return Kind::Unknown;
    if (!std::strcmp(name, "SJIS") || !std::strcmp(name, "Shift_JIS"))
        return Kind::ShiftJis;
    if (!std::strcmp(name, "eucJP") || !std::strcmp(name, "EUC-JP"))
        return Kind::EucJp;
    if (!std::strcmp(name, "UTF-8"))
        return Kind::Utf8;
    if (!std::strcmp(name, "ISO-8859-1") || !std::strcmp(name, "latin1"))
        return Kind::Latin1;
    return Kind::Unknown;
}

inline bool in(unsigned char c, int lo, int hi) { return c >= lo && c <= hi; }

int scoreShiftJis(const unsigned char* p, int n)
{
    int score = 0;
    for (int i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
        } else if (in(c, 0xA1, 0xDF)) {
            ++i; // half-width katakana: valid, but rare in tags, so it earns nothing
        } else if (in(c, 0x81, 0x9F) || in(c, 0xE0, 0xFC)) {
            if (i + 1 >= n)
                return -1;
            const unsigned char t = p[i + 1];
            if (!(in(t, 0x40, 0x7E) || in(t, 0x80, 0xFC)))
                return -1;
            score += 2;
            i += 2;
        } else {
            return -1;
        }
    }
    return score;
}

int scoreEucJp(const unsigned char* p, int n)
{
    int score = 0;
    for (int i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
        } else if (c == 0x8E) { // half-width katakana
            if (i + 1 >= n || !in(p[i + 1], 0xA1, 0xDF))
                return -1;
            score += 1;
            i += 2;
        } else if (c == 0x8F) { // JIS X 0212
            if (i + 2 >= n || !in(p[i + 1], 0xA1, 0xFE) || !in(p[i + 2], 0xA1, 0xFE))
                return -1;
            score += 3;
            i += 3;
        } else if (in(c, 0xA1, 0xFE)) {
            if (i + 1 >= n || !in(p[i + 1], 0xA1, 0xFE))
                return -1;
            score += 2;
            i += 2;
        } else {
            return -1;
        }
    }
    return score;
}

int scoreUtf8(const unsigned char* p, int n)
{
    int score = 0;
    for (int i = 0; i < n;) {
        const unsigned char c = p[i];
        int len;
        unsigned min;
        unsigned cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (in(c, 0xC2, 0xDF)) {
            len = 2; cp = c & 0x1F; min = 0x80;
        } else if (in(c, 0xE0, 0xEF)) {
            len = 3; cp = c & 0x0F; min = 0x800;
        } else if (in(c, 0xF0, 0xF4)) {
            len = 4; cp = c & 0x07; min = 0x10000;
        } else {
            return -1;
        }
        if (i + len > n)
            return -1;
        for (int k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return -1;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return -1;
        score += len;
        i += len;
    }
    return score;
}

const char* decoderName(Kind kind)
{
    return kind == Kind::ShiftJis ? "Shift_JIS" : "EUC-JP";
}

// A byte string that has the shape of a multi-byte codec must also decode cleanly in it:
// an error, an unmapped pair or a user-defined (private-use) character means the bytes
// were written in something else, typically Latin-1 whose accented letters happen to
// form lead and trail bytes.
bool decodesCleanly(Kind kind, const char* bytes, int length)
{
    QStringDecoder dec(decoderName(kind), QStringConverter::Flag::Stateless);
    if (!dec.isValid())
        return false;
    const QString text = dec.decode(QByteArrayView(bytes, length));
    if (dec.hasError())
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0xFFFD || (u >= 0xE000 && u <= 0xF8FF))
            return false;
    }
    return true;
}

} // namespace

namespace TextCodec {

bool exists(const char* name)
{
    return kindOf(name) != Kind::Unknown;
}

int heuristicContentMatch(const char* name, const char* bytes, int length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    switch (kindOf(name)) {
    case Kind::ShiftJis:
    case Kind::EucJp: {
        const int score = kindOf(name) == Kind::ShiftJis ? scoreShiftJis(p, length) : scoreEucJp(p, length);
        // Decoding costs more than the byte walk: only text that fits the shape is decoded.
        if (score > 0 && !decodesCleanly(kindOf(name), bytes, length))
            return -1;
        return score;
    }
    case Kind::Utf8: return scoreUtf8(p, length);
    case Kind::Latin1: return 0;
    case Kind::Unknown: break;
    }
    return -1;
}

QString toUnicode(const char* name, const QByteArray& bytes)
{
    switch (kindOf(name)) {
    case Kind::Utf8: return QString::fromUtf8(bytes);
    case Kind::Latin1: return QString::fromLatin1(bytes);
    case Kind::ShiftJis:
    case Kind::EucJp: {
        QStringDecoder dec(decoderName(kindOf(name)));
        if (dec.isValid())
            return dec.decode(bytes);
        return QString::fromLatin1(bytes);
    }
    case Kind::Unknown: break;
    }
    return QString::fromLatin1(bytes);
}

} // namespace TextCodec
