#pragma once

#include "qpeapplication.h"

class QCopChannel;

// The application object: loads the style library when the settings or the platform ask
// for it, listens on "QPE/System", and keeps the platform's date and time formats.
class VRXApplication : public QPEApplication
{
    Q_OBJECT
public:
    struct DateTimeFormats
    {
        bool ampm = true;
        bool startsOnMonday = false;
        QString dateSeparator = QStringLiteral("/");
        int shortOrder = 0x111;
        int longOrder = 0x111;
    };

    VRXApplication(const char* name, int& argc, char** argv);
    ~VRXApplication() override;

    static VRXApplication* instance() { return s_instance; }
    const DateTimeFormats& dateTimeFormats() const { return m_formats; }
    bool styleLoaded() const { return m_styleHandle != nullptr; }

public slots:
    void vrxAppReceive(const QByteArray& message, const QByteArray& data);
    void updateDateTimeFormats();

signals:
    void dateTimeSettingChanged();

private:
    void loadStyle();
    void unloadStyle();

    static VRXApplication* s_instance;
    void* m_styleHandle = nullptr;
    DateTimeFormats m_formats;
    QCopChannel* m_channel = nullptr;
};
