// quavrix-decode [-o OUT] [--wav] [--seek SECONDS] [--native] [-v] FILE
// quavrix-decode --info FILE
// quavrix-decode --bench N FILE

#include "audioinfo.h"
#include "decoder.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "playinfo.h"
#include "regularfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr int BlockSize = LoopControl::BlockSize;
bool g_verbose = false;

void messageHandler(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg && !g_verbose)
        return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int usage()
{
    std::fprintf(stderr,
                 "usage: quavrix-decode [-o OUT] [--wav] [--seek SECONDS] [--native] [-v] FILE\n"
                 "       quavrix-decode --info FILE\n"
                 "       quavrix-decode --bench N FILE\n");
    return 2;
}

int fail(const QString& file, const char* what)
{
    std::fprintf(stderr, "quavrix-decode: %s: %s\n", QFile::encodeName(file).constData(), what);
    return 1;
}

void putLe(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i) & 0xff));
}

QByteArray wavHeader(const PlayInfo& info, int64_t dataBytes)
{
    const uint32_t data = dataBytes < 0 || dataBytes > 0xffffffffLL - 36 ? 0xffffffffu - 36 : uint32_t(dataBytes);
    QByteArray h("RIFF");
    putLe(h, data + 36, 4);
    h.append("WAVEfmt ");
    putLe(h, 16, 4);
    putLe(h, 1, 2);
    putLe(h, uint32_t(info.channels), 2);
    putLe(h, uint32_t(info.rate), 4);
    putLe(h, uint32_t(info.rate * info.channels * 2), 4);
    putLe(h, uint32_t(info.channels * 2), 2);
    putLe(h, 16, 2);
    h.append("data");
    putLe(h, data, 4);
    return h;
}

double cpuSeconds()
{
    rusage self {}, children {};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime)
        + seconds(children.ru_stime);
}

// A regular file that opens; a FIFO, a directory or a device is not read at all.
bool readable(const QString& file)
{
    return RegularFile::isReadable(file);
}

// Whether the decoder finds sound in the file: a first block of PCM.
bool hasAudio(Decoder* decoder, const QString& file)
{
    if (!decoder->open(file, nullptr))
        return false;
    char block[BlockSize];
    PlayInfo info;
    int produced = 0;
    decoder->decode(block, BlockSize, &produced, &info);
    decoder->close();
    return produced > 0;
}

int runInfo(const QString& file)
{
    if (!readable(file))
        return fail(file, "cannot read the file");
    if (MimeType(file).id().isEmpty())
        return fail(file, "not an audio file");
    LoopControl control;
    std::unique_ptr<AudioInfo> info(LoopControl::readTrackInfo(control.decoderFor(file), file));
    if (!info)
        return fail(file, "cannot read the track information");
    if (!hasAudio(control.decoderFor(file), file))
        return fail(file, "not an audio file");
    std::printf("file: %s\ntitle: %s\nartist: %s\nalbum: %s\nyear: %d\ntrack: %d\n", info->fileName,
                info->title.c_str(), info->artist.c_str(), info->album.c_str(), info->year, info->track);
    std::printf("type: %s\n", qPrintable(MimeType(file).id()));
    // ReplayGain as read (dB relative to -18 LUFS; peaks of full scale).
    if (info->gains & AudioInfo::TrackGain)
        std::printf("track gain: %.2f dB, peak %.6f\n", info->trackGain / 100.0, info->trackPeak / 1e6);
    if (info->gains & AudioInfo::AlbumGain)
        std::printf("album gain: %.2f dB, peak %.6f\n", info->albumGain / 100.0, info->albumPeak / 1e6);
    return 0;
}

int runBench(const QString& file, int runs)
{
    if (!readable(file))
        return fail(file, "cannot read the file");
    {
        // Bring the file into the page cache so every run reads from memory.
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        while (!f.read(1 << 20).isEmpty()) {
        }
    }
    LoopControl control;
    Decoder* decoder = control.decoderFor(file);
    char block[BlockSize];
    double audioSeconds = 0;
    const double cpuStart = cpuSeconds();
    for (int run = 0; run < runs; ++run) {
        if (!decoder->open(file, nullptr))
            return fail(file, "cannot decode the file");
        PlayInfo info;
        int produced = 0;
        int64_t bytes = 0;
        for (;;) {
            decoder->decode(block, BlockSize, &produced, &info);
            if (produced <= 0)
                break;
            bytes += produced;
        }
        decoder->close();
        if (info.rate > 0 && info.channels > 0)
            audioSeconds += double(bytes) / (double(info.rate) * info.channels * 2);
    }
    const double cpu = cpuSeconds() - cpuStart;
    if (audioSeconds <= 0)
        return fail(file, "no audio decoded");
    std::printf("speed=%.1f\n", cpu > 0 ? audioSeconds / cpu : 0.0);
    return 0;
}

int runDecode(const QString& file, const QString& outName, bool wav, int seekSeconds, bool native)
{
    if (!readable(file))
        return fail(file, "cannot read the file");
    LoopControl control;
    Decoder* decoder = control.decoderFor(file);
    decoder->setNativeRate(native);
    if (!decoder->open(file, nullptr))
        return fail(file, "cannot decode the file");

    FILE* out = stdout;
    if (!outName.isEmpty() && outName != QLatin1String("-")) {
        out = std::fopen(QFile::encodeName(outName).constData(), "wb");
        if (!out)
            return fail(outName, "cannot write the output");
    }
    if (seekSeconds >= 0)
        decoder->seek(seekSeconds);

    char block[BlockSize];
    PlayInfo info;
    int produced = 0;
    int64_t bytes = 0;
    bool headerWritten = false;
    bool writeFailed = false;
    for (;;) {
        decoder->decode(block, BlockSize, &produced, &info);
        if (produced <= 0)
            break;
        if (wav && !headerWritten) {
            const QByteArray header = wavHeader(info, -1);
            writeFailed |= std::fwrite(header.constData(), 1, size_t(header.size()), out) != size_t(header.size());
            headerWritten = true;
        }
        writeFailed |= std::fwrite(block, 1, size_t(produced), out) != size_t(produced);
        if (writeFailed)
            break;
        bytes += produced;
    }
    decoder->close();
    if (wav && headerWritten && std::fseek(out, 0, SEEK_SET) == 0) {
        const QByteArray header = wavHeader(info, bytes);
        std::fwrite(header.constData(), 1, size_t(header.size()), out);
    }
    if (std::fflush(out) != 0)
        writeFailed = true;
    if (out != stdout)
        std::fclose(out);
    if (writeFailed)
        return fail(outName.isEmpty() ? QStringLiteral("-") : outName, "write failed");
    if (bytes == 0)
        return fail(file, "no audio decoded");
    std::fprintf(stderr, "rate=%d channels=%d bytes=%lld length=%d\n", info.rate, info.channels,
                 static_cast<long long>(bytes), info.length);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(messageHandler);
    QStringList args = app.arguments();
    args.removeFirst();

    QString outName, file;
    bool wav = false, native = false, info = false;
    int seekSeconds = -1, benchRuns = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* v) {
            if (i + 1 >= args.size())
                return false;
            *v = args[++i];
            return true;
        };
        QString v;
        bool ok = true;
        if (a == QLatin1String("-o")) {
            ok = value(&outName);
        } else if (a == QLatin1String("--wav")) {
            wav = true;
        } else if (a == QLatin1String("--native")) {
            native = true;
        } else if (a == QLatin1String("--info")) {
            info = true;
        } else if (a == QLatin1String("-v")) {
            g_verbose = true;
        } else if (a == QLatin1String("--seek")) {
            ok = value(&v);
            seekSeconds = ok ? v.toInt(&ok) : -1;
            ok = ok && seekSeconds >= 0;
        } else if (a == QLatin1String("--bench")) {
            ok = value(&v);
            benchRuns = ok ? v.toInt(&ok) : 0;
            ok = ok && benchRuns > 0;
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1 && file.isEmpty() && i + 1 < args.size()) {
            ok = false;
        } else if (file.isEmpty()) {
            file = a;
        } else {
            ok = false;
        }
        if (!ok)
            return usage();
    }
    if (file.isEmpty())
        return usage();
    if (info)
        return runInfo(file);
    if (benchRuns > 0)
        return runBench(file, benchRuns);
    return runDecode(file, outName, wav, seekSeconds, native);
}
