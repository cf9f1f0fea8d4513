// Start-up figures of the real main window, each measured in a fresh child process so that
// nothing is warm but the file cache: the first paint, and the end of the first restore.
#include "config.h"
#include "medialibrary.h"
#include "vrxapplication.h"
#include "vrxplayerwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
QElapsedTimer g_clock;

// Prints the first paint of the window and the moment its restore has finished.
class Watch : public QObject
{
public:
    explicit Watch(VRXPlayerWindow* w) : m_window(w) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == m_window && e->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            std::printf("paint %lld\n", static_cast<long long>(g_clock.elapsed()));
            std::fflush(stdout);
        }
        if (o == m_window && e->type() == QEvent::Type(VRXPlayerWindow::RestoreEvent) && !m_restoring) {
            m_restoring = true;
            auto* poll = new QTimer(this);
            connect(poll, &QTimer::timeout, this, [this, poll] {
                if (QApplication::activeModalWidget())
                    return;
                poll->stop();
                std::printf("restored %lld tracks %d\n", static_cast<long long>(g_clock.elapsed()),
                            int(m_window->library()->catalogue().size()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
            poll->start(1);
        }
        return false;
    }

private:
    VRXPlayerWindow* m_window;
    bool m_painted = false;
    bool m_restoring = false;
};

int child(int argc, char** argv)
{
    g_clock.start();
    VRXApplication app("Quavrix", argc, argv);
    auto* window = new VRXPlayerWindow;
    Watch watch(window);
    window->installEventFilter(&watch);
    app.showMainDocumentWidget(window, false);
    const int rc = app.exec();
    delete window;
    return rc;
}

struct Run { long long exec = -1, paint = -1, restored = -1; int tracks = 0; };

Run runChild(const QString& self, const QString& root, const QString& music)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (env.value(QStringLiteral("DISPLAY")).isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("HOME"), root);
    env.insert(QStringLiteral("QUAVRIX_DOCUMENTS"), music);
    env.insert(QStringLiteral("QUAVRIX_QPEDIR"), QStringLiteral(QUAVRIX_SHARE_DIR));
    env.insert(QStringLiteral("QUAVRIX_INSTANCE"), QStringLiteral("quavrix-bench-%1").arg(::getpid()));
    env.insert(QStringLiteral("QUAVRIX_DSP"), root + QStringLiteral("/dsp.raw"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(self, {QStringLiteral("--child"), QStringLiteral("--display"), QStringLiteral("480x640")});
    Run r;
    QByteArray out;
    while (p.waitForReadyRead(120000) || p.state() == QProcess::Running) {
        out += p.readAllStandardOutput();
        long long v;
        int n;
        if (r.paint < 0 && out.contains("paint ")) {
            r.exec = t.elapsed();
            std::sscanf(out.constData() + out.indexOf("paint "), "paint %lld", &v);
            r.paint = v;
        }
        if (out.contains("restored ")) {
            std::sscanf(out.constData() + out.indexOf("restored "), "restored %lld tracks %d", &v, &n);
            r.restored = v;
            r.tracks = n;
            break;
        }
        if (p.state() != QProcess::Running)
            break;
    }
    p.waitForFinished(30000);
    return r;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    int tracks = 10000, runs = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--tracks"))
            tracks = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
    }
    QTemporaryDir root;
    const QString music = root.path() + QStringLiteral("/music");
    QDir().mkpath(music);
    for (const char* d : {"/config", "/data", "/runtime"})
        QDir().mkpath(root.path() + QLatin1String(d));
    QFile::setPermissions(root.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString self = QCoreApplication::applicationFilePath();

    std::printf("start-up of the main window at 480x640 (%s), best of %d runs\n",
                qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "X server", runs);
    std::printf("%-10s %14s %14s %16s\n", "library", "exec->paint", "main->paint", "main->restored");
    for (int n : {0, tracks}) {
        // Hard links: many files, one fixture's worth of disk.
        const QString src = QStringLiteral(QUAVRIX_TEST_DATA "/mp3/tagged-v1.mp3");
        for (int i = 0; i < n; ++i) {
            const QString dst = music + QStringLiteral("/t%1.mp3").arg(i, 5, 10, QLatin1Char('0'));
            if (!QFile::exists(dst) && ::link(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) != 0)
                QFile::copy(src, dst);
        }
        QFile::remove(root.path() + QStringLiteral("/config/Quavrix/Quavrix.conf"));
        Run best;
        for (int k = 0; k < runs; ++k) {
            const Run r = runChild(self, root.path(), music);
            if (best.paint < 0 || r.paint < best.paint) {
                best.paint = r.paint;
                best.exec = r.exec;
            }
            if (best.restored < 0 || (r.restored >= 0 && r.restored < best.restored)) {
                best.restored = r.restored;
                best.tracks = r.tracks;
            }
        }
        std::printf("%-10d %12lld ms %12lld ms %14lld ms  (%d tracks found)\n", n, best.exec, best.paint,
                    best.restored, best.tracks);
    }
    std::printf("goal: first paint under 300 ms with an empty library\n");
    return 0;
}
