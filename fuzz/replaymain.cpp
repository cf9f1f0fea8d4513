// Runs a fuzz target's entry over files and folders of inputs, for the regression tests:
// every finding kept under fuzz/regressions/<target>/ and the seeds made from the fixtures
// go through the same code in the ordinary (and sanitizer) builds.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else if (QFileInfo(arg).isFile()) {
            files << arg;
        }
    }
    files.sort();
    for (const QString& f : files) {
        QFile in(f);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = in.readAll();
        std::printf("%s\n", QFile::encodeName(f).constData());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    // A crash or a sanitizer report ends the process before this line.
    std::printf("%lld passed, 0 failed\n", static_cast<long long>(files.size()));
    return 0;
}
