#pragma once

#include <QString>

class Decoder;

// The decoder class for a MIME type: Ogg Vorbis for "audio/ogg", MP4 for
// "audio/quicktime", FLAC for "audio/flac", Opus for "audio/opus", MP3 for "audio/mpeg"
// and for every other type. Never null; the caller owns it.
Decoder* createDecoder(const QString& mimeType);

// Replaces the factory (tests play decoders of their own); null restores the real one.
using DecoderFactoryFunction = Decoder* (*)(const QString& mimeType);
void setDecoderFactory(DecoderFactoryFunction f);
