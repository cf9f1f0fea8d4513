#pragma once

#include "qpeapplication.h"
#include "settingskeys.h"
#include "vrxstyleloader.h"

class QCopChannel;

// The application object: loads the style library when the settings or the platform ask
// for it, listens on "QPE/System", and keeps the platform's date and time formats.
class VRXApplication : public QPEApplication
{
    Q_OBJECT
public:
    struct DateTimeFormats
    {
        bool ampm = Settings::Platform::AmPm.def;
        bool startsOnMonday = Settings::Platform::Monday.def;
        QString dateSeparator = QString::fromLatin1(Settings::Platform::DateSeparator.def);
        int shortOrder = Settings::Platform::ShortOrder.def;
        int longOrder = Settings::Platform::LongOrder.def;
    };

    VRXApplication(const char* name, int& argc, char** argv);
    ~VRXApplication() override;

    static VRXApplication* instance() { return s_instance; }
    const DateTimeFormats& dateTimeFormats() const { return m_formats; }
    bool styleLoaded() const { return m_style.isLoaded(); }

public slots:
    void vrxAppReceive(const QByteArray& message, const QByteArray& data);
    void updateDateTimeFormats();

signals:
    void dateTimeSettingChanged();

private:
    static VRXApplication* s_instance;
    VRXStyleLoader m_style;
    DateTimeFormats m_formats;
    QCopChannel* m_channel = nullptr;
};
