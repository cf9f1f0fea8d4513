#include "decoderfactory.h"

#include "decoder.h"
#include "mp4decoder.h"
#include "nulldecoder.h"
#include "oggdecoder.h"

Decoder* createDecoder(const QString& mimeType)
{
    // Formats are added here as their decoders are built.
    if (mimeType == QLatin1String("audio/ogg"))
        return new OggDecoder;
    if (mimeType == QLatin1String("audio/quicktime"))
        return new Mp4Decoder;
    return new NullDecoder(mimeType);
}
