#pragma once

#include "decoder.h"

// A decoder for a type nothing can play: every open fails.
class NullDecoder : public Decoder
{
public:
    explicit NullDecoder(const QString& mime) : m_mime(mime) {}
    QString mimeType() const override { return m_mime; }
    bool open(const QString&, AudioInfo*) override { return false; }
    void close() override {}
    bool decode(char*, int, int* produced, PlayInfo*) override { *produced = 0; return false; }

private:
    QString m_mime;
};
