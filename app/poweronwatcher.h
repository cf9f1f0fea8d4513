#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Learns of power-on through SIGCONT. The handler only writes a byte to a pipe (all a
// signal handler may safely do); the GUI thread reads it and counts: every second
// delivery calls back with 2, every other one with 1.
class PowerOnWatcher : public QObject
{
    Q_OBJECT
public:
    // Installs the handler; call before anything else, as early as possible.
    static bool installSignalHandler();

    explicit PowerOnWatcher(std::function<void(int count)> resume, QObject* parent = nullptr);
    ~PowerOnWatcher() override;

    int resumeCount() const { return m_resumeCount; }

private:
    void readPipe();

    std::function<void(int)> m_resume;
    QSocketNotifier* m_notifier = nullptr;
    int m_resumeCount = 0;
};
