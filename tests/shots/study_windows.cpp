// Pictures of the grading table, the result window, the hint window and the
// practice picker for looking at, with the build's real data and pictures.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "shots.h"
#include "study/hint.h"
#include "study/levelup.h"
#include "study/renshuu.h"
#include "study/saiten.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

class Hidden : public ScreenFrame
{
  public:
    explicit Hidden(Services &sv) : ScreenFrame(sv, ScreenId::Shutsudai, FrameLayout{27}) {}
};

} // namespace

TEST(StudyWindowShots, GradingResultHintAndPicker)
{
    TestShell t;
    if (!shots::copyFromBuild(
            t, {"Hint.dat", "Kanji1.dat", "Bushu1.dat", "Present1.wmf", "Present2.wmf", "Present3.wmf"}))
        FAIL() << "the build has not made the program's files";
    loadCatalogue(t.state.Cat, t.state.ProgramDir);
    t.state.Players.PlayerCount = 1;
    t.state.CurrentPlayer = 1;
    t.state.Players.PlayerTable[1].Name = cp932::fromUnicode(QStringLiteral("はなこ"));
    t.state.Players.PlayerTable[1].Level = 3;
    t.state.Players.PlayerTable[1].Kind = fm::StudyKind::Writing;

    const char *sentences[10][4] = {
        {"あかい", "花", "がさいた。", "はな"}, {"", "山", "にのぼる。", "やま"},
        {"", "川", "であそぶ。", "かわ"},       {"おおきな", "木", "がある。", "き"},
        {"", "空", "があおい。", "そら"},       {"", "雨", "がふる。", "あめ"},
        {"", "犬", "とあるく。", "いぬ"},       {"", "目", "をとじる。", "め"},
        {"", "石", "をひろう。", "いし"},       {"", "竹", "うまにのる。", "たけ"},
    };
    for (int n = 1; n <= 10; ++n) {
        QuestionSlot &q = t.state.QuestionSlots[n];
        q.Kanji = int16_t(n);
        for (int i = 0; i < 3; ++i)
            q.ShownSegments[i + 1] = cp932::fromUnicode(QString::fromUtf8(sentences[n - 1][i]));
        q.CorrectAnswer = cp932::fromUnicode(QString::fromUtf8(sentences[n - 1][3]));
        q.PlayerAnswer = (n == 4 || n == 9) ? cp932::fromUnicode(QStringLiteral("たけ")) : q.CorrectAnswer;
    }
    auto *test = t.nav.open<Hidden>();
    auto *saiten = t.nav.open<TF_Saiten>(test);
    for (int i = 0; i < 10; ++i)
        fm::test::tick(saiten, "Tim_Saiten");
    shots::save(saiten, QStringLiteral("grading"));
    fm::test::child<QTimer>(saiten, "Tim_Saiten")->stop();

    t.state.TestScore = 8;
    t.state.ChallengeMode = true;
    t.state.LevelUpFlag = true;
    t.state.LevelCorrectCount = 0;
    {
        TF_Level_Up w(t.services, nullptr);
        ASSERT_FALSE(w.failed());
        w.show();
        shots::save(&w, QStringLiteral("result-levelup"));
    }
    t.state.TestScore = 4;
    t.state.LevelUpFlag = false;
    t.state.LevelCorrectCount = 23;
    {
        TF_Level_Up w(t.services, nullptr);
        w.show();
        shots::save(&w, QStringLiteral("result-failed"));
    }

    t.state.HintContext = {12, HintSituation::Question, StudyKind::Reading};
    t.state.ChallengeMode = false;
    t.state.CurrentKind = fm::StudyKind::Reading;
    t.state.HintQuestion = 2;
    {
        TF_Hint w(t.services, nullptr);
        ASSERT_TRUE(w.FormShow());
        w.show();
        shots::save(&w, QStringLiteral("hint-page"));
        fm::test::child<QPushButton>(&w, "Btn_Kotae_Hint")->click();
        shots::save(&w, QStringLiteral("hint-answer"));
    }

    auto *picker = t.nav.open<TF_Renshuu>();
    shots::save(picker, QStringLiteral("picker"));
}
