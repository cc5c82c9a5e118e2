#include "shell/kit.h"
#include "shell/look.h"
#include "support/testshell.h"
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;
using fm::test::TestShell;

namespace
{

class SampleScreen : public ScreenFrame
{
  public:
    explicit SampleScreen(Services &sv, int top = 30, QString backHint = QStringLiteral("まえにもどる"))
        : ScreenFrame(sv, ScreenId::KIchiran, FrameLayout{top, backHint})
    {
    }
    int shows = 0, hides = 0, closes = 0;
    void FormShow() override { ++shows; }
    void FormHide() override { ++hides; }
    void FormClose() override { ++closes; }
};

} // namespace

TEST(ScreenFrame, HeaderButtonsStandAtTheirPlacesWithTheirHints)
{
    TestShell t;
    for (int top : {30, 27, 42}) {
        SampleScreen s(t.services, top);
        const char *hints[] = {"", "ヒントをみる", "ヘルプをみる", "アイコンにする", "まえにもどる"};
        for (int i = 1; i <= 4; ++i) {
            HeaderButton *b = s.headerButton(i);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->geometry(), QRect(80 * i - 70, top, 48, 48)) << i;
            EXPECT_EQ(b->toolTip(), QString::fromUtf8(hints[i]));
            EXPECT_EQ(b->cursor().shape(), t.shell.HandPointer.shape());
        }
    }
    SampleScreen menuBack(t.services, 30, QStringLiteral("メニューにもどる"));
    EXPECT_EQ(menuBack.headerButton(4)->toolTip(), QStringLiteral("メニューにもどる"));
}

TEST(ScreenFrame, ForwardHidesAndBackFreesTheScreen)
{
    TestShell t;
    auto *first = t.nav.open<SampleScreen>();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->shows, 1);

    auto *second = t.nav.open<SampleScreen>();
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(first->hides, 1);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->cameFrom(), first);

    QPointer<SampleScreen> gone = second;
    QTest::mouseClick(second->headerButton(4), Qt::LeftButton);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->shows, 2);
    EXPECT_EQ(t.nav.current(), first);
    ASSERT_FALSE(gone.isNull());
    EXPECT_EQ(gone->closes, 1);
    EXPECT_FALSE(gone->isVisible());
    TestShell::processDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(t.nav.screens().size(), 1u);
}

TEST(ScreenFrame, ReplaceClosesTheCurrentScreenAndKeepsWhereItCameFrom)
{
    TestShell t;
    auto *home = t.nav.open<SampleScreen>();
    auto *middle = t.nav.open<SampleScreen>();
    QPointer<SampleScreen> m = middle;
    auto *last = t.nav.replace<SampleScreen>();
    EXPECT_EQ(middle->closes, 1);
    EXPECT_EQ(last->cameFrom(), home);
    TestShell::processDeletes();
    EXPECT_TRUE(m.isNull());
    t.nav.back();
    EXPECT_EQ(t.nav.current(), home);
}

TEST(ScreenFrame, ExactlyOneScreenIsVisible)
{
    TestShell t;
    t.nav.open<SampleScreen>();
    t.nav.open<SampleScreen>();
    t.nav.open<SampleScreen>();
    t.nav.back();
    int visible = 0;
    for (Screen *s : t.nav.screens())
        visible += s->isVisible();
    EXPECT_EQ(visible, 1);
}

TEST(ScreenFrame, ActivationHintAndHelpUseTheScreensNumbers)
{
    TestShell t;
    t.state.HintContext = HintCtx{12, 3, 2};
    auto *s = t.nav.open<SampleScreen>();
    EXPECT_EQ(t.state.HintContext, (HintCtx{5, 1, 1}));

    int hintShown = 0;
    t.screens.showHintWindow = [&](Services &sv, QWidget *) {
        ++hintShown;
        sv.state.HintContext = HintCtx{9, 9, 9}; // whatever the window did
    };
    QTest::mouseClick(s->headerButton(1), Qt::LeftButton);
    EXPECT_EQ(hintShown, 1);
    EXPECT_EQ(t.state.HintContext, (HintCtx{5, 1, 1}));

    QTest::mouseClick(s->headerButton(2), Qt::LeftButton);
    EXPECT_EQ(t.help.contexts, std::vector<int>{310});
    s->setHelpContext(351);
    QTest::mouseClick(s->headerButton(2), Qt::LeftButton);
    EXPECT_EQ(t.help.contexts.back(), 351);
}

TEST(ScreenFrame, MinimiseDoesNotCountAsANewShowing)
{
    TestShell t;
    auto *s = t.nav.open<SampleScreen>();
    QTest::mouseClick(s->headerButton(3), Qt::LeftButton);
    EXPECT_TRUE(t.host->isMinimized() || t.host->windowState() & Qt::WindowMinimized);
    t.host->showNormal();
    EXPECT_EQ(s->shows, 1);
    EXPECT_EQ(s->hides, 0);
}

TEST(ScreenFrame, ScreensOpenByIdWithTheCataloguesNumbersAndNeverSilentlyAsPlaceholders)
{
    TestShell t;
    auto *menu = t.nav.open<SampleScreen>();
    Screen *p = t.nav.open(ScreenId::Player); // the test shell's stand-in
    EXPECT_EQ(p->id(), ScreenId::Player);
    EXPECT_EQ(p->screenNumber(), 7);
    EXPECT_EQ(p->helpContext(), 33);
    auto *frame = dynamic_cast<ScreenFrame *>(p);
    ASSERT_NE(frame, nullptr);
    QTest::mouseClick(frame->headerButton(4), Qt::LeftButton);
    EXPECT_EQ(t.nav.current(), menu);

    bool built = false;
    t.screens.add(ScreenId::Player, [&](Services &sv) {
        built = true;
        return new SampleScreen(sv);
    });
    t.nav.open(ScreenId::Player);
    EXPECT_TRUE(built);

    // A program's own registry knows only what its folders added.
    ScreenRegistry bare;
    EXPECT_EQ(bare.missing().size(), size_t(ScreenIdCount - 1)); // all but the menu
    EXPECT_THROW(bare.create(ScreenId::Mode, t.services), std::logic_error);
    bare.add(ScreenId::Mode, [](Services &sv) { return new SampleScreen(sv); });
    EXPECT_EQ(bare.missing().size(), size_t(ScreenIdCount - 2));
}

TEST(ScreenFrame, AScreenWhoseBuildingHitsADamagedFileIsNeverShown)
{
    TestShell t;
    auto *menu = t.nav.open<SampleScreen>();
    t.screens.add(ScreenId::KSeiseki1, [](Services &sv) -> Screen * {
        auto *half = new SampleScreen(sv);
        delete half; // what a throwing constructor leaves: nothing
        throw FileError(QStringLiteral("Kiroku2.dat"));
    });
    EXPECT_EQ(t.nav.open(ScreenId::KSeiseki1), nullptr);
    EXPECT_EQ(t.nav.current(), menu);
    EXPECT_TRUE(t.nav.quitRequested());
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("Kiroku2.datでエラーがおこりました。 "));
}

namespace
{
// What the window system sends for a press; the second press of a double
// click comes as a double-click event.
void press(QWidget *w, QEvent::Type type)
{
    const QPointF at = QRectF(w->rect()).center();
    QMouseEvent down(type, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}
} // namespace

TEST(ScreenFrame, TheSecondPressOfADoubleClickNeverLandsOnWhatCameUnderThePointer)
{
    TestShell t;
    auto *first = t.nav.open<SampleScreen>();
    auto *next = new QPushButton(QStringLiteral("つぎ"), first);
    auto *second = new SampleScreen(t.services);
    auto *under = new QPushButton(QStringLiteral("ゲーム"), second); // where つぎ was
    auto *key = new QPushButton(QStringLiteral("あ"), second);
    takeEveryPress(key);
    int nextClicks = 0, underClicks = 0, keyClicks = 0;
    QObject::connect(next, &QPushButton::clicked, [&] {
        ++nextClicks;
        t.nav.forward(second, false);
    });
    QObject::connect(under, &QPushButton::clicked, [&] { ++underClicks; });
    QObject::connect(key, &QPushButton::clicked, [&] { ++keyClicks; });

    press(next, QEvent::MouseButtonPress);
    press(under, QEvent::MouseButtonDblClick); // the child's second press
    EXPECT_EQ(nextClicks, 1);
    EXPECT_EQ(underClicks, 0);
    EXPECT_EQ(t.nav.current(), second);

    // The same button double-clicked acts once; a kana key tapped twice types twice.
    press(under, QEvent::MouseButtonPress);
    press(under, QEvent::MouseButtonDblClick);
    EXPECT_EQ(underClicks, 1);
    press(key, QEvent::MouseButtonPress);
    press(key, QEvent::MouseButtonDblClick);
    EXPECT_EQ(keyClicks, 2);
}

TEST(ScreenFrame, FileErrorsInHandlersEndTheProgramWithTheirMessage)
{
    TestShell t;
    bool after = false;
    bool ok = t.services.guard(nullptr, [&] {
        throw FileError(QStringLiteral("Kiroku3.dat"));
        after = true;
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(after);
    EXPECT_TRUE(t.nav.quitRequested());
    ASSERT_EQ(t.dialogs.calls.size(), 1u);
    EXPECT_EQ(t.dialogs.calls[0].kind, fm::test::FakeDialogs::Kind::Fatal);
    EXPECT_EQ(t.dialogs.calls[0].text, QStringLiteral("Kiroku3.datでエラーがおこりました。 "));
}
