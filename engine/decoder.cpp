#include "decoder.h"

Decoder::~Decoder() = default;

int64_t Decoder::seek(int)
{
    return -1;
}
