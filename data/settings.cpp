#include "settings.h"
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <limits>

namespace fm
{

namespace
{
const QString kSection = QStringLiteral("Kanji1/");
constexpr int kMissing = -1;

// An integer key, or -1 when it is missing or not a number.
int readInt(QSettings &ini, const QString &key)
{
    bool ok = false;
    const qlonglong v = ini.value(kSection + key).toString().trimmed().toLongLong(&ok);
    if (!ok)
        return kMissing;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return v < 0 ? 0 : std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

void writeNow(QSettings &ini, const QString &key, const QVariant &value)
{
    ini.setValue(kSection + key, value);
    ini.sync();
}

// A minute value the test clock can use.
int16_t usableMinutes(int v)
{
    if (v < MinTimeLimit)
        return DefaultTimeLimit;
    if (v > MaxTimeLimit)
        return MaxTimeLimit;
    return static_cast<int16_t>(v);
}

int16_t readTime(QSettings &ini, const QString &key)
{
    const int v = readInt(ini, key);
    if (v == kMissing) {
        writeNow(ini, key, DefaultTimeLimit);
        return DefaultTimeLimit;
    }
    return usableMinutes(v);
}
} // namespace

QString defaultSettingsPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Fudemaru.ini"));
}

void readSettings(AppSettings &settings, const QString &iniPath)
{
    QSettings ini(iniPath, QSettings::IniFormat);
    const int debug = readInt(ini, QStringLiteral("Debug"));
    settings.DebugFlag = debug != kMissing && debug == 1;
    settings.WriteTimeLimit = readTime(ini, QStringLiteral("Write_Time"));
    settings.ReadTimeLimit = readTime(ini, QStringLiteral("Read_Time"));
    settings.PopMsgEnabled = false;
}

void writeSettings(AppSettings &settings, const QString &iniPath, int writeMinutes, int readMinutes,
                   bool popMsg)
{
    settings.WriteTimeLimit = usableMinutes(writeMinutes);
    settings.ReadTimeLimit = usableMinutes(readMinutes);
    settings.PopMsgEnabled = popMsg;
    QSettings ini(iniPath, QSettings::IniFormat);
    writeNow(ini, QStringLiteral("Write_Time"), settings.WriteTimeLimit);
    writeNow(ini, QStringLiteral("Read_Time"), settings.ReadTimeLimit);
    writeNow(ini, QStringLiteral("POPMSG"), popMsg ? QStringLiteral("Y") : QStringLiteral("N"));
}

} // namespace fm
