// A stand-in for the AAC decoder program that follows a script, for testing the player's
// side of the protocol. The script is the file "<key file>.script", one step a line:
//   want N   ask for up to N input bytes (state 1)
//   out N    deliver N bytes of PCM (state 2), byte i being i & 0xff
//   finish   report the end (state 3)
//   die      exit at once without a word
//   hang     stop answering
// After the script it keeps asking for input; it exits when the stop request is set.

#include "aacdecoder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <unistd.h>

using namespace AacProtocol;

namespace {
int g_semaphores = -1;
int32_t* g_words = nullptr;

// Hands the turn to the player and waits for it to come back.
void turn(int state, int length)
{
    g_words[LengthWord] = length;
    g_words[StateWord] = state;
    sembuf up = {static_cast<unsigned short>(PlayerSemaphore), 1, 0};
    semop(g_semaphores, &up, 1);
    sembuf down = {static_cast<unsigned short>(DecoderSemaphore), -1, 0};
    while (semop(g_semaphores, &down, 1) != 0)
        if (errno != EINTR)
            std::exit(3);
    if (g_words[StopWord])
        std::exit(0);
}
} // namespace

int main()
{
    const char* keyFile = std::getenv(KeyFileVariable);
    if (!keyFile)
        return 2;
    FILE* script = std::fopen((std::string(keyFile) + ".script").c_str(), "r");
    const key_t key = ftok(keyFile, KeyCharacter);
    g_semaphores = semget(key, 2, 0);
    void* segment = shmat(shmget(key, SegmentSize, 0), nullptr, 0);
    if (g_semaphores < 0 || segment == reinterpret_cast<void*>(-1))
        return 2;
    g_words = static_cast<int32_t*>(segment);
    char* data = static_cast<char*>(segment) + DataOffset;

    char line[128];
    while (script && std::fgets(line, sizeof line, script)) {
        char word[32] = {};
        int n = 0;
        std::sscanf(line, "%31s %d", word, &n);
        if (!std::strcmp(word, "want")) {
            turn(WantInput, n);
        } else if (!std::strcmp(word, "out")) {
            for (int i = 0; i < n && i < DataSize; ++i)
                data[i] = static_cast<char>(i & 0xff);
            turn(Output, n);
        } else if (!std::strcmp(word, "finish")) {
            turn(Finished, 0);
        } else if (!std::strcmp(word, "die")) {
            _exit(1);
        } else if (!std::strcmp(word, "hang")) {
            for (;;)
                pause();
        }
    }
    for (;;)
        turn(WantInput, 4096);
}
