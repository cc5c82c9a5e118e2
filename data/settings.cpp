#include "data/settings.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <limits>
#include <utility>
#include <vector>

namespace fm
{

namespace
{
const QString kSection = QStringLiteral("Kanji1");
constexpr int kMissing = -1;
// A hand-edited INI file of a few keys; anything this large is not one.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

using KeyValues = std::vector<std::pair<QString, QString>>;

QString nameOf(const QString &iniPath)
{
    return QFileInfo(iniPath).fileName();
}

// The file as it stands; empty when there is none. Not a regular file or too
// large: FileError.
QByteArray currentText(const QString &iniPath)
{
    const auto bytes = readWholeFileAt(iniPath, nameOf(iniPath), kMaxSettingsBytes);
    return bytes ? *bytes : QByteArray();
}

// The text with each key set in the section; every other line stays as it
// was (comments, other sections, other keys, the line ends).
QByteArray withKeys(const QByteArray &text, const KeyValues &values)
{
    const QByteArray eol = text.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);

    const QByteArray header = '[' + kSection.toLatin1() + ']';
    qsizetype begin = -1;
    for (qsizetype i = 0; i < lines.size() && begin < 0; ++i)
        if (lines[i].trimmed() == header)
            begin = i + 1;
    if (begin < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QByteArray();
        lines << header;
        begin = lines.size();
    }
    for (const auto &[key, value] : values) {
        const QByteArray line = key.toLatin1() + '=' + value.toUtf8();
        qsizetype end = begin;
        while (end < lines.size() && !lines[end].trimmed().startsWith('['))
            ++end;
        bool found = false;
        for (qsizetype i = begin; i < end; ++i) {
            const qsizetype eq = lines[i].indexOf('=');
            if (eq > 0 && lines[i].left(eq).trimmed() == key.toLatin1()) {
                lines[i] = line;
                found = true;
            }
        }
        if (!found) {
            qsizetype at = end;
            while (at > begin && lines[at - 1].trimmed().isEmpty())
                --at;
            lines.insert(at, line);
        }
    }
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + eol;
    return out;
}

// Writes the keys at once, through the verified save. FileError on failure.
void saveKeys(const QString &iniPath, const KeyValues &values)
{
    const QString dir = QFileInfo(iniPath).absolutePath();
    if (!QDir().mkpath(dir))
        throw FileError(nameOf(iniPath), QStringLiteral("cannot create the directory %1").arg(dir));
    writeFileAtomicAt(iniPath, nameOf(iniPath), withKeys(currentText(iniPath), values));
}

// An integer key, or -1 when it is missing or not a number.
int readInt(QSettings &ini, const QString &key)
{
    bool ok = false;
    const qlonglong v = ini.value(kSection + u'/' + key).toString().trimmed().toLongLong(&ok);
    if (!ok)
        return kMissing;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return v < 0 ? 0 : std::numeric_limits<int>::max();
    return static_cast<int>(v);
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

int16_t readTime(QSettings &ini, const QString &key, KeyValues &missing)
{
    const int v = readInt(ini, key);
    if (v == kMissing) {
        missing.emplace_back(key, QString::number(DefaultTimeLimit));
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
    // Only a regular file of sane size is handed to the parser.
    currentText(iniPath);
    KeyValues missing;
    {
        QSettings ini(iniPath, QSettings::IniFormat);
        const int debug = readInt(ini, QStringLiteral("Debug"));
        settings.DebugFlag = debug != kMissing && debug == 1;
        settings.WriteTimeLimit = readTime(ini, QStringLiteral("Write_Time"), missing);
        settings.ReadTimeLimit = readTime(ini, QStringLiteral("Read_Time"), missing);
        settings.PopMsgEnabled = false;
        // Anything but an explicit N keeps the square on.
        settings.HandwritingEnabled = ini.value(kSection + QStringLiteral("/Tegaki"))
                                          .toString()
                                          .trimmed()
                                          .compare(QLatin1String("N"), Qt::CaseInsensitive) != 0;
    }
    if (missing.empty())
        return;
    try {
        saveKeys(iniPath, missing);
    } catch (const FileError &) {
        // The defaults apply all the same; the file gets them at the next start
        // or from the settings dialog, which says so when it cannot save.
    }
}

void writeSettings(AppSettings &settings, const QString &iniPath, int writeMinutes, int readMinutes,
                   bool popMsg, std::optional<bool> handwriting)
{
    AppSettings next = settings;
    next.HandwritingEnabled = handwriting.value_or(settings.HandwritingEnabled);
    next.WriteTimeLimit = usableMinutes(writeMinutes);
    next.ReadTimeLimit = usableMinutes(readMinutes);
    next.PopMsgEnabled = popMsg;
    saveKeys(iniPath, {{QStringLiteral("Write_Time"), QString::number(next.WriteTimeLimit)},
                       {QStringLiteral("Read_Time"), QString::number(next.ReadTimeLimit)},
                       {QStringLiteral("POPMSG"), popMsg ? QStringLiteral("Y") : QStringLiteral("N")},
                       {QStringLiteral("Tegaki"),
                        next.HandwritingEnabled ? QStringLiteral("Y") : QStringLiteral("N")}});
    settings = next;
}

} // namespace fm
