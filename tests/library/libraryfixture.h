#pragma once

// Shared set-up for the library, window and bookmark tests: fake tagged tracks on disk,
// records, settings access, scripted answers to dialogs.
#include "audioinfo.h"
#include "config.h"
#include "customlistdialog.h"
#include "datafile.h"
#include "decoderfactory.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "testdecoders.h"
#include "trackitem.h"
#include "vrxdialog.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxrenamedialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
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

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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

// Answers the dialogs the code under test opens, in turn. A step is a function or a word:
// "name X" types X and accepts, "proposal X" accepts after checking that X is proposed,
// "button N" closes a message box with its button N, "rename X", "cancel", and "row N
// rename|remove" presses that button of a list dialog on row N, then closes it. Every dialog's
// "<caption>: <message>" is kept in shown; one that nobody expected is cancelled.
struct DialogScript
{
    using Step = std::function<void(VRXDialog*)>;
    std::deque<Step> steps;
    QStringList shown;
    int unexpected = 0;
    VRXDialogAnswer hook{[this](VRXDialog* d) {
        auto* box = qobject_cast<VRXMessageBox*>(d);
        shown << d->windowTitle() + QStringLiteral(": ") + (box ? box->text() : QString());
        if (steps.empty()) {
            ++unexpected;
            return d->reject();
        }
        Step s = std::move(steps.front());
        steps.pop_front();
        s(d);
    }};

    void operator<<(Step s) { steps.push_back(std::move(s)); }
    void operator<<(const QStringList& words)
    {
        for (const QString& w : words)
            steps.push_back([w](VRXDialog* d) { answer(d, w); });
    }
    // Every step taken and no dialog beyond them; a test fails when its script goes otherwise.
    bool finished() const { return steps.empty() && unexpected == 0; }
    ~DialogScript()
    {
        if (!finished())
            QTest::qFail("the dialogs were not the ones expected", __FILE__, __LINE__);
    }

    static void answer(VRXDialog* d, const QString& step)
    {
        const QString arg = step.section(QLatin1Char(' '), 1);
        if (step.startsWith(QLatin1String("name ")) || step.startsWith(QLatin1String("proposal "))) {
            auto* in = qobject_cast<VRXInputDialog*>(d);
            QVERIFY2(in, qPrintable(step));
            if (step.startsWith(QLatin1String("name ")))
                in->setText(arg);
            QCOMPARE(in->text(), arg);
            in->accept();
        } else if (step.startsWith(QLatin1String("button "))) {
            QVERIFY2(qobject_cast<VRXMessageBox*>(d), qPrintable(step));
            d->done(arg.toInt());
        } else if (step.startsWith(QLatin1String("rename "))) {
            auto* r = qobject_cast<VRXRenameDialog*>(d);
            QVERIFY2(r, qPrintable(step));
            r->setNewText(arg);
            r->accept();
        } else if (auto* list = qobject_cast<CustomListDialog*>(d); list && step.startsWith(QLatin1String("row "))) {
            list->listView()->setCurrentItem(list->listView()->itemAtRow(step.section(QLatin1Char(' '), 1, 1).toInt()));
            step.endsWith(QLatin1String("rename")) ? list->doRename() : list->doRemove();
            d->reject();
        } else {
            QCOMPARE(step, QStringLiteral("cancel"));
            d->reject();
        }
    }
};

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
