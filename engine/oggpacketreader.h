#pragma once

#include <QByteArray>

#include <cstdint>

class QIODevice;

// The packets of the first logical stream of an Ogg file, reassembled from its pages, for
// reading the header packets at its start. Reads page by page; a page's size comes from
// its lacing values (at most 65025 bytes), never from a claimed length. Stops at maxBytes
// of the file, so endless or lying pages cannot make it read on or allocate more.
class OggPacketReader
{
public:
    // file is read from its current position, which should be a page start.
    OggPacketReader(QIODevice* file, int64_t maxBytes);

    // The next packet; false when the file ends, a page is damaged, the byte limit is
    // reached or the packet would pass maxPacket bytes (the reader then stays stopped).
    bool next(QByteArray* packet, int maxPacket);

private:
    bool readPage();

    QIODevice* m_file;
    int64_t m_left;
    bool m_first = true;
    bool m_stopped = false;
    uint32_t m_serial = 0;
    QByteArray m_body;
    uint8_t m_lacing[255] = {};
    int m_segments = 0;
    int m_segment = 0; // the next lacing value of the page to take
    int m_at = 0;      // where its bytes start in m_body
};
