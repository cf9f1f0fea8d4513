#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

class QCopChannel;
class QDBusPendingCallWatcher;

// What the platform's screen-saver messages mean on today's systems: while music plays the
// device must not suspend, but the screen may blank and lock as the desktop's own settings
// say. "setScreenSaverMode(int)" with 2 on "QPE/System" (playback started) takes a logind
// "sleep" inhibitor in block mode, or where there is no logind the desktop portal's
// Inhibit with the suspend flag; 100 (playback halted) and the end of the program let it
// go. A logind hold is a file descriptor, so it dies with the process, crash included.
// Calls never wait on the GUI thread, except a portal release when the program ends.
class SleepInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit SleepInhibitor(QObject* parent = nullptr);
    ~SleepInhibitor() override;

    // A hold is wanted, in flight or held.
    bool isInhibited() const { return m_wanted; }

    void inhibit();
    void release();

    // Asks logind for an inhibitor lock asynchronously; the answer goes to `answered`.
    static QDBusPendingCallWatcher* askLogind(const QString& mode, const QString& why, QObject* parent);

private:
    enum Service { None, Logind, Portal };
    void received(const QByteArray& message, const QByteArray& data);
    void ask(Service service);
    void sayMissing();
    void answered(QDBusPendingCallWatcher* call);
    void letGo(bool wait);

    QCopChannel* m_channel;
    bool m_wanted = false;
    bool m_pending = false;           // an Inhibit call has not been answered yet
    Service m_calling = None;         // whom the call in flight went to
    Service m_held = None;
    QDBusUnixFileDescriptor m_lock;   // logind: held while open
    QString m_portalHandle;           // org.freedesktop.portal.Inhibit request
    bool m_saidMissing = false;       // said once
};
