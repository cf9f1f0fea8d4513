#pragma once

// A small file system of its own for tests of full disks and read-only folders: a tmpfs of
// a given size mounted on a folder (root only), in a mount namespace of this process when
// it can have one, so nothing stays mounted if the test dies.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cerrno>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

class ScratchFs
{
public:
    // Empty when it could not be mounted; why() says why.
    ScratchFs(const QString& folder, qint64 bytes) : m_folder(folder)
    {
        if (::geteuid() != 0) {
            m_why = QStringLiteral("mounting a small file system needs root");
            return;
        }
        static const bool ownNamespace =
            ::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        Q_UNUSED(ownNamespace);
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
            m_why = QStringLiteral("mount failed: ") + QString::fromLocal8Bit(strerror(errno));
        else
            m_mounted = true;
    }
    ~ScratchFs()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }

    // Takes every byte left.
    void fill()
    {
        QFile f(m_folder + QStringLiteral("/.filler"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size()) {
        }
        // The last partial block.
        while (f.write(block.constData(), 1) == 1) {
        }
    }
    void makeRoom() { QFile::remove(m_folder + QStringLiteral("/.filler")); }
    bool setReadOnly(bool readOnly)
    {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr, flags, nullptr) == 0;
    }

private:
    QString m_folder;
    QString m_why;
    bool m_mounted = false;
};
