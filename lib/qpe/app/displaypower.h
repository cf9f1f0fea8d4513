#pragma once

#include <QObject>
#include <QString>

class QCopChannel;

// What the platform's "setBacklight(int)" on "QPE/System" does on today's systems: 0 turns
// the backlight down to nothing through logind (Session.SetBrightness, the device found
// under /sys/class/backlight), -5 switches the display off through the desktop's screen
// saver (org.freedesktop.ScreenSaver.SetActive), -3 puts back what was changed. Where the
// system offers neither, that is said once and nothing else happens. Calls never wait.
class DisplayPower : public QObject
{
    Q_OBJECT
public:
    explicit DisplayPower(QObject* parent = nullptr);

    void setBacklight(int level);

    // The folder holding the backlight devices: /sys/class/backlight, or
    // $QUAVRIX_BACKLIGHT where that is set.
    static QString backlightFolder();

private:
    void received(const QByteArray& message, const QByteArray& data);
    bool setBrightness(int value);
    void setScreenSaverActive(bool on);

    QCopChannel* m_channel;
    QString m_device;        // the backlight device turned down, while it is
    int m_brightness = -1;   // its brightness before
    bool m_blanked = false;  // the screen saver was switched on
    bool m_saidNoBacklight = false;
    bool m_saidNoBlanking = false;
};
