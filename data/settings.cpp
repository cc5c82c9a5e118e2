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

// One line of the file and the end it had ("\n", "\r\n", or none on a last
// line without one).
struct Line {
    QByteArray text;
    QByteArray end;
};

QList<Line> linesOf(const QByteArray &text)
{
    QList<Line> lines;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype nl = text.indexOf('\n', at);
        Line l;
        l.text = text.mid(at, nl < 0 ? -1 : nl - at);
        if (nl >= 0) {
            l.end = "\n";
            if (l.text.endsWith('\r')) {
                l.text.chop(1);
                l.end = "\r\n";
            }
        }
        lines << l;
        at = nl < 0 ? text.size() : nl + 1;
    }
    return lines;
}

// The text with each key set in the section; every other line stays as it
// was (comments, other sections, other keys, each line's own end). A key is
// set wherever the section holds it, in every copy of the section, so that
// the value read back is the one written whichever copy a reader believes; a
// key the section lacks goes into its first copy. New lines end as most of
// the file's lines do.
QByteArray withKeys(const QByteArray &text, const KeyValues &values)
{
    QList<Line> lines = linesOf(text);
    qsizetype crlf = 0;
    for (const Line &l : lines)
        crlf += l.end == "\r\n" ? 1 : 0;
    const QByteArray eol = 2 * crlf > lines.size() ? QByteArray("\r\n") : QByteArray("\n");

    const QByteArray header = '[' + kSection.toLatin1() + ']';
    const auto sectionStarts = [&] {
        QList<qsizetype> starts;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].text.trimmed() == header)
                starts << i + 1;
        return starts;
    };
    if (sectionStarts().isEmpty()) {
        if (!lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
            lines << Line{};
        lines << Line{header, eol};
    }
    for (const auto &[key, value] : values) {
        const QByteArray line = key.toLatin1() + '=' + value.toUtf8();
        bool found = false;
        const QList<qsizetype> starts = sectionStarts();
        for (const qsizetype begin : starts) {
            for (qsizetype i = begin; i < lines.size() && !lines[i].text.trimmed().startsWith('['); ++i) {
                const qsizetype eq = lines[i].text.indexOf('=');
                if (eq > 0 && lines[i].text.left(eq).trimmed() == key.toLatin1()) {
                    lines[i].text = line;
                    found = true;
                }
            }
        }
        if (!found) {
            const qsizetype begin = starts.first();
            qsizetype at = begin;
            while (at < lines.size() && !lines[at].text.trimmed().startsWith('['))
                ++at;
            while (at > begin && lines[at - 1].text.trimmed().isEmpty())
                --at;
            lines.insert(at, Line{line, eol});
        }
    }
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i)
        out += lines[i].text + (lines[i].end.isEmpty() && i + 1 < lines.size() ? eol : lines[i].end);
    return out;
}

// Writes the keys at once, through the verified save. FileError on failure.
void saveKeys(const QString &iniPath, const KeyValues &values)
{
    const QString dir = QFileInfo(iniPath).absolutePath();
    if (!QDir().mkpath(dir))
        throw FileError(nameOf(iniPath), QStringLiteral("cannot create the directory %1").arg(dir));
    const QByteArray text = withKeys(currentText(iniPath), values);
    // Never write a file the next start would refuse.
    if (text.size() > kMaxSettingsBytes)
        throw FileError(nameOf(iniPath),
                        QStringLiteral("would grow to %1 bytes, more than the %2 a settings file may hold")
                            .arg(text.size())
                            .arg(kMaxSettingsBytes));
    writeFileAtomicAt(iniPath, nameOf(iniPath), text);
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

void readSettings(AppSettings &settings, const QString &iniPath, WriteBack writeBack)
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
    if (missing.empty() || writeBack == WriteBack::No)
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
