#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

// The shared-memory protocol between the player and the AAC decoder program. Both sides
// include this header: the layout is fixed, the program is a separate executable.
namespace AacProtocol {
constexpr int SegmentSize = 65536;
constexpr int StateWord = 0;    // 0 idle, 1 wants input, 2 delivers PCM, 3 finished
constexpr int LengthWord = 1;   // bytes asked for / given (state 1), PCM bytes (state 2)
constexpr int StopWord = 2;     // set by the player when it closes
constexpr int FinishedWord = 3; // set by the player once it has seen state 3
constexpr int DataOffset = 28;  // bytes
constexpr int DataSize = SegmentSize - DataOffset;
enum State { Idle = 0, WantInput = 1, Output = 2, Finished = 3 };
constexpr int PlayerSemaphore = 0;  // the player waits on it for its turn
constexpr int DecoderSemaphore = 1; // the decoder program waits on it
constexpr char KeyCharacter = 'A';
constexpr const char* DefaultKeyFile = "/tmp/snd_dec";
constexpr const char* KeyFileVariable = "QUAVRIX_AAC_KEYFILE";
// The player hands the program the ids of the segment and the semaphore set it made.
constexpr const char* SegmentIdVariable = "QUAVRIX_AAC_SHMID";
constexpr const char* SemaphoresIdVariable = "QUAVRIX_AAC_SEMID";
} // namespace AacProtocol

// The player's end of the connection to the AAC decoder program: hands it compressed
// frames (each with its ADTS header) and collects the PCM it returns.
//
// The segment and the semaphore set are this object's own: made without a key, readable
// and writable by this user only, and their ids handed to the program, so two players
// never share them and nobody else can read or write them. The segment is marked for
// removal as soon as it is attached (it goes when the last process lets go of it, crash
// or not), the semaphore set when this object goes or, should the player die first, by
// the program. With QUAVRIX_AAC_KEYFILE set (tests and tools that watch the segment from
// outside) they are keyed from that file and left in place.
class AACDecoder
{
public:
    AACDecoder();
    virtual ~AACDecoder();

    // Attaches the shared segment and the semaphores (creating them if needed) and
    // resets both for a new track. Starts nothing.
    virtual void init();

    // Gives inLength bytes to the decoder program, collecting into out (at most
    // outCapacity bytes) whatever PCM it delivers meanwhile; *outLength is the amount.
    // Returns inLength. The program is started on the first call.
    virtual int decode(char* out, int* outLength, const char* in, int inLength,
                       int outCapacity);

    // Collects the PCM the program still holds after the last frame was given.
    virtual void drain(char* out, int* outLength, int outCapacity);

    // Asks the program to stop and ends it.
    virtual void close();

    // True once the program reported the end, or died, or stopped answering: no more
    // PCM will come for this track.
    bool finished() const;
    bool usable() const { return m_segment != nullptr; }
    pid_t process() const { return m_process; }
    int bytesGiven() const { return m_bytesGiven; }
    int bytesReceived() const { return m_bytesReceived; }

    // The program's path: $QUAVRIX_AACDECODER, else the device path when it exists,
    // else "aacdecoder" beside the running executable.
    static std::string programPath();
    // The key file: $QUAVRIX_AAC_KEYFILE; empty when the objects are private.
    static std::string keyFile();
    // Removes the segment and semaphore set of the current key (tests clean up with it).
    static void removeSharedObjects();

    // The PCM format the program must deliver: channels, and whether the stream signals
    // SBR (output at twice the core rate). Given to the program when it starts.
    void setOutputFormat(int channels, bool upsample) { m_channels = channels; m_upsample = upsample; }

    // How long one wait for the program's turn may take before it counts as hung.
    // Two seconds unless set: a decoder program that stops answering ends its track
    // promptly, not after the user has given up on it.
    static void setTurnTimeoutMs(int ms);
    static int turnTimeoutMs();

private:
    int32_t* words() const { return static_cast<int32_t*>(m_segment); }
    char* data() const { return static_cast<char*>(m_segment) + AacProtocol::DataOffset; }
    bool start();
    void stopProcess();
    bool waitForTurn();
    void giveTurn();
    void fail(const char* why);
    void takeOutput(char* out, int* outLength, int outCapacity);

    bool createSharedObjects();

    void* m_segment = nullptr;
    int m_segmentId = -1;
    int m_semaphores = -1;
    bool m_private = false;
    int m_bytesGiven = 0;
    int m_bytesReceived = 0;
    pid_t m_process = -1;
    bool m_failed = false;
    int m_channels = 0;
    bool m_upsample = false;
};
