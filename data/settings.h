#pragma once
// The settings file "Fudemaru.ini", section "Kanji1".
#include <QString>
#include <cstdint>
#include <optional>

namespace fm
{

struct AppSettings {
    int16_t ReadTimeLimit = 10;  // minutes, 1..59
    int16_t WriteTimeLimit = 10; // minutes, 1..59
    bool PopMsgEnabled = false;
    bool DebugFlag = false;
    // Whether writing tests offer the writing square ("Tegaki", Y or N; on
    // when the key is missing, as in every settings file written before it).
    bool HandwritingEnabled = true;
};

constexpr int MinTimeLimit = 1;
constexpr int MaxTimeLimit = 59;
constexpr int DefaultTimeLimit = 10;

// The per-user configuration directory's "Fudemaru.ini".
QString defaultSettingsPath();

// Reads the settings; writes the two time keys when they are missing (when
// that write fails the defaults still apply). A time outside 1..59 (or not a
// number) is brought to a usable value: a missing, non-numeric or
// non-positive value becomes 10, anything above 59 becomes 59. A settings
// file that is not a regular file, or is larger than any settings file can
// be: FileError("Fudemaru.ini").
// WriteBack::No reads exactly as start-up does and changes nothing (the
// diagnosing tool).
enum class WriteBack { Yes, No };
void readSettings(AppSettings &settings, const QString &iniPath, WriteBack writeBack = WriteBack::Yes);

// Writes "Write_Time", "Read_Time", "POPMSG" and "Tegaki" at once, through
// the verified save (the file's other lines stay as they are; a key is set in
// every "Kanji1" section that holds it), then updates settings. A file that
// would grow past what the reader accepts is not written. Without a handwriting choice the one in settings is
// written. When the file cannot be written: FileError("Fudemaru.ini") and settings keep their values.
void writeSettings(AppSettings &settings, const QString &iniPath, int writeMinutes, int readMinutes,
                   bool popMsg, std::optional<bool> handwriting = std::nullopt);

} // namespace fm
