#include "decoderfactory.h"

#include "decoder.h"
#include "mp3decoder.h"
#include "nulldecoder.h"

Decoder* createDecoder(const QString& mimeType)
{
    // Formats are added here as their decoders are built.
    Q_UNUSED(mimeType);
    return new Mp3Decoder; // "audio/mpeg" and every type without a decoder of its own
}
