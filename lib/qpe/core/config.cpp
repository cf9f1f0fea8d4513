#include "config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>
#include <QStandardPaths>

namespace {
// QSettings would treat '/' in a key as a sub-group and '\' specially; our keys have
// neither, but keys built from user data (playlist rows are numbers) stay safe too.
QString cleanGroup(const QString& g) { return g.isEmpty() ? QStringLiteral("General") : g; }
}

QString Config::filePath(const QString& name)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Quavrix/") + name + QStringLiteral(".conf");
}

Config::Config(const QString& name, Domain domain)
{
    QString path = domain == File ? name : filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // A FIFO (or a folder) in the file's place would stop the program in the read:
        // run on the defaults, in a file of our own that goes with this object.
        qWarning("settings %s: not a regular file, using the defaults", qPrintable(path));
        m_scratch.reset(new QTemporaryFile);
        m_scratch->open();
        path = m_scratch->fileName();
    }
    m_settings = new QSettings(path, QSettings::IniFormat);
    // A damaged file reads as empty: every read then falls back to its default.
}

Config::~Config()
{
    write();
    delete m_settings;
}

void Config::write()
{
    if (!m_changed)
        return;
    // QSettings replaces the file through a temporary file and a rename, so a crash
    // mid-write leaves either the old or the new file, never half of one.
    m_settings->sync();
    m_changed = false;
}

void Config::setGroup(const QString& group) { m_group = group; }

QString Config::fullKey(const QString& group, const QString& key) const
{
    return cleanGroup(group) + QLatin1Char('/') + key;
}

QString Config::raw(const QString& group, const QString& key, bool* found) const
{
    const QVariant v = m_settings->value(fullKey(group, key));
    *found = v.isValid();
    if (!v.isValid())
        return QString();
    // An unquoted value with commas comes back from INI as a list: join it again.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

bool Config::hasKey(const QString& key) const
{
    return m_settings->contains(fullKey(m_group, key));
}

QString Config::readEntry(const QString& key, const QString& def) const
{
    bool found;
    const QString v = raw(m_group, key, &found);
    return found ? v : def;
}

int Config::readNumEntry(const QString& key, int def) const
{
    return number(m_group, key, def);
}

int Config::number(const QString& group, const QString& key, int def) const
{
    bool found;
    const QString v = raw(group, key, &found);
    if (!found)
        return def;
    bool ok;
    const int n = v.trimmed().toInt(&ok);
    return ok ? n : def;
}

bool Config::readBoolEntry(const QString& key, bool def) const
{
    return boolean(m_group, key, def);
}

bool Config::boolean(const QString& group, const QString& key, bool def) const
{
    bool found;
    const QString v = raw(group, key, &found).trimmed();
    if (!found || v.isEmpty())
        return def;
    bool ok;
    const int n = v.toInt(&ok);
    if (ok)
        return n != 0;
    if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return def;
}

QStringList Config::readListEntry(const QString& key, QChar sep) const
{
    const QString v = readEntry(key);
    if (v.isEmpty())
        return QStringList();
    return v.split(sep);
}

void Config::writeEntry(const QString& key, const QString& value)
{
    m_settings->setValue(fullKey(m_group, key), value);
    m_changed = true;
}

void Config::writeEntry(const QString& key, int value)
{
    writeEntry(key, QString::number(value));
}

void Config::writeEntry(const QString& key, bool value)
{
    writeEntry(key, QString(value ? QStringLiteral("1") : QStringLiteral("0")));
}

void Config::writeEntry(const QString& key, const QStringList& list, QChar sep)
{
    writeEntry(key, list.join(sep));
}

void Config::removeEntry(const QString& key)
{
    m_settings->remove(fullKey(m_group, key));
    m_changed = true;
}

void Config::clearGroup()
{
    m_settings->remove(cleanGroup(m_group));
    m_changed = true;
}

QString Config::read(const TextKey& k) const
{
    bool found;
    const QString v = raw(QString::fromLatin1(k.group), QString::fromLatin1(k.key), &found);
    return found ? v : QString::fromUtf8(k.def);
}

int Config::read(const IntKey& k) const
{
    return number(QString::fromLatin1(k.group), QString::fromLatin1(k.key), k.def);
}

bool Config::read(const BoolKey& k) const
{
    return boolean(QString::fromLatin1(k.group), QString::fromLatin1(k.key), k.def);
}

void Config::write(const TextKey& k, const QString& value)
{
    m_settings->setValue(fullKey(QString::fromLatin1(k.group), QString::fromLatin1(k.key)), value);
    m_changed = true;
}

void Config::write(const IntKey& k, int value)
{
    write(TextKey{k.group, k.key, ""}, QString::number(value));
}

void Config::write(const BoolKey& k, bool value)
{
    write(TextKey{k.group, k.key, ""}, value ? QStringLiteral("1") : QStringLiteral("0"));
}
