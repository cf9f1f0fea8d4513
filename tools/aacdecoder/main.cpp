// aacdecoder: decodes the ADTS frames the player hands over through the shared segment
// and hands back interleaved signed 16-bit PCM. It waits on semaphore 1, acts, and
// raises semaphore 0; it ends on the stop request, when the player goes away, or when
// it is killed.

#include "aacdecoder.h"

#include <neaacdec.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/ipc.h>
#include <sys/sem.h>
#include <sys/shm.h>
#include <unistd.h>

using namespace AacProtocol;

namespace {

int g_semaphores = -1;
int32_t* g_words = nullptr;
char* g_data = nullptr;
pid_t g_parent = 0;
bool g_private = false; // the player's own objects, by id

// Input collected from the player; a frame is at most 8191 bytes.
unsigned char g_input[32768];
int g_inputLength = 0;

void raise(int semaphore)
{
    sembuf op = {static_cast<unsigned short>(semaphore), 1, 0};
    while (semop(g_semaphores, &op, 1) != 0 && errno == EINTR) {
    }
}

// Waits for our turn; false when the player asked us to stop or is gone.
bool waitTurn()
{
    for (;;) {
        sembuf op = {static_cast<unsigned short>(DecoderSemaphore), -1, 0};
        timespec timeout = {1, 0};
        if (semtimedop(g_semaphores, &op, 1, &timeout) == 0)
            return g_words[StopWord] == 0;
        if (errno == EAGAIN || errno == EINTR) {
            if (getppid() != g_parent) {
                // The player is gone without letting go of the semaphores it made for us.
                if (g_private)
                    semctl(g_semaphores, 0, IPC_RMID);
                return false;
            }
            continue;
        }
        return false; // the semaphore set was removed
    }
}

// Hands the player one message and waits for the answer.
bool turn(int state, int length)
{
    g_words[LengthWord] = length;
    g_words[StateWord] = state;
    raise(PlayerSemaphore);
    return waitTurn();
}

bool deliver(const char* pcm, int bytes)
{
    while (bytes > 0) {
        const int n = bytes < DataSize ? bytes : DataSize;
        std::memcpy(g_data, pcm, n);
        if (!turn(Output, n))
            return false;
        pcm += n;
        bytes -= n;
    }
    return true;
}

bool askForInput()
{
    const int room = static_cast<int>(sizeof g_input) - g_inputLength;
    const int ask = room < DataSize ? room : DataSize;
    if (!turn(WantInput, ask))
        return false;
    int got = g_words[LengthWord];
    if (got < 0)
        got = 0;
    if (got > ask)
        got = ask;
    std::memcpy(g_input + g_inputLength, g_data, got);
    g_inputLength += got;
    return true;
}

void drop(int n)
{
    std::memmove(g_input, g_input + n, g_inputLength - n);
    g_inputLength -= n;
}

// Length of the ADTS frame at the start of the input: >0 a whole frame is there, 0 more
// bytes are needed, -1 the start is not a frame (one byte is skipped).
int frameAtStart()
{
    if (g_inputLength >= 1 && g_input[0] != 0xff)
        return -1;
    if (g_inputLength >= 2 && (g_input[1] & 0xf6) != 0xf0)
        return -1;
    if (g_inputLength < 7)
        return 0;
    const int length = (g_input[3] & 3) << 11 | g_input[4] << 3 | g_input[5] >> 5;
    if (length < 7)
        return -1;
    return g_inputLength >= length ? length : 0;
}

} // namespace

int main()
{
    g_parent = getppid();
    // The player hands over the ids of the objects it made for us alone; a key file is
    // for tests and tools that watch the segment from outside.
    const char* segmentId = std::getenv(SegmentIdVariable);
    const char* semaphoresId = std::getenv(SemaphoresIdVariable);
    const char* keyFile = std::getenv(KeyFileVariable);
    int segment = -1;
    if (segmentId && semaphoresId && !(keyFile && *keyFile)) {
        g_private = true;
        segment = std::atoi(segmentId);
        g_semaphores = std::atoi(semaphoresId);
    } else {
        if (!keyFile || !*keyFile)
            keyFile = DefaultKeyFile;
        const key_t key = ftok(keyFile, KeyCharacter);
        g_semaphores = key == -1 ? -1 : semget(key, 2, 0);
        segment = key == -1 ? -1 : shmget(key, SegmentSize, 0);
    }
    void* address = segment >= 0 && g_semaphores >= 0 ? shmat(segment, nullptr, 0) : reinterpret_cast<void*>(-1);
    if (address == reinterpret_cast<void*>(-1)) {
        std::fprintf(stderr, "aacdecoder: no shared memory: %s\n", std::strerror(errno));
        return 1;
    }
    g_words = static_cast<int32_t*>(address);
    g_data = static_cast<char*>(address) + DataOffset;

    // The player tells the output format it announced: the channel count, and whether
    // the track signals SBR (then the decoder doubles the rate; otherwise SBR found in the
    // frames is decoded at the core rate, so the rate stays the one in the frame headers).
    const char* channelsText = std::getenv("QUAVRIX_AAC_CHANNELS");
    const int wantedChannels = channelsText ? std::atoi(channelsText) : 0;
    const char* upsample = std::getenv("QUAVRIX_AAC_UPSAMPLE");

    NeAACDecHandle decoder = NeAACDecOpen();
    NeAACDecConfigurationPtr config = NeAACDecGetCurrentConfiguration(decoder);
    config->outputFormat = FAAD_FMT_16BIT;
    config->downMatrix = 0;
    config->dontUpSampleImplicitSBR = upsample && *upsample == '1' ? 0 : 1;
    NeAACDecSetConfiguration(decoder, config);
    bool initialised = false;
    bool started = false;  // the decoder has produced PCM
    int frameSamples = upsample && *upsample == '1' ? 2048 : 1024; // per channel
    static const int16_t silence[2048 * 8] = {};

    for (;;) {
        const int length = frameAtStart();
        if (length < 0) {
            drop(1);
            continue;
        }
        if (length == 0) {
            if (!askForInput())
                break;
            continue;
        }
        const int channelConfig = (g_input[2] & 1) << 2 | g_input[3] >> 6;
        const int channels = wantedChannels > 0 ? wantedChannels : (channelConfig == 7 ? 8 : channelConfig);
        if (!initialised) {
            unsigned long rate = 0;
            unsigned char decoderChannels = 0;
            if (channels < 1 || channels > 8 || NeAACDecInit(decoder, g_input, length, &rate, &decoderChannels) < 0) {
                // Every frame carries the same configuration: one the decoder refuses
                // will not decode later either. Report the end and wait to be stopped.
                std::fprintf(stderr, "aacdecoder: the stream's configuration cannot be decoded\n");
                turn(Finished, 0);
                break;
            }
            initialised = true;
        }
        NeAACDecFrameInfo info;
        std::memset(&info, 0, sizeof info);
        const auto* pcm = static_cast<const int16_t*>(NeAACDecDecode(decoder, &info, g_input, length));
        drop(length);
        if (info.error || !pcm || info.samples == 0 || info.channels == 0) {
            // A frame that does not decode, like the first one that only primes the
            // decoder, still takes its time: a frame of silence keeps the output in step
            // with the frames given, and decoding goes on with the next frame.
            if ((info.error || !pcm || !started)
                && !deliver(reinterpret_cast<const char*>(silence), frameSamples * channels * 2))
                break;
            continue;
        }
        started = true;
        frameSamples = static_cast<int>(info.samples / info.channels);
        if (frameSamples > 2048)
            frameSamples = 2048;
        int bytes = static_cast<int>(info.samples) * 2;
        if (channels == 1 && info.channels == 2) {
            // A mono stream comes out of the decoder as two equal channels: keep one.
            static int16_t mono[2048];
            const int frames = static_cast<int>(info.samples / 2);
            for (int i = 0; i < frames && i < 2048; ++i)
                mono[i] = pcm[2 * i];
            pcm = mono;
            bytes = frames * 2;
        }
        if (!deliver(reinterpret_cast<const char*>(pcm), bytes))
            break;
    }

    NeAACDecClose(decoder);
    shmdt(address);
    return 0;
}
