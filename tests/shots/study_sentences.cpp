// Questions as the child meets them at levels 1, 4, 8 and 12: the sentence
// in the kanji the child has learned, the target in red, for reading and for
// writing, and a word read as a whole (一日) in a reading test.
#include "shots.h"
#include "study/test_shutsudai_fixture.h"

using namespace fm;
using namespace studytest;

TEST(SentenceShots, ReadingAndWritingAtFourLevelsAndAWholeWord)
{
    for (int level : {1, 4, 8, 12})
        for (StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
            TestWorld w(level, kind, false);
            ASSERT_TRUE(w.useBuildFiles()) << "the build has not made the program's files";
            TF_Shutsudai *s = w.open();
            w.start();
            shots::save(s, QStringLiteral("sentence-L%1-%2")
                               .arg(level)
                               .arg(kind == StudyKind::Reading ? QStringLiteral("reading")
                                                               : QStringLiteral("writing")));
        }

    // The second question of a level-1 reading test made 一日, filed under 日 (kanji 11).
    TestWorld w(1, StudyKind::Reading, false);
    ASSERT_TRUE(w.useBuildFiles());
    TF_Shutsudai *s = w.open();
    w.start();
    const auto words = wholeWordsOf(w.t.state.Bank, 11);
    ASSERT_FALSE(words.isEmpty()) << "no whole word under 日";
    w.slot(2).Kanji = 11;
    w.slot(2).QuestionChoice = int16_t(w.t.state.Bank.QuestionIndex[11].RecordCount + 1);
    w.click(w.button("Btn_Next"));
    shots::save(s, QStringLiteral("sentence-whole-word"));
}
