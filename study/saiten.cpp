#include "study/saiten.h"
#include "data/cp932.h"
#include "data/progress.h"
#include "data/studylog.h"
#include "handwriting/kanjipage.h"
#include "handwriting/strokeorderview.h"
#include "shell/clock.h"
#include "shell/endflow.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "study/levelup.h"
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace fm
{

namespace
{

constexpr int ClientWidth = 632;
constexpr int ClientHeight = 453;
constexpr int MenuButtonBottom = 27 + 48; // the main menu's picture buttons stand below its title
const QColor FixedCell{105, 195, 214};

QTableWidgetItem *cell(const QString &text, const QColor &ground,
                       Qt::Alignment align = Qt::AlignVCenter | Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setBackground(ground);
    item->setForeground(colour::Black);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

TF_Saiten::TF_Saiten(Services &sv, Screen *testScreen)
    : ScreenFrame(sv, ScreenId::Saiten, FrameLayout{30, QString(), false}), testScreen_(testScreen)
{
    Lbl_Title->move(8, 24);
    Lbl_Tokuten = makeLabel(this, QString(), 472, 24, pixelFont(27, true), colour::White, 150, 30);
    Lbl_Tokuten->setObjectName(QStringLiteral("Lbl_Tokuten"));
    buildStrokeOrderNotes(buildGrid() + 6);

    GradingRow = 0;
    state.TestScore = 0;
    Tim_Saiten = new QTimer(this);
    Tim_Saiten->setObjectName(QStringLiteral("Tim_Saiten"));
    Tim_Saiten->setInterval(GradingIntervalMs);
    connect(Tim_Saiten, &QTimer::timeout, this, &TF_Saiten::Tim_SaitenTimer);
    Tim_Saiten->start();
}

int TF_Saiten::buildGrid()
{
    const int rows = QuestionsPerTest + 1;
    Grd_Saiten = new QTableWidget(rows, 5, this);
    Grd_Saiten->setObjectName(QStringLiteral("Grd_Saiten"));
    const int gridWidth = ClientWidth - 20;
    const int gridHeight = ClientHeight - Lbl_Title->height() - 80;
    Grd_Saiten->setGeometry(10, MenuButtonBottom, gridWidth, gridHeight);
    Grd_Saiten->horizontalHeader()->hide();
    Grd_Saiten->verticalHeader()->hide();
    Grd_Saiten->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grd_Saiten->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grd_Saiten->setSelectionMode(QAbstractItemView::NoSelection);
    Grd_Saiten->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grd_Saiten->setFocusPolicy(Qt::NoFocus);
    Grd_Saiten->setFont(pixelFont(14, true));
    Grd_Saiten->setFrameShape(QFrame::NoFrame);
    // Below and beside the ten rows the screen's navy shows, not a white page.
    QPalette ground = Grd_Saiten->palette();
    ground.setColor(QPalette::Base, colour::Navy);
    ground.setColor(QPalette::Window, colour::Navy);
    Grd_Saiten->setPalette(ground);
    const int rowHeight = gridHeight / 12;
    for (int r = 0; r < rows; ++r)
        Grd_Saiten->setRowHeight(r, rowHeight);
    const int widths[] = {30, gridWidth - 300, 100, 100, 60};
    for (int c = 0; c < 5; ++c)
        Grd_Saiten->setColumnWidth(c, widths[c]);
    const QStringList heads{QStringLiteral("No"), QStringLiteral("もんだい"),
                            QStringLiteral("あなたのこたえ"), QStringLiteral("せいかい"),
                            QStringLiteral("さいてん")};
    for (int c = 0; c < 5; ++c)
        Grd_Saiten->setItem(0, c, cell(heads[c], FixedCell, Qt::AlignCenter));
    for (int r = 1; r < rows; ++r) {
        Grd_Saiten->setItem(r, 0, cell(QString(), FixedCell, Qt::AlignCenter));
        for (int c = 1; c < 5; ++c)
            Grd_Saiten->setItem(
                r, c,
                cell(QString(), colour::Yellow, c == 4 ? Qt::AlignCenter : Qt::AlignVCenter | Qt::AlignLeft));
    }
    return MenuButtonBottom + rows * rowHeight;
}

// Under the rows: kanji written right but in another stroke order, each a
// button to its stroke-order picture. Advice only: the points stand.
void TF_Saiten::buildStrokeOrderNotes(int noteTop)
{
    Lbl_Kakijun = makeLabel(this, QStringLiteral("かきじゅんを たしかめよう："), 10, noteTop + 4,
                            pixelFont(16, true), colour::Yellow);
    Lbl_Kakijun->setObjectName(QStringLiteral("Lbl_Kakijun"));
    Lbl_Kakijun->hide();
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        QPushButton *b = makePushButton(this, QString(), QRect(0, noteTop, 34, 30),
                                        services.shell.HandPointer, QStringLiteral("かきじゅんを みる"));
        b->setFont(pixelFont(20, true, Gothic));
        b->setObjectName(QStringLiteral("Btn_Kakijun%1").arg(i));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, i] { Btn_KakijunClick(i); });
        Btn_Kakijun[i] = b;
    }
}

void TF_Saiten::FormClose()
{
    Tim_Saiten->stop();
}

void TF_Saiten::Tim_SaitenTimer()
{
    if (finished_)
        return;
    if (GradingRow >= QuestionsPerTest) {
        Tim_Saiten->stop();
        Btn_CancelClick();
        return;
    }
    ++GradingRow;
    fillRow(gradeQuestion(state, GradingRow));
}

void TF_Saiten::fillRow(const GradedRow &row)
{
    const int r = row.number;
    Grd_Saiten->item(r, 0)->setText(QString::number(r));
    Grd_Saiten->item(r, 1)->setText(cp932::toUnicode(row.sentence));
    // An empty answer cell says why when the child wrote but never chose.
    Grd_Saiten->item(r, 2)->setText(row.drawingUnchosen ? QStringLiteral("えらんでない")
                                                        : cp932::toUnicode(row.answer));
    Grd_Saiten->item(r, 3)->setText(cp932::toUnicode(row.expected));
    Grd_Saiten->item(r, 4)->setText(row.right ? QStringLiteral("○") : QStringLiteral("×"));
    if (row.right) {
        noteStrokeOrder(r);
        services.shell.MaruBatsu.playRight();
        Lbl_Tokuten->setText(pointsText(state.TestScore));
        if (pointsInRed(state.TestScore))
            setTextColour(Lbl_Tokuten, colour::Red);
    } else {
        services.shell.MaruBatsu.playWrong();
    }
}

void TF_Saiten::noteStrokeOrder(int question)
{
    const QuestionSlot &slot = state.QuestionSlots[question];
    if (!strokeOrderAdvised(slot) || !strokeOrderAvailable(services, slot.Kanji))
        return;
    QPushButton *b = Btn_Kakijun[question];
    b->setText(cp932::toUnicode(slot.WrittenGlyph));
    b->setProperty("kanji", int(slot.Kanji));
    int x = Lbl_Kakijun->x() + Lbl_Kakijun->sizeHint().width() + 4;
    for (int i = 1; i < question; ++i)
        if (Btn_Kakijun[i]->isVisible())
            x += Btn_Kakijun[i]->width() + 4;
    b->move(x, b->y());
    Lbl_Kakijun->show();
    b->show();
}

void TF_Saiten::Btn_KakijunClick(int question)
{
    // Grading waits while the kanji's page is open, and goes on when the
    // child comes back from it.
    resumeMarking_ = resumeMarking_ || Tim_Saiten->isActive();
    Tim_Saiten->stop();
    openKanjiPage(services, Btn_Kakijun[question]->property("kanji").toInt());
}

void TF_Saiten::FormShow()
{
    if (resumeMarking_ && !finished_)
        Tim_Saiten->start();
    resumeMarking_ = false;
}

bool TF_Saiten::showResult()
{
    TF_Level_Up result(services, this);
    result.exec();
    return !services.nav.quitRequested();
}

void TF_Saiten::startReview()
{
    state.ReviewMode = true;
    services.shell.MaruBatsu.silenceBoth();
    if (testScreen_) {
        services.nav.closeAndShow(testScreen_); // its show starts the review
        return;
    }
    // Without the test there is nothing to review: go home.
    state.ReviewMode = false;
    services.nav.back();
}

void TF_Saiten::Btn_CancelClick()
{
    if (finished_)
        return;
    finished_ = true;
    Tim_Saiten->stop();
    const double now = services.clock.now();
    switch (gradingFinish(state.TestScore)) {
    case GradingFinish::RecordAndResult: {
        if (!services.guard(this, [&] { recordTest(state, true, now); }))
            return;
        finishToFreshMode(services, this, testScreen_, [this] { showResult(); });
        break;
    }
    case GradingFinish::RecordResultThenReview:
        if (!services.guard(this, [&] { recordTest(state, false, now); }))
            return;
        if (!showResult())
            return;
        startReview();
        break;
    case GradingFinish::ReviewFirst:
        startReview();
        break;
    }
}

} // namespace fm
