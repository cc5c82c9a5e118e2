#include "data/fileio.h"
#include "data/settings.h"
#include "harness.h"
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir tmp;
    // Most inputs lack a time and have it written back: what is written
    // matters here, not that it is synced to disk.
    static const fm::WriteFaultForTesting noSync(-1, fm::SyncForTesting::Skipped);
    const QString path = tmp.filePath("Fudemaru.ini");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    f.write("[Kanji1]\n");
    f.write(fuzzBytes(data, size));
    f.close();
    fm::AppSettings s;
    fm::readSettings(s, path);
    if (s.ReadTimeLimit < fm::MinTimeLimit || s.ReadTimeLimit > fm::MaxTimeLimit ||
        s.WriteTimeLimit < fm::MinTimeLimit || s.WriteTimeLimit > fm::MaxTimeLimit)
        __builtin_trap();
    // Written back or not, the file now reads the same.
    fm::AppSettings again;
    fm::readSettings(again, path);
    if (again.ReadTimeLimit != s.ReadTimeLimit || again.WriteTimeLimit != s.WriteTimeLimit ||
        again.DebugFlag != s.DebugFlag)
        __builtin_trap();
    return 0;
}
