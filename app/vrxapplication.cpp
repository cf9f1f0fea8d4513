#include "vrxapplication.h"

#include "config.h"
#include "qcop.h"
#include "screen.h"
#include "settingskeys.h"

#include <QStyle>
#include <QStyleFactory>

#include <dlfcn.h>

VRXApplication* VRXApplication::s_instance = nullptr;

VRXApplication::VRXApplication(const char* name, int& argc, char** argv)
    : QPEApplication(argc, argv, GuiClient)
{
    s_instance = this;
    setObjectName(QString::fromLatin1(name));
    if (handedOver())
        return; // another instance plays this start's document; nothing more to set up

    {
        Config cfg(QString::fromLatin1(Settings::ToolkitFile));
        if (cfg.read(Settings::Style::Id) != -1 && isSmallScreen())
            loadStyle();
    }
    m_channel = new QCopChannel(QStringLiteral("QPE/System"), this);
    connect(m_channel, &QCopChannel::received, this, &VRXApplication::vrxAppReceive);
    connect(this, &QPEApplication::clockChanged, this, &VRXApplication::updateDateTimeFormats);
    connect(this, &QPEApplication::dateFormatChanged, this, &VRXApplication::updateDateTimeFormats);
    connect(this, &QPEApplication::weekChanged, this, &VRXApplication::updateDateTimeFormats);
    updateDateTimeFormats();
}

VRXApplication::~VRXApplication()
{
    // No style object may outlive the code of the library that made it.
    if (style() && style()->objectName() == QLatin1String("xp"))
        setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    unloadStyle();
    if (s_instance == this)
        s_instance = nullptr;
}

void VRXApplication::vrxAppReceive(const QByteArray& message, const QByteArray&)
{
    if (message == "applyVRXStyle()")
        loadStyle();
}

void VRXApplication::updateDateTimeFormats()
{
    Config cfg(QString::fromLatin1(Settings::PlatformFile));
    m_formats.ampm = cfg.read(Settings::Platform::AmPm);
    m_formats.startsOnMonday = cfg.read(Settings::Platform::Monday);
    m_formats.dateSeparator = cfg.read(Settings::Platform::DateSeparator);
    m_formats.shortOrder = cfg.read(Settings::Platform::ShortOrder);
    m_formats.longOrder = cfg.read(Settings::Platform::LongOrder);
    emit dateTimeSettingChanged();
}

void VRXApplication::loadStyle()
{
    const QByteArray path = (qpeDir() + QStringLiteral("/lib/libvrxstyle.so")).toLocal8Bit();
    if (!m_styleHandle) {
        m_styleHandle = dlopen(path.constData(), RTLD_LAZY);
        if (!m_styleHandle)
            return;
    }
    dlerror();
    void* sym = dlsym(m_styleHandle, "vrx_style_instantiate");
    if (const char* err = dlerror()) {
        qDebug("%s", err);
        return;
    }
    qDebug("Load vrxStyle library");
    auto instantiate = reinterpret_cast<QStyle* (*)()>(sym);
    if (QStyle* s = instantiate())
        setStyle(s);
}

void VRXApplication::unloadStyle()
{
    if (m_styleHandle && dlclose(m_styleHandle) == 0) {
        m_styleHandle = nullptr;
        qDebug("Unload vrxStyle library");
    }
}
