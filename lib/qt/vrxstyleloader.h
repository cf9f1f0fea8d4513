#pragma once

#include <QPointer>
#include <QString>

class QStyle;

// Loads the optional look-and-feel library (<qpeDir>/lib/libvrxstyle.so) and installs the
// style made by its "vrx_style_instantiate" function. The program runs without it.
class VRXStyleLoader
{
public:
    VRXStyleLoader() = default;
    ~VRXStyleLoader() = default; // the owner unloads explicitly, after replacing the style
    VRXStyleLoader(const VRXStyleLoader&) = delete;
    VRXStyleLoader& operator=(const VRXStyleLoader&) = delete;

    static QString libraryPath();

    // Opens the library once and installs a fresh style from it; true when installed.
    bool load();
    // Closes the library; true when it was open and closed. A style of the library that is
    // still installed is replaced first, whatever its name.
    bool unload();
    // If the application style comes from the library ("xp"), installs a built-in one,
    // so that no object of the library outlives its code.
    static void replaceLibraryStyle();

    bool isLoaded() const { return m_handle != nullptr; }

    // Path override for tests; empty restores the default.
    void setLibraryPath(const QString& path) { m_path = path; }

private:
    void* m_handle = nullptr;
    QPointer<QStyle> m_installed; // the last style made by the library
    QString m_path;
};
