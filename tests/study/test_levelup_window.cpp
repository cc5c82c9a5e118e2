// The result window: texts, picture, progress box, and a picture that cannot be read.
#include "data/cp932.h"
#include "media/mediafiles.h"
#include "shell/kit.h"
#include "study/levelup.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::child;
using fm::test::TestShell;

namespace
{

void setPlayer(TestShell &t, int level, int kind)
{
    t.state.Players.PlayerCount = 1;
    t.state.CurrentPlayer = 1;
    t.state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("じろう"));
    t.state.Players.PlayerTable[1].Level = int16_t(level);
    t.state.Players.PlayerTable[1].Kind = StudyKind(kind);
}

// The real pictures when the build has made them.
bool copyRealPresents(TestShell &t)
{
    for (int i = 1; i <= media::kPresentCount; ++i) {
        const QString name = QStringLiteral("Present%1.wmf").arg(i);
        const QString from = QStringLiteral(FUDEMARU_BIN_DIR "/") + name;
        if (!QFile::exists(from) || !QFile::copy(from, t.file(name)))
            return false;
    }
    return true;
}

} // namespace

TEST(ResultWindow, FailedChallengeShowsTheBuiltInPictureAndProgress)
{
    TestShell t;
    setPlayer(t, 5, 2);
    t.state.ChallengeMode = true;
    t.state.TestScore = 6;
    t.state.LevelCorrectCount = 18;
    TF_Level_Up w(t.services, nullptr);
    EXPECT_FALSE(w.failed());
    EXPECT_EQ(w.size(), QSize(435, 339));
    QPushButton *back = child<QPushButton>(&w, "BitBtn1");
    // Readable and easy to hit at 640 x 480 (it was 12-pixel text on a 129 x 25 button).
    EXPECT_GE(back->font().pixelSize(), 16);
    EXPECT_GE(back->height(), 40);
    EXPECT_TRUE(w.rect().contains(back->geometry()));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("がんばれ！  じろう"));
    EXPECT_EQ(child<QLabel>(&w, "Lbl_Goukaku_Msg1")->text().remove(QLatin1Char('\n')),
              QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。"));
    EXPECT_TRUE(child<QLabel>(&w, "Lbl_Level_Msg1")->text().isEmpty());
    EXPECT_TRUE(w.pictureFile().isEmpty());
    EXPECT_FALSE(child<QLabel>(&w, "Image1")->pixmap().isNull());
    EXPECT_FALSE(child<QGroupBox>(&w, "Grp_Title1")->isHidden());
    EXPECT_EQ(child<QGroupBox>(&w, "Grp_Title1")->title(), QStringLiteral("じろうの、チャレンジきろく"));
    EXPECT_EQ(child<QLabel>(&w, "Lbl_Level1")->text(), QStringLiteral("べんきょうちゅうのレベル: 5"));
    EXPECT_EQ(child<QLabel>(&w, "Lbl_Level2")->text(),
              QStringLiteral("べんきょうちゅうのしゅるい: かくれんしゅう"));
    EXPECT_EQ(child<QProgressBar>(&w, "PBar_Level_Cnt")->maximum(), 40);
    EXPECT_EQ(child<QProgressBar>(&w, "PBar_Level_Cnt")->value(), 18);
    EXPECT_EQ(back->text(), QStringLiteral("もどる"));
    EXPECT_EQ(back->cursor().shape(), t.shell.HandPointer.shape());
    EXPECT_TRUE(t.dialogs.calls.empty());

    // It opens right after the child's last press: a press in its first
    // moment is not taken, one a second later is.
    w.show();
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_TRUE(w.isVisible());
    t.clock.advanceSeconds(1.1);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

TEST(ResultWindow, MissingPictureEndsTheProgramWithTheFilesName)
{
    TestShell t;
    setPlayer(t, 1, 1);
    t.state.TestScore = 10;
    TF_Level_Up w(t.services, nullptr);
    EXPECT_TRUE(w.failed());
    EXPECT_TRUE(t.nav.quitRequested());
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, test::FakeDialogs::Kind::Fatal);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("Present1.wmfでエラーがおこりました。 "));
    EXPECT_EQ(w.exec(), QDialog::Rejected); // returns at once
}

TEST(ResultWindow, DamagedPictureEndsTheProgramToo)
{
    TestShell t;
    setPlayer(t, 1, 1);
    t.state.TestScore = 8;
    QFile f(t.file(QStringLiteral("Present3.wmf")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a metafile");
    f.close();
    TF_Level_Up w(t.services, nullptr);
    EXPECT_TRUE(w.failed());
    EXPECT_EQ(t.dialogs.texts(), QStringList{QStringLiteral("Present3.wmfでエラーがおこりました。 ")});
}

TEST(ResultWindow, TopLevelHidesTheProgressBoxWithTheRealPicture)
{
    TestShell t;
    if (!copyRealPresents(t))
        GTEST_SKIP() << "the build has not made the Present pictures";
    setPlayer(t, 13, 1);
    t.state.ChallengeMode = true;
    t.state.LevelUpFlag = true;
    t.state.TestScore = 10;
    TF_Level_Up w(t.services, nullptr);
    ASSERT_FALSE(w.failed());
    EXPECT_EQ(w.pictureFile(), QStringLiteral("Present2.wmf"));
    EXPECT_EQ(child<QLabel>(&w, "Lbl_Level_Msg1")->text().remove(QLatin1Char('\n')),
              QStringLiteral("おめでとう。これであなたは、かんじはかせです。"));
    EXPECT_TRUE(child<QGroupBox>(&w, "Grp_Title1")->isHidden());
    EXPECT_TRUE(child<QLabel>(&w, "Lbl_Level1")->isHidden());
    EXPECT_TRUE(child<QLabel>(&w, "Lbl_Level2")->isHidden());
    EXPECT_TRUE(child<QProgressBar>(&w, "PBar_Level_Cnt")->isHidden());
    // The picture is drawn, not the blank of a failed render.
    const QImage img = child<QLabel>(&w, "Image1")->pixmap().toImage();
    bool drawn = false;
    for (int y = 0; y < img.height() && !drawn; y += 3)
        for (int x = 0; x < img.width() && !drawn; x += 3)
            drawn = img.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(drawn);
}

TEST(ResultWindow, EveryMessageBreaksOnlyBetweenPhrasesAndFitsItsLines)
{
    TestShell t;
    setPlayer(t, 3, 1);
    const QStringList messages = {
        QStringLiteral("ざんねんだったね。またがんばろうね。ふくしゅうもちゃんとやろうね。"),
        QStringLiteral("やったね！ １００てん、おめでとう！"),
        QStringLiteral("ごうかくおめでとう！ふくしゅうもがんばったね。"),
        QStringLiteral("こんどは、チャレンジモードでがんばろうね。"),
        QStringLiteral("おめでとう。これであなたは、かんじはかせです。"),
        QStringLiteral("やったね。これでレベルがあがったよ。"),
    };
    TF_Level_Up w(t.services, nullptr);
    for (QLabel *label : {child<QLabel>(&w, "Lbl_Goukaku_Msg1"), child<QLabel>(&w, "Lbl_Level_Msg1")}) {
        const QFontMetrics metrics(label->font());
        for (const QString &message : messages) {
            const QString shown = breakBetweenPhrases(message, label->font(), label->width());
            const QStringList lines = shown.split(QLatin1Char('\n'));
            EXPECT_EQ(QString(shown).remove(QLatin1Char('\n')).remove(QLatin1Char(' ')),
                      QString(message).remove(QLatin1Char(' ')));
            // Every line fits, and they all fit in the label's height.
            EXPECT_LE(lines.size() * metrics.lineSpacing(), label->height() + metrics.leading())
                << shown.toStdString();
            for (int i = 0; i < lines.size(); ++i) {
                EXPECT_LE(metrics.horizontalAdvance(lines[i]), label->width()) << lines[i].toStdString();
                // A line ends on a phrase's mark, never inside a word.
                if (i + 1 < lines.size()) {
                    EXPECT_TRUE(QStringLiteral("、。！？").contains(lines[i].back())) << shown.toStdString();
                }
            }
        }
    }

    // What the window shows for a test below the pass mark, the longest message.
    t.state.TestScore = 4;
    TF_Level_Up failed(t.services, nullptr);
    const QLabel *message = child<QLabel>(&failed, "Lbl_Goukaku_Msg1");
    EXPECT_EQ(message->text(), breakBetweenPhrases(messages[0], message->font(), message->width()));
    EXPECT_TRUE(message->text().contains(QLatin1Char('\n')));

    // A phrase wider than a line still shows whole, broken where it must.
    const QString long_ = QStringLiteral("ふくしゅうもちゃんとやろうね");
    const QString forced = breakBetweenPhrases(long_, child<QLabel>(&w, "Lbl_Goukaku_Msg1")->font(), 60);
    EXPECT_GT(forced.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(QString(forced).remove(QLatin1Char('\n')), long_);
}
