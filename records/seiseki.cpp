#include "records/seiseki.h"
#include "data/cp932.h"
#include "data/fileio.h"
#include "data/levels.h"
#include "data/roster.h"
#include "data/studylog.h"
#include "media/mediafiles.h"
#include "records/seisekibuttons.h"
#include "records/seisekigraph.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include <algorithm>

namespace fm
{

namespace
{

constexpr int ClientWidth = 632;
constexpr int ClientHeight = 453;

// Where both tables stand: below the header row, as wide as the client area
// allows, leaving room at the bottom.
QRect gridPlace(const QLabel *title)
{
    return {10, title->height() + 60, ClientWidth - 10 - 20, ClientHeight - title->height() - 80};
}

QFont headerFont()
{
    return pixelFont(13, true);
}

} // namespace

// ---- The player list ---------------------------------------------------------

TF_Seiseki1::TF_Seiseki1(Services &sv) : ScreenFrame(sv, ScreenId::Seiseki1)
{
    const int players = std::clamp<int>(state.Players.PlayerCount, 0, MaxPlayers);
    Grd_Seiseki = new records::SeisekiGrid(
        this, players + 1, {QStringLiteral("No"), QStringLiteral("なまえ"), QStringLiteral("レベル")});
    const QRect place = gridPlace(Lbl_Title);
    Grd_Seiseki->setGeometry(place);
    Grd_Seiseki->setFonts(headerFont(), pixelFont(16, true));
    Grd_Seiseki->setRowHeight(30);
    Grd_Seiseki->setColumnWidths({30, place.width() - 97, 60});
    Grd_Seiseki->setCentred({0, 2});
    for (int n = 1; n <= players; ++n) {
        const PlayerEntry &e = state.Players.PlayerTable[n];
        Grd_Seiseki->setRow(n, {QString::number(n), cp932::toUnicode(e.Name), QString::number(e.Level)});
    }
    Grd_Seiseki->setRowPointer(sv.shell.HandPointer);
    connect(Grd_Seiseki, &records::SeisekiGrid::rowClicked, this, &TF_Seiseki1::Grd_SeisekiClick);
    Grd_Seiseki->setObjectName(QStringLiteral("Grd_Seiseki"));
}

void TF_Seiseki1::Grd_SeisekiClick(int row)
{
    if (row < 1 || row > state.Players.PlayerCount)
        return;
    // Only the player changes: level and kind stay as they were.
    state.CurrentPlayer = int16_t(row);
    services.nav.open<TF_Seiseki2>();
}

void TF_Seiseki1::BackClick()
{
    services.nav.showMainMenu();
}

// ---- One player's history ------------------------------------------------------

TF_Seiseki2::TF_Seiseki2(Services &sv) : ScreenFrame(sv, ScreenId::Seiseki2)
{
    Lbl_Title->setText(records::historyTitle(state.currentEntry().Name));
    Lbl_Title->adjustSize();
    Lbl_Title->resize(Lbl_Title->width(), 27);

    Grd_Seiseki =
        new records::SeisekiGrid(this, records::HistoryPageRows + 1,
                                 {QStringLiteral("No"), QStringLiteral("年月日"), QStringLiteral("レベル"),
                                  QStringLiteral("しゅつだいしたかんじ"), QStringLiteral("よむ/かく"),
                                  QStringLiteral("しゅるい"), QStringLiteral("ごうかく")});
    const QRect place = gridPlace(Lbl_Title);
    const int w = place.width();
    Grd_Seiseki->setGeometry(place);
    Grd_Seiseki->setFonts(headerFont(), pixelFont(14, true));
    Grd_Seiseki->setRowHeight(place.height() / 12);
    // Wide enough for a four-digit test number and a whole date; the twenty
    // kanji of a level take what is left, in a size that fits them.
    Grd_Seiseki->setColumnWidths({int(w * 0.06), int(w * 0.16), int(w * 0.08), int(w * 0.40), int(w * 0.08),
                                  int(w * 0.12), int(w * 0.08)});
    Grd_Seiseki->setCentred({0, 1, 2, 4, 5, 6});
    Grd_Seiseki->setColumnFont(0, pixelFont(14, true, Gothic), QStringLiteral("0000"));
    Grd_Seiseki->setColumnFont(1, pixelFont(14, true, Gothic), QStringLiteral("0000/00/00"));
    Grd_Seiseki->setColumnFont(3, pixelFont(14, true), QString(KanjiPerLevel, QChar(0x6F22)));

    Btn_Prev = records::glyphButton(sv, this, QStringLiteral("まえのページ"), QRect(383, 14, 114, 35),
                                    media::kGlyphPrev);
    Btn_Next = records::glyphButton(sv, this, QStringLiteral("つぎのページ"), QRect(503, 14, 114, 35),
                                    media::kGlyphNext);
    Btn_Graph =
        makePushButton(this, QStringLiteral("グラフでみる"), QRect(503, 52, 114, 30), sv.shell.HandPointer);
    Btn_Graph->setFont(pixelFont(13, true));
    QPalette black = Btn_Graph->palette();
    black.setColor(QPalette::ButtonText, colour::Black);
    Btn_Graph->setPalette(black);
    Btn_Prev->hide();
    Btn_Next->hide();
    Btn_Graph->hide();
    Btn_First = makePushButton(this, QStringLiteral("さいしょへ"), QRect(305, 52, 92, 30),
                               sv.shell.HandPointer, QStringLiteral("いちばん まえの テストを みる"));
    Btn_Last = makePushButton(this, QStringLiteral("さいごへ"), QRect(403, 52, 92, 30), sv.shell.HandPointer,
                              QStringLiteral("いちばん あたらしい テストを みる"));
    for (QPushButton *b : {Btn_First, Btn_Last}) {
        b->setFont(pixelFont(13, true));
        b->setPalette(black);
        b->hide();
    }
    // A double click turns one page, not two.
    onGuardedClick(Btn_Prev, sv.clock, [this] { Btn_PrevClick(); });
    onGuardedClick(Btn_Next, sv.clock, [this] { Btn_NextClick(); });
    onGuardedClick(Btn_Graph, sv.clock, [this] { Btn_GraphClick(); });
    onGuardedClick(Btn_First, sv.clock, [this] { Btn_FirstClick(); });
    onGuardedClick(Btn_Last, sv.clock, [this] { Btn_LastClick(); });

    Lbl_Empty = makeLabel(this,
                          QStringLiteral("まだ テストの きろくが ありません。\n"
                                         "メニューの 「べんきょうをする」で なまえを えらんで、\n"
                                         "「チャレンジモードでべんきょうする」で テストを すると、\n"
                                         "ここに のります。"),
                          place.left() + 10, place.top() + 40, pixelFont(18, true), colour::White,
                          place.width() - 20, 120);
    Lbl_Empty->setWordWrap(true);
    Lbl_Empty->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl_Empty->hide();

    Grd_Seiseki->setObjectName(QStringLiteral("Grd_Seiseki"));
    Btn_Prev->setObjectName(QStringLiteral("Btn_Prev"));
    Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
    Btn_Graph->setObjectName(QStringLiteral("Btn_Graph"));
    Btn_First->setObjectName(QStringLiteral("Btn_First"));
    Btn_Last->setObjectName(QStringLiteral("Btn_Last"));
    Lbl_Empty->setObjectName(QStringLiteral("Lbl_Empty"));

    // A log that cannot be read stops the screen from being built (the
    // navigator shows the file's message): no empty history behind it.
    // It opens at the newest tests, the ones a parent comes to see.
    const LogContents log = readLog(state.DataDir, state.CurrentPlayer);
    position_ = records::lastPagePosition(int(log.records.size()));
    showPage(log);
}

void TF_Seiseki2::Read_Kiroku(int player)
{
    LogContents log;
    if (services.guard(this, [&] { log = readLog(state.DataDir, player); }))
        showPage(log);
}

// Records outside the data model and an incomplete last record are left out
// here as everywhere else in the program; no file is an empty history.
void TF_Seiseki2::showPage(const LogContents &log)
{
    const records::HistoryPage page = records::readHistoryPage(position_, int(log.records.size()));
    for (int i = 0; i < page.count; ++i)
        Grd_Seiseki->setRow(i + 1,
                            records::historyRow(log.records[page.first + i], page.first + i + 1, state.Cat));
    for (int r = page.count + 1; r <= records::HistoryPageRows; ++r)
        Grd_Seiseki->clearRow(r);
    position_ = page.position;
    Btn_Next->setVisible(page.nextShown);
    Btn_Prev->setVisible(page.prevShown);
    Btn_First->setVisible(page.prevShown);
    Btn_Last->setVisible(page.nextShown);
    Btn_Graph->setVisible(!log.records.isEmpty());
    // No test yet: a word on what to do instead of an empty table.
    Grd_Seiseki->setVisible(!log.records.isEmpty());
    Lbl_Empty->setVisible(log.records.isEmpty());
}

void TF_Seiseki2::Btn_FirstClick()
{
    position_ = 0;
    Read_Kiroku(state.CurrentPlayer);
}

void TF_Seiseki2::Btn_LastClick()
{
    LogContents log;
    if (!services.guard(this, [&] { log = readLog(state.DataDir, state.CurrentPlayer); }))
        return;
    position_ = records::lastPagePosition(int(log.records.size()));
    showPage(log);
}

void TF_Seiseki2::Btn_GraphClick()
{
    services.nav.open<TF_SeisekiGraph>();
}

void TF_Seiseki2::Btn_NextClick()
{
    Read_Kiroku(state.CurrentPlayer);
}

void TF_Seiseki2::Btn_PrevClick()
{
    position_ = records::previousPagePosition(position_);
    Read_Kiroku(state.CurrentPlayer);
}

} // namespace fm
