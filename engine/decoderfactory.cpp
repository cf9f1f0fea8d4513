#include "decoderfactory.h"

#include "decoder.h"
#include "nulldecoder.h"

Decoder* createDecoder(const QString& mimeType)
{
    // Formats are added here as their decoders are built.
    return new NullDecoder(mimeType);
}
