#pragma once

// What the decoder tests share: fixtures, scratch files, whole-file decoding, PCM
// comparison and playback through the controller.

#include "audioinfo.h"
#include "decoder.h"
#include "loopcontrol.h"
#include "playinfo.h"
#include "testmain.h"

#include <QSignalSpy>

#include <cstdlib>
#include <cstring>
#include <vector>

// A file under tests/data, e.g. fixture("mp3/vbr.mp3").
inline QString fixture(const char* path)
{
    return QStringLiteral(QUAVRIX_TEST_DATA "/") + QLatin1String(path);
}

inline QByteArray readFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes a scratch file in the test's own folder and returns its path.
inline QString writeFile(const QString& name, const QByteArray& bytes)
{
    const QString path = quavrixTestRoot() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A 32-bit big-endian field, and an MP4 atom around a body (its length counts itself).
inline QByteArray be32(uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(b, 4);
}

inline QByteArray atom(const QByteArray& type, const QByteArray& body)
{
    return be32(uint32_t(8 + body.size())) + type + body;
}

// Makes every page checksum of an edited Ogg stream good again, so that only the edit
// differs (polynomial 0x04c11db7, no reflection, zero start, over the page with its
// checksum field zeroed).
inline void fixOggChecksums(QByteArray& data)
{
    for (int pos = 0; pos + 27 <= data.size() && data.mid(pos, 4) == "OggS";) {
        auto* p = reinterpret_cast<uint8_t*>(data.data() + pos);
        int length = 27 + p[26];
        for (int i = 0; i < p[26]; ++i)
            length += p[27 + i];
        if (pos + length > data.size())
            return;
        std::memset(p + 22, 0, 4);
        uint32_t crc = 0;
        for (int i = 0; i < length; ++i) {
            crc ^= uint32_t(p[i]) << 24;
            for (int k = 0; k < 8; ++k)
                crc = crc & 0x80000000u ? crc << 1 ^ 0x04c11db7u : crc << 1;
        }
        for (int k = 0; k < 4; ++k)
            p[22 + k] = uint8_t(crc >> (8 * k));
        pos += length;
    }
}

// A track record as text: title|artist|album|year|track|isUtf8.
inline QByteArray describe(const AudioInfo& i)
{
    return QByteArray(i.title) + '|' + i.artist + '|' + i.album + '|' + QByteArray::number(i.year) + '|'
        + QByteArray::number(i.track) + '|' + QByteArray::number(i.isUtf8);
}

// Everything an opened decoder delivers in blocks of the given size.
inline QByteArray decodeAll(Decoder& d, PlayInfo* info = nullptr, int block = 2048, int maxCalls = 1 << 30)
{
    QByteArray out;
    std::vector<char> buffer(size_t(block), 0);
    PlayInfo scratch;
    int produced = 0;
    for (int i = 0; i < maxCalls && d.decode(buffer.data(), block, &produced, info ? info : &scratch) && produced > 0; ++i)
        out.append(buffer.data(), produced);
    return out;
}

inline const int16_t* samples(const QByteArray& pcm)
{
    return reinterpret_cast<const int16_t*>(pcm.constData());
}

// The largest difference between two 16-bit PCM streams over their common length.
inline int maxDifference(const QByteArray& a, const QByteArray& b)
{
    int worst = 0;
    for (int i = 0; i < qMin(a.size(), b.size()) / 2; ++i)
        worst = qMax(worst, std::abs(int(samples(a)[i]) - int(samples(b)[i])));
    return worst;
}

// Plays a file through the controller to its end, with the ReplayGain options given;
// *device gets what reached the device (the file QUAVRIX_DSP names). False when it did
// not finish in time.
inline bool playThroughLoopControl(const QString& file, int timeoutMs, QByteArray* device, QByteArray* title = nullptr,
                                   const ReplayGain::Options& gain = {})
{
    const QString dsp = qEnvironmentVariable("QUAVRIX_DSP");
    QFile::remove(dsp);
    LoopControl control;
    control.setReplayGain(gain);
    QSignalSpy finished(&control, &LoopControl::finished);
    QObject::connect(&control, &LoopControl::setTrackDescription, [&](AudioInfo* info) {
        if (title)
            *title = info->title;
    });
    if (!control.open(file))
        return false;
    control.play();
    if (finished.isEmpty() && !finished.wait(timeoutMs))
        return false;
    control.stop();
    *device = readFile(dsp);
    return true;
}
