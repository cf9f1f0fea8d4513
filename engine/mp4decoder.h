#pragma once

#include "decoder.h"

#include <memory>

// AAC in MP4 files: the container is read in this process (libquicktime for the frames,
// our own walk for the tags); the frames are decoded by the separate AAC decoder program,
// reached through AACDecoder.
class Mp4Decoder : public Decoder
{
public:
    Mp4Decoder();
    ~Mp4Decoder() override;

    QString mimeType() const override;
    bool open(const QString& file, AudioInfo* info) override;
    void close() override;
    int64_t seek(int seconds) override;
    bool decode(char* buffer, int size, int* produced, PlayInfo* info) override;

    struct State;

private:
    std::unique_ptr<State> d;
};
