// How the player keeps up with big collections: for play lists and libraries of the sizes
// given, the time of one Next (in order and in random order) in the real window, of
// storing the session as a close does, of filling the library's track list, and the memory
// the entries take. The tracks are files of one tiny track each, played by a decoder that
// produces a second of silence, so only the lists' own work is measured.
#include "testdecoders.h"

#include "audioinfo.h"
#include "config.h"
#include "loopcontrol.h"
#include "medialibrary.h"
#include "playlist.h"
#include "settingskeys.h"
#include "vrxplayerwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {
long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

Catalogue makeRecords(const QString& folder, int n)
{
    Catalogue records;
    records.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        // Every hundredth a file of its own, the rest share them: stat() sees real files.
        const QString file = folder + QStringLiteral("/t%1.mp3").arg(i % 100);
        auto r = std::make_unique<AudioInfo>(makeTags(qPrintable(QStringLiteral("Title %1").arg(i)),
                                                      qPrintable(QStringLiteral("Artist %1").arg(i % 300)),
                                                      qPrintable(QStringLiteral("Album %1").arg(i % 1500)), 1990 + i % 30, i % 20));
        r->setFileName(QFile::encodeName(QStringLiteral("%1/t%2.mp3").arg(folder).arg(i)));
        Q_UNUSED(file);
        records.push_back(std::move(r));
    }
    return records;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/data"));
    qputenv("QUAVRIX_DOCUMENTS", QFile::encodeName(home.path() + "/none"));
    // No sound device: playback paced by the clock, as on a machine without sound.
    qputenv("QUAVRIX_DSP", QFile::encodeName(home.path() + "/none/dsp"));
    QApplication app(argc, argv);
    app.setObjectName(QStringLiteral("Quavrix"));
    setDecoderFactory(makePatternDecoder);
    QList<int> sizes;
    int presses = 20;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--presses" && i + 1 < argc)
            presses = QByteArray(argv[++i]).toInt();
        else
            sizes << QByteArray(argv[i]).toInt();
    }
    if (sizes.isEmpty())
        sizes = {1000, 20000, 100000};

    const QString music = home.path() + QStringLiteral("/music");
    QDir().mkpath(music);
    std::printf("%8s %10s %10s %10s %10s %10s %10s\n", "entries", "next ms", "random ms", "close ms", "fill ms",
                "list MB", "lib MB");
    for (int n : sizes) {
        for (int i = 0; i < n; ++i) {
            QFile f(music + QStringLiteral("/t%1.mp3").arg(i));
            if (!f.exists() && f.open(QIODevice::WriteOnly))
                f.write("x");
        }
        QFile::remove(Config::filePath(QStringLiteral("Quavrix")));
        const long before = rssKb();
        auto w = std::make_unique<VRXPlayerWindow>();
        QElapsedTimer t;
        t.start();
        w->library()->setCatalogue(makeRecords(music, n));
        const double fillMs = t.nsecsElapsed() / 1e6;
        const long libKb = rssKb() - before;
        w->library()->addWholeCatalogue();
        const long listKb = rssKb() - before - libKb;
        TestTrack::totalBytes = int64_t(44100) * 4 * 600;

        double nextMs[2] = {0, 0};
        for (int random = 0; random < 2; ++random) {
            w->playList()->setPlayOptions(false, random);
            w->playPause();
            t.start();
            for (int i = 0; i < presses; ++i) {
                w->next();
                QCoreApplication::processEvents();
            }
            nextMs[random] = t.nsecsElapsed() / 1e6 / presses;
            w->stop();
        }
        w->playPause();
        t.start();
        w->close();
        const double closeMs = t.nsecsElapsed() / 1e6;
        std::printf("%8d %10.2f %10.2f %10.1f %10.1f %10.1f %10.1f\n", n, nextMs[0], nextMs[1], closeMs, fillMs,
                    listKb / 1024.0, libKb / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
