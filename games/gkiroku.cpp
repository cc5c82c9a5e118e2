#include "games/gkiroku.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/roster.h"
#include "games/glyph.h"
#include "media/mediafiles.h"
#include "shell/clock.h"
#include "shell/dialogs.h"
#include "shell/endflow.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/screen.h"
#include "shell/services.h"
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

namespace fm
{

bool finishGame(Services &services, Screen *screen, GameId game, int16_t score, bool levelRises,
                const QStringList &verdicts)
{
    AppState &state = services.state;
    if (levelRises) {
        int16_t &level = game == GameId::Matching ? state.Game1Level : state.Game2Level;
        ++level;
        PlayerEntry &entry = state.currentEntry();
        (game == GameId::Matching ? entry.Game1Level : entry.Game2Level) = level;
        if (!services.guard(screen, [&] { saveRoster(state.Players, state.DataDir); }))
            return false;
    }
    for (const QString &verdict : verdicts)
        services.dialogs.information(screen, verdict);

    screen->FormActivate();
    return finishToFreshMode(services, screen, nullptr, [&services, screen, game, score] {
        TF_Game_Kiroku board(services, game, score, screen);
        board.exec();
    });
}

TF_Game_Kiroku::TF_Game_Kiroku(Services &sv, GameId game, int16_t score, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), services(sv)
{
    // Covers the screens' stage like a framed screen, in the classic face
    // colour: the note in white stays legible on it.
    setFixedSize(DesignWidth, DesignHeight);
    fillBackground(this, colour::Silver);
    setModal(true);
    setFont(pixelFont(12));
    setWindowTitle(QStringLiteral("ゲームのきろく"));

    Lbl_Goukaku_Msg1 = makeLabel(this, QString(), 32, 8, pixelFont(19, true), colour::Black, 340, 41);
    Lbl_Goukaku_Msg1->setWordWrap(true);
    Lbl_Goukaku_Msg1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label1 = makeLabel(this, QStringLiteral("ゲームのきろくはせっていがめんでけすことができます。"), 29, 64,
                       pixelFont(13, true), colour::White);

    Lst_Kiroku = new QTreeWidget(this);
    Lst_Kiroku->setGeometry(32, 114, 569, 287);
    Lst_Kiroku->setFont(pixelFont(13, true));
    Lst_Kiroku->setRootIsDecorated(false);
    Lst_Kiroku->setItemsExpandable(false);
    Lst_Kiroku->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Lst_Kiroku->setSelectionMode(QAbstractItemView::NoSelection);
    Lst_Kiroku->setFocusPolicy(Qt::NoFocus);
    Lst_Kiroku->setColumnCount(4);
    Lst_Kiroku->setHeaderLabels(
        {QString(), QStringLiteral("とくてん"), QStringLiteral("なまえ"), QStringLiteral("ひづけ")});
    QHeaderView *header = Lst_Kiroku->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    const int widths[] = {20, 100, 200, 100};
    for (int c = 0; c < 4; ++c) {
        header->setSectionResizeMode(c, QHeaderView::Fixed);
        Lst_Kiroku->setColumnWidth(c, widths[c]);
    }
    QPalette listPalette = Lst_Kiroku->palette();
    listPalette.setColor(QPalette::Text, colour::Black);
    Lst_Kiroku->setPalette(listPalette);

    BitBtn1 =
        makePushButton(this, QStringLiteral("もどる"), QRect(507, 411, 105, 25), services.shell.HandPointer);
    BitBtn1->setIcon(games::buttonGlyph(services.pictures.bitmap(QLatin1String(media::kGlyphBack))));
    onGuardedClick(BitBtn1, services.clock, [this] { BitBtn1Click(); });
    // It opens while a child may still be whacking: it ignores presses for a
    // moment and keeps "もどる" from the pointer.
    shieldOpeningWindow(this, services.clock, ClearOfPointer::MoveButton);

    Lbl_Goukaku_Msg1->setObjectName(QStringLiteral("Lbl_Goukaku_Msg1"));
    Lst_Kiroku->setObjectName(QStringLiteral("Lst_Kiroku"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    FormCreate(game, score);
}

void TF_Game_Kiroku::FormCreate(GameId game, int16_t score)
{
    AppState &state = services.state;
    game_ = game;

    const double today = services.clock.now();
    const QByteArray name = state.CurrentPlayer >= 1 && state.CurrentPlayer <= MaxPlayers
                                ? state.currentEntry().Name
                                : QByteArray();
    const bool ok = services.guard(parentWidget(), [&] {
        const QVector<GameScoreRecord> stored = readBoard(state.DataDir, *game_);
        board_ = games::placeScore(stored, score, name, today);
        writeBoard(state.DataDir, *game_, games::recordsToWrite(board_));
    });
    if (!ok) {
        failed_ = true;
        return;
    }

    // Broken by hand between phrases: a word never splits over two lines.
    Lbl_Goukaku_Msg1->setWordWrap(false);
    Lbl_Goukaku_Msg1->setText(breakBetweenPhrases(games::boardMessage(board_.rank, score),
                                                  Lbl_Goukaku_Msg1->font(), Lbl_Goukaku_Msg1->width()));
    setTextColour(Lbl_Goukaku_Msg1, games::boardCheers(board_.rank, score) ? colour::Red : colour::Black);

    for (const games::BoardRow &row : board_.rows) {
        auto *item = new QTreeWidgetItem(Lst_Kiroku);
        item->setText(0, row.isNew ? QStringLiteral("＊") : QStringLiteral("  "));
        item->setText(1, QString::number(row.record.Score));
        item->setText(2, cp932::toUnicode(row.record.Name));
        item->setText(3, games::boardDateText(row.record.Date));
        for (int c = 1; c < 4; ++c)
            item->setTextAlignment(c, Qt::AlignCenter);
    }
}

int TF_Game_Kiroku::exec()
{
    if (failed_ || services.nav.quitRequested())
        return QDialog::Rejected;
    return QDialog::exec();
}

void TF_Game_Kiroku::BitBtn1Click()
{
    accept();
}

void TF_Game_Kiroku::showEvent(QShowEvent *event)
{
    // Over the stage of the screens, where the game that opened it stands.
    if (QWidget *p = parentWidget())
        move(p->mapToGlobal(QPoint(0, 0)));
    QDialog::showEvent(event);
}

void TF_Game_Kiroku::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The thin frame of every full-screen window.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace fm
