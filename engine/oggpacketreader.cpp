#include "oggpacketreader.h"

#include <QIODevice>

#include <cstring>

namespace {
constexpr int PageHeaderSize = 27;
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
} // namespace

OggPacketReader::OggPacketReader(QIODevice* file, int64_t maxBytes)
    : m_file(file)
    , m_left(maxBytes)
{
}

bool OggPacketReader::readPage()
{
    // Pages of other streams, interleaved with ours, are read past.
    for (;;) {
        uint8_t h[PageHeaderSize];
        if (m_left < PageHeaderSize || m_file->read(reinterpret_cast<char*>(h), PageHeaderSize) != PageHeaderSize)
            return false;
        if (std::memcmp(h, "OggS", 4) != 0 || h[4] != 0)
            return false;
        m_segments = h[26];
        if (m_file->read(reinterpret_cast<char*>(m_lacing), m_segments) != m_segments)
            return false;
        int bodySize = 0;
        for (int i = 0; i < m_segments; ++i)
            bodySize += m_lacing[i];
        m_left -= PageHeaderSize + m_segments + bodySize;
        if (m_left < 0)
            return false;
        m_body = m_file->read(bodySize);
        if (m_body.size() != bodySize)
            return false;
        const uint32_t serial = le32(h + 14);
        if (m_first) {
            m_serial = serial;
            m_first = false;
        }
        if (serial == m_serial) {
            m_segment = 0;
            m_at = 0;
            return true;
        }
    }
}

bool OggPacketReader::next(QByteArray* packet, int maxPacket)
{
    packet->clear();
    while (!m_stopped) {
        if (m_segment == m_segments && !readPage())
            break;
        while (m_segment < m_segments) {
            const int n = m_lacing[m_segment++];
            if (packet->size() + n > maxPacket) {
                m_stopped = true;
                return false;
            }
            packet->append(m_body.constData() + m_at, n);
            m_at += n;
            // A value under 255 ends the packet; 255 at a page's end continues it on the next.
            if (n < 255)
                return true;
        }
    }
    m_stopped = true;
    return false;
}
