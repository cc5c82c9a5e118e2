#include "records/player.h"
#include "data/cp932.h"
#include "data/progress.h"
#include "data/roster.h"
#include "records/layout.h"
#include "shell/navigator.h"
#include <QMouseEvent>
#include <algorithm>

namespace fm
{

namespace
{
QFont listFont()
{
    return pointFont(16, true);
}
} // namespace

TF_Player::TF_Player(Services &sv)
    : ScreenFrame(sv, ScreenId::Player, FrameLayout{30, QStringLiteral("メニューにもどる")})
{
    Lbl_Title->move(24, 0);
    setMouseTracking(true);
    const int count = std::clamp<int>(state.Players.PlayerCount, 0, MaxPlayers);
    for (int n = 1; n <= count; ++n)
        buildPlayer(n);
}

void TF_Player::buildTitles(int column, int xOffset)
{
    const QString texts[] = {QStringLiteral("    なまえ  "), QStringLiteral("レベル"),
                             QStringLiteral("しゅるい")};
    int left = xOffset + 20;
    for (int t = 1; t <= 3; ++t) {
        QLabel *title =
            makeLabel(this, texts[t - 1], left, records::PlayerTitleTop, listFont(), colour::Yellow);
        title->setObjectName(QStringLiteral("Lbl_ColumnTitle%1_%2").arg(t).arg(column));
        Lbl_ColumnTitle[t][column] = title;
        left = title->geometry().right() + 1 + 20;
    }
}

void TF_Player::buildPlayer(int n)
{
    const int w = width();
    const int xOffset = records::playerColumnOffset(n, w);
    const int column = n <= 5 ? 1 : 2;
    if (n == 1 || n == 6)
        buildTitles(column, xOffset);
    const int top = records::playerRowTop(n, w);
    const PlayerEntry &e = state.Players.PlayerTable[n];

    auto *name = new ClickLabel(this, n);
    name->setObjectName(QStringLiteral("Lbl_PlayerName%1").arg(n));
    name->setText(shownName(e.Name));
    name->setFont(listFont());
    setTextColour(name, colour::White);
    name->setAttribute(Qt::WA_TranslucentBackground);
    name->move(Lbl_ColumnTitle[1][column]->x() + 20, top);
    name->adjustSize();
    name->setCursor(services.shell.HandPointer);
    connect(name, &ClickLabel::hovered, this, &TF_Player::Lbl_PlayerMouseMove);
    connect(name, &ClickLabel::clicked, this, &TF_Player::Lbl_PlayerClick);
    Lbl_PlayerName[n] = name;

    const bool allDone = e.Level >= TopLevel;
    Lbl_PlayerLevel[n] = makeLabel(this, allDone ? QStringLiteral("かんじはかせ") : QString::number(e.Level),
                                   Lbl_ColumnTitle[2][column]->x() + 20, top, listFont(),
                                   allDone ? colour::Red : colour::White);
    Lbl_PlayerKind[n] = makeLabel(
        this, kindFromFile(e.Kind) == StudyKind::Reading ? QStringLiteral("よむ ") : QStringLiteral("かく "),
        Lbl_ColumnTitle[3][column]->x() + 20, top, listFont(), colour::White);
    Lbl_PlayerKind[n]->setVisible(!allDone);
    Lbl_PlayerLevel[n]->setObjectName(QStringLiteral("Lbl_PlayerLevel%1").arg(n));
    Lbl_PlayerKind[n]->setObjectName(QStringLiteral("Lbl_PlayerKind%1").arg(n));
}

void TF_Player::Lbl_PlayerMouseMove(int player)
{
    for (ClickLabel *l : Lbl_PlayerName)
        if (l)
            setTextColour(l, l->tag() == player ? colour::Red : colour::White);
}

void TF_Player::FormMouseMove()
{
    Lbl_PlayerMouseMove(0);
}

void TF_Player::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over a name label reach here too, as the label ignores them.
    if (!qobject_cast<ClickLabel *>(childAt(event->position().toPoint())))
        FormMouseMove();
    ScreenFrame::mouseMoveEvent(event);
}

void TF_Player::Lbl_PlayerClick(int player)
{
    // An unreadable log ends the program with its message; no mode screen.
    if (!services.guard(this, [&] { selectPlayer(state, player); }))
        return;
    services.nav.replace(ScreenId::Mode);
}

void TF_Player::BackClick()
{
    services.nav.showMainMenu();
}

} // namespace fm
