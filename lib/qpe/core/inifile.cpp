#include "inifile.h"

#include <QList>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isHexDigit(char16_t c)
{
    return c < 0x80 && hexValue(char(c)) >= 0;
}

const char hexDigits[] = "0123456789abcdef";

// Plain bytes are UTF-8; escapes give UTF-16 code units. Bytes are gathered and decoded
// together so that a character's bytes are never split.
class TextBuilder
{
public:
    void byte(char c) { m_bytes += c; }
    void unit(char16_t u)
    {
        flush();
        m_text += QChar(u);
    }
    QString& text()
    {
        flush();
        return m_text;
    }

private:
    void flush()
    {
        if (!m_bytes.isEmpty()) {
            m_text += QString::fromUtf8(m_bytes);
            m_bytes.clear();
        }
    }
    QByteArray m_bytes;
    QString m_text;
};

// "%XX" and "%UXXXX" escapes, and "\" for "/".
QString unescapeKey(const QByteArray& raw)
{
    TextBuilder out;
    const int n = raw.size();
    for (int i = 0; i < n; ++i) {
        const char c = raw[i];
        if (c == '\\') {
            out.byte('/');
            continue;
        }
        if (c == '%') {
            const int digits = i + 1 < n && raw[i + 1] == 'U' ? 4 : 2;
            const int start = digits == 4 ? i + 2 : i + 1;
            int value = 0;
            bool ok = start + digits <= n;
            for (int k = 0; ok && k < digits; ++k) {
                const int h = hexValue(raw[start + k]);
                ok = h >= 0;
                value = value * 16 + h;
            }
            if (ok) {
                out.unit(char16_t(value));
                i = start + digits - 1;
                continue;
            }
        }
        out.byte(c);
    }
    return out.text();
}

QByteArray escapeKey(const QString& key)
{
    QByteArray out;
    out.reserve(key.size());
    for (QChar ch : key) {
        const char16_t c = ch.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                   || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xff) {
            out += '%';
            out += hexDigits[c >> 4];
            out += hexDigits[c & 15];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigits[(c >> shift) & 15];
        }
    }
    return out;
}

QString parseValue(const QByteArray& raw)
{
    TextBuilder out;
    int keep = 0; // text up to here is quoted or escaped: never trimmed
    bool quoted = false;
    const int n = raw.size();
    int i = 0;
    auto chopSpaces = [&] {
        QString& t = out.text();
        int end = t.size();
        while (end > keep && (t[end - 1] == QLatin1Char(' ') || t[end - 1] == QLatin1Char('\t')))
            --end;
        t.truncate(end);
    };
    auto skipSpaces = [&] {
        while (i < n && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
    };
    skipSpaces();
    while (i < n) {
        const char c = raw[i++];
        if (c == '"') {
            quoted = !quoted;
            keep = out.text().size();
            continue;
        }
        if (c == '\\' && i < n) {
            const char e = raw[i++];
            char16_t unit;
            switch (e) {
            case 'a': unit = '\a'; break;
            case 'b': unit = '\b'; break;
            case 'f': unit = '\f'; break;
            case 'n': unit = '\n'; break;
            case 'r': unit = '\r'; break;
            case 't': unit = '\t'; break;
            case 'v': unit = '\v'; break;
            case 'x': {
                unsigned value = 0;
                while (i < n && hexValue(raw[i]) >= 0)
                    value = (value << 4 | unsigned(hexValue(raw[i++]))) & 0xffffff;
                unit = char16_t(value);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    unsigned value = unsigned(e - '0');
                    while (i < n && raw[i] >= '0' && raw[i] <= '7')
                        value = (value << 3 | unsigned(raw[i++] - '0')) & 0xffffff;
                    unit = char16_t(value);
                } else {
                    unit = char16_t(uchar(e)); // \" \' \\ \? and anything else: the character
                    if (uchar(e) >= 0x80) {
                        out.byte(e);
                        keep = out.text().size();
                        continue;
                    }
                }
                break;
            }
            out.unit(unit);
            keep = out.text().size();
            continue;
        }
        if (c == ',' && !quoted) {
            // An unquoted list: its items come back joined by commas, as they were typed.
            chopSpaces();
            out.byte(',');
            keep = out.text().size();
            skipSpaces();
            continue;
        }
        out.byte(c);
    }
    if (!quoted)
        chopSpaces();
    QString value = out.text();
    if (value.startsWith(QLatin1Char('@'))) {
        if (value.startsWith(QLatin1String("@@")))
            value.remove(0, 1);
        else if (value.startsWith(QLatin1String("@ByteArray(")) && value.endsWith(QLatin1Char(')')))
            value = value.mid(11, value.size() - 12);
        else if (value.startsWith(QLatin1String("@String(")) && value.endsWith(QLatin1Char(')')))
            value = value.mid(8, value.size() - 9);
        else if (value == QLatin1String("@Invalid()"))
            value = QString();
    }
    return value;
}

QByteArray escapeValue(const QString& plain)
{
    const QString value = plain.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + plain : plain;
    QByteArray out;
    out.reserve(value.size() + 2);
    bool needsQuotes = false;
    bool escapeNextDigit = false; // after "\x1f" or "\0" a hex digit would join the escape
    auto hexEscape = [&](char16_t u) {
        out += "\\x";
        bool leading = true;
        for (int shift = 12; shift >= 0; shift -= 4) {
            const int d = (u >> shift) & 15;
            if (leading && d == 0 && shift > 0)
                continue;
            leading = false;
            out += hexDigits[d];
        }
        escapeNextDigit = true;
    };
    const int n = value.size();
    for (int i = 0; i < n; ++i) {
        const char16_t c = value[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeNextDigit && isHexDigit(c)) {
            hexEscape(c);
            continue;
        }
        escapeNextDigit = false;
        switch (c) {
        case 0: out += "\\0"; escapeNextDigit = true; continue;
        case '\a': out += "\\a"; continue;
        case '\b': out += "\\b"; continue;
        case '\f': out += "\\f"; continue;
        case '\n': out += "\\n"; continue;
        case '\r': out += "\\r"; continue;
        case '\t': out += "\\t"; continue;
        case '\v': out += "\\v"; continue;
        case '"':
        case '\\': out += '\\'; out += char(c); continue;
        default: break;
        }
        if (c < 0x20) {
            hexEscape(c);
        } else if (c < 0x80) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(value[i + 1].unicode())) {
            out += QStringView(value).mid(i, 2).toUtf8();
            ++i;
        } else if (QChar::isSurrogate(c)) {
            hexEscape(c); // half a pair has no UTF-8 form
        } else {
            out += QString(QChar(c)).toUtf8();
        }
    }
    if (needsQuotes || out.startsWith(' ') || out.endsWith(' '))
        return '"' + out + '"';
    return out;
}

// Logical lines: a backslash before the line feed continues the line; any other
// backslash keeps the character after it (so "\\" at a line's end is not a continuation).
QList<QByteArray> logicalLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    QByteArray line;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < n) {
            const char next = text[i + 1];
            if (next == '\n' || next == '\r') {
                i += next == '\r' && i + 2 < n && text[i + 2] == '\n' ? 2 : 1;
                continue;
            }
            line += c;
            line += next;
            ++i;
            continue;
        }
        if (c == '\n' || c == '\r') {
            lines << line;
            line.clear();
            continue;
        }
        line += c;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

} // namespace

namespace IniFile {

QMap<QString, QByteArray> sections(const QByteArray& text)
{
    QMap<QString, QByteArray> out;
    QByteArray* body = &out[QString()];
    const int n = text.size();
    for (int start = 0; start < n;) {
        int end = text.indexOf('\n', start);
        if (end < 0)
            end = n;
        // A section header: "[" at the line's start, after blanks. A continued line (one
        // ending in a backslash) cannot start a header, so a value is never split here.
        int first = start;
        while (first < end && (text[first] == ' ' || text[first] == '\t'))
            ++first;
        const bool continued = start > 0 && start >= 2 && text[start - 2] == '\\';
        if (first < end && text[first] == '[' && !continued) {
            const QByteArray line = text.mid(first, end - first).trimmed();
            const int close = line.lastIndexOf(']');
            const QByteArray name = line.mid(1, close > 0 ? close - 1 : line.size() - 1);
            QString group;
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                group.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                group = QStringLiteral("General");
            else
                group = unescapeKey(name);
            body = &out[group];
        } else {
            body->append(text.constData() + start, end - start);
            body->append('\n');
        }
        start = end + 1;
    }
    return out;
}

Keys parseSection(const QByteArray& body)
{
    Keys keys;
    for (const QByteArray& whole : logicalLines(body)) {
        const QByteArray line = whole.trimmed();
        if (line.isEmpty() || line[0] == ';' || line[0] == '#' || line[0] == '[')
            continue;
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString key = unescapeKey(line.left(eq).trimmed());
        if (!key.isEmpty())
            keys[key] = parseValue(line.mid(eq + 1));
    }
    return keys;
}

Groups parse(const QByteArray& text)
{
    Groups groups;
    const QMap<QString, QByteArray> raw = sections(text);
    for (auto it = raw.cbegin(); it != raw.cend(); ++it) {
        Keys keys = parseSection(it.value());
        if (!keys.isEmpty())
            groups.insert(it.key(), std::move(keys));
    }
    return groups;
}

QByteArray sectionHeader(const QString& group)
{
    if (group.isEmpty())
        return "[General]\n";
    if (group.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
        return "[%General]\n";
    return '[' + escapeKey(group) + "]\n";
}

QByteArray serialiseKeys(const Keys& keys)
{
    QByteArray out;
    for (auto k = keys.cbegin(); k != keys.cend(); ++k) {
        out += escapeKey(k.key());
        out += '=';
        out += escapeValue(k.value());
        out += '\n';
    }
    return out;
}

QByteArray serialise(const Groups& groups)
{
    QByteArray out;
    for (auto g = groups.cbegin(); g != groups.cend(); ++g) {
        if (g->isEmpty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        out += sectionHeader(g.key());
        out += serialiseKeys(*g);
    }
    return out;
}

} // namespace IniFile
