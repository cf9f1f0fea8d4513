#include "signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_closing = 0;

constexpr char PowerOnByte = 'C';
constexpr char CloseByte = 'T';
// A close that takes longer than this is stuck (a settings file on a hung mount).
constexpr unsigned CloseDeadlineSeconds = 3;

void sendByte(char byte)
{
    const int saved = errno;
    [[maybe_unused]] ssize_t r = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

extern "C" void onSignal(int sig)
{
    if (sig == SIGCONT) {
        sendByte(PowerOnByte);
        return;
    }
    if (sig != SIGTERM && sig != SIGINT && sig != SIGHUP)
        return;
    if (g_closing)
        ::_exit(128 + sig); // asked twice: no more waiting
    g_closing = 1;
    ::alarm(CloseDeadlineSeconds);
    sendByte(CloseByte);
}

bool install(int sig)
{
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    return ::sigaction(sig, &sa, nullptr) == 0;
}
} // namespace

bool SignalWatcher::installSignalHandlers(bool closeSignals)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    bool ok = install(SIGCONT);
    if (closeSignals)
        ok = install(SIGTERM) && install(SIGINT) && install(SIGHUP) && ok;
    return ok;
}

SignalWatcher::SignalWatcher(std::function<void(int)> resume, std::function<void()> close, QObject* parent)
    : QObject(parent), m_resume(std::move(resume)), m_close(std::move(close))
{
    if (g_pipe[0] < 0)
        installSignalHandlers(false);
    if (g_pipe[0] >= 0) {
        m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readPipe);
    }
}

SignalWatcher::~SignalWatcher() = default;

void SignalWatcher::readPipe()
{
    char bytes[64];
    ssize_t n;
    while ((n = ::read(g_pipe[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (bytes[i] == CloseByte) {
                if (m_close)
                    m_close();
                ::alarm(0); // the session is stored: what is left of the exit may take its time
                continue;
            }
            ++m_resumeCount;
            if (m_resume)
                m_resume(m_resumeCount);
            if (m_resumeCount == 2)
                m_resumeCount = 0;
        }
    }
}
