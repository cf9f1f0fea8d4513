#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>

class QDBusPendingCallWatcher;

// A suspend is a power-off and a resume a power-on, as logind announces them with
// PrepareForSleep on the system bus. A "sleep" inhibitor in delay mode, taken at start,
// gives the program its moment before the system sleeps: aboutToSleep() is handled first,
// then the lock is let go; on resume it is taken again and resumed() follows. Without
// logind nothing happens, said once. Calls never wait.
class SuspendWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SuspendWatcher(QObject* parent = nullptr);

    bool holdsDelay() const { return m_lock.isValid(); }

signals:
    // Keep what a close keeps, now: the system sleeps when the handlers have returned.
    void aboutToSleep();
    void resumed();

private slots:
    void prepareForSleep(bool sleeping);

private:
    void takeDelay();
    void answered(QDBusPendingCallWatcher* call);

    QDBusUnixFileDescriptor m_lock;
    bool m_pending = false;
    bool m_sleeping = false;
    bool m_saidMissing = false;
};
