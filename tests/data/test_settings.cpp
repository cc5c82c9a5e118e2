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
