#include "harness.h"
#include "settings.h"
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir tmp;
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
    return 0;
}
