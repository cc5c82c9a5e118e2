#include "data/errors.h"
#include "data/settings.h"
#include "testutil.h"
#include <QSettings>

using namespace fm;

class SettingsTest : public DataDirTest
{
  protected:
    QString ini() const { return path("Fudemaru.ini"); }
    void put(const QString &key, const QVariant &v)
    {
        QSettings s(ini(), QSettings::IniFormat);
        s.setValue("Kanji1/" + key, v);
    }
    QVariant get(const QString &key) const
    {
        return QSettings(ini(), QSettings::IniFormat).value("Kanji1/" + key);
    }
};

TEST_F(SettingsTest, FreshSystemGetsBothTimesWritten)
{
    AppSettings s;
    readSettings(s, ini());
    EXPECT_EQ(s.ReadTimeLimit, 10);
    EXPECT_EQ(s.WriteTimeLimit, 10);
    EXPECT_FALSE(s.DebugFlag);
    EXPECT_EQ(get("Write_Time").toInt(), 10);
    EXPECT_EQ(get("Read_Time").toInt(), 10);
    const QByteArray text = read("Fudemaru.ini");
    EXPECT_TRUE(text.contains("[Kanji1]"));
}

TEST_F(SettingsTest, DebugOnlyForOneAndPopMessagesNeverOn)
{
    put("Debug", 2);
    put("POPMSG", "Y");
    AppSettings s;
    readSettings(s, ini());
    EXPECT_FALSE(s.DebugFlag);
    EXPECT_FALSE(s.PopMsgEnabled);
    put("Debug", 1);
    readSettings(s, ini());
    EXPECT_TRUE(s.DebugFlag);
}

TEST_F(SettingsTest, TimesOutsideTheClocksRangeBecomeUsable)
{
    const struct {
        QVariant stored;
        int expected;
    } cases[] = {{5, 5},  {59, 59}, {60, 59}, {40000, 59}, {"99999999999", 59},
                 {0, 10}, {-7, 10}, {-1, 10}, {"abc", 10}};
    for (const auto &c : cases) {
        put("Read_Time", c.stored);
        AppSettings s;
        readSettings(s, ini());
        EXPECT_EQ(s.ReadTimeLimit, c.expected) << c.stored.toString().toStdString();
    }
}

TEST_F(SettingsTest, WritingStoresAllThreeKeysAtOnce)
{
    AppSettings s;
    writeSettings(s, ini(), 7, 12, false);
    EXPECT_EQ(s.WriteTimeLimit, 7);
    EXPECT_EQ(s.ReadTimeLimit, 12);
    EXPECT_EQ(get("Write_Time").toInt(), 7);
    EXPECT_EQ(get("Read_Time").toInt(), 12);
    EXPECT_EQ(get("POPMSG").toString(), "N");
    AppSettings again;
    readSettings(again, ini());
    EXPECT_EQ(again.WriteTimeLimit, 7);
    EXPECT_EQ(again.ReadTimeLimit, 12);
}

TEST_F(SettingsTest, TheWritingSquareIsOnUnlessAParentTurnedItOff)
{
    // A settings file from before the square, and whatever a hand-edited one holds.
    const struct {
        QVariant stored; // invalid: no key at all
        bool expected;
    } cases[] = {{QVariant(), true}, {"Y", true}, {"N", false}, {"n", false}, {" N ", false}, {"0", true}};
    int n = 0;
    for (const auto &c : cases) {
        // A file of its own for each case: Qt's settings cache knows a file
        // rewritten within the same second by its size and time alone.
        const QString file = path(QStringLiteral("Fudemaru%1.ini").arg(++n));
        {
            QSettings ini(file, QSettings::IniFormat);
            ini.setValue("Kanji1/Read_Time", 5);
            if (c.stored.isValid())
                ini.setValue("Kanji1/Tegaki", c.stored);
        }
        AppSettings s;
        readSettings(s, file);
        EXPECT_EQ(s.HandwritingEnabled, c.expected) << c.stored.toString().toStdString();
        EXPECT_EQ(s.ReadTimeLimit, 5);
    }

    // Turned off and saved, it stays off; a save that does not name it keeps it.
    AppSettings s;
    writeSettings(s, ini(), 7, 12, false, false);
    EXPECT_TRUE(read("Fudemaru.ini").contains("Tegaki=N"));
    writeSettings(s, ini(), 8, 12, false);
    const QByteArray text = read("Fudemaru.ini");
    EXPECT_TRUE(text.contains("Tegaki=N"));
    EXPECT_TRUE(text.contains("Write_Time=8"));
    EXPECT_FALSE(s.HandwritingEnabled);
}

// A file the program accepted is never rewritten into one it refuses or
// reads differently: the keys a start or the dialog writes, read back by the
// next start, in files a parent or another editor shaped.
TEST_F(SettingsTest, WhatIsWrittenIsWhatTheNextStartReads)
{
    const QByteArray filler = "; " + QByteArray(76, 'x'); // a comment line of 78 bytes
    const auto comments = [&](qsizetype bytes, const QByteArray &eol) {
        QByteArray text;
        while (text.size() + filler.size() + eol.size() <= bytes)
            text += filler + eol;
        return text + QByteArray(bytes - text.size(), '\n');
    };
    const struct Row {
        const char *name;
        QByteArray text;
        bool dialog; // the settings dialog saves 5 and 6; otherwise a start reads it
        int write, read;
        qsizetype largest; // the file may grow to this size, not beyond
    } rows[] = {
        {"a start near the size cap writes nothing back", comments(65520, "\n"), false, 10, 10, 65520},
        {"the dialog near the size cap refuses instead of overgrowing it", comments(65520, "\n"), true, 10,
         10, 65520},
        {"one CRLF line leaves every other line as it was", "[Kanji1]\r\n" + comments(60000, "\n"), true, 5,
         6, 60010 + 64},
        {"a file of CRLF lines gets CRLF lines", QByteArray("[Kanji1]\r\nDebug=0\r\n"), true, 5, 6, 80},
        {"two sections holding the key: both get the dialog's value",
         "[Kanji1]\nWrite_Time=3\n[Other]\nx=1\n[Kanji1]\nWrite_Time=8\nRead_Time=9\n", true, 5, 6, 200},
        {"a key only in the second section is set there", "[Kanji1]\nDebug=0\n[Kanji1]\nRead_Time=9\n", true,
         5, 6, 200},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        write("Fudemaru.ini", r.text);
        AppSettings s;
        readSettings(s, ini());
        if (r.dialog) {
            try {
                writeSettings(s, ini(), 5, 6, false);
            } catch (const FileError &e) {
                EXPECT_EQ(e.fileName(), "Fudemaru.ini");
                EXPECT_EQ(s.WriteTimeLimit, 10) << "a refused save changes nothing in use";
            }
        }
        const QByteArray after = read("Fudemaru.ini");
        EXPECT_LE(after.size(), r.largest);
        AppSettings next;
        ASSERT_NO_THROW(readSettings(next, ini())) << "the next start accepts the file";
        EXPECT_EQ(next.WriteTimeLimit, r.write);
        EXPECT_EQ(next.ReadTimeLimit, r.read);
        if (r.text.count("\r\n") == 1) {
            EXPECT_EQ(after.count("\r\n"), 1);
            EXPECT_TRUE(after.contains(filler + "\n" + filler + "\n"));
        } else if (r.text.contains("\r\n")) {
            EXPECT_EQ(after.count("\r\n"), after.count('\n')) << after.toStdString();
        }
    }
}
