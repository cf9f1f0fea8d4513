#include "mp3decoder.h"

#include "audioinfo.h"
#include "mp3/mp3stream.h"
#include "playinfo.h"
#include "regularfile.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

// Samples by which a Layer III decoder delays the encoded signal.
constexpr int kDecoderDelay = 529;
// Bytes of main data that a frame can take from the frames before it.
constexpr int kReservoirBytes = 512;

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
    setWindow();
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

void Mp3Decoder::readEncoderGains(const QString& file, AudioInfo* info)
{
    QFile f(file);
    if (!RegularFile::open(f))
        return;
    // The encoder's tag is in the first frame: a few kilobytes after the ID3 tags.
    if (!f.seek(id3v2Size(file)))
        return;
    const QByteArray buf = f.read(4096);
    const auto* b = reinterpret_cast<const uint8_t*>(buf.constData());
    const int n = int(buf.size());
    for (int i = 0; i + 4 <= n; ++i) {
        mp3::FrameHeader fh;
        if (b[i] != 0xFF || !mp3::parseHeader(b + i, fh))
            continue;
        int x = i + 4 + fh.sideInfoSize;
        if (x + 8 <= n && std::memcmp(b + x, "Xing", 4) != 0 && std::memcmp(b + x, "Info", 4) != 0 && !fh.protection)
            x += 2;
        if (x + 8 > n || (std::memcmp(b + x, "Xing", 4) != 0 && std::memcmp(b + x, "Info", 4) != 0))
            return;
        const uint32_t flags = be32(b + x + 4);
        const int p = x + 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0) + ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
        // "LAME3.100": the peak (9.23 fixed point) 11 bytes in, then the radio (track) and
        // audiophile (album) gains: name 3 bits, originator 3, sign 1, tenths of a dB 9.
        if (p + 19 > n || std::memcmp(b + p, "LAME", 4) != 0)
            return;
        const uint32_t peak = be32(b + p + 11);
        for (int k = 0; k < 2; ++k) {
            const int v = b[p + 15 + 2 * k] << 8 | b[p + 16 + 2 * k];
            const int name = v >> 13 & 7, originator = v >> 10 & 7;
            const int32_t centiDb = (v & 0x1FF) * 10 * ((v >> 9 & 1) ? -1 : 1);
            if (originator == 0 || (name != 1 && name != 2))
                continue;
            const int32_t micro = int32_t(qMin<uint64_t>(uint64_t(peak) * 1000000 / (1u << 23), 100000000));
            if (name == 1) {
                info->trackGain = centiDb;
                info->trackPeak = micro;
                info->gains |= AudioInfo::TrackGain;
            } else {
                info->albumGain = centiDb;
                info->albumPeak = micro;
                info->gains |= AudioInfo::AlbumGain;
            }
        }
        return;
    }
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

        m_mpeg2 = !fh.version;
        m_samplesPerFrame = fh.granules * 576;
        m_frameOverhead = 4 + fh.sideInfoSize + (fh.protection ? 0 : 2);

        // Xing/Info header after the side information, or VBRI 32 bytes after the header
        // (encoders differ on whether a CRC moves it)
        auto isXing = [&](int at) {
            return at + 8 <= n && (std::memcmp(b + at, "Xing", 4) == 0 || std::memcmp(b + at, "Info", 4) == 0);
        };
        int x = i + 4 + fh.sideInfoSize;
        if (!isXing(x) && !fh.protection)
            x += 2;
        int64_t frames = -1;
        int64_t bytes = 0;
        bool encoderTag = false;
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
            p += (flags & 4) ? 100 : 0; // table of contents: seeks use the frames themselves
            p += (flags & 8) ? 4 : 0;   // quality
            // The encoder's tag: a 9-byte version string, then 12 bits of delay and 12 of
            // padding 21 bytes in.
            auto asciiAlnum = [](uint8_t c) {
                return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            };
            if (p + 24 <= n && std::all_of(b + p, b + p + 4, asciiAlnum)) {
                m_encoderDelay = b[p + 21] << 4 | b[p + 22] >> 4;
                m_encoderPadding = (b[p + 22] & 15) << 8 | b[p + 23];
                encoderTag = true;
            }
            m_xingFrame = m_audioStart + i;
        } else if (i + 36 + 18 <= n && std::memcmp(b + i + 36, "VBRI", 4) == 0) {
            bytes = be32(b + i + 36 + 10);
            frames = be32(b + i + 36 + 14);
            m_xingFrame = m_audioStart + i;
        }
        // Counts that the file cannot hold (every frame takes at least the bytes of the
        // lowest bit rate) are not believed.
        const int smallestFrame = mp3::frameLengthFor(fh.version, fh.version ? 32 : 8, fh.sampleRate);
        if (frames > 0 && frames * smallestFrame > m_audioBytes)
            frames = -1;
        if (bytes <= 0 || bytes > m_audioBytes)
            bytes = m_audioBytes - i;
        if (frames > 0) {
            const int64_t samples = frames * m_samplesPerFrame;
            m_length = int32_t(samples / fh.sampleRate);
            // the average bit rate, when the header's figures are believable
            const int64_t average = bytes * 8 * fh.sampleRate / samples;
            if (average >= 8000 && average <= 640000)
                m_firstBitrate = int32_t(average);
            if (encoderTag) {
                m_gapless = true;
                m_streamSamples = samples;
                int64_t start, end;
                trimmedRange(start, end);
                m_length = int32_t((end - start) / fh.sampleRate);
            }
        } else {
            m_length = m_firstBitrate > 0 ? int32_t(m_audioBytes * 8 / m_firstBitrate) : 0;
        }
        break;
    }
    setWindow();
    m_range = m_length;
    return true;
}

// Samples of the stream (at its own rate, from the first audio frame on) that are played:
// the decoder delays the signal by kDecoderDelay beyond the encoder's delay, so the start
// moves by both and the end by what is left of the padding.
void Mp3Decoder::trimmedRange(int64_t& start, int64_t& end) const
{
    start = std::min<int64_t>(m_encoderDelay + kDecoderDelay, m_streamSamples);
    end = std::max(start, m_streamSamples - std::max(0, m_encoderPadding - kDecoderDelay));
}

void Mp3Decoder::setWindow()
{
    if (!m_gapless) {
        m_begin = 0;
        m_end = INT64_MAX;
        return;
    }
    int64_t start, end;
    trimmedRange(start, end);
    // upsampled output also lags by the interpolation filter's delay
    const bool up = m_mpeg2 && !m_native;
    const int64_t lag = up ? mp3::Stream::kUpsampleDelay : 0;
    m_begin = start * (up ? 2 : 1) + lag;
    m_end = end * (up ? 2 : 1) + lag;
}

bool Mp3Decoder::open(const QString& file, AudioInfo* info)
{
    close();
    m_firstBitrate = m_firstRate = m_firstChannels = 0;
    m_length = m_range = 0;
    m_audioStart = m_audioBytes = 0;
    m_xingFrame = -1;
    m_mpeg2 = false;
    m_samplesPerFrame = m_frameOverhead = 0;
    m_gapless = false;
    m_encoderDelay = m_encoderPadding = 0;
    m_streamSamples = 0;
    m_frames.clear();
    m_indexed = false;
    m_fileName = file;
    if (info) {
        if (!readId3v1(file, info))
            return false;
        readEncoderGains(file, info);
        return true;
    }

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
    m_next = 0;
    m_drained = false;
    m_fileName.clear();
}

bool Mp3Decoder::buildIndex()
{
    if (m_indexed)
        return true;
    auto scan = std::make_unique<mp3::Stream>();
    if (!scan->open(QFile::encodeName(m_fileName).constData(), m_audioStart, m_xingFrame))
        return false;
    m_frames.clear();
    scan->scanFrames(m_frames);
    m_indexed = true;
    return true;
}

int64_t Mp3Decoder::targetSample(int seconds) const
{
    const int64_t t = m_begin + int64_t(std::max(seconds, 0)) * m_firstRate;
    return std::min(t, m_end);
}

int64_t Mp3Decoder::outputSamplesPerFrame() const
{
    return int64_t(m_samplesPerFrame) * (m_mpeg2 && !m_native ? 2 : 1);
}

int64_t Mp3Decoder::seekOffset(int seconds)
{
    if (m_fileName.isEmpty() || outputSamplesPerFrame() == 0 || !buildIndex() || m_frames.empty())
        return -1;
    const int64_t frame = targetSample(seconds) / outputSamplesPerFrame();
    return frame < int64_t(m_frames.size()) ? int64_t(m_frames[size_t(frame)]) : m_audioStart + m_audioBytes;
}

int64_t Mp3Decoder::seek(int seconds)
{
    if (m_fileName.isEmpty() || m_firstBitrate == 0 || outputSamplesPerFrame() == 0 || !buildIndex())
        return -1;
    const int64_t target = targetSample(seconds);
    const int64_t count = int64_t(m_frames.size());
    const int64_t frame = std::min(target / outputSamplesPerFrame(), count);
    // Decoding starts a few frames early and drops their sound: the frame before the
    // target (two for MPEG-2's single granule) must decode with its main data in the
    // reservoir and leave the overlap and synthesis history as a decode from the start
    // would.
    int64_t first = frame;
    int64_t held = 0;
    const int settle = m_mpeg2 ? 3 : 2;
    while (first > 0 && (frame - first < settle || held < kReservoirBytes)) {
        --first;
        const int64_t next = first + 1 < count ? int64_t(m_frames[size_t(first + 1)]) : m_audioStart + m_audioBytes;
        if (frame - first > settle)
            held += std::max<int64_t>(0, next - int64_t(m_frames[size_t(first)]) - m_frameOverhead);
    }
    const QString file = m_fileName;
    close();
    const int64_t offset = first < count ? int64_t(m_frames[size_t(first)]) : m_audioStart + m_audioBytes;
    if (!m_stream->open(QFile::encodeName(file).constData(), offset, m_xingFrame, first))
        return -1;
    m_fileName = file;
    m_next = target;
    m_bytesOut = (target - m_begin) * 4;
    return m_bytesOut;
}

bool Mp3Decoder::nextFrame(PlayInfo* info)
{
    m_pcmLeft = m_pcmOffset = 0;
    for (;;) {
        int bytes = m_stream->readFrame();
        bool tail = false;
        if (bytes == 0 && m_next < m_end && m_gapless && !m_drained) {
            bytes = m_stream->drainUpsampler();
            m_drained = tail = true;
        }
        if (bytes <= 0)
            break;
        // the part of this frame inside the played window and not yet delivered; of the
        // filter's tail only what the trimmed window moved past the last frame
        const int64_t count = bytes / 4;
        const int64_t first = m_stream->frameNumber() * count;
        const int64_t from = std::max({first, m_next, m_begin});
        const int64_t to = std::min(first + (tail ? mp3::Stream::kUpsampleDelay : count), m_end);
        if (first >= m_end)
            break;
        if (from < to) {
            m_pcmOffset = int32_t(from - first) * 4;
            m_pcmLeft = int32_t(to - from) * 4;
            m_next = to;
            break;
        }
    }
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
