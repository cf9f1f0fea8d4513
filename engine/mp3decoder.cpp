#include "mp3decoder.h"

#include "audioinfo.h"
#include "mp3/mp3stream.h"
#include "playinfo.h"
#include "regularfile.h"

#include <QFile>
#include <cstring>

namespace {

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Reads up to n bytes at offset; returns how many were read.
int64_t readAt(QFile& f, int64_t offset, uint8_t* dst, int64_t n)
{
    if (!f.seek(offset))
        return 0;
    return f.read(reinterpret_cast<char*>(dst), n);
}

} // namespace

Mp3Decoder::Mp3Decoder()
    : m_stream(new mp3::Stream)
{
}

Mp3Decoder::~Mp3Decoder() = default;

QString Mp3Decoder::mimeType() const
{
    return QStringLiteral("audio/mpeg");
}

void Mp3Decoder::setNativeRate(bool native)
{
    m_native = native;
    m_stream->setNativeRate(native);
}

bool Mp3Decoder::readId3v1(const QString& file, AudioInfo* info)
{
    QFile f(file);
    if (!RegularFile::open(f))
        return false;
    char tag[128] = {};
    const qint64 size = f.size();
    bool valid = size >= 128 && f.seek(size - 128) && f.read(tag, 128) == 128 && std::memcmp(tag, "TAG", 3) == 0;
    if (!valid)
        std::memset(tag, 0, sizeof tag);
    AudioInfo::setText(info->title, QByteArray(tag + 3, 30), false);
    AudioInfo::setText(info->artist, QByteArray(tag + 33, 30), false);
    AudioInfo::setText(info->album, QByteArray(tag + 63, 30), false);
    int year = 0;
    for (int i = 93; i < 97 && tag[i] >= '0' && tag[i] <= '9'; ++i)
        year = year * 10 + (tag[i] - '0');
    info->year = year;
    info->track = static_cast<unsigned char>(tag[126]);
    return true;
}

int64_t Mp3Decoder::id3v2Size(const QString& file)
{
    QFile f(file);
    if (!RegularFile::open(f))
        return 0;
    int64_t offset = 0;
    for (;;) {
        uint8_t h[10];
        if (readAt(f, offset, h, 10) != 10 || std::memcmp(h, "ID3", 3) != 0 || h[3] == 0xFF || h[4] == 0xFF)
            break;
        if ((h[6] | h[7] | h[8] | h[9]) & 0x80)
            break;
        const int64_t size = int64_t(h[6]) << 21 | int64_t(h[7]) << 14 | int64_t(h[8]) << 7 | h[9];
        offset += 10 + size + ((h[5] & 0x10) ? 10 : 0);
    }
    // A tag that claims more than the file holds lies: the frames are searched for from
    // the start instead.
    return offset > f.size() ? 0 : offset;
}

// Finds the first frame, its bit rate and a Xing/Info or VBRI header.
bool Mp3Decoder::probe(const QByteArray& path)
{
    QFile f(QString::fromLocal8Bit(path));
    if (!RegularFile::open(f))
        return false;
    const int64_t fileSize = f.size();
    m_audioStart = id3v2Size(QString::fromLocal8Bit(path));
    int64_t end = fileSize;
    {
        uint8_t tag[3];
        if (fileSize >= 128 && readAt(f, fileSize - 128, tag, 3) == 3 && std::memcmp(tag, "TAG", 3) == 0)
            end -= 128;
    }
    m_audioBytes = end > m_audioStart ? end - m_audioStart : 0;

    // The first header that is followed by another of the same stream starts the audio.
    const int64_t scanLimit = std::min<int64_t>(fileSize, m_audioStart + 256 * 1024);
    QByteArray buf;
    {
        f.seek(m_audioStart);
        buf = f.read(scanLimit - m_audioStart);
    }
    const uint8_t* b = reinterpret_cast<const uint8_t*>(buf.constData());
    const int n = buf.size();
    for (int i = 0; i + 4 <= n; ++i) {
        mp3::FrameHeader fh;
        if (b[i] != 0xFF || !mp3::parseHeader(b + i, fh))
            continue;
        int len = mp3::frameLength(fh);
        if (len == 0) {
            // free format: the distance to the next header of the same stream
            for (int j = i + 4 + fh.sideInfoSize; j + 4 <= n && j < i + mp3::Stream::kMaxFrame; ++j) {
                mp3::FrameHeader nh;
                if (b[j] == 0xFF && mp3::parseHeader(b + j, nh) && nh.version == fh.version
                    && nh.sampleIndex == fh.sampleIndex && nh.bitrateIndex == 0) {
                    len = j - i;
                    break;
                }
            }
            if (len == 0)
                continue;
        }
        if (i + len + 4 <= n) {
            mp3::FrameHeader nh;
            if (!mp3::parseHeader(b + i + len, nh) || nh.version != fh.version || nh.sampleIndex != fh.sampleIndex)
                continue;
        }
        const int kbps = fh.bitrate ? fh.bitrate : (len - fh.padding) * fh.sampleRate / (fh.version ? 144000 : 72000);
        m_firstBitrate = kbps * 1000;
        m_firstRate = (fh.version || m_native) ? fh.sampleRate : 2 * fh.sampleRate;
        m_firstChannels = 2;

        // Xing/Info header after the side information, or VBRI 32 bytes after the header
        const int samplesPerFrame = fh.granules * 576;
        // (encoders differ on whether a CRC moves it)
        auto isXing = [&](int at) {
            return at + 8 <= n && (std::memcmp(b + at, "Xing", 4) == 0 || std::memcmp(b + at, "Info", 4) == 0);
        };
        int x = i + 4 + fh.sideInfoSize;
        if (!isXing(x) && !fh.protection)
            x += 2;
        int64_t frames = -1;
        int64_t bytes = 0;
        if (isXing(x)) {
            const uint32_t flags = be32(b + x + 4);
            int p = x + 8;
            if ((flags & 1) && p + 4 <= n) {
                frames = be32(b + p);
                p += 4;
            }
            if ((flags & 2) && p + 4 <= n) {
                bytes = be32(b + p);
                p += 4;
            }
            if ((flags & 4) && p + 100 <= n) {
                std::memcpy(m_toc, b + p, 100);
                m_hasToc = true;
            }
            m_xingFrame = m_audioStart + i;
        } else if (i + 36 + 18 <= n && std::memcmp(b + i + 36, "VBRI", 4) == 0) {
            bytes = be32(b + i + 36 + 10);
            frames = be32(b + i + 36 + 14);
            m_xingFrame = m_audioStart + i;
        }
        if (m_xingFrame >= 0) {
            if (bytes <= 0 || bytes > m_audioBytes)
                bytes = m_audioBytes - i;
            m_tocBytes = bytes;
        }
        if (frames > 0) {
            const int64_t samples = frames * samplesPerFrame;
            m_length = int32_t(samples / fh.sampleRate);
            // the average bit rate, when the header's figures are believable
            const int64_t average = bytes * 8 * fh.sampleRate / samples;
            if (average >= 8000 && average <= 640000)
                m_firstBitrate = int32_t(average);
        } else {
            m_length = m_firstBitrate > 0 ? int32_t(m_audioBytes * 8 / m_firstBitrate) : 0;
        }
        break;
    }
    m_range = m_length;
    return true;
}

bool Mp3Decoder::open(const QString& file, AudioInfo* info)
{
    close();
    m_firstBitrate = m_firstRate = m_firstChannels = 0;
    m_length = m_range = 0;
    m_audioStart = m_audioBytes = m_tocBytes = 0;
    m_xingFrame = -1;
    m_hasToc = false;
    m_fileName = file;
    if (info)
        return readId3v1(file, info);

    const QByteArray path = QFile::encodeName(file);
    if (!probe(path)) {
        m_fileName.clear();
        return false;
    }
    m_fileName = file;
    if (!m_stream->open(path.constData(), m_audioStart, m_xingFrame)) {
        m_fileName.clear();
        return false;
    }
    return true;
}

void Mp3Decoder::close()
{
    m_stream->close();
    m_pcmLeft = m_pcmOffset = 0;
    m_bytesOut = 0;
    m_fileName.clear();
}

int64_t Mp3Decoder::seekOffset(int seconds) const
{
    if (seconds < 0)
        seconds = 0;
    if (m_hasToc && m_length > 0) {
        // percentage table of the Xing header, interpolated
        const int64_t permille = int64_t(seconds) * 1000 / m_length;
        if (permille >= 1000)
            return m_audioStart + m_audioBytes;
        const int idx = int(permille / 10);
        const int64_t a = m_toc[idx];
        const int64_t bb = idx < 99 ? m_toc[idx + 1] : 256;
        const int64_t scaled = a * 10 + (bb - a) * (permille % 10); // in 1/2560 of the bytes
        return m_xingFrame + scaled * m_tocBytes / 2560;
    }
    return m_audioStart + int64_t(seconds) * (m_firstBitrate / 8);
}

int64_t Mp3Decoder::seek(int seconds)
{
    if (m_fileName.isEmpty() || m_firstBitrate == 0)
        return -1;
    if (seconds < 0)
        seconds = 0;
    const QString file = m_fileName;
    close();
    m_bytesOut = int64_t(m_firstRate) * seconds * 4;
    const QByteArray path = QFile::encodeName(file);
    if (!m_stream->open(path.constData(), seekOffset(seconds), m_xingFrame))
        return -1;
    m_fileName = file;
    return m_bytesOut;
}

bool Mp3Decoder::nextFrame(PlayInfo* info)
{
    m_pcmLeft = m_stream->readFrame();
    m_pcmOffset = 0;
    const mp3::FrameHeader& h = m_stream->header();
    info->channels = 2;
    info->bitrate = h.bitrate ? h.bitrate * 1000 : m_firstBitrate;
    info->rate = m_stream->outputRate();
    info->length = m_length;
    info->range = m_range;
    return m_pcmLeft > 0;
}

bool Mp3Decoder::decode(char* buffer, int size, int* produced, PlayInfo* info)
{
    *produced = 0;
    if (size <= 0 || !buffer)
        return false;
    if (m_pcmLeft == 0 && !nextFrame(info))
        return false;
    const char* pcm = reinterpret_cast<const char*>(m_stream->pcm());
    for (;;) {
        const int n = qMin(size, m_pcmLeft);
        std::memcpy(buffer + *produced, pcm + m_pcmOffset, size_t(n));
        *produced += n;
        m_pcmOffset += n;
        size -= n;
        m_pcmLeft -= n;
        // The stream may end inside the block: what was filled is still the track's
        // sound, so it is delivered; the next call reports the end.
        const bool ended = size > 0 && m_pcmLeft == 0 && !nextFrame(info);
        if (size == 0 || ended) {
            m_bytesOut += *produced;
            if (info->rate && info->channels)
                info->position = int32_t(m_bytesOut / info->rate / 4);
            return true;
        }
    }
}
