#include "vrxplayerwindow.h"

#include "audioinfo.h"
#include "bookamrks.h"
#include "bookmarkdialog.h"
#include "config.h"
#include "decoder.h"
#include "keycodes.h"
#include "listview.h"
#include "loopcontrol.h"
#include "mediafoldersdialog.h"
#include "optionsdialog.h"
#include "medialibrary.h"
#include "mimetype.h"
#include "player.h"
#include "playlist.h"
#include "regularfile.h"
#include "savefailurenotice.h"
#include "screen.h"
#include "settingskeys.h"
#include "suspendwatcher.h"
#include "trackitem.h"
#include "visualization.h"
#include "vraudiodevice.h"
#include "vrtabwidget.h"
#include "vrxmessagebox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTimer>

#include <iterator>
#include <memory>
#include <optional>

namespace {
const int kSizes[] = {8, 10, 12, 14, 16, 18, 20, 24, 36};

Config appConfig()
{
    return Config(qApp->objectName(), Config::User);
}
} // namespace

VRXPlayerWindow::VRXPlayerWindow(QWidget* parent)
    : VRXMainWindow(parent)
{
    m_bookmarks = new Bookamrks(this);
    m_controller = new LoopControl(this);

    m_tabs = new VRTabWidget(this, QStringLiteral("tabs"));
    m_tabs->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(m_tabs);

    m_library = new MediaLibrary(m_controller, m_tabs, QStringLiteral("library"));
    m_playlist = new PlayList(this, m_controller, m_tabs, QStringLiteral("playlist"));
    m_player = new Player(m_controller, m_tabs, "player");
    m_library->setPlayList(m_playlist);
    m_playlist->setLibrary(m_library);

    m_tabs->addTab(m_playlist, tr("Play List"), QStringLiteral("file_audio"));
    m_tabs->addTab(m_library, tr("Library"), QStringLiteral("folder_audio"));
    m_tabs->addTab(m_player, tr("Player"), QStringLiteral("audio"));

    m_playState = Stopped;

    // Keys go to the page shown: its track list, or on the player page (which takes no
    // focus with its buttons) straight on to the window's bindings.
    connect(m_tabs, &VRTabWidget::currentPageChanged, this, [](QWidget* page) {
        if (page)
            page->setFocus();
    });

    m_saveNotice = new SaveFailureNotice(this);
    connect(m_controller, &LoopControl::outputProblem, this, &VRXPlayerWindow::showOutputProblem);
    connect(m_controller, &LoopControl::positionChanged, this, [this](int seconds) { m_lastSecond = seconds; });

    m_resumeTimer = new QTimer(this);
    m_resumeTimer->setSingleShot(true);
    connect(m_resumeTimer, &QTimer::timeout, this, [this] {
        setFile(m_resumeFile, m_resumePosition);
    });

    connect(m_library->listView(), &ListView::checkKey, this, &VRXPlayerWindow::checkKey);
    connect(m_playlist->listView(), &ListView::checkKey, this, &VRXPlayerWindow::checkKey);
    connect(m_playlist, qOverload<>(&PlayList::play), this, &VRXPlayerWindow::playStop);
    connect(m_playlist, qOverload<const QString&>(&PlayList::play), this, [this](const QString& f) { setFile(f); });
    connect(m_playlist, &PlayList::nextChanged, this, &VRXPlayerWindow::queueNext);
    connect(m_library, &MediaLibrary::play, this, [this](const QString& f) { setFile(f); });
    connect(m_controller, &LoopControl::positionChanged, m_player, &Player::updatePosition);
    connect(m_controller, &LoopControl::setTrackDescription, m_player, &Player::setTrackDescription);
    connect(m_controller, &LoopControl::finished, this, &VRXPlayerWindow::finished);
    connect(m_controller, &LoopControl::stateChanged, m_player, &Player::stateChanged);
    connect(m_controller, &LoopControl::stateChanged, m_playlist, &PlayList::stateChanged);
    connect(m_player, &Player::stop, this, &VRXPlayerWindow::stop);
    connect(m_player, &Player::prev, this, &VRXPlayerWindow::prev);
    connect(m_player, &Player::next, this, &VRXPlayerWindow::next);
    connect(m_player, &Player::playPause, this, &VRXPlayerWindow::playPause);
    connect(m_player, &Player::fastForward, this, &VRXPlayerWindow::fastForward);
    connect(m_player, &Player::rewind, this, &VRXPlayerWindow::rewind);
    connect(m_player, &Player::volumeUp, this, &VRXPlayerWindow::volumeUp);
    connect(m_player, &Player::volumeDown, this, &VRXPlayerWindow::volumeDown);
    connect(m_player, &Player::fillBookmarkMenu, this, &VRXPlayerWindow::fillBookmarkMenu);
    connect(m_player, &Player::bookmarkActivated, this, &VRXPlayerWindow::bookmarkActivated);
}

VRXPlayerWindow::~VRXPlayerWindow()
{
    // The pages show records of the library: stop playback before any page goes. What the
    // pages say while they go (an emptied list) is no longer for this window.
    m_controller->stop();
    disconnect(m_playlist, nullptr, this, nullptr);
    disconnect(m_controller, nullptr, this, nullptr);
}

// ---- documents and restoring --------------------------------------------------------

void VRXPlayerWindow::setDocument(const QString& file)
{
    m_documentFile = file;
    m_documentPending = !file.isEmpty();
}

bool VRXPlayerWindow::event(QEvent* e)
{
    switch (int(e->type())) {
    case QEvent::Show:
        // After the paint that the show asks for: the window appears before the search.
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(RestoreEvent)), Qt::LowEventPriority);
        break;
    case RestoreEvent:
        restore();
        return true;
    case DeferredCloseEvent:
        if (m_escapePressed) {
            m_escapePressed = false;
            return true;
        }
        m_forceClose = true;
        close();
        return true;
    default:
        break;
    }
    return VRXMainWindow::event(e);
}

void VRXPlayerWindow::restore()
{
    // The previous run comes back once; a later show (the window un-minimised, raised by a
    // second start) only plays a document delivered since, and never restarts one.
    if (!m_restored) {
        m_restored = true;
        restoreView();
        applySettings();
        {
            // Heard only where no mixer sets the volume; a quiet level found at once.
            Config cfg = appConfig();
            VRAudioDevice::setSoftwareVolume(cfg.read(Settings::Options::SoftwareVolume));
            if (VRAudioDevice::softwareVolume() != 100)
                VRAudioDevice::volume();
        }
        if (!m_documentPending) {
            QString file;
            int pos;
            {
                Config cfg = appConfig();
                file = cfg.read(Settings::Options::File);
                pos = cfg.read(Settings::Options::Position);
            }
            // Until it plays, the stored track stays the one to come back to: a close during
            // the library search, or with its memory card out, keeps it.
            m_kept = KeptTrack{file, qMax(0, pos)};
            m_library->rebuild();
            m_playlist->restoreList();
            if (!file.isEmpty()) {
                setFile(file, pos);
                if (m_playState != Playing && QFileInfo(file).isFile())
                    m_kept = KeptTrack(); // there but unplayable: not tried again
            }
            return;
        }
        // A document start builds no library, but the play list comes back all the same:
        // closing stores the list, and would otherwise keep only the document of it.
        m_playlist->restoreList();
    }
    if (m_documentPending) {
        m_documentPending = false;
        openDocument(m_documentFile);
    }
}

bool VRXPlayerWindow::isPlayable(const QString& file)
{
    // A type the player knows by the name (or, for Ogg, the first packet), a description,
    // and a decoder that finds sound in it: the MP3 decoder alone would take any bytes.
    if (MimeType(file).id().isEmpty())
        return false;
    Decoder* decoder = m_controller->decoderFor(file);
    if (!std::unique_ptr<AudioInfo>(LoopControl::readTrackInfo(decoder, file)) || !decoder->open(file, nullptr))
        return false;
    decoder->close();
    return true;
}

bool VRXPlayerWindow::openDocument(const QString& file, QString* why)
{
    QString problem;
    const QFileInfo fi(file);
    if (!fi.exists())
        problem = tr("Cannot play %1: there is no such file.").arg(file);
    else if (!RegularFile::isReadable(file))
        problem = tr("Cannot play %1: it is not a file that can be read.").arg(file);
    else if (!isPlayable(file))
        problem = tr("Cannot play %1: it is not a sound file this player can read.").arg(fi.fileName());
    if (problem.isEmpty()) {
        setFile(file);
        return true;
    }
    qWarning("open: %s", qPrintable(problem));
    if (why)
        *why = problem;
    showNotice(tr("Open"), problem);
    return false;
}

void VRXPlayerWindow::restoreView()
{
    const int windowSize = font().pointSize();
    QString page;
    int zoom;
    {
        Config cfg = appConfig();
        page = cfg.read(Settings::Options::Page);
        zoom = cfg.read(Settings::Options::Zoom(windowSize));
    }
    if (page == QLatin1String("PlayList"))
        m_tabs->showPage(m_playlist);
    else if (page == QLatin1String("MediaLibrary"))
        m_tabs->showPage(m_library);
    else if (page == QLatin1String("Player"))
        m_tabs->showPage(m_player);
    const int size = snapDown(zoom);
    if (size != listPointSize())
        setListPointSize(size);
    if (QWidget* p = m_tabs->currentPage())
        p->setFocus();
}

void VRXPlayerWindow::saveState()
{
    m_playlist->storeList();
    Config cfg = appConfig();
    QWidget* page = m_tabs->currentPage();
    if (page == m_playlist)
        cfg.write(Settings::Options::Page, QStringLiteral("PlayList"));
    else if (page == m_library)
        cfg.write(Settings::Options::Page, QStringLiteral("MediaLibrary"));
    else if (page == m_player)
        cfg.write(Settings::Options::Page, QStringLiteral("Player"));
    cfg.write(Settings::Options::Zoom(0), listPointSize());
}

void VRXPlayerWindow::applySettings()
{
    m_library->listView()->loadColors();
    m_playlist->listView()->loadColors();

    bool vis, peaks;
    int bars, width, space, height;
    {
        Config cfg = appConfig();
        m_playlist->setPlayOptions(cfg.read(Settings::Options::Loop) != 0, cfg.read(Settings::Options::Random) != 0);
        m_seekInterval = cfg.read(Settings::Options::Interval);
        m_keyVolumeUp = cfg.read(Settings::Options::KeyVolumeUp);
        m_keyVolumeDown = cfg.read(Settings::Options::KeyVolumeDown);
        m_keyPlay = cfg.read(Settings::Options::KeyPlay);
        m_keyNext = cfg.read(Settings::Options::KeyNext);
        m_keyPrev = cfg.read(Settings::Options::KeyPrev);
        m_keyForward = cfg.read(Settings::Options::KeyForward);
        m_keyRewind = cfg.read(Settings::Options::KeyRewind);
        m_cancelStops = cfg.read(Settings::Options::Cancel);
        m_tabPosition = cfg.read(Settings::Options::TabPosition);
        m_controller->setDisplayOptions(cfg.read(Settings::Options::Backlight) != 0,
                                        cfg.read(Settings::Options::DisplayOff) != 0);
        ReplayGain::Options gain;
        gain.mode = qBound(0, cfg.read(Settings::Options::ReplayGainMode), 2);
        gain.preampDb = qBound(-12, cfg.read(Settings::Options::ReplayGainPreamp), 12);
        gain.preampNoneDb = qBound(-12, cfg.read(Settings::Options::ReplayGainPreampNone), 12);
        gain.preventClipping = cfg.read(Settings::Options::ReplayGainClip);
        m_controller->setReplayGain(gain);
        const bool small = isSmallScreen();
        vis = cfg.read(Settings::Analyzer::Visible(small)) != 0;
        peaks = cfg.read(Settings::Analyzer::Peaks(small)) != 0;
        bars = cfg.read(Settings::Analyzer::Bars(small));
        width = cfg.read(Settings::Analyzer::Width(small));
        space = cfg.read(Settings::Analyzer::Space(small));
        height = cfg.read(Settings::Analyzer::Height(small));
    }
    applyTabPosition();

    Visualization* analyzer = m_player->analyzer();
    if (!vis) {
        analyzer->stopAnalyzer();
        analyzer->hide();
    } else {
        analyzer->show();
        analyzer->startAnalyzer();
    }
    analyzer->setAnalyzerOptions(peaks, bars, width, space, height);
}

void VRXPlayerWindow::applyTabPosition()
{
    if (m_tabPosition == 4)
        m_tabs->setTabPosition(isPortrait() ? 0 : 2);
    else
        m_tabs->setTabPosition(m_tabPosition);
}

void VRXPlayerWindow::rotate()
{
    if (m_tabPosition == 4)
        applyTabPosition();
}

// ---- playback commands --------------------------------------------------------------

void VRXPlayerWindow::stop()
{
    m_resumeTimer->stop();
    m_playState = Stopped;
    m_controller->stop();
}

void VRXPlayerWindow::pause()
{
    m_playState = Paused;
    m_controller->setPaused(true);
}

void VRXPlayerWindow::playStop()
{
    if (m_playState == Playing)
        stop();
    else
        startOrResume();
}

void VRXPlayerWindow::playPause()
{
    if (m_playState == Playing)
        pause();
    else
        startOrResume();
}

void VRXPlayerWindow::startOrResume()
{
    if (m_playState == Paused) {
        m_playState = Playing;
        m_controller->setPaused(false);
        return;
    }
    m_playlist->selectFirst();
    playCurrent();
}

void VRXPlayerWindow::next()
{
    if (m_playState != Playing) {
        playStop();
        return;
    }
    m_controller->stop();
    m_playlist->selectNext();
    playCurrent();
}

void VRXPlayerWindow::prev()
{
    if (m_playState != Playing) {
        playStop();
        return;
    }
    if (m_controller->positionMs() > 4999) {
        // Five seconds or more in: back to the start of this track.
        m_controller->stop();
        setFile(m_currentFile);
        return;
    }
    m_controller->stop();
    m_playlist->selectPrevious();
    playCurrent();
}

void VRXPlayerWindow::queueNext()
{
    // Selecting in the list while peeking cannot change what is peeked: no second pass.
    if (m_queueing)
        return;
    const QScopedValueRollback<bool> busy(m_queueing, true);
    TrackItem* next = m_playState != Stopped ? m_playlist->peekNext() : nullptr;
    m_queuedIndex = next ? next->index() : -1;
    m_controller->setNext(next && next->record() ? QString::fromUtf8(next->record()->fileName) : QString());
}

void VRXPlayerWindow::finished()
{
    const QString continued = m_controller->continuedWith();
    if (!continued.isEmpty()) {
        // The controller went on with the entry queued for it, without a gap: the list,
        // the stored state and the entry after it follow.
        m_playlist->selectContinued(m_queuedIndex, continued);
        saveState();
        qDebug("+ play file %s", QFile::encodeName(continued).constData());
        startedPlaying(continued);
        return;
    }
    // A track cut short because its file went away (a card pulled) is where the next
    // start comes back to, once the file is there again.
    if (!m_currentFile.isEmpty() && !QFileInfo(m_currentFile).isFile())
        m_kept = KeptTrack{m_currentFile, m_lastSecond};
    const KeptTrack kept = m_kept;
    m_playlist->selectNext();
    playCurrent();
    if (m_playState != Playing)
        m_kept = kept;
}

void VRXPlayerWindow::fastForward()
{
    m_controller->seek(int(m_controller->positionMs() / 1000) + m_seekInterval);
}

void VRXPlayerWindow::rewind()
{
    m_controller->seek(qMax(0, int(m_controller->positionMs() / 1000) - m_seekInterval));
}

void VRXPlayerWindow::volumeUp()
{
    VRAudioDevice::volumeUp();
}

void VRXPlayerWindow::volumeDown()
{
    VRAudioDevice::volumeDown();
}

void VRXPlayerWindow::playCurrent()
{
    saveState();
    const QString file = m_playlist->selectedFile();
    qDebug("+ play file %s", QFile::encodeName(file).constData());
    if (file.isEmpty()) {
        if (m_playState == Stopped && m_playlist->hasAvailableEntry())
            playStop();
        else
            stop();
        return;
    }
    stop();
    if (m_controller->open(file)) {
        startedPlaying(file);
        m_controller->play();
        return;
    }
    if (!QFileInfo(file).isFile()) {
        // Gone since it was selected (a card pulled): the entry stays, shown unavailable,
        // and the next one that is there plays. Each pass marks one more entry missing.
        m_playlist->checkAvailable(m_playlist->selectedTrack());
        m_playlist->selectNext();
        playCurrent();
        return;
    }
    // There but damaged: drop the entry and start again from the first. Each failure
    // removes one entry, so this ends at the latest with an empty list.
    m_playlist->doRemove();
    next();
}

void VRXPlayerWindow::startedPlaying(const QString& file)
{
    m_playState = Playing;
    m_currentFile = file;
    m_kept = KeptTrack();
    queueNext();
}

void VRXPlayerWindow::setFile(const QString& file, int startSecond)
{
    m_controller->stop();
    m_playlist->selectFile(file);
    if (m_controller->open(file)) {
        startedPlaying(file);
        m_tabs->showPage(m_player);
        // Before the first block is decoded, so nothing of the track's start is heard.
        if (startSecond > 0)
            m_controller->seek(startSecond);
        m_controller->play();
    } else {
        // Nothing is open now: a later Play/Pause must start a track, not pause nothing.
        m_playState = Stopped;
    }
}

// ---- lists and zoom -----------------------------------------------------------------

int VRXPlayerWindow::snapUp(int size)
{
    for (int s : kSizes)
        if (s >= size)
            return s;
    return kSizes[std::size(kSizes) - 1];
}

int VRXPlayerWindow::snapDown(int size)
{
    for (auto it = std::rbegin(kSizes); it != std::rend(kSizes); ++it)
        if (*it <= size)
            return *it;
    return kSizes[0];
}

int VRXPlayerWindow::listPointSize() const
{
    return m_library->listView()->font().pointSize();
}

void VRXPlayerWindow::setListPointSize(int size)
{
    for (ListView* lv : {m_library->listView(), m_playlist->listView()}) {
        QFont f = lv->font();
        f.setPointSize(size);
        lv->setFont(f);
    }
    updateZoomActions(size);
}

void VRXPlayerWindow::updateZoomActions(int size)
{
    if (QAction* a = action(QStringLiteral("zoomin")))
        a->setEnabled(size != kSizes[std::size(kSizes) - 1]);
    if (QAction* a = action(QStringLiteral("zoomout")))
        a->setEnabled(size != kSizes[0]);
}

void VRXPlayerWindow::rebuildLists()
{
    m_library->rebuild();
    m_playlist->restoreList();
}

void VRXPlayerWindow::zoomin()
{
    zoomTo(snapUp(listPointSize() + 1));
}

void VRXPlayerWindow::zoomout()
{
    zoomTo(snapDown(listPointSize() - 1));
}

void VRXPlayerWindow::zoomTo(int size)
{
    // The font change empties the lists: stop, keep the play list, build both again.
    QCoreApplication::processEvents();
    stop();
    m_playlist->storeList();
    updateZoomActions(size);
    if (size != listPointSize())
        setListPointSize(size);
    rebuildLists();
}

void VRXPlayerWindow::mediaFolders()
{
    bool changed = false;
    {
        MediaFoldersDialog dlg(this);
        dlg.run();
        changed = dlg.changed();
    }
    // The same folders find the same tracks: playback goes on undisturbed.
    if (changed)
        reloadLists();
}

void VRXPlayerWindow::reloadLists()
{
    stop();
    m_playlist->storeList();
    rebuildLists();
}

void VRXPlayerWindow::options()
{
    OptionsDialog dlg(this);
    if (dlg.run() == QDialog::Accepted) {
        dlg.store();
        applySettings();
    }
}

// ---- bookmarks and keys -------------------------------------------------------------

void VRXPlayerWindow::fillBookmarkMenu(QMenu* menu)
{
    m_bookmarks->fillMenu(menu, m_playState != Stopped);
}

void VRXPlayerWindow::bookmarkActivated(int id)
{
    if (id == Bookamrks::AddId) {
        addBookmark();
    } else if (id == Bookamrks::OrganizeId) {
        std::optional<Bookmark> chosen;
        {
            BookmarkDialog dlg(m_bookmarks->list(), this);
            dlg.run();
            // Moves and removals count whichever button closed the organiser.
            dlg.applyOrder();
            if (dlg.selectedBookmark())
                chosen = *dlg.selectedBookmark();
        }
        m_bookmarks->saveBookmarks(this);
        if (chosen)
            jumpTo(*chosen);
    } else if (const Bookmark* b = m_bookmarks->at(id - Bookamrks::FirstBookmarkId)) {
        jumpTo(Bookmark(*b));
    }
}

void VRXPlayerWindow::jumpTo(const Bookmark& bookmark)
{
    stop();
    setFile(bookmark.file, bookmark.position);
}

void VRXPlayerWindow::addBookmark()
{
    if (m_playState == Stopped)
        return;
    // The worker waits while the name is asked for; a paused track stays paused.
    const bool wasPlaying = m_playState == Playing;
    if (wasPlaying)
        playPause();
    m_bookmarks->add(m_currentFile, m_controller->positionMs(), this);
    if (wasPlaying)
        playPause();
}

void VRXPlayerWindow::checkKey(bool& handled, int code)
{
    handled = false;
    for (int bound : {m_keyVolumeUp, m_keyVolumeDown, m_keyPlay, m_keyNext, m_keyPrev, m_keyForward, m_keyRewind})
        if (bound != 0 && bound == code)
            handled = true;
}

void VRXPlayerWindow::keyPressEvent(QKeyEvent* e)
{
    const int code = keyCode(e);
    if (code < 0)
        return;
    const std::pair<int, int> bindings[] = {
        {m_keyVolumeUp, Player::VolumeUp}, {m_keyVolumeDown, Player::VolumeDown}, {m_keyPlay, Player::Play},
        {m_keyNext, Player::Next},         {m_keyPrev, Player::Prev},             {m_keyForward, Player::Forward},
        {m_keyRewind, Player::Rewind}};
    for (const auto& [bound, action] : bindings) {
        if (bound != 0 && bound == code) {
            m_player->triggerAction(action);
            break;
        }
    }
    if (code == KeyEscape) {
        m_escapePressed = true;
        if (m_cancelStops)
            m_player->triggerAction(Player::Stop);
    }
    if (code == KeyF11) {
        m_tabs->showPage(m_playlist);
        m_playlist->showMenu();
    }
    VRXMainWindow::keyPressEvent(e);
    // The device's Cancel key asks the application to close.
    if (code == KeyEscape)
        close();
}

// ---- closing and power --------------------------------------------------------------

void VRXPlayerWindow::closeEvent(QCloseEvent* e)
{
    if (m_cancelStops && !m_forceClose && m_playState != Stopped) {
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(DeferredCloseEvent)));
        e->ignore();
        return;
    }
    // A signal before the previous run's state is back finds nothing of this run to keep,
    // and storing then would overwrite that state.
    if (m_restored || !m_closingOnSignal)
        storeSession();
    stop();
    // What could not be saved is said before the window goes (a signal's close says it only
    // in the debug output: nobody may be there to answer).
    if (!m_closingOnSignal)
        m_saveNotice->showPending(this);
    VRXMainWindow::closeEvent(e);
}

void VRXPlayerWindow::storeSession()
{
    saveState();
    {
        Config cfg = appConfig();
        cfg.write(Settings::Options::SoftwareVolume, VRAudioDevice::softwareVolume());
        if (m_playState == Playing) {
            cfg.write(Settings::Options::File, m_currentFile);
            cfg.write(Settings::Options::Position, int(m_controller->positionMs() / 1000));
        } else {
            cfg.write(Settings::Options::File, m_kept.file);
            cfg.write(Settings::Options::Position, m_kept.file.isEmpty() ? 0 : m_kept.position);
        }
    }
}

void VRXPlayerWindow::showOutputProblem(const QString& message)
{
    // Said without stopping anything: playback goes on with whatever output is left.
    qWarning("sound output: %s", qPrintable(message));
    showNotice(tr("Sound"), message);
}

void VRXPlayerWindow::showNotice(const QString& title, const QString& message)
{
    // One at a time, not modal: the newest replaces the one before.
    if (m_outputNotice)
        m_outputNotice->close();
    auto* box = new VRXMessageBox(title, message, QStringLiteral("dialog_critical"), this);
    box->addButton(tr("Ok"), QStringLiteral("button_ok"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    m_outputNotice = box;
}

void VRXPlayerWindow::closeOnSignal()
{
    // A logout, a shutdown or Ctrl-C: keep the session as a close of the window does, at
    // once, without asking anything.
    m_closingOnSignal = true;
    m_saveNotice->setQuiet(true);
    m_forceClose = true;
    close();
    QCoreApplication::quit();
}

void VRXPlayerWindow::resumeAfterPowerOn(int count)
{
    if (m_playState == Stopped || count == 1)
        return;
    m_resumeFile = m_currentFile;
    m_resumePosition = int(m_controller->positionMs() / 1000);
    stop();
    int delay;
    {
        Config cfg = appConfig();
        delay = qBound(0, cfg.read(Settings::Options::PowerOnDelay), 60);
    }
    m_resumeTimer->start(delay * 1000);
}

void VRXPlayerWindow::followSuspends(SuspendWatcher* watcher)
{
    connect(watcher, &SuspendWatcher::aboutToSleep, this, [this] {
        // Before the previous run's state is back there is nothing of this run to keep.
        if (m_restored)
            storeSession();
    });
    connect(watcher, &SuspendWatcher::resumed, this, [this] { resumeAfterPowerOn(2); });
}

bool VRXPlayerWindow::resumePending() const
{
    return m_resumeTimer->isActive();
}

