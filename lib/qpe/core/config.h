#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Keys of the settings table, each with its group and default (settingskeys.h).
struct TextKey { const char* group; const char* key; const char* def; };
struct IntKey { const char* group; const char* key; int def; };
struct BoolKey { const char* group; const char* key; bool def; };

// A grouped key/value settings file per name and user, stored as INI under
// $XDG_CONFIG_HOME/Quavrix/<name>.conf. Every read takes the caller's default; changes
// are written when the object is destroyed, by atomic replacement of the file (the old
// file stays whole when the new one cannot be written).
//
// Objects of one file share what they read and change: a change is seen at once by every
// object of that file. A change that could not be saved (full disk, read-only folder) is
// kept for the rest of the run and saved with the next write that succeeds; the failure
// goes to the save-failure handler.
class Config
{
public:
    enum Domain { User, File };

    // With Domain File, name is a path to the file itself.
    explicit Config(const QString& name, Domain domain = User);
    ~Config();
    Config(const Config&) = delete;
    Config& operator=(const Config&) = delete;

    static QString filePath(const QString& name);

    void setGroup(const QString& group);
    QString group() const { return m_group; }
    bool hasKey(const QString& key) const;

    QString readEntry(const QString& key, const QString& def = QString()) const;
    int readNumEntry(const QString& key, int def = -1) const;
    bool readBoolEntry(const QString& key, bool def = false) const;
    QStringList readListEntry(const QString& key, QChar sep) const;

    void writeEntry(const QString& key, const QString& value);
    void writeEntry(const QString& key, const char* value) { writeEntry(key, QString::fromUtf8(value)); }
    void writeEntry(const QString& key, int value);
    void writeEntry(const QString& key, bool value);
    void writeEntry(const QString& key, const QStringList& list, QChar sep);
    void removeEntry(const QString& key);
    void clearGroup();

    // Typed access through the settings table; these use the key's own group.
    QString read(const TextKey& k) const;
    int read(const IntKey& k) const;
    bool read(const BoolKey& k) const;
    void write(const TextKey& k, const QString& value);
    void write(const IntKey& k, int value);
    void write(const BoolKey& k, bool value);

    // Writes the file's unsaved changes now; the destructor does the same. True when
    // nothing is left unsaved.
    bool write();

    // Called (on the thread that writes) with the file's path and the reason in words for
    // every write that fails; null for none. The application tells the user.
    using SaveFailureHandler = std::function<void(const QString& path, const QString& reason)>;
    static void setSaveFailureHandler(SaveFailureHandler handler);

    struct Store;

private:
    const QString* value(const QString& group, const QString& key) const;
    void set(const QString& group, const QString& key, const QString& value);
    int number(const QString& group, const QString& key, int def) const;
    bool boolean(const QString& group, const QString& key, bool def) const;

    std::shared_ptr<Store> m_store;
    QString m_group;
};
