// Decoding speed of Mp3Decoder against libmad and libmpg123 on the same files in one run,
// and accuracy against libmpg123's output.
//   quavrix-mp3bench [--rounds N] file.mp3 ...

#include "../../tests/engine/mp3/mp3reference.h"

#include "mp3/transforms.h"

#include <QFile>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef QUAVRIX_HAVE_MAD
#include <mad.h>
#endif

namespace {

#ifdef QUAVRIX_HAVE_MAD
std::vector<unsigned char> readFile(const char* path)
{
    std::vector<unsigned char> data;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return data;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    std::fclose(f);
    data.insert(data.end(), MAD_BUFFER_GUARD, 0); // lets libmad decode the last frame
    return data;
}
#endif

double cpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Times one pass of rounds decodes, in CPU seconds (the machine is shared: CPU time is
// steadier than wall time).
template <typename F>
double timeRounds(F decodeOnce, int rounds)
{
    const double t0 = cpuSeconds();
    for (int i = 0; i < rounds; ++i)
        decodeOnce();
    return cpuSeconds() - t0;
}

volatile int64_t g_sink;

int64_t runQuavrix(const QString& file)
{
    Mp3Decoder d;
    d.setNativeRate(true);
    d.open(file, nullptr);
    PlayInfo info;
    static char block[2048];
    int produced = 0;
    int64_t total = 0;
    while (d.decode(block, sizeof block, &produced, &info) && produced > 0)
        total += produced;
    g_sink = total;
    return total;
}

// The plain transforms (what a processor without vectors runs) against the AVX2 ones and
// the fastest this processor has, on the same inputs, alternating: time ratios for each.
void compareTransforms()
{
    struct Set
    {
        mp3::SynthWindowFn window;
        mp3::Dct32Fn dct;
        mp3::LongSubbandFn imdct;
    };
    auto pick = [](const char* simd) {
        if (simd)
            qputenv("QUAVRIX_MP3_SIMD", simd);
        const Set set{mp3::synthWindowFunction(), mp3::dct32Function(), mp3::longSubbandFunction()};
        qunsetenv("QUAVRIX_MP3_SIMD");
        return set;
    };
    const Set sets[3] = {pick("plain"), pick("avx2"), pick(nullptr)};
    if (sets[1].window == mp3::synthWindowPlain) {
        std::printf("transforms: no AVX2 on this processor\n");
        return;
    }
    // music-like magnitudes: sub-band samples up to 2^27, history up to 2^28
    alignas(64) static int32_t ring[16][64], X[32][24], ov[32][24], out[32][24];
    alignas(64) static int16_t pcm[64];
    uint32_t r = 1;
    auto next = [&r](int bits) { r = r * 1664525u + 1013904223u; return int32_t(r) >> (32 - bits); };
    for (auto& v : ring)
        for (int32_t& x : v)
            x = next(29);
    for (int sb = 0; sb < 32; ++sb)
        for (int t = 0; t < 24; ++t) {
            X[sb][t] = t < 18 ? next(28) : 0;
            ov[sb][t] = 0;
        }
    int32_t V[64];
    const int n = 20000;
    auto window = [&](mp3::SynthWindowFn f) { for (int i = 0; i < n; ++i) f(ring, i & 15, pcm, i & 1); };
    auto dct = [&](mp3::Dct32Fn f) { for (int i = 0; i < n; ++i) { f(&X[0][i % 18], 24, V); g_sink += V[i & 63]; } };
    auto imdct = [&](mp3::LongSubbandFn f) { for (int i = 0; i < n; ++i) f(X[i & 31], i & 3, ov[i & 31], out[i & 31], i & 1); };
    double best[3][3];
    for (auto& b : best)
        std::fill(b, b + 3, 1e30);
    for (int batch = 0; batch < 7; ++batch) {
        for (int k = 0; k < 3; ++k) {
            best[k][0] = std::min(best[k][0], timeRounds([&] { window(sets[k].window); }, 10));
            best[k][1] = std::min(best[k][1], timeRounds([&] { dct(sets[k].dct); }, 10));
            best[k][2] = std::min(best[k][2], timeRounds([&] { imdct(sets[k].imdct); }, 10));
        }
    }
    std::printf("transforms, time plain / AVX2 (best of 7 interleaved batches): synthesis window %.2f, "
                "synthesis DCT %.2f, long-block IMDCT %.2f\n",
                best[0][0] / best[1][0], best[0][1] / best[1][1], best[0][2] / best[1][2]);
    if (sets[2].window != sets[1].window)
        std::printf("transforms, time AVX2 / 512-bit: synthesis window %.2f, synthesis DCT %.2f, long-block IMDCT %.2f\n",
                    best[1][0] / best[2][0], best[1][1] / best[2][1], best[1][2] / best[2][2]);
}

int64_t runMpg123(const char* file)
{
    mp3ref::Pcm pcm;
    mp3ref::decodeMpg123(file, pcm);
    g_sink = int64_t(pcm.samples.size());
    return g_sink;
}

#ifdef QUAVRIX_HAVE_MAD
inline int16_t madScale(mad_fixed_t s)
{
    s += (1L << (MAD_F_FRACBITS - 16));
    if (s >= MAD_F_ONE)
        s = MAD_F_ONE - 1;
    else if (s < -MAD_F_ONE)
        s = -MAD_F_ONE;
    return int16_t(s >> (MAD_F_FRACBITS + 1 - 16));
}

int64_t runMad(const std::vector<unsigned char>& data, std::vector<int16_t>* keep = nullptr)
{
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
    mad_stream_buffer(&stream, data.data(), data.size());
    static int16_t out[1152 * 2];
    int64_t total = 0;
    for (;;) {
        if (mad_frame_decode(&frame, &stream) != 0) {
            if (MAD_RECOVERABLE(stream.error))
                continue;
            break;
        }
        mad_synth_frame(&synth, &frame);
        const unsigned n = synth.pcm.length;
        const mad_fixed_t* l = synth.pcm.samples[0];
        const mad_fixed_t* r = synth.pcm.channels > 1 ? synth.pcm.samples[1] : l;
        for (unsigned i = 0; i < n; ++i) {
            out[2 * i] = madScale(l[i]);
            out[2 * i + 1] = madScale(r[i]);
        }
        total += n * 4;
        if (keep)
            keep->insert(keep->end(), out, out + 2 * n);
    }
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    g_sink = total;
    return total;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    int rounds = 20;
    bool dump = false;
    int profile = 0;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--profile"))
            profile = 1; // decodes with Mp3Decoder only (for callgrind)
        else if (!std::strcmp(argv[i], "--profile-mad"))
            profile = 2;
        else if (!std::strcmp(argv[i], "--profile-mpg123"))
            profile = 3;
        else if (!std::strcmp(argv[i], "--dump"))
            dump = true; // writes file.quavrix.raw and file.mpg123.raw for inspection
        else
            files.push_back(argv[i]);
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s [--rounds N] file.mp3 ...\n", argv[0]);
        return 2;
    }
    if (profile) {
        for (const char* file : files)
            for (int i = 0; i < rounds; ++i) {
                if (profile == 1)
                    runQuavrix(QFile::decodeName(file));
#ifdef QUAVRIX_HAVE_MAD
                else if (profile == 2)
                    runMad(readFile(file));
#endif
                else
                    runMpg123(file);
            }
        return 0;
    }
    bool allAccurate = true;
    if (rounds > 0)
        compareTransforms();
    for (const char* file : files) {
        const QString qfile = QFile::decodeName(file);
        mp3ref::Pcm ours, ref;
        if (!mp3ref::decodeQuavrix(qfile, true, ours) || !mp3ref::decodeMpg123(file, ref)) {
            std::printf("%s: cannot decode\n", file);
            allAccurate = false;
            continue;
        }
        const mp3ref::Accuracy acc = mp3ref::compare(ours.samples, ref.samples);
        if (dump) {
            for (auto [suffix, pcm] : {std::make_pair(".quavrix.raw", &ours), std::make_pair(".mpg123.raw", &ref)}) {
                if (FILE* f = std::fopen((std::string(file) + suffix).c_str(), "wb")) {
                    std::fwrite(pcm->samples.data(), 2, pcm->samples.size(), f);
                    std::fclose(f);
                }
            }
#ifdef QUAVRIX_HAVE_MAD
            std::vector<int16_t> mad;
            runMad(readFile(file), &mad);
            if (FILE* f = std::fopen((std::string(file) + ".mad.raw").c_str(), "wb")) {
                std::fwrite(mad.data(), 2, mad.size(), f);
                std::fclose(f);
            }
#endif
        }
        const double seconds = ref.rate ? double(ref.samples.size()) / 2 / ref.rate : 0;
        std::printf("%s: %.2f s at %d Hz\n", file, seconds, ref.rate);
        std::printf("  accuracy vs libmpg123: RMS %.4f LSB, max %d LSB over %lld samples (lengths %lld/%lld): %s\n",
                    acc.rmsLsb, acc.maxLsb, (long long)acc.compared, (long long)acc.lengthA,
                    (long long)acc.lengthB, acc.fullAccuracy() ? "full accuracy" : "NOT full accuracy");
        allAccurate = allAccurate && acc.fullAccuracy();

        if (rounds <= 0)
            continue;
        // The decoders take turns, batch after batch, so that changes in the machine's
        // load hit all of them alike; each keeps its best batch.
#ifdef QUAVRIX_HAVE_MAD
        const std::vector<unsigned char> data = readFile(file);
#endif
        double best[5] = {1e30, 1e30, 1e30, 1e30, 1e30};
        runQuavrix(qfile);
        runMpg123(file);
        for (int batch = 0; batch < 7; ++batch) {
            best[0] = std::min(best[0], timeRounds([&] { runQuavrix(qfile); }, rounds));
            qputenv("QUAVRIX_MP3_SIMD", "plain");
            best[3] = std::min(best[3], timeRounds([&] { runQuavrix(qfile); }, rounds));
            qputenv("QUAVRIX_MP3_SIMD", "avx2");
            best[4] = std::min(best[4], timeRounds([&] { runQuavrix(qfile); }, rounds));
            qunsetenv("QUAVRIX_MP3_SIMD");
            best[1] = std::min(best[1], timeRounds([&] { runMpg123(file); }, rounds));
#ifdef QUAVRIX_HAVE_MAD
            best[2] = std::min(best[2], timeRounds([&] { runMad(data); }, rounds));
#endif
        }
        const double q = seconds * rounds / best[0];
        const double m = seconds * rounds / best[1];
        const double plain = seconds * rounds / best[3];
        const double avx2 = seconds * rounds / best[4];
        std::printf("  speed (x real time, best of 7 interleaved batches): Quavrix %.0f (at most AVX2 %.0f, plain %.0f), "
                    "libmpg123 %.0f", q, avx2, plain, m);
#ifdef QUAVRIX_HAVE_MAD
        const double mad = seconds * rounds / best[2];
        std::printf(", libmad %.0f\n", mad);
        std::printf("  ratios: Quavrix/libmad %.2f, Quavrix/libmpg123 %.2f (at most AVX2 %.2f)\n", q / mad, q / m, avx2 / m);
#else
        std::printf("\n  ratios: Quavrix/libmpg123 %.2f (at most AVX2 %.2f) (libmad not found)\n", q / m, avx2 / m);
#endif
    }
    return allAccurate ? 0 : 1;
}
