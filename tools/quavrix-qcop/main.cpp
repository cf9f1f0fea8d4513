// Sends a message on a channel, or listens on one and prints every message.
//   quavrix-qcop send CHANNEL MESSAGE [INT ...]
//   quavrix-qcop listen CHANNEL
#include "qcop.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {
int usage()
{
    std::fprintf(stderr, "usage: quavrix-qcop send CHANNEL MESSAGE [INT ...]\n"
                         "       quavrix-qcop listen CHANNEL\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 4 && args[1] == QLatin1String("send")) {
        QCopEnvelope e(args[2], args[3].toLatin1());
        for (int i = 4; i < args.size(); ++i) {
            bool ok;
            const int v = args[i].toInt(&ok);
            if (!ok) {
                std::fprintf(stderr, "quavrix-qcop: argument '%s' is not an integer\n", qPrintable(args[i]));
                return 2;
            }
            e << qint32(v);
        }
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("listen")) {
        std::signal(SIGPIPE, SIG_IGN);
        QCopChannel channel(args[2]);
        QObject::connect(&channel, &QCopChannel::received, [](const QByteArray& msg, const QByteArray& data) {
            QByteArray line = msg;
            for (qint32 v : QCopChannel::intArguments(data))
                line += ' ' + QByteArray::number(v);
            std::printf("%s\n", line.constData());
            std::fflush(stdout);
        });
        return app.exec();
    }
    return usage();
}
