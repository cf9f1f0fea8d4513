// What the adapters cost: FlacDecoder and OpusDecoder against libFLAC and opusfile called
// directly (decoding to 16-bit PCM the same way, without the adapter's buffering), on the
// same files in one process, alternating, best of several passes. Prints times real time
// for each and the adapter's speed relative to the library's.
#include "decoder.h"
#include "flacdecoder.h"
#include "opusdecoder.h"
#include "playinfo.h"

#include <FLAC/stream_decoder.h>
#include <opusfile.h>

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
volatile int g_sink = 0;

// Seconds of sound an adapter decodes, and the time it took.
double viaAdapter(Decoder& d, const QString& file, double* seconds)
{
    QElapsedTimer t;
    t.start();
    if (!d.open(file, nullptr))
        return -1;
    char block[2048];
    PlayInfo info;
    int produced = 0;
    int64_t bytes = 0;
    while (d.decode(block, sizeof block, &produced, &info) && produced > 0) {
        bytes += produced;
        g_sink += block[0];
    }
    d.close();
    *seconds = double(bytes) / (2.0 * qMax(1, info.channels) * qMax(1, info.rate));
    return t.nsecsElapsed() / 1e9;
}

FLAC__StreamDecoderWriteStatus writeFlac(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                         const FLAC__int32* const buffer[], void* out)
{
    auto* pcm = static_cast<std::vector<int16_t>*>(out);
    const int shift = int(frame->header.bits_per_sample) - 16;
    for (unsigned i = 0; i < frame->header.blocksize; ++i)
        for (unsigned c = 0; c < frame->header.channels; ++c)
            pcm->push_back(int16_t(shift > 0 ? buffer[c][i] >> shift : buffer[c][i] << -shift));
    g_sink += pcm->empty() ? 0 : pcm->back();
    pcm->clear();
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}
void flacError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

double viaLibFlac(const QString& file)
{
    QElapsedTimer t;
    t.start();
    std::vector<int16_t> pcm;
    pcm.reserve(65536 * 8);
    FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
    FLAC__stream_decoder_init_file(d, QFile::encodeName(file).constData(), writeFlac, nullptr, flacError, &pcm);
    FLAC__stream_decoder_process_until_end_of_stream(d);
    FLAC__stream_decoder_delete(d);
    return t.nsecsElapsed() / 1e9;
}

double viaOpusfile(const QString& file)
{
    QElapsedTimer t;
    t.start();
    OggOpusFile* f = op_open_file(QFile::encodeName(file).constData(), nullptr);
    std::vector<float> buf(5760 * 2 * 8);
    int n;
    while ((n = op_read_float(f, buf.data(), int(buf.size()), nullptr)) > 0) {
        for (int i = 0; i < n * op_channel_count(f, -1); ++i)
            g_sink += int(std::lround(buf[size_t(i)] * 32768.0f));
    }
    op_free(f);
    return t.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    if (files.isEmpty())
        files = {QStringLiteral(QUAVRIX_TEST_DATA "/flac/stereo16.flac"), QStringLiteral(QUAVRIX_TEST_DATA "/flac/hires24.flac"),
                 QStringLiteral(QUAVRIX_TEST_DATA "/opus/stereo.opus"), QStringLiteral(QUAVRIX_TEST_DATA "/opus/mono.opus")};
    std::printf("%-28s %12s %12s %8s\n", "file", "adapter x RT", "library x RT", "ratio");
    for (const QString& file : files) {
        const bool opus = file.endsWith(QLatin1String(".opus"));
        double bestAdapter = 1e9, bestLibrary = 1e9, seconds = 0;
        for (int pass = 0; pass < 15; ++pass) {
            FlacDecoder flac;
            OpusDecoder op;
            bestAdapter = std::min(bestAdapter, viaAdapter(opus ? static_cast<Decoder&>(op) : flac, file, &seconds));
            bestLibrary = std::min(bestLibrary, opus ? viaOpusfile(file) : viaLibFlac(file));
        }
        std::printf("%-28s %12.0f %12.0f %8.2f\n", qPrintable(file.section(QLatin1Char('/'), -1)), seconds / bestAdapter,
                    seconds / bestLibrary, bestLibrary / bestAdapter);
    }
    return 0;
}
