#include "poweronwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

extern "C" void onSigCont(int sig)
{
    if (sig != SIGCONT)
        return;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t r = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}
} // namespace

bool PowerOnWatcher::installSignalHandler()
{
    if (g_pipe[0] >= 0)
        return true;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa = {};
    sa.sa_handler = onSigCont;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return ::sigaction(SIGCONT, &sa, nullptr) == 0;
}

PowerOnWatcher::PowerOnWatcher(std::function<void(int)> resume, QObject* parent)
    : QObject(parent), m_resume(std::move(resume))
{
    if (g_pipe[0] < 0)
        installSignalHandler();
    if (g_pipe[0] >= 0) {
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &PowerOnWatcher::readPipe);
    }
}

PowerOnWatcher::~PowerOnWatcher() = default;

void PowerOnWatcher::readPipe()
{
    char bytes[64];
    ssize_t n;
    while ((n = ::read(g_pipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            ++m_resumeCount;
            m_resume(m_resumeCount);
            if (m_resumeCount == 2)
                m_resumeCount = 0;
        }
    }
}
