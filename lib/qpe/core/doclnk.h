#pragma once

#include <QList>
#include <QString>

// A document found in the user's document store.
class DocLnk
{
public:
    DocLnk() = default;
    explicit DocLnk(const QString& file) : m_file(file) {}
    QString file() const { return m_file; }
    QString name() const;

private:
    QString m_file;
};

class DocLnkSet
{
public:
    const QList<DocLnk>& children() const { return m_children; }
    void add(const DocLnk& d) { m_children.append(d); }
    void clear() { m_children.clear(); }

private:
    QList<DocLnk> m_children;
};
