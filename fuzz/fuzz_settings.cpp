// Arbitrary bytes as a settings file: every key of the table reads back as a value or its
// default, and writing over the damaged file works.
#include "config.h"
#include "memoryfile.h"
#include "settingskeys.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Writing saves the whole file safely (a synced rename in a real folder), most of a
    // run's time: one input in 64 covers it; the others are read from memory.
    const bool writeBack = size > 0 && (data[size - 1] & 63) == 0;
    static QTemporaryDir dir;
    QString path;
    if (writeBack) {
        path = dir.path() + QStringLiteral("/fuzz.conf");
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    } else {
        path = memoryFile(data, size);
        if (path.isEmpty())
            return 0;
    }
    using namespace Settings;
    Config cfg(path, Config::File);
    int sum = cfg.read(Options::KeyPlay) + cfg.read(Options::Interval) + cfg.read(Options::TabPosition)
              + cfg.read(Analyzer::Bars(true)) + cfg.read(Style::Id) + cfg.read(Options::Cancel);
    sum += cfg.read(Options::Page).size() + cfg.read(MediaFolders::Folders).size();
    cfg.setGroup(QString::fromLatin1(PlayList::Group));
    for (int i = 0; i < 8; ++i)
        sum += cfg.readEntry(QString::number(i)).size();
    sum += cfg.readListEntry(QStringLiteral("Names"), QLatin1Char('|')).size();
    if (writeBack)
        cfg.write(Options::Interval, sum & 0xff);
    return 0;
}
