#pragma once

#include <QString>

class Decoder;

// The decoder class for a MIME type: Ogg for "audio/ogg", MP4 for "audio/quicktime",
// MP3 for "audio/mpeg" and for every other type. Never null; the caller owns it.
Decoder* createDecoder(const QString& mimeType);

// Replaces the factory (tests play decoders of their own); null restores the real one.
using DecoderFactoryFunction = Decoder* (*)(const QString& mimeType);
void setDecoderFactory(DecoderFactoryFunction f);
