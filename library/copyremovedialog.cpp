#include "copyremovedialog.h"

#include "audioinfo.h"
#include "datafile.h"
#include "global.h"
#include "loopcontrol.h"
#include "screen.h"
#include "settingskeys.h"
#include "tagcache.h"
#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QCloseEvent>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace {
const char* const documentTypes = "audio/mpeg;audio/ogg;audio/quicktime;audio/flac;audio/opus";

// Paths are shown on one line: white space is replaced (or dropped) and markup escaped.
QString withoutSpace(const QString& s, const QString& replacement)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        if (c.isSpace())
            out += replacement;
        else
            out += c;
    }
    return out.toHtmlEscaped();
}

constexpr QDir::SortFlags nameOrder = QDir::Name | QDir::IgnoreCase;
} // namespace

CopyRemoveDialog::CopyRemoveDialog(Catalogue* catalogue, LoopControl* control, QWidget* parent,
                                   const QString& name)
    : CopyRemoveDialogBase(parent, name)
    , catalogue(catalogue)
    , control(control)
{
    if (catalogue)
        catalogue->clear();
    icon->setPixmap(findPixmap(QStringLiteral("filefind2")));
    btnCancel->setIconName(QStringLiteral("button_cancel"));
    setCaption(tr("Finding Media Files"));
    const int width = displaySize().width() - 20;
    setFixedWidth(width);
    const int inner = qMax(40, width - 8);
    iSource->setFixedWidth(inner);
    source->setFixedWidth(inner);
    setFixedHeight(sizeHint().height());
}

bool CopyRemoveDialog::isMediaFile(const QString& fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    // The name decides, in the two spellings people's tools write; "song.Mp3" is not taken.
    static const QStringList extensions = {QStringLiteral("mp3"),  QStringLiteral("ogg"),  QStringLiteral("MP3"),
                                           QStringLiteral("OGG"),  QStringLiteral("m4a"),  QStringLiteral("M4A"),
                                           QStringLiteral("oga"),  QStringLiteral("OGA"),  QStringLiteral("flac"),
                                           QStringLiteral("FLAC"), QStringLiteral("opus"), QStringLiteral("OPUS")};
    return extensions.contains(fileName.mid(dot + 1));
}

void CopyRemoveDialog::cancel()
{
    cancelled = true;
}

void CopyRemoveDialog::reject()
{
    // Escape while the search runs: hiding the dialog would let the search run on
    // unseen and report success. It cancels like the button; the search closes the
    // dialog when it stops.
    cancel();
    if (!m_running)
        CopyRemoveDialogBase::reject();
}

void CopyRemoveDialog::closeEvent(QCloseEvent* e)
{
    if (m_running) {
        cancel();
        e->ignore();
        return;
    }
    CopyRemoveDialogBase::closeEvent(e);
}

void CopyRemoveDialog::showEvent(QShowEvent* e)
{
    if (!m_started) {
        m_started = true;
        // The search starts once the dialog is on screen and its modal loop runs.
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(SearchEvent)));
    }
    CopyRemoveDialogBase::showEvent(e);
}

bool CopyRemoveDialog::event(QEvent* e)
{
    if (e->type() == QEvent::Type(SearchEvent)) {
        m_running = true;
        countingPass();
        readingPass();
        m_running = false;
        done(cancelled ? int(QDialog::Rejected) : int(QDialog::Accepted));
        return true;
    }
    return CopyRemoveDialogBase::event(e);
}

void CopyRemoveDialog::loadSettings()
{
    m_loaded = true;
    Config cfg(applicationName(), Config::User);
    m_documents = cfg.read(Settings::MediaFolders::Documents);
    m_folders.clear();
    const QStringList items = cfg.read(Settings::MediaFolders::Folders)
                                  .split(QLatin1Char(Settings::MediaFolders::ListSeparator), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        // A flag without a path would name the working folder: skip it.
        if (item.size() < 2)
            continue;
        m_folders.append({item.mid(1), item.at(0) == QLatin1Char('1')});
    }
}

void CopyRemoveDialog::countingPass()
{
    text->setText(tr("Searching for Files") + QStringLiteral(" ..."));
    loadSettings();
    m_total = 0;
    m_docs.clear();
    if (m_documents) {
        Global::findDocuments(&m_docs, QLatin1String(documentTypes));
        m_total += int(m_docs.children().size());
    }
    for (const Folder& f : m_folders) {
        // Each media folder is walked on its own: overlapping folders each list their files.
        QSet<QString> visited;
        countFiles(f.path, f.recursive, visited);
    }
    progress->setRange(0, m_total);
    m_done = 1;
    progress->setValue(qMin(m_done, m_total));
}

void CopyRemoveDialog::countFiles(const QString& path, bool recursive, QSet<QString>& visited)
{
    iSource->setText(QStringLiteral("<center><b>%1</b></center>").arg(withoutSpace(path, QStringLiteral("_"))));
    if (cancelled)
        return;
    QApplication::processEvents();
    // Links are followed, but a folder is read once per walk, so a link to a parent ends.
    if (!Global::enterFolderOnce(path, &visited))
        return;
    const QDir dir(path);
    m_total += int(dir.entryList(QDir::Files | QDir::Hidden, nameOrder).size());
    if (!recursive)
        return;
    const QFileInfoList subfolders = dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, nameOrder);
    for (const QFileInfo& sub : subfolders)
        countFiles(sub.filePath(), true, visited);
}

void CopyRemoveDialog::readingPass()
{
    if (!m_loaded)
        loadSettings();
    text->setText(tr("Get file info") + QLatin1Char(':'));
    clearFile();
    for (const Folder& f : m_folders) {
        QSet<QString> visited;
        scanFolder(f.path, f.recursive, visited);
    }
    collectDocuments();
    showProgress();
    clearFile();
    iSource->clear();
    text->setText(tr("Sorting") + QStringLiteral(" ..."));
    QApplication::processEvents();
}

void CopyRemoveDialog::scanFolder(const QString& path, bool recursive, QSet<QString>& visited)
{
    iSource->setText(QStringLiteral("<center>%1</center>").arg(withoutSpace(path, QString())));
    clearFile();
    if (cancelled)
        return;
    QApplication::processEvents();
    if (!Global::enterFolderOnce(path, &visited))
        return;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, nameOrder);
    for (const QFileInfo& fi : entries) {
        if (fi.isDir()) {
            if (recursive)
                scanFolder(fi.filePath(), true, visited);
            // A cancel inside the subfolder ends this folder too, before another file is read.
            if (cancelled)
                return;
            continue;
        }
        const QString name = fi.fileName();
        if (isMediaFile(name)) {
            showFile(name);
            readFile(fi.filePath());
        }
        step();
        if (cancelled)
            return;
        QApplication::processEvents();
        // Cancel pressed just now: no further file is read.
        if (cancelled)
            return;
    }
}

void CopyRemoveDialog::collectDocuments()
{
    iSource->setText(QStringLiteral("<center>%1</center>").arg(tr("Precess Documents Folder")));
    clearFile();
    if (cancelled)
        return;
    QApplication::processEvents();
    if (!m_documents)
        return;
    for (const DocLnk& doc : m_docs.children()) {
        const QString file = doc.file();
        showFile(QFileInfo(file).fileName());
        step();
        if (cancelled)
            return;
        QApplication::processEvents();
        if (cancelled)
            return;
        if (QFileInfo(file).isFile())
            readFile(file);
    }
}

void CopyRemoveDialog::readFile(const QString& path)
{
    if (!control || !catalogue)
        return;
    // The stamp is taken before the file is read: a change made while it is read shows
    // at the next search.
    TagCache::Stamp stamp;
    const bool cached = m_cache && TagCache::stampOf(path, &stamp);
    const QByteArray key = path.toUtf8();
    if (cached) {
        auto record = std::make_unique<AudioInfo>();
        switch (m_cache->find(key, stamp, record.get())) {
        case TagCache::Found::Record:
            record->setFileName(key);
            catalogue->push_back(std::move(record));
            return;
        case TagCache::Found::NoRecord:
            return;
        case TagCache::Found::Nothing:
            break;
        }
    }
    Decoder* decoder = control->decoderFor(path);
    if (!decoder)
        return;
    AudioInfo* record = LoopControl::readTrackInfo(decoder, path);
    if (cached)
        m_cache->store(key, stamp, record);
    if (record)
        catalogue->emplace_back(record);
}

void CopyRemoveDialog::clearFile()
{
    m_pendingName = QString();
    source->clear();
}

void CopyRemoveDialog::showFile(const QString& name)
{
    m_pendingName = name;
}

void CopyRemoveDialog::step()
{
    ++m_done;
    // Redrawing the dialog for every file costs more than reading a small file's tags;
    // a few updates a second look the same.
    if (m_shown.isValid() && m_shown.elapsed() < 40)
        return;
    m_shown.start();
    showProgress();
}

void CopyRemoveDialog::showProgress()
{
    progress->setValue(qMin(m_done, m_total));
    if (!m_pendingName.isNull())
        source->setText(QStringLiteral("<center><b>%1</b></center>").arg(withoutSpace(m_pendingName, QString())));
}
