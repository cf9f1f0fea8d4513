#pragma once

#include <cstdint>

// How the stream is playing; refreshed by every decode call.
struct PlayInfo
{
    int32_t channels = 0; // channels of the delivered PCM
    int32_t rate = 0;     // Hz of the delivered PCM
    int32_t bitrate = 0;  // bits per second of the compressed stream
    int32_t length = 0;   // seconds
    int32_t range = 0;    // seconds, slider maximum
    int32_t position = 0; // seconds, the decoder's own position
};
