#include "shell/kit.h"
#include "shell/look.h"
#include "support/testshell.h"
#include <QApplication>
#include <QDialog>
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
        for (int i = 1; i <= header::ButtonCount; ++i) {
            HeaderButton *b = fm::test::headerButton(&s, i);
            ASSERT_NE(b, nullptr);
            // A row of 48-pixel buttons at the screen's height for them, the
            // first at the left edge's margin, evenly spaced and apart.
            EXPECT_EQ(b->size(), QSize(48, 48)) << i;
            EXPECT_EQ(b->y(), top) << i;
            if (i == 1)
                EXPECT_EQ(b->x(), 10);
            else
                EXPECT_EQ(b->x() - fm::test::headerButton(&s, i - 1)->geometry().right() - 1, 32)
                    << "gap before " << i;
            EXPECT_EQ(b->toolTip(), QString::fromUtf8(hints[i]));
            EXPECT_EQ(b->cursor().shape(), t.shell.HandPointer.shape());
        }
    }
    SampleScreen menuBack(t.services, 30, QStringLiteral("メニューにもどる"));
    EXPECT_EQ(fm::test::headerButton(&menuBack, 4)->toolTip(), QStringLiteral("メニューにもどる"));
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
    QTest::mouseClick(fm::test::headerButton(second, 4), Qt::LeftButton);
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
    t.state.HintContext = HintCtx{12, HintSituation::WritingChoice, StudyKind::Writing};
    auto *s = t.nav.open<SampleScreen>();
    EXPECT_EQ(t.state.HintContext, (HintCtx{5, HintSituation::Screen, StudyKind::Reading}));

    int hintShown = 0;
    t.screens.showHintWindow = [&](Services &sv, QWidget *) {
        ++hintShown;
        sv.state.HintContext = HintCtx{9, HintSituation(9), StudyKind(9)}; // whatever the window did
    };
    QTest::mouseClick(fm::test::headerButton(s, 1), Qt::LeftButton);
    EXPECT_EQ(hintShown, 1);
    EXPECT_EQ(t.state.HintContext, (HintCtx{5, HintSituation::Screen, StudyKind::Reading}));

    QTest::mouseClick(fm::test::headerButton(s, 2), Qt::LeftButton);
    EXPECT_EQ(t.help.contexts, std::vector<int>{310});
    s->setHelpContext(351);
    QTest::mouseClick(fm::test::headerButton(s, 2), Qt::LeftButton);
    EXPECT_EQ(t.help.contexts.back(), 351);
}

TEST(ScreenFrame, MinimiseDoesNotCountAsANewShowing)
{
    TestShell t;
    auto *s = t.nav.open<SampleScreen>();
    QTest::mouseClick(fm::test::headerButton(s, 3), Qt::LeftButton);
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
    QTest::mouseClick(fm::test::headerButton(frame, 4), Qt::LeftButton);
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

// A verdict, a score board or a result opens while the child is still
// pressing: the press that was meant for a mole must not close it unseen.
TEST(OpeningWindows, IgnorePressesForAMomentAndKeepTheirButtonFromThePointer)
{
    TestShell t;
    for (const ClearOfPointer how : {ClearOfPointer::MoveWindow, ClearOfPointer::MoveButton}) {
        SCOPED_TRACE(int(how));
        QDialog d(t.host.get());
        const bool full = how == ClearOfPointer::MoveButton;
        d.setFixedSize(full ? QSize(640, 480) : QSize(300, 120));
        auto *ok = new QPushButton(QStringLiteral("OK"), &d);
        ok->setGeometry(full ? QRect(507, 411, 105, 25) : QRect(100, 80, 100, 25));
        int clicks = 0;
        QObject::connect(ok, &QPushButton::clicked, [&] { ++clicks; });
        d.move(200, 150);
        const QPoint pointer = d.pos() + ok->geometry().center(); // where the child is pressing
        QCursor::setPos(pointer);
        shieldOpeningWindow(&d, t.clock, how);
        d.show();
        QCoreApplication::processEvents();
        const QRect shown(ok->mapToGlobal(QPoint(0, 0)), ok->size());
        EXPECT_FALSE(shown.adjusted(-20, -20, 20, 20).contains(QCursor::pos()))
            << "the button is not under the pointer";
        if (full) {
            EXPECT_EQ(d.pos(), QPoint(200, 150)) << "a window over the stage stays there";
        }

        QTest::mouseClick(ok, Qt::LeftButton);
        t.clock.advanceSeconds(0.9);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(clicks, 0) << "presses in its first moment are dropped";
        t.clock.advanceSeconds(0.2);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_EQ(clicks, 1);
    }
}

TEST(OpeningWindows, AWindowMovesTheShortestWayClearOfThePointerAndStaysOnTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const struct {
        const char *what;
        QRect window;
        QVector<QRect> buttons;
        QPoint pointer;
        bool moves;
    } cases[] = {
        {"pointer far away", {400, 300, 300, 120}, {{500, 380, 100, 25}}, {100, 100}, false},
        {"pointer on the button", {400, 300, 300, 120}, {{500, 380, 100, 25}}, {550, 392}, true},
        {"near the bottom edge", {400, 670, 300, 120}, {{500, 760, 100, 25}}, {550, 770}, true},
        {"two buttons side by side",
         {400, 300, 300, 120},
         {{420, 380, 100, 25}, {540, 380, 100, 25}},
         {530, 392},
         true},
        {"no room anywhere", {0, 0, 1280, 800}, {{600, 380, 100, 25}}, {650, 392}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QPoint to = placeClearOfPointer(c.window, c.buttons, c.pointer, screen, 32);
        EXPECT_EQ(to != c.window.topLeft(), c.moves);
        const QPoint shift = to - c.window.topLeft();
        EXPECT_TRUE(screen.contains(c.window.translated(shift)));
        if (c.moves) {
            for (const QRect &b : c.buttons)
                EXPECT_FALSE(b.translated(shift).adjusted(-32, -32, 32, 32).contains(c.pointer));
            EXPECT_LE(shift.manhattanLength(), 100) << "it moves just out of the way";
        }
    }
}
