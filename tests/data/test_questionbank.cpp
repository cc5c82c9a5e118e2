#include "data/errors.h"
#include "data/questionbank.h"
#include "testutil.h"

using namespace fm;

namespace
{
QuestionRecord sentence(int target, const char *a, const char *b, const char *c)
{
    QuestionRecord r;
    r.TargetSegment = static_cast<int16_t>(target);
    r.Segments[1] = sj(a);
    r.Segments[2] = sj(b);
    r.Segments[3] = sj(c);
    return r;
}
} // namespace

class QuestionBankTest : public DataDirTest
{
  protected:
    void SetUp() override
    {
        QByteArray sentences;
        sentences += encodeQuestionRecord(sentence(1, "やま", "に", "のぼる。"));
        sentences += encodeQuestionRecord(sentence(2, "たかい", "やま", "です。"));
        sentences += encodeQuestionRecord(sentence(3, "あおい", "そらと", "かわ"));
        write("Mondai1.dat", sentences);
        write("Mondai2.dat", encodeQuestionIndex({{0, 1, 2}, {0, 3, 1}, {0, 3, 0}}));
        loadQuestionIndex(bank, dir());
    }
    QuestionBank bank;
};

TEST_F(QuestionBankTest, RecordLayoutIsSixtyFourBytes)
{
    const QByteArray bytes = encodeQuestionRecord(sentence(2, "あ", "い", "う"));
    ASSERT_EQ(bytes.size(), 64);
    EXPECT_EQ(bytes.mid(2, 2), QByteArray::fromHex("0200"));
    EXPECT_EQ(bytes.mid(4, 2), sj("あ"));
    EXPECT_EQ(bytes.mid(24, 2), sj("い"));
    EXPECT_EQ(bytes.mid(44, 2), sj("う"));
    EXPECT_EQ(encodeQuestionIndex({{7, 300, 4}}), QByteArray::fromHex("07002c010400"));
}

TEST_F(QuestionBankTest, ReadsTheRecordOfAChoice)
{
    EXPECT_EQ(bank.QuestionIndexCount, 3);
    EXPECT_EQ(segmentText(readQuestionRecord(bank, dir(), 1, 1).Segments[1]), sj("やま"));
    const QuestionRecord second = readQuestionRecord(bank, dir(), 1, 2);
    EXPECT_EQ(second.TargetSegment, 2);
    EXPECT_EQ(segmentText(second.Segments[3]), sj("です。"));
    EXPECT_EQ(segmentText(readQuestionRecord(bank, dir(), 2, 1).Segments[3]), sj("かわ"));
}

TEST_F(QuestionBankTest, PickChoiceDrawsBelowTheCount)
{
    int asked = -1;
    auto fixed = [&](int n) {
        asked = n;
        return n - 1;
    };
    EXPECT_EQ(pickChoice(bank, 1, fixed), 2);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(pickChoice(bank, 2, fixed), 1) << "a count of 1 always gives the first";
    asked = -1;
    EXPECT_EQ(pickChoice(bank, 3, fixed), 1) << "a count of 0 gives 1 without a draw";
    EXPECT_EQ(asked, -1);
}

TEST_F(QuestionBankTest, ReadsOutsideTheIndexNameMondai1)
{
    auto expectMondai1 = [&](int kanji, int choice) {
        try {
            readQuestionRecord(bank, dir(), kanji, choice);
            ADD_FAILURE() << "read kanji " << kanji << " choice " << choice;
        } catch (const FileError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("Mondai1.datでエラーがおこりました。 "));
        }
    };
    expectMondai1(0, 1);
    expectMondai1(241, 1);
    EXPECT_EQ(sentenceFileName(), QStringLiteral("Mondai1.dat")); // the file the error names
}

TEST(SegmentText, StopsAtNulAndTrimsBlanksAndControls)
{
    EXPECT_EQ(segmentText(QByteArray(20, ' ')), QByteArray());
    EXPECT_EQ(segmentText(QByteArray("  ab\tc \x01") + QByteArray(12, '\0')), QByteArray("ab\tc"));
    EXPECT_EQ(segmentText(QByteArray("ab\0cd", 5)), QByteArray("ab"));
    EXPECT_EQ(segmentText(sj("　やま")), sj("　やま")) << "a full-width blank is text, not a blank";
}

TEST(SentenceLayout, LabelsFollowEachOther)
{
    EXPECT_EQ(sentenceLayout(40, 0), (std::array<int, 3>{10, 50, 50}));
    EXPECT_EQ(sentenceLayout(0, 25), (std::array<int, 3>{10, 10, 35}));
}
