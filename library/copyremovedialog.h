#pragma once

#include "copyremovedialogbase.h"
#include "doclnk.h"

#include <QElapsedTimer>
#include <QList>
#include <QSet>

#include <memory>
#include <vector>

class LoopControl;
class TagCache;
struct AudioInfo;

// The library's records; the list owns them.
using Catalogue = std::vector<std::unique_ptr<AudioInfo>>;

// The media search: a modal progress dialog that, once on screen, counts the files of the
// media folders and documents, then reads the track information of every audio file into
// the catalogue, and closes itself (accepted, or rejected when cancelled). Cancel stops
// after the file in hand and keeps what was read.
class CopyRemoveDialog : public CopyRemoveDialogBase
{
    Q_OBJECT
public:
    enum { SearchEvent = 1001 };

    // Empties the catalogue; the records found are appended to it.
    CopyRemoveDialog(Catalogue* catalogue, LoopControl* control, QWidget* parent = nullptr,
                     const QString& name = QString());

    // The two passes, in this order; showing the dialog runs both and closes it.
    void countingPass();
    void readingPass();

    int total() const { return m_total; }
    int filesDone() const { return m_done; }
    bool isCancelled() const { return cancelled; }

    // Records are taken from the cache for files that have not changed since it was
    // filled, and read and stored in it otherwise; null (the default) reads every file.
    void setTagCache(TagCache* cache) { m_cache = cache; }

    // A media folder file is taken by its last extension, case-sensitive.
    static bool isMediaFile(const QString& fileName);

public slots:
    void cancel() override;
    // Escape and closing the window cancel a running search like the Cancel button.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

private:
    struct Folder
    {
        QString path;
        bool recursive;
    };

    void loadSettings();
    void countFiles(const QString& path, bool recursive, QSet<QString>& visited);
    void scanFolder(const QString& path, bool recursive, QSet<QString>& visited);
    void collectDocuments();
    void readFile(const QString& path);
    void step();
    void showFile(const QString& name);
    void showProgress();
    void clearFile();

    Catalogue* catalogue;
    LoopControl* control;
    TagCache* m_cache = nullptr;
    bool cancelled = false;
    bool m_started = false;
    bool m_running = false; // inside the two passes
    bool m_loaded = false;
    bool m_documents = true;
    QList<Folder> m_folders;
    DocLnkSet m_docs;
    int m_total = 0;
    int m_done = 0;
    QElapsedTimer m_shown; // last update of the file label and progress bar
    QString m_pendingName;
};
