#include "vrxstyleloader.h"

#include "global.h"

#include <QApplication>
#include <QFile>
#include <QStyle>
#include <QStyleFactory>
#include <QtDebug>

#include <dlfcn.h>

QString VRXStyleLoader::libraryPath()
{
    return Global::qpeDir() + QStringLiteral("/lib/libvrxstyle.so");
}

bool VRXStyleLoader::load()
{
    if (!m_handle) {
        const QByteArray path = QFile::encodeName(m_path.isEmpty() ? libraryPath() : m_path);
        m_handle = dlopen(path.constData(), RTLD_LAZY);
        if (!m_handle)
            return false;
    }
    dlerror(); // clear an older error so that the lookup's own result is seen
    void* sym = dlsym(m_handle, "vrx_style_instantiate");
    const char* err = dlerror();
    if (err) {
        qDebug("%s", err);
        return false;
    }
    if (!sym)
        return false;
    qDebug("Load vrxStyle library");
    using Instantiate = QStyle* (*)();
    QStyle* style = reinterpret_cast<Instantiate>(sym)();
    if (!style)
        return false;
    QApplication::setStyle(style);
    m_installed = style;
    return true;
}

bool VRXStyleLoader::unload()
{
    if (m_handle) {
        if (m_installed && QApplication::style() == m_installed.data()) {
            QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"));
            if (!plain)
                plain = QStyleFactory::create(QStringLiteral("Fusion"));
            QApplication::setStyle(plain);
        }
        if (dlclose(m_handle) == 0) {
            m_handle = nullptr;
            qDebug("Unload vrxStyle library");
            return true;
        }
        return false;
    }
    if (const char* err = dlerror())
        qDebug("%s", err);
    return false;
}

void VRXStyleLoader::replaceLibraryStyle()
{
    QStyle* style = QApplication::style();
    if (style && style->objectName() == QLatin1String("xp")) {
        QStyle* plain = QStyleFactory::create(QStringLiteral("Windows"));
        if (!plain)
            plain = QStyleFactory::create(QStringLiteral("Fusion"));
        QApplication::setStyle(plain);
    }
}
