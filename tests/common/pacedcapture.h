#pragma once

// A sound device for tests: a FIFO read at the pace of a real one (44.1 kHz stereo, 16
// bits), so that playback runs in real time and everything written is kept. killReader()
// is a device that goes away while playing.
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

// What a device should get for a file: quavrix-decode's output.
inline QByteArray decodeWhole(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral(QUAVRIX_BIN_DIR "/quavrix-decode"), {file});
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

class PacedCapture
{
public:
    static constexpr int BytesPerSecond = 44100 * 4;

    explicit PacedCapture(const QString& path) : m_path(path)
    {
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        m_read = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // Our own writer keeps the read end from seeing an end between two tracks.
        m_keepOpen = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        m_thread = std::thread([this] { run(); });
    }
    ~PacedCapture() { killReader(); }
    bool isOpen() const { return m_read >= 0 && m_keepOpen >= 0; }
    QByteArray take()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        QByteArray d = m_data;
        m_data.clear();
        return d;
    }
    qsizetype size()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_data.size();
    }
    // The device is gone: a writer gets EPIPE from now on.
    void killReader()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int* fd : {&m_read, &m_keepOpen}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }

private:
    void run()
    {
        QElapsedTimer clock;
        clock.start();
        int64_t taken = 0;
        char buf[4096];
        while (!m_stop) {
            const int64_t allowed = clock.elapsed() * BytesPerSecond / 1000 - taken;
            if (allowed < int64_t(sizeof buf)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            pollfd p{m_read, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) {
                // Nothing to play: a real device would not catch up later either.
                clock.restart();
                taken = 0;
                continue;
            }
            const ssize_t n = ::read(m_read, buf, sizeof buf);
            if (n > 0) {
                taken += n;
                std::lock_guard<std::mutex> lock(m_lock);
                m_data.append(buf, int(n));
            }
        }
    }

    QString m_path;
    int m_read = -1;
    int m_keepOpen = -1;
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    QByteArray m_data;
    std::thread m_thread;
};
