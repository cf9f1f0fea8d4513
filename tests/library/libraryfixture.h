#pragma once

// Shared set-up for the library tests: fake tagged tracks on disk, records, settings access.
#include "audioinfo.h"
#include "config.h"
#include "datafile.h"
#include "decoderfactory.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "testdecoders.h"
#include "trackitem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Creates small files that the pattern decoder "reads" with the tags given.
struct TrackTree
{
    QTemporaryDir dir;

    QString path(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }

    QString make(const QString& rel, const AudioInfo& tags = AudioInfo())
    {
        const QString p = path(rel);
        QDir().mkpath(QFileInfo(p).absolutePath());
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write("x");
        if (tags.title[0] || tags.artist[0] || tags.album[0] || tags.year || tags.track)
            TestTrack::tags.insert(p, tags);
        return p;
    }

    QString folder(const QString& rel) const
    {
        const QString p = path(rel);
        QDir().mkpath(p);
        return p;
    }
};

inline std::unique_ptr<AudioInfo> makeRecord(const QString& file, const char* title, const char* artist = "",
                                             const char* album = "", int year = 0, int track = 0)
{
    auto r = std::make_unique<AudioInfo>(makeTags(title, artist, album, year, track));
    r->setFileName(file.toUtf8());
    return r;
}

inline QString fileOf(const AudioInfo* r)
{
    return QString::fromUtf8(r && r->fileName ? r->fileName : "");
}

inline QString readSetting(const QString& group, const QString& key, const QString& def = QString())
{
    Config cfg(applicationName(), Config::User);
    cfg.setGroup(group);
    return cfg.readEntry(key, def);
}

inline void writeSetting(const QString& group, const QString& key, const QString& value)
{
    Config cfg(applicationName(), Config::User);
    cfg.setGroup(group);
    cfg.writeEntry(key, value);
}

inline void clearGroup(const QString& group)
{
    Config cfg(applicationName(), Config::User);
    cfg.setGroup(group);
    cfg.clearGroup();
}

// The library page and the play list wired together as the main window does. Members go
// in reverse order: the play list first, then the library that owns the records.
struct LibraryPages
{
    std::unique_ptr<LoopControl> control = std::make_unique<LoopControl>();
    std::unique_ptr<MediaLibrary> library = std::make_unique<MediaLibrary>(control.get());
    std::unique_ptr<PlayList> list = std::make_unique<PlayList>(nullptr, control.get());

    LibraryPages()
    {
        library->setPlayList(list.get());
        list->setLibrary(library.get());
    }

    // One record per title, files created in the tree; the artist keeps the given order.
    void setCatalogue(TrackTree& tree, const QStringList& titles)
    {
        Catalogue c;
        for (const QString& t : titles)
            c.push_back(makeRecord(tree.make(t + QStringLiteral(".mp3")), t.toUtf8().constData(),
                                   QByteArray::number(qulonglong(c.size())).rightJustified(3, '0').constData()));
        library->setCatalogue(std::move(c));
    }

    QStringList titles() const
    {
        QStringList out;
        for (int row = 0; TrackItem* e = list->entryAt(row); ++row)
            out << QString::fromUtf8(e->record()->title);
        return out;
    }
};
