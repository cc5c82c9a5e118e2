// The manual pages say what the programs do: every command and option that
// fudemaru-data --help lists has its entry in fudemaru-data(1), and the page
// lists none that the program does not know.
#include "tools/datacli/datacli.h"
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace
{

QString pageText(const char *name)
{
    QFile f(QStringLiteral(FUDEMARU_MAN_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(f.readAll());
}

// The words --help lists in a section: "  word ..." lines after "<title>:".
QSet<QString> helpEntries(const QString &help, const QString &title)
{
    QSet<QString> words;
    bool inside = false;
    for (const QString &line : help.split('\n')) {
        if (!line.startsWith(' ')) {
            inside = line == title + ':';
            continue;
        }
        if (inside)
            words << line.trimmed().section(' ', 0, 0);
    }
    return words;
}

// The entries of a section of the page: the first word after each ".TP" of
// ".SH <title>", with roff's escaped hyphens plain again.
QSet<QString> pageEntries(const QString &page, const QString &title)
{
    QSet<QString> words;
    const QStringList lines = page.split('\n');
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(".SH "))
            inside = lines[i] == ".SH " + title;
        else if (inside && lines[i] == ".TP" && i + 1 < lines.size()) {
            QString word = lines[i + 1].section(' ', 1, 1);
            words << word.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        }
    }
    return words;
}

} // namespace

TEST(ManualPages, FudemaruDataDocumentsEveryCommandAndOptionOfItsHelp)
{
    const QString help = fm::cli::help();
    const QString page = pageText("fudemaru-data.1.in");
    const QSet<QString> commands = helpEntries(help, "Commands");
    const QSet<QString> options = helpEntries(help, "Options");
    ASSERT_TRUE(commands.contains("check") && options.contains("--data")) << help.toStdString();
    EXPECT_EQ(pageEntries(page, "COMMANDS"), commands);
    EXPECT_EQ(pageEntries(page, "OPTIONS"), options);
    // The usage line names the same commands.
    for (const QString &c : commands)
        EXPECT_TRUE(fm::cli::usage().contains(c)) << c.toStdString();
    // Each exit status of --help is explained on the page.
    const QRegularExpression status(QStringLiteral("(\\d) (done|a file|wrong)"));
    for (auto m = status.globalMatch(help); m.hasNext();)
        EXPECT_TRUE(page.contains(".B " + m.next().captured(1) + "\n")) << help.toStdString();
}

TEST(ManualPages, FudemaruNamesTheRecordsAndHowToBackThemUp)
{
    const QString page = pageText("fudemaru.1.in");
    for (const char *needed : {".SH FILES", "~/.local/share/Fudemaru/", "Player1.dat", ".SH BACKUP",
                               "cp \\-a", "fudemaru\\-data (1)"})
        EXPECT_TRUE(page.contains(QLatin1String(needed))) << needed;
}
