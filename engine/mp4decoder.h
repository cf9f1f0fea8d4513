#pragma once

#include "decoder.h"

#include <memory>

// AAC in MP4 files: the container is read in this process (the sample tables of
// mp4sampletable for the frames, the atom walk of mp4atoms for the tags); the frames are
// decoded by the separate AAC decoder program, reached through AACDecoder. A frame that
// cannot be carried becomes a frame of silence; frames past the end of a cut-short file
// are not there, the track ends before them.
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
