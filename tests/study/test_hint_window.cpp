// The hint window on the offscreen platform: pages of Hint.dat by context,
// paging within the context, the answer hint and a missing file.
#include "data/cp932.h"
#include "data/hintfile.h"
#include "study/hint.h"
#include "study/register.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::child;
using fm::test::TestShell;

namespace
{

QByteArray sj(const QString &text)
{
    return cp932::fromUnicode(text);
}

HintRecord page(int number, HintCtx ctx)
{
    HintRecord r;
    r.Screen = ctx.screen;
    r.Situation = fileValue(ctx.situation);
    r.Kind = fileValue(ctx.kind);
    r.Number = int16_t(number);
    r.Level1Lines[0] = sj(QStringLiteral("ページ%1").arg(number));
    r.Level1Lines[1] = sj(QStringLiteral("つぎのぎょう  ")); // trailing blanks stay
    r.Level2Lines[0] = sj(QStringLiteral("せつめい%1").arg(number));
    return r;
}

// Pages 1-6 on the mode screen, 7-9 on the test screen (reading, a question
// on screen), 10 the same for writing.
void writeHints(TestShell &t)
{
    QByteArray bytes;
    for (int n = 1; n <= 10; ++n) {
        const HintCtx ctx = n <= 6   ? HintCtx{4, HintSituation::Screen, StudyKind::Reading}
                            : n <= 9 ? HintCtx{12, HintSituation::Question, StudyKind::Reading}
                                     : HintCtx{12, HintSituation::Question, StudyKind::Writing};
        bytes += encodeHintRecord(page(n, ctx));
    }
    QFile f(t.file(QStringLiteral("Hint.dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString firstLine(QPlainTextEdit *memo)
{
    return memo->toPlainText().split(QLatin1Char('\n')).value(0);
}

// The window's page texts, red above and blue below.
QPlainTextEdit *level1(const TF_Hint &w)
{
    return child<QPlainTextEdit>(&w, "Mem_Hint_Level1");
}
QPlainTextEdit *level2(const TF_Hint &w)
{
    return child<QPlainTextEdit>(&w, "Mem_Hint_Level2");
}
QPushButton *button(const TF_Hint &w, const char *name)
{
    return child<QPushButton>(&w, name);
}

} // namespace

TEST(HintWindow, OpensOnTheContextsFirstPageAndPagesWithinIt)
{
    TestShell t;
    writeHints(t);
    t.state.HintContext = {12, HintSituation::Question, StudyKind::Reading};
    TF_Hint w(t.services, nullptr);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("がんばれ！ ふでまる"));
    ASSERT_TRUE(w.FormShow());
    EXPECT_TRUE(t.state.Hints.HintLoaded);
    EXPECT_EQ(t.state.Hints.HintLastNumber, 10);
    EXPECT_EQ(w.currentHint(), 7);
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("ページ7"));
    EXPECT_EQ(firstLine(level2(w)), QStringLiteral("せつめい7"));
    const QStringList lines = level1(w)->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.value(1), QStringLiteral("つぎのぎょう  "));

    QTest::mouseClick(button(w, "Btn_Prev"), Qt::LeftButton); // page 6 is the mode screen's
    EXPECT_EQ(w.currentHint(), 7);
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("ページ7"));
    QTest::mouseClick(button(w, "Btn_Next"), Qt::LeftButton);
    QTest::mouseClick(button(w, "Btn_Next"), Qt::LeftButton);
    EXPECT_EQ(w.currentHint(), 9);
    EXPECT_EQ(firstLine(level2(w)), QStringLiteral("せつめい9"));
    QTest::mouseClick(button(w, "Btn_Next"), Qt::LeftButton); // page 10 is for writing
    EXPECT_EQ(w.currentHint(), 9);
    QTest::mouseClick(button(w, "Btn_Prev"), Qt::LeftButton);
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("ページ8"));
}

TEST(HintWindow, AContextWithoutPagesShowsPageOne)
{
    TestShell t;
    writeHints(t);
    t.state.HintContext = {13, HintSituation::Screen, StudyKind::Reading};
    TF_Hint w(t.services, nullptr);
    ASSERT_TRUE(w.FormShow());
    EXPECT_EQ(w.currentHint(), 1);
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("ページ1"));
    button(w, "Btn_Next")->click();
    EXPECT_EQ(w.currentHint(), 1);
}

TEST(HintWindow, TheIndexIsReadOnlyOnce)
{
    TestShell t;
    writeHints(t);
    t.state.HintContext = {12, HintSituation::Question, StudyKind::Writing};
    {
        TF_Hint w(t.services, nullptr);
        ASSERT_TRUE(w.FormShow());
        EXPECT_EQ(w.currentHint(), 10);
    }
    // The pages change on disk; the index stays as first read, the pages are read anew.
    QByteArray bytes;
    for (int n = 1; n <= 10; ++n)
        bytes += encodeHintRecord(page(n, HintCtx{}));
    QFile f(t.file(QStringLiteral("Hint.dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    TF_Hint again(t.services, nullptr);
    ASSERT_TRUE(again.FormShow());
    EXPECT_EQ(again.currentHint(), 10);
    EXPECT_EQ(firstLine(level1(again)), QStringLiteral("ページ10"));
}

TEST(HintWindow, AnswerHintButtonOnlyForAPracticeQuestion)
{
    TestShell t;
    writeHints(t);
    struct Case {
        HintCtx ctx;
        bool challenge;
        bool shown;
    };
    const Case cases[] = {
        {{12, HintSituation::Question, StudyKind::Reading}, false, true},
        {{12, HintSituation::WritingParts, StudyKind::Writing}, false, true},
        {{12, HintSituation::Question, StudyKind::Reading}, true, false},
        {{12, HintSituation::Screen, StudyKind::Reading}, false, false},
        {{4, HintSituation::Screen, StudyKind::Reading}, false, false},
        {{1, HintSituation::Screen, StudyKind::Reading}, false, false},
    };
    for (const Case &c : cases) {
        t.state.HintContext = c.ctx;
        t.state.ChallengeMode = c.challenge;
        TF_Hint w(t.services, nullptr);
        ASSERT_TRUE(w.FormShow());
        EXPECT_EQ(!button(w, "Btn_Kotae_Hint")->isHidden(), c.shown)
            << c.ctx.screen << "," << fileValue(c.ctx.situation) << " challenge " << c.challenge;
    }
}

TEST(HintWindow, AnswerHintReplacesThePageAndDrawsAnewEachPress)
{
    TestShell t;
    writeHints(t);
    t.state.HintContext = {12, HintSituation::Question, StudyKind::Reading};
    t.state.ChallengeMode = false;
    t.state.CurrentKind = fm::StudyKind::Reading;
    t.state.HintQuestion = 2;
    t.state.QuestionSlots[2].CorrectAnswer = sj(QStringLiteral("やま"));
    t.random.script = {1, 2};
    TF_Hint w(t.services, nullptr);
    ASSERT_TRUE(w.FormShow());
    w.show();
    QTest::mouseClick(button(w, "Btn_Kotae_Hint"), Qt::LeftButton);
    EXPECT_EQ(level1(w)->toPlainText(), QStringLiteral("こたえのさいしょのじはなにかな？\n\n\n\n\n"));
    EXPECT_EQ(level2(w)->toPlainText(), QStringLiteral("やです？\n\n\n\n\n"));
    QTest::mouseClick(button(w, "Btn_Kotae_Hint"), Qt::LeftButton);
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("こたえのさいごのじはなにかな？"));
    EXPECT_EQ(firstLine(level2(w)), QStringLiteral("まです？"));
    // Paging afterwards shows the pages again.
    button(w, "Btn_Next")->click();
    EXPECT_EQ(firstLine(level1(w)), QStringLiteral("ページ8"));
}

TEST(HintWindow, PictureOpensHelpAndReturnCloses)
{
    TestShell t;
    writeHints(t);
    TF_Hint w(t.services, nullptr);
    ASSERT_TRUE(w.FormShow());
    w.show();
    QTest::mouseClick(child<QLabel>(&w, "Image1"), Qt::LeftButton);
    EXPECT_EQ(t.help.contexts, (std::vector<int>{30}));
    QTest::mouseClick(button(w, "BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST(HintWindow, MissingHintFileEndsTheProgram)
{
    TestShell t;
    TF_Hint w(t.services, nullptr);
    EXPECT_EQ(w.exec(), QDialog::Rejected); // returns at once, never blocks
    EXPECT_TRUE(t.nav.quitRequested());
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, test::FakeDialogs::Kind::Fatal);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("Hint.datでエラーがおこりました。 "));
    EXPECT_FALSE(t.state.Hints.HintLoaded);
}

TEST(HintWindow, RegisteredWindowOpensModallyFromAScreensHintButton)
{
    TestShell t;
    writeHints(t);
    registerStudyScreens(t.screens);
    auto *screen = t.nav.open(ScreenId::Touroku); // any framed screen with a hint button
    ASSERT_NE(screen, nullptr);
    auto *frame = dynamic_cast<ScreenFrame *>(screen);
    ASSERT_NE(frame, nullptr);
    t.state.HintContext = {4, HintSituation::Screen, StudyKind::Reading}; // as if another screen had set it
    QString seenTitle;
    int seenPage = 0;
    bool seenModal = false;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *w = dynamic_cast<TF_Hint *>(QApplication::activeModalWidget())) {
            closer.stop();
            seenTitle = w->windowTitle();
            seenPage = w->currentHint();
            seenModal = w->isModal();
            QTest::mouseClick(button(*w, "BitBtn1"), Qt::LeftButton);
        }
    });
    closer.start();
    QTest::mouseClick(fm::test::headerButton(frame, 1), Qt::LeftButton);
    EXPECT_EQ(seenTitle, QStringLiteral("がんばれ！ ふでまる"));
    EXPECT_TRUE(seenModal);
    EXPECT_EQ(seenPage, 1); // screen 13 has no pages of its own in this file
    EXPECT_EQ(t.state.HintContext,
              (HintCtx{13, HintSituation::Screen, StudyKind::Reading})); // the screen is active again
}
