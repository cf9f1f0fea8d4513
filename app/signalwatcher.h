#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// The process signals the player acts on, moved to the GUI thread through a self-pipe (a
// handler only writes a byte, all it may safely do):
// - SIGCONT is power-on: every second delivery calls resume with 2, every other one with 1;
// - SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl-C, a closed terminal) call
//   close, which keeps the session as a close of the window does. A second one while that
//   runs ends the process at once, and a close that hangs is ended after a few seconds.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers (the closing ones only with closeSignals); call before
    // anything else, as early as possible.
    static bool installSignalHandlers(bool closeSignals);

    explicit SignalWatcher(std::function<void(int count)> resume, std::function<void()> close = {},
                           QObject* parent = nullptr);
    ~SignalWatcher() override;

    int resumeCount() const { return m_resumeCount; }

private:
    void readPipe();

    std::function<void(int)> m_resume;
    std::function<void()> m_close;
    QSocketNotifier* m_notifier = nullptr;
    int m_resumeCount = 0;
};
