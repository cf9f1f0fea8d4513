#pragma once

// What the decoder tests share: fixtures, scratch files, whole-file decoding, PCM
// comparison, playback through the controller and scripts for the fake AAC decoder.

#include "audioinfo.h"
#include "decoder.h"
#include "loopcontrol.h"
#include "playinfo.h"
#include "testmain.h"

#include <QSignalSpy>

#include <cstdlib>
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

// Opens and decodes a whole file; empty when it does not open.
inline QByteArray decodeFile(Decoder&& d, const QString& file, int block = 2048)
{
    return d.open(file, nullptr) ? decodeAll(d, nullptr, block) : QByteArray();
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

// Plays a file through the controller to its end; *device gets what reached the device
// (the file QUAVRIX_DSP names). False when it did not finish in time.
inline bool playThroughLoopControl(const QString& file, int timeoutMs, QByteArray* device, QByteArray* title = nullptr)
{
    const QString dsp = qEnvironmentVariable("QUAVRIX_DSP");
    QFile::remove(dsp);
    LoopControl control;
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

// The script the fake AAC decoder program follows (see mp4/fakeaacdecoder.cpp), next to
// the key file the environment names.
inline void writeAacScript(const QStringList& steps)
{
    QFile script(QFile::decodeName(qgetenv("QUAVRIX_AAC_KEYFILE")) + QStringLiteral(".script"));
    if (!script.open(QIODevice::WriteOnly))
        qFatal("cannot write the script");
    script.write(steps.join(QLatin1Char('\n')).toUtf8() + '\n');
}
