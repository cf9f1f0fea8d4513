#include "config.h"

#include "atomicfile.h"
#include "inifile.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Which version of the file a store holds: a file written by someone else since is read
// again (unless this run has changes of its own that are not saved yet).
struct Stamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modified = 0;

    static Stamp of(const QByteArray& path)
    {
        Stamp s;
        struct stat st;
        if (::stat(path.constData(), &st) == 0) {
            s.exists = true;
            s.device = st.st_dev;
            s.inode = st.st_ino;
            s.size = st.st_size;
            s.modified = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        }
        return s;
    }
    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size
               && modified == o.modified;
    }
};

// A settings file larger than this is not one of ours.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

QString cleanGroup(const QString& g) { return g.isEmpty() ? QStringLiteral("General") : g; }

} // namespace

struct Config::Store
{
    // What this run changed in one group since the last save: the group emptied first,
    // then keys set (a value) or removed (none).
    struct Change
    {
        bool cleared = false;
        QMap<QString, std::optional<QString>> keys;
    };
    // A group as the file holds it: its text until someone reads it, then its keys. A
    // long play list is taken apart only when the play list is read, and written back as
    // it was read when nobody touched it.
    struct Group
    {
        QByteArray text;
        IniFile::Keys keys;
        bool parsed = false;
    };

    QString path;
    QMap<QString, Group> groups;
    Stamp stamp;
    // Unsaved changes, kept until a save succeeds and laid again over the file whenever
    // someone else rewrites it meanwhile.
    QMap<QString, Change> pending;
    // The file is there but could not be read, or is not a regular file: it runs on the
    // defaults and is never replaced.
    bool untouchable = false;
    QString untouchableReason;

    bool dirty() const { return !pending.isEmpty(); }

    IniFile::Keys* keysOf(const QString& name, bool create)
    {
        auto it = groups.find(name);
        if (it == groups.end()) {
            if (!create)
                return nullptr;
            it = groups.insert(name, Group());
            it->parsed = true;
        }
        if (!it->parsed) {
            it->keys = IniFile::parseSection(it->text);
            it->text.clear();
            it->parsed = true;
        }
        return &it->keys;
    }

    QByteArray serialise() const
    {
        QByteArray out;
        for (auto g = groups.cbegin(); g != groups.cend(); ++g) {
            const QByteArray body = g->parsed ? IniFile::serialiseKeys(g->keys) : g->text.trimmed() + '\n';
            if (body.trimmed().isEmpty())
                continue;
            if (!out.isEmpty())
                out += '\n';
            out += IniFile::sectionHeader(g.key());
            out += body;
        }
        return out;
    }

    void load()
    {
        groups.clear();
        untouchable = false;
        const QByteArray name = QFile::encodeName(path);
        stamp = Stamp::of(name);
        if (stamp.exists) {
            // A FIFO (or a folder) in the file's place would stop the program in the read.
            const int fd = RegularFile::openForReading(path);
            if (fd < 0) {
                untouchable = true;
                untouchableReason = AtomicFile::reasonFor(errno == EINVAL ? int(AtomicFile::NotRegularFile) : errno);
                qWarning("settings %s: cannot be read (%s), using the defaults", qPrintable(path),
                         qPrintable(untouchableReason));
            } else {
                QFile f;
                QByteArray text;
                // Read by the file's size: asked for the cap, the read reserves all of it
                // (a 128 MB allocation for every settings file).
                if (f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
                    text = f.read(qBound<qint64>(0, f.size(), MaxFileSize) + 1);
                else
                    ::close(fd);
                // A damaged file reads as what can be made of it; every other read falls
                // back to its default.
                if (text.size() <= MaxFileSize) {
                    const QMap<QString, QByteArray> raw = IniFile::sections(text);
                    for (auto it = raw.cbegin(); it != raw.cend(); ++it)
                        groups.insert(it.key(), Group{it.value(), {}, false});
                }
            }
        }
        for (auto c = pending.cbegin(); c != pending.cend(); ++c) {
            if (c->cleared)
                groups.remove(c.key());
            IniFile::Keys* keys = keysOf(c.key(), true);
            for (auto k = c->keys.cbegin(); k != c->keys.cend(); ++k) {
                if (*k)
                    keys->insert(k.key(), **k);
                else
                    keys->remove(k.key());
            }
        }
    }
};

namespace {
std::mutex g_lock;
// Every file's store, kept for the run: reading the settings again at each operation
// would take the whole play list apart every time.
QHash<QString, std::shared_ptr<Config::Store>> g_stores;
Config::SaveFailureHandler g_onFailure;
} // namespace

QString Config::filePath(const QString& name)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Quavrix/") + name + QStringLiteral(".conf");
}

void Config::setSaveFailureHandler(SaveFailureHandler handler)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_onFailure = std::move(handler);
}

Config::Config(const QString& name, Domain domain)
{
    const QString path = QFileInfo(domain == File ? name : filePath(name)).absoluteFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::lock_guard<std::mutex> lock(g_lock);
    m_store = g_stores.value(path);
    if (!m_store) {
        m_store = std::make_shared<Store>();
        m_store->path = path;
        m_store->load();
        g_stores.insert(path, m_store);
    } else if (!(m_store->stamp == Stamp::of(QFile::encodeName(path)))) {
        m_store->load();
    }
}

Config::~Config()
{
    write();
}

bool Config::write()
{
    SaveFailureHandler report;
    QString reason;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        Store& s = *m_store;
        if (!s.dirty())
            return true;
        bool saved = false;
        if (s.untouchable)
            reason = s.untouchableReason;
        else
            saved = AtomicFile::write(s.path, s.serialise(), &reason);
        if (saved) {
            s.pending.clear();
            s.stamp = Stamp::of(QFile::encodeName(s.path));
            return true;
        }
        report = g_onFailure;
    }
    qWarning("settings %s not saved: %s", qPrintable(m_store->path), qPrintable(reason));
    if (report)
        report(m_store->path, reason);
    return false;
}

void Config::setGroup(const QString& group) { m_group = group; }

const QString* Config::value(const QString& group, const QString& key) const
{
    const IniFile::Keys* keys = m_store->keysOf(cleanGroup(group), false);
    if (!keys)
        return nullptr;
    const auto v = keys->constFind(key);
    return v == keys->cend() ? nullptr : &*v;
}

void Config::set(const QString& group, const QString& key, const QString& value)
{
    const QString g = cleanGroup(group);
    IniFile::Keys& keys = *m_store->keysOf(g, true);
    const auto it = keys.find(key);
    if (it != keys.end() && *it == value)
        return; // nothing to save
    keys.insert(key, value);
    m_store->pending[g].keys.insert(key, value);
}

bool Config::hasKey(const QString& key) const
{
    return value(m_group, key) != nullptr;
}

QString Config::readEntry(const QString& key, const QString& def) const
{
    const QString* v = value(m_group, key);
    return v ? *v : def;
}

int Config::readNumEntry(const QString& key, int def) const
{
    return number(m_group, key, def);
}

int Config::number(const QString& group, const QString& key, int def) const
{
    const QString* v = value(group, key);
    if (!v)
        return def;
    bool ok;
    const int n = v->trimmed().toInt(&ok);
    return ok ? n : def;
}

bool Config::readBoolEntry(const QString& key, bool def) const
{
    return boolean(m_group, key, def);
}

bool Config::boolean(const QString& group, const QString& key, bool def) const
{
    const QString* found = value(group, key);
    const QString v = found ? found->trimmed() : QString();
    if (v.isEmpty())
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
    set(m_group, key, value);
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
    const QString g = cleanGroup(m_group);
    IniFile::Keys* keys = m_store->keysOf(g, false);
    if (keys && keys->remove(key))
        m_store->pending[g].keys.insert(key, std::nullopt);
}

void Config::clearGroup()
{
    const QString g = cleanGroup(m_group);
    if (m_store->groups.remove(g))
        m_store->pending[g] = Store::Change{true, {}};
}

QString Config::read(const TextKey& k) const
{
    const QString* v = value(QString::fromLatin1(k.group), QString::fromLatin1(k.key));
    return v ? *v : QString::fromUtf8(k.def);
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
    set(QString::fromLatin1(k.group), QString::fromLatin1(k.key), value);
}

void Config::write(const IntKey& k, int value)
{
    write(TextKey{k.group, k.key, ""}, QString::number(value));
}

void Config::write(const BoolKey& k, bool value)
{
    write(TextKey{k.group, k.key, ""}, value ? QStringLiteral("1") : QStringLiteral("0"));
}
