#pragma once

#include <QString>

class Decoder;

// The decoder class for a MIME type: Ogg for "audio/ogg", MP4 for "audio/quicktime",
// MP3 for "audio/mpeg" and for every other type. Never null; the caller owns it.
Decoder* createDecoder(const QString& mimeType);
