#pragma once

// The frames of an MP3 stream found by walking its headers: an independent count for the
// tests to check the decoder's framing, lengths and seeks against.

#include "mp3/layer3.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// Offset and length of every frame with a table bit rate.
inline QList<QPair<int, int>> frames(const QByteArray& data)
{
    QList<QPair<int, int>> result;
    const uint8_t* b = reinterpret_cast<const uint8_t*>(data.constData());
    for (int i = 0; i + 4 <= data.size();) {
        mp3::FrameHeader h;
        const int len = mp3::parseHeader(b + i, h) ? mp3::frameLength(h) : 0;
        if (len == 0) {
            ++i;
            continue;
        }
        result.append({i, len});
        i += len;
    }
    return result;
}
