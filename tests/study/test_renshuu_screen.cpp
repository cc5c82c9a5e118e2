// The practice level picker: its 24 buttons, their tooltips, and starting a
// practice test.
#include "data/cp932.h"
#include "shell/catalogue.h"
#include "study/register.h"
#include "study/renshuu.h"
#include "support/find.h"
#include "support/testshell.h"
#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::child;
using fm::test::TestShell;

namespace
{

// Kanji for the catalogue: level 1 and level 12 get their own twenty.
const QString Level1 = QStringLiteral("一右雨円王音下火花貝学気九休玉金空月犬見");
const QString Level12 = QStringLiteral("光考行高黄合谷国黒今才細作算止市矢姉思紙");

void fillCatalogue(AppState &state)
{
    for (int k = 1; k <= 240; ++k) {
        const QString &source = k > 220 ? Level12 : Level1;
        state.Cat.KanjiTable[k].Glyph = cp932::fromUnicode(source.mid((k - 1) % 20, 1));
    }
}

class FakeTest : public ScreenFrame
{
  public:
    explicit FakeTest(Services &sv) : ScreenFrame(sv, ScreenId::Shutsudai, FrameLayout{27}) {}
};

struct Picker {
    TestShell t;
    Screen *mode = nullptr;
    TF_Renshuu *picker = nullptr;
    Picker()
    {
        fillCatalogue(t.state);
        registerStudyScreens(t.screens);
        t.screens.add(ScreenId::Shutsudai, [](Services &sv) { return new FakeTest(sv); });
        mode = t.nav.open(ScreenId::Mode); // a placeholder stands in for the mode screen
        t.state.ChallengeMode = false;
        picker = dynamic_cast<TF_Renshuu *>(t.nav.open(ScreenId::Renshuu));
    }
    QGroupBox *box(const char *name) const { return child<QGroupBox>(picker, name); }
    // Level button n of a box: "Btn_Level_Yomu" in GRP_Yomu, "Btn_Level_Kaku" in GRP_Kaku.
    QPushButton *level(const char *name, int n) const
    {
        return child<QPushButton>(box(qstrcmp(name, "Btn_Level_Yomu") == 0 ? "GRP_Yomu" : "GRP_Kaku"), name,
                                  n);
    }
};

} // namespace

TEST(PracticePicker, TwentyFourButtonsInTwoColumnsPerBox)
{
    Picker p;
    ASSERT_NE(p.picker, nullptr);
    EXPECT_EQ(p.picker->id(), ScreenId::Renshuu);
    EXPECT_EQ(p.picker->helpContext(), screenRow(ScreenId::Renshuu).helpContext);
    EXPECT_EQ(p.t.state.HintContext, (HintCtx{8, HintSituation::Screen, StudyKind::Reading}));
    EXPECT_EQ(p.box("GRP_Yomu")->geometry(), QRect(40, 108, 265, 325));
    EXPECT_EQ(p.box("GRP_Kaku")->geometry(), QRect(336, 108, 265, 325));
    EXPECT_EQ(p.box("GRP_Yomu")->title(), QStringLiteral(" 「よむ」 れんしゅう"));
    EXPECT_EQ(p.box("GRP_Kaku")->title(), QStringLiteral(" 「かく」 れんしゅう"));
    for (const char *buttons : {"Btn_Level_Yomu", "Btn_Level_Kaku"}) {
        for (int n = 1; n <= 12; ++n) {
            QPushButton *b = p.level(buttons, n);
            ASSERT_NE(b, nullptr) << n;
            EXPECT_EQ(b->text(), QString::number(n));
            EXPECT_EQ(b->property("tag").toInt(), n);
            EXPECT_TRUE(b->isVisible());
            EXPECT_EQ(b->cursor().shape(), p.t.shell.HandPointer.shape());
        }
        EXPECT_EQ(p.level(buttons, 1)->geometry(), QRect(10, 40, 80, 40));
        EXPECT_EQ(p.level(buttons, 6)->geometry(), QRect(10, 240, 80, 40));
        EXPECT_EQ(p.level(buttons, 7)->geometry(), QRect(110, 40, 80, 40));   // top of the right column
        EXPECT_EQ(p.level(buttons, 12)->geometry(), QRect(110, 240, 80, 40)); // its bottom
    }
    EXPECT_EQ(p.box("GRP_Yomu")->findChildren<QPushButton *>().size(), 12);
    EXPECT_EQ(p.box("GRP_Kaku")->findChildren<QPushButton *>().size(), 12);
}

TEST(PracticePicker, TooltipsAreTheLevelsTwentyKanji)
{
    Picker p;
    EXPECT_EQ(p.level("Btn_Level_Yomu", 1)->toolTip(), Level1);
    EXPECT_EQ(p.level("Btn_Level_Kaku", 1)->toolTip(), Level1);
    EXPECT_EQ(p.level("Btn_Level_Yomu", 12)->toolTip(), Level12);
    EXPECT_EQ(p.level("Btn_Level_Kaku", 12)->toolTip(), Level12);
    EXPECT_EQ(p.level("Btn_Level_Yomu", 5)->toolTip().size(), 20);
}

TEST(PracticePicker, ALevelButtonStartsAPracticeTestAndThePickerCloses)
{
    Picker p;
    p.t.state.ReviewMode = true; // left over
    QPointer<TF_Renshuu> picker = p.picker;
    QTest::mouseClick(p.level("Btn_Level_Kaku", 7), Qt::LeftButton);
    EXPECT_EQ(p.t.state.CurrentLevel, 7);
    EXPECT_EQ(p.t.state.CurrentKind, fm::StudyKind::Writing);
    EXPECT_FALSE(p.t.state.ReviewMode);
    EXPECT_FALSE(p.t.state.ChallengeMode);
    auto *test = dynamic_cast<FakeTest *>(p.t.nav.current());
    ASSERT_NE(test, nullptr);
    EXPECT_TRUE(test->isVisible());
    EXPECT_EQ(test->cameFrom(), p.mode);                // the test's back leads to the mode screen
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy pointer is gone again
    TestShell::processDeletes();
    EXPECT_TRUE(picker.isNull());

    // Going back from the test shows the mode screen.
    QTest::mouseClick(fm::test::headerButton(test, int(header::Button::Back)), Qt::LeftButton);
    EXPECT_EQ(p.t.nav.current(), p.mode);
}

TEST(PracticePicker, ReadingButtonAndBackButton)
{
    Picker p;
    QTest::mouseClick(p.level("Btn_Level_Yomu", 3), Qt::LeftButton);
    EXPECT_EQ(p.t.state.CurrentLevel, 3);
    EXPECT_EQ(p.t.state.CurrentKind, fm::StudyKind::Reading);

    Picker q;
    QPointer<TF_Renshuu> picker = q.picker;
    QTest::mouseClick(fm::test::headerButton(q.picker, 4), Qt::LeftButton);
    EXPECT_EQ(q.t.nav.current(), q.mode);
    TestShell::processDeletes();
    EXPECT_TRUE(picker.isNull());
}
