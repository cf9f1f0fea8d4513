#include "bookmarkfile.h"

#include <QtEndian>

namespace {

class Reader
{
public:
    explicit Reader(const QByteArray& data) : m_p(data.constData()), m_left(data.size()) {}

    qint64 left() const { return m_left; }

    bool readInt(qint32* v)
    {
        if (m_left < 4)
            return false;
        *v = qFromBigEndian<qint32>(m_p);
        advance(4);
        return true;
    }

    bool readString(QString* s)
    {
        if (m_left < 4)
            return false;
        const quint32 bytes = qFromBigEndian<quint32>(m_p);
        advance(4);
        if (bytes == 0xffffffffu) {
            *s = QString();
            return true;
        }
        if (bytes % 2 != 0 || bytes > quint64(m_left))
            return false;
        const int units = int(bytes / 2);
        QString out(units, Qt::Uninitialized);
        QChar* d = out.data();
        for (int i = 0; i < units; ++i)
            d[i] = QChar(qFromBigEndian<quint16>(m_p + 2 * i));
        advance(bytes);
        *s = out;
        return true;
    }

private:
    void advance(qint64 n)
    {
        m_p += n;
        m_left -= n;
    }

    const char* m_p;
    qint64 m_left;
};

void putInt(QByteArray& out, qint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

void putString(QByteArray& out, const QString& s)
{
    if (s.isNull()) {
        putInt(out, -1);
        return;
    }
    putInt(out, qint32(s.size() * 2));
    for (QChar c : s) {
        char b[2];
        qToBigEndian(c.unicode(), b);
        out.append(b, 2);
    }
}

} // namespace

bool BookmarkFile::parse(const QByteArray& data, QList<Bookmark>* out)
{
    Reader r(data);
    qint32 count = 0;
    if (!r.readInt(&count) || count < 0)
        return false;
    for (qint32 i = 0; i < count; ++i) {
        Bookmark b;
        qint32 position = 0;
        if (!r.readString(&b.name) || !r.readString(&b.file) || !r.readInt(&position) || position < 0)
            return false;
        b.position = position;
        out->append(b);
    }
    return r.left() == 0;
}

QByteArray BookmarkFile::serialise(const QList<Bookmark>& list)
{
    QByteArray out;
    putInt(out, qint32(list.size()));
    for (const Bookmark& b : list) {
        putString(out, b.name);
        putString(out, b.file);
        putInt(out, b.position);
    }
    return out;
}
