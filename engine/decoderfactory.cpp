#include "decoderfactory.h"

#include "decoder.h"
#include "flacdecoder.h"
#include "mp3decoder.h"
#include "mp4decoder.h"
#include "oggdecoder.h"
#include "opusdecoder.h"

namespace {
DecoderFactoryFunction g_factory = nullptr;
}

void setDecoderFactory(DecoderFactoryFunction f)
{
    g_factory = f;
}

Decoder* createDecoder(const QString& mimeType)
{
    if (g_factory)
        return g_factory(mimeType);
    if (mimeType == QLatin1String("audio/ogg"))
        return new OggDecoder;
    if (mimeType == QLatin1String("audio/quicktime"))
        return new Mp4Decoder;
    if (mimeType == QLatin1String("audio/flac"))
        return new FlacDecoder;
    if (mimeType == QLatin1String("audio/opus"))
        return new OpusDecoder;
    return new Mp3Decoder; // "audio/mpeg" and every type without a decoder of its own
}
