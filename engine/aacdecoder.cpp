#include "aacdecoder.h"

#include <QCoreApplication>
#include <QtGlobal>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace AacProtocol;

namespace {
std::atomic<int> g_turnTimeoutMs{2000};
constexpr int SliceMs = 100;
// Turns in which the program neither took input nor gave output; a program that keeps
// passing the turn back empty-handed is as good as hung.
constexpr int MaxIdleTurns = 10000;

std::string executableDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath().toStdString();
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string();
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
} // namespace

AACDecoder::AACDecoder() = default;

AACDecoder::~AACDecoder()
{
    stopProcess();
    if (m_segment)
        ::shmdt(m_segment);
    if (m_private && m_semaphores >= 0)
        ::semctl(m_semaphores, 0, IPC_RMID);
}

std::string AACDecoder::programPath()
{
    const QByteArray overridden = qgetenv("QUAVRIX_AACDECODER");
    if (!overridden.isEmpty())
        return overridden.toStdString();
    const std::string device = "/home/QtPalmtop/bin/aacdecoder";
    if (::access(device.c_str(), F_OK) == 0)
        return device;
    // Beside the program in a build tree; in an installed tree, out of the way of PATH.
    const std::string dir = executableDirectory();
    const std::string installed = dir + "/../libexec/quavrix/aacdecoder";
    if (::access((dir + "/aacdecoder").c_str(), X_OK) != 0 && ::access(installed.c_str(), X_OK) == 0)
        return installed;
    return dir + "/aacdecoder";
}

std::string AACDecoder::keyFile()
{
    return qgetenv(KeyFileVariable).toStdString();
}

void AACDecoder::setTurnTimeoutMs(int ms)
{
    g_turnTimeoutMs = qMax(ms, SliceMs);
}

int AACDecoder::turnTimeoutMs()
{
    return g_turnTimeoutMs;
}

void AACDecoder::removeSharedObjects()
{
    if (keyFile().empty())
        return;
    const key_t key = ::ftok(keyFile().c_str(), KeyCharacter);
    if (key == -1)
        return;
    const int segment = ::shmget(key, 0, 0);
    if (segment >= 0)
        ::shmctl(segment, IPC_RMID, nullptr);
    const int semaphores = ::semget(key, 0, 0);
    if (semaphores >= 0)
        ::semctl(semaphores, 0, IPC_RMID);
}

bool AACDecoder::createSharedObjects()
{
    key_t key = IPC_PRIVATE;
    const std::string file = keyFile();
    if (!file.empty()) {
        // Only the file's identity matters; never follow a link someone left in its place.
        const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
        key = ::ftok(file.c_str(), KeyCharacter);
        if (key == -1) {
            qDebug("can't get key");
            return false;
        }
    }
    m_private = key == IPC_PRIVATE;
    m_semaphores = ::semget(key, 2, IPC_CREAT | 0600);
    if (m_semaphores < 0) {
        qDebug("no semaphores for key %d, err %d", int(key), errno);
        return false;
    }
    m_segmentId = ::shmget(key, SegmentSize, IPC_CREAT | 0600);
    void* address = m_segmentId >= 0 ? ::shmat(m_segmentId, nullptr, 0) : reinterpret_cast<void*>(-1);
    if (address == reinterpret_cast<void*>(-1)) {
        qDebug("sh mem key %d  err %d", int(key), errno);
        if (m_private)
            ::semctl(m_semaphores, 0, IPC_RMID);
        m_semaphores = -1;
        return false;
    }
    m_segment = address;
    // Gone once the program and we have let go of it (Linux attaches a segment marked for
    // removal by its id), whatever ends either of us.
    if (m_private)
        ::shmctl(m_segmentId, IPC_RMID, nullptr);
    qDebug("init shared memory %d, semaphores %d", m_segmentId, m_semaphores);
    return true;
}

void AACDecoder::init()
{
    qDebug("AACDecoder::init()");
    m_failed = false;
    if (!m_segment && !createSharedObjects()) {
        m_failed = true;
        return;
    }
    for (int i = 0; i < 4; ++i)
        words()[i] = 0;
    m_bytesGiven = 0;
    m_bytesReceived = 0;
    // Turns left over from an earlier track (close() raises one even with no program
    // running) would let the next track's first wait pass without its decoder.
    unsigned short zero[2] = {0, 0};
    ::semctl(m_semaphores, 0, SETALL, zero);
}

bool AACDecoder::finished() const
{
    return m_failed || !m_segment || words()[FinishedWord] != 0;
}

bool AACDecoder::start()
{
    const std::string path = programPath();
    const std::string segmentVariable = std::string(SegmentIdVariable) + "=" + std::to_string(m_segmentId);
    const std::string semaphoresVariable = std::string(SemaphoresIdVariable) + "=" + std::to_string(m_semaphores);
    const std::string channelsVariable = "QUAVRIX_AAC_CHANNELS=" + std::to_string(m_channels);
    const std::string upsampleVariable = std::string("QUAVRIX_AAC_UPSAMPLE=") + (m_upsample ? "1" : "0");
    const std::string keyVariable = std::string(KeyFileVariable) + "=" + keyFile();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    char* envp[] = {const_cast<char*>(segmentVariable.c_str()), const_cast<char*>(semaphoresVariable.c_str()),
                    const_cast<char*>(channelsVariable.c_str()), const_cast<char*>(upsampleVariable.c_str()),
                    m_private ? nullptr : const_cast<char*>(keyVariable.c_str()), nullptr};
    // A clean start: default signal handling, nothing blocked (the caller's thread may
    // block signals it waits for), and none of the player's files (the sound device).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        qDebug("Can not start %s, error '%s'", path.c_str(), std::strerror(error));
        fail("could not start");
        return false;
    }
    m_process = pid;
    qDebug("started decoder with pid %d", int(pid));
    return true;
}

void AACDecoder::stopProcess()
{
    if (m_process > 0) {
        qDebug("kill %d", int(m_process));
        ::kill(m_process, SIGKILL);
        while (::waitpid(m_process, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_process = -1;
}

void AACDecoder::fail(const char* why)
{
    qDebug("aac decoder %s: track ends", why);
    m_failed = true;
    if (m_segment)
        words()[FinishedWord] = 1;
    stopProcess();
}

bool AACDecoder::waitForTurn()
{
    if (m_process <= 0) {
        fail("not running");
        return false;
    }
    int waited = 0;
    for (;;) {
        sembuf op = {static_cast<unsigned short>(PlayerSemaphore), -1, 0};
        timespec slice = {0, SliceMs * 1000000L};
        if (::semtimedop(m_semaphores, &op, 1, &slice) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN) {
            fail("semaphores gone");
            return false;
        }
        int status = 0;
        if (::waitpid(m_process, &status, WNOHANG) == m_process) {
            m_process = -1; // reaped: nothing left to kill
            fail("ended unexpectedly");
            return false;
        }
        waited += SliceMs;
        if (waited >= g_turnTimeoutMs) {
            fail("not answering");
            return false;
        }
    }
}

void AACDecoder::giveTurn()
{
    sembuf op = {static_cast<unsigned short>(DecoderSemaphore), 1, 0};
    while (::semop(m_semaphores, &op, 1) != 0 && errno == EINTR) {
    }
}

void AACDecoder::takeOutput(char* out, int* outLength, int outCapacity)
{
    int n = words()[LengthWord];
    if (n > 0) {
        n = qMin(n, DataSize);
        const int room = qMax(outCapacity - *outLength, 0);
        const int take = qMin(n, room);
        std::memcpy(out + *outLength, data(), static_cast<size_t>(take));
        *outLength += take;
        if (take < n)
            qDebug("aac decoder: %d PCM bytes did not fit", n - take);
        m_bytesReceived += n;
    }
    words()[LengthWord] = 0;
}

int AACDecoder::decode(char* out, int* outLength, const char* in, int inLength, int outCapacity)
{
    *outLength = 0;
    if (finished())
        return inLength;
    if (m_process <= 0 && !start())
        return inLength;
    if (inLength <= 0)
        return inLength;

    int consumed = 0;
    int idle = 0;
    for (;;) {
        if (!waitForTurn())
            break;
        const int state = words()[StateWord];
        bool progress = false;
        if (state == WantInput) {
            const int give = qMin(qMin(inLength - consumed, qMax(words()[LengthWord], 0)), DataSize);
            words()[LengthWord] = give;
            std::memcpy(data(), in + consumed, static_cast<size_t>(give));
            consumed += give;
            m_bytesGiven += give;
            progress = give > 0;
        } else if (state == Output) {
            progress = words()[LengthWord] > 0;
            takeOutput(out, outLength, outCapacity);
        } else if (state == Finished) {
            qDebug("decoder finised");
            words()[FinishedWord] = 1;
            return inLength;
        }
        words()[StateWord] = Idle;
        giveTurn();
        if (consumed >= inLength || finished())
            break;
        if (!progress && ++idle > MaxIdleTurns) {
            fail("makes no progress");
            break;
        }
    }
    return inLength;
}

void AACDecoder::drain(char* out, int* outLength, int outCapacity)
{
    *outLength = 0;
    if (finished() || m_process <= 0)
        return;
    for (int turns = 0; turns < MaxIdleTurns; ++turns) {
        if (!waitForTurn())
            return;
        const int state = words()[StateWord];
        if (state == Finished) {
            qDebug("decoder finised");
            words()[FinishedWord] = 1;
            return;
        }
        if (state == Output) {
            takeOutput(out, outLength, outCapacity);
            words()[StateWord] = Idle;
            giveTurn();
            continue;
        }
        // It wants input (or has nothing to say): everything it had is out.
        words()[LengthWord] = 0;
        words()[StateWord] = Idle;
        giveTurn();
        return;
    }
}

void AACDecoder::close()
{
    qDebug("AACDecoder::close()");
    if (m_process > 0 && !finished()) {
        // Let the program finish the turn it has, so the stop request reaches it intact.
        sembuf op = {static_cast<unsigned short>(PlayerSemaphore), -1, 0};
        timespec wait = {0, 200 * 1000000L};
        while (::semtimedop(m_semaphores, &op, 1, &wait) != 0 && errno == EINTR) {
        }
    }
    if (m_segment) {
        words()[LengthWord] = 0;
        words()[StopWord] = 1;
        words()[StateWord] = Idle;
    }
    if (m_semaphores >= 0)
        giveTurn();
    // The program ends by itself on the stop request; give it a moment to do so cleanly.
    for (int i = 0; i < 20 && m_process > 0; ++i) {
        if (::waitpid(m_process, nullptr, WNOHANG) == m_process) {
            qDebug("decoder %d stopped", int(m_process));
            m_process = -1;
            break;
        }
        ::usleep(5000);
    }
    stopProcess();
}
