// Reads every file's track information many times through the decoder the player would
// use, and prints the cost per call for each format. Any format the factory knows is
// measured, so MP3 files show up as soon as there is an MP3 decoder.

#include "audioinfo.h"
#include "decoder.h"
#include "loopcontrol.h"
#include "mimetype.h"
#include "mp4sampletable.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <tremor/ivorbisfile.h>
#ifdef QUAVRIX_HAVE_LQT
extern "C" {
#include <lqt/lqt.h>
#include <lqt/quicktime.h>
}
#endif

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

void quiet(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}


// Microseconds per call of f over all files, repeated runs times.
double perCall(const QStringList& files, int runs, const std::function<bool(const QString&)>& f, int* failures)
{
    *failures = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < runs; ++r)
        for (const QString& file : files)
            if (!f(file))
                ++*failures;
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / (double(runs) * files.size());
}

bool tremorOpen(const QString& file)
{
    FILE* f = std::fopen(QFile::encodeName(file).constData(), "r");
    if (!f)
        return false;
    OggVorbis_File vf;
    if (ov_open(f, &vf, nullptr, 0) != 0) {
        std::fclose(f);
        return false;
    }
    ov_comment(&vf, -1);
    ov_clear(&vf);
    return true;
}

bool sampleTableOpen(const QString& file)
{
    Mp4SampleTable::Track track;
    return Mp4SampleTable::read(file, &track);
}

#ifdef QUAVRIX_HAVE_LQT
void quietLqt(lqt_log_level_t, const char*, const char*, void*) {}

// What playback's open cost with libquicktime: the open and the first frame.
bool quicktimeOpen(const QString& file)
{
    quicktime_t* qt = quicktime_open(QFile::encodeName(file).constData(), 1, 0);
    if (!qt)
        return false;
    lqt_packet_t packet = {};
    const bool read = lqt_read_audio_packet(qt, &packet, 0);
    lqt_packet_free(&packet);
    quicktime_close(qt);
    return read;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
#ifdef QUAVRIX_HAVE_LQT
    lqt_set_log_callback(quietLqt, nullptr);
#endif
    QStringList args = app.arguments().mid(1);
    int runs = 200;
    if (args.size() >= 2 && args.first() == QLatin1String("--runs")) {
        runs = qMax(1, args.at(1).toInt());
        args = args.mid(2);
    }
    if (args.isEmpty())
        args << QStringLiteral(QUAVRIX_TEST_DATA);

    QMap<QString, QStringList> byType;
    for (const QString& arg : args) {
        QStringList candidates;
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                candidates << it.next();
        } else {
            candidates << arg;
        }
        for (const QString& file : candidates) {
            const QString mime = MimeType(file).id();
            if (!mime.isEmpty())
                byType[mime] << file;
        }
    }

    LoopControl control;
    std::printf("readTrackInfo, microseconds per file (%d runs over each file set)\n", runs);
    for (auto it = byType.cbegin(); it != byType.cend(); ++it) {
        const QStringList& files = it.value();
        int failures = 0;
        const double ours = perCall(files, runs, [&](const QString& file) {
            std::unique_ptr<AudioInfo> info(LoopControl::readTrackInfo(control.decoderFor(file), file));
            return info != nullptr;
        }, &failures);
        std::printf("%-16s files=%-3d readTrackInfo=%8.1f us", qPrintable(it.key()), int(files.size()), ours);
        if (failures)
            std::printf(" (%d unreadable)", failures / runs);
        int refFailures = 0;
        if (it.key() == QLatin1String("audio/quicktime")) {
            const double tables = perCall(files, runs, sampleTableOpen, &refFailures);
            std::printf("  playback open (sample tables)=%8.1f us", tables);
#ifdef QUAVRIX_HAVE_LQT
            const double ref = perCall(files, runs, quicktimeOpen, &refFailures);
            std::printf("  libquicktime open+frame=%8.1f us  ratio=%.3g", ref, tables / ref);
#endif
        } else if (it.key() == QLatin1String("audio/ogg")) {
            const double ref = perCall(files, runs, tremorOpen, &refFailures);
            std::printf("  Tremor open=%8.1f us  ratio=%.2f", ref, ours / ref);
        }
        std::printf("\n");
    }
    return 0;
}
