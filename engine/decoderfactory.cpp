#include "decoderfactory.h"

#include "decoder.h"
#include "nulldecoder.h"

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
    // Formats are added here as their decoders are built.
    return new NullDecoder(mimeType);
}
