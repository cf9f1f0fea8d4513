#pragma once

#include <QObject>
#include <QString>

class QCopChannel;
class QDBusPendingCallWatcher;

// The desktop meaning of the platform's screen-saver messages: "setScreenSaverMode(int)"
// with 2 on "QPE/System" (playback started) holds the desktop's screen saver off through
// org.freedesktop.ScreenSaver, or the desktop portal where that is missing; 100 (playback
// halted) and the end of the program let it go. Holds belong to this program's bus
// connection, so the desktop drops them if the program dies. Calls never wait on the GUI
// thread, except the last release when the program ends.
class ScreenSaverInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QObject* parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // A hold is wanted, in flight or held.
    bool isInhibited() const { return m_wanted; }

    void inhibit();
    void release();

private:
    enum Service { None, ScreenSaver, Portal };
    void received(const QByteArray& message, const QByteArray& data);
    void answered(QDBusPendingCallWatcher* call);
    void letGo(bool wait);

    QCopChannel* m_channel;
    bool m_wanted = false;
    bool m_pending = false;     // an Inhibit call has not been answered yet
    Service m_calling = None;   // whom the call in flight went to
    Service m_held = None;
    uint m_cookie = 0;          // org.freedesktop.ScreenSaver
    QString m_portalHandle;     // org.freedesktop.portal.Inhibit request
    bool m_busMissing = false;  // said once
};
