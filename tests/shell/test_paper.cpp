// The pen both papers share, the writing square of a writing question and
// the practice paper of a kanji's page: every case runs on each, with the
// pointer's events going where a window sends them.
#include "handwriting/kanjipage.h"
#include "shell/writing.h"
#include "support/testshell.h"
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace fm;

namespace
{

// Both papers are laid out with a side of InkSide pixels, so that a point
// `at` pixels from the paper's top left corner is at `at` in ink.
constexpr QPoint PaperAt(40, 40);

struct Surface {
    const char *name;
    std::function<PaperWidget *(QWidget *host)> make;
    bool keepsHiddenStroke;
};

const Surface surfaces[] = {
    {"writing square",
     [](QWidget *host) -> PaperWidget * {
         auto *square = new WritingSquare(host);
         square->setGeometry(QRect(PaperAt, QSize(InkSide, InkSide)));
         return square;
     },
     true},
    {"kanji page's paper",
     [](QWidget *host) -> PaperWidget * {
         auto *square = new GuidedSquare(host);
         const int m = GuidedSquare::PaperMargin;
         square->setGeometry(QRect(PaperAt - QPoint(m, m), QSize(InkSide + 2 * m, InkSide + 2 * m)));
         square->show(QStringLiteral("口"), {}, GuidedSquare::Look::Blank, nullptr);
         return square;
     },
     false},
};

enum class Act { Press, Move, Release, DoubleClick, OtherButton, Hide, Inked, Clean };

struct Step {
    Act act;
    QPoint at; // from the paper's top left corner
};

// The pointer as a window drives it: a press goes to the widget under it,
// which then has the moves and the release until the button is let go.
class Pointer
{
  public:
    explicit Pointer(QWidget &host) : host_(host) {}

    void press(QPoint at, Qt::MouseButton button, bool twice)
    {
        QWidget *under = host_.childAt(PaperAt + at);
        grab_ = under ? under : &host_;
        button_ = button;
        if (twice)
            QTest::mouseDClick(grab_, button, {}, local(at));
        else
            QTest::mousePress(grab_, button, {}, local(at));
    }
    void move(QPoint at) { QTest::mouseMove(grab_, local(at)); }
    void release(QPoint at) { QTest::mouseRelease(grab_, button_, {}, local(at)); }

  private:
    QPoint local(QPoint at) const { return grab_->mapFrom(&host_, PaperAt + at); }

    QWidget &host_;
    QWidget *grab_ = nullptr;
    Qt::MouseButton button_ = Qt::NoButton;
};

} // namespace

TEST(Paper, BothPapersTakeAChildsStrokesAlike)
{
    fm::test::app();
    struct Case {
        const char *what;
        std::vector<Step> steps;
        int strokes;                       // handed on, counting a stroke hidden midway as kept
        std::optional<QPointF> start, end; // of the last stroke, in ink
    };
    const Case cases[] = {
        {"a press on the paper",
         {{Act::Press, {64, 64}}, {Act::Move, {192, 64}}, {Act::Release, {192, 64}}},
         1,
         QPointF(64, 64),
         QPointF(192, 64)},
        {"a press just beside it starts on its edge and goes on across",
         {{Act::Press, {-8, 128}},
          {Act::Move, {60, 129}},
          {Act::Move, {128, 130}},
          {Act::Release, {128, 130}}},
         1,
         QPointF(0, 128),
         QPointF(128, 130)},
        {"a press farther off starts nothing",
         {{Act::Press, {-40, 128}}, {Act::Move, {128, 128}}, {Act::Release, {128, 128}}},
         0},
        {"a stroke run over the edge stays on it",
         {{Act::Press, {128, 128}}, {Act::Move, {300, -50}}, {Act::Release, {300, -50}}},
         1,
         QPointF(128, 128),
         QPointF(InkSide - 1, 0)},
        {"a double click is two dots",
         {{Act::Press, {100, 100}},
          {Act::Release, {100, 100}},
          {Act::DoubleClick, {100, 100}},
          {Act::Release, {100, 100}}},
         2,
         QPointF(100, 100),
         QPointF(100, 100)},
        {"a second press while drawing ends the first stroke",
         {{Act::Press, {40, 40}},
          {Act::Move, {200, 40}},
          {Act::Press, {40, 200}},
          {Act::Move, {200, 200}},
          {Act::Release, {200, 200}}},
         2,
         QPointF(40, 200),
         QPointF(200, 200)},
        {"the other button writes nothing",
         {{Act::OtherButton, {64, 64}}, {Act::Move, {192, 64}}, {Act::Release, {192, 64}}},
         0},
        {"hidden in the middle of a stroke",
         {{Act::Press, {64, 64}}, {Act::Move, {192, 192}}, {Act::Hide, {}}},
         1,
         QPointF(64, 64),
         QPointF(192, 192)},
        {"the stroke is drawn as it is written",
         {{Act::Clean, {96, 64}},
          {Act::Press, {64, 64}},
          {Act::Move, {192, 64}},
          {Act::Inked, {96, 64}},
          {Act::Release, {192, 64}}},
         1,
         QPointF(64, 64),
         QPointF(192, 64)},
    };
    for (const Surface &surface : surfaces)
        for (const Case &c : cases) {
            const std::string name = std::string(surface.name) + ": " + c.what;
            QWidget host;
            host.resize(PaperAt.x() * 2 + InkSide, PaperAt.y() * 2 + InkSide);
            PaperWidget *paper = surface.make(&host);
            host.show();
            ASSERT_EQ(paper->mapTo(&host, paper->paper().topLeft()), QPointF(PaperAt)) << name;
            QSignalSpy strokes(paper, &PaperWidget::strokeWritten);
            Pointer pointer(host);
            bool hidden = false;
            for (const Step &s : c.steps) {
                switch (s.act) {
                case Act::Press:
                case Act::DoubleClick:
                    pointer.press(s.at, Qt::LeftButton, s.act == Act::DoubleClick);
                    break;
                case Act::OtherButton:
                    pointer.press(s.at, Qt::RightButton, false);
                    break;
                case Act::Move:
                    pointer.move(s.at);
                    break;
                case Act::Release:
                    pointer.release(s.at);
                    break;
                case Act::Hide:
                    paper->hide();
                    hidden = true;
                    break;
                case Act::Inked:
                case Act::Clean: {
                    const QImage look = paper->grab().toImage();
                    const QPoint at = (paper->paper().topLeft() + s.at).toPoint();
                    const int grey = qGray(look.pixel(at));
                    if (s.act == Act::Inked)
                        EXPECT_LT(grey, 100) << name;
                    else
                        EXPECT_GT(grey, 200) << name;
                    break;
                }
                }
            }
            const bool dropped = hidden && !surface.keepsHiddenStroke;
            EXPECT_EQ(strokes.count(), dropped ? 0 : c.strokes) << name;
            EXPECT_FALSE(paper->drawing()) << name;
            if (dropped || !c.start || strokes.isEmpty())
                continue;
            const InkStroke last = strokes.last().first().value<InkStroke>();
            ASSERT_FALSE(last.isEmpty()) << name;
            EXPECT_EQ(last.first(), *c.start) << name;
            EXPECT_EQ(last.last(), *c.end) << name;
        }
}
