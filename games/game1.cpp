#include "games/game1.h"
#include "data/cp932.h"
#include "games/gkiroku.h"
#include "games/glyph.h"
#include "media/mediafiles.h"
#include "shell/clock.h"
#include "shell/kit.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/random.h"
#include <QButtonGroup>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace fm
{

namespace
{
const QString EGroupHint = QStringLiteral("ボタンをおしてください。");
} // namespace

QRect CardLayout::card(int i) const
{
    const int column = (i - 1) / 6;
    const int row = (i - 1) % 6;
    return QRect(origin.x() + column * side, origin.y() + row * side, side, side);
}

CardLayout cardLayout(LayoutSize size)
{
    if (size == LayoutSize::Large) {
        // Large fonts: cards of 70 display pixels. The whole program is
        // scaled to the display, and this layout belongs to a display 1.25
        // times the 640 × 480 layout's, so a card is 56 layout pixels (70 on such a
        // display) and the 70-pixel picture is stretched onto it.
        return CardLayout{56, 70, QPoint(0, 0), QSize(336, 336), (34 * 96 + 36) / 72};
    }
    return CardLayout{50, 50, QPoint(10, 20), QSize(353, 329), (28 * 96 + 36) / 72};
}

TF_Game1::TF_Game1(Services &sv)
    : ScreenFrame(sv, ScreenId::Game1), layout_(cardLayout(sv.shell.Layout)),
      music_(sv, QLatin1String(media::kMatchMusic), this)
{
    const QFont groupFont = pixelFont(19, true);

    Label1 = Lbl_Title;
    Label1->setFont(pixelFont(24, true));
    Label1->move(8, 0);
    Label1->adjustSize();

    Grp_Tsuyosa = makeGroupBox(this, QStringLiteral("コンピュータのつよさ"), QRect(432, 16, 185, 137));
    Grp_Tsuyosa->setFont(groupFont);
    auto *strengths = new QButtonGroup(this);
    static const char *const items[] = {"つよい", "ふつう", "よわい"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QRadioButton(QString::fromUtf8(items[i]), Grp_Tsuyosa);
        b->setFont(groupFont);
        b->setGeometry(16, 28 + 35 * i, 150, 30);
        b->setCursor(sv.shell.HandPointer);
        strengths->addButton(b, i);
        b->setObjectName(QStringLiteral("Rad_Tsuyosa%1").arg(i));
        Rad_Tsuyosa[size_t(i)] = b;
    }
    Rad_Tsuyosa[1]->setChecked(true);
    colourStrengths();
    connect(strengths, &QButtonGroup::idToggled, this, [this] { colourStrengths(); });

    GroupBox1 = makeGroupBox(this, QStringLiteral("とくてん"), QRect(432, 168, 185, 217));
    GroupBox1->setFont(groupFont);
    const QFont scoreFont = pixelFont(21, true);
    Label3 = groupLabel(GroupBox1, QStringLiteral("あなた"), 16, 32, groupFont);
    Lbl_Man_ten = groupLabel(GroupBox1, QString(), 88, 32, scoreFont);
    Shap_Man = bar(GroupBox1, 16, 64, games::ScoreBarWidth, colour::White);
    Shap_Man_Toku = bar(GroupBox1, 16, 64, 0, colour::Red);
    Label4 = groupLabel(GroupBox1, QStringLiteral("コンピュータ"), 16, 120, groupFont);
    Lbl_Com_ten = groupLabel(GroupBox1, QString(), 88, 144, scoreFont);
    Shap_Com = bar(GroupBox1, 16, 176, games::ScoreBarWidth, colour::White);
    Shap_Com_Toku = bar(GroupBox1, 16, 176, 0, colour::Red);
    Shap_Man_Toku->hide();
    Shap_Com_Toku->hide();

    Grp_E = makeGroupBox(this, QString(), QRect(QPoint(16, 112), layout_.box));

    // Under the start button until the game starts and the button goes.
    Lbl_Junban = makeLabel(this, QString(), 448, 416, groupFont, colour::White);

    Btn_Start = makePushButton(this, QStringLiteral("ゲームはじめ"), QRect(431, 400, 186, 41),
                               sv.shell.HandPointer, QStringLiteral("かんじあわせゲームをはじめる"));
    Btn_Start->setFont(groupFont);
    Btn_Start->setIcon(games::buttonGlyph(sv.pictures.bitmap(QLatin1String(media::kGlyphStart))));
    onGuardedClick(Btn_Start, sv.clock, [this] { Btn_StartClick(); });

    Grp_Tsuyosa->setObjectName(QStringLiteral("Grp_Tsuyosa"));
    Shap_Man_Toku->setObjectName(QStringLiteral("Shap_Man_Toku"));
    Shap_Com_Toku->setObjectName(QStringLiteral("Shap_Com_Toku"));
    Grp_E->setObjectName(QStringLiteral("Grp_E"));
    Btn_Start->setObjectName(QStringLiteral("Btn_Start"));
    Lbl_Junban->setObjectName(QStringLiteral("Lbl_Junban"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TF_Game1::Timer1Timer);

    services.random.randomize(services.clock);
}

TF_Game1::~TF_Game1() = default;

QLabel *TF_Game1::groupLabel(QWidget *parent, const QString &text, int x, int y, const QFont &font)
{
    return makeLabel(parent, text, x, y, font, colour::White);
}

QWidget *TF_Game1::bar(QWidget *parent, int x, int y, int width, const QColor &colour)
{
    auto *w = new QWidget(parent);
    w->setGeometry(x, y, width, 25);
    fillBackground(w, colour);
    return w;
}

RandomFn TF_Game1::random()
{
    return services.random.fn();
}

void TF_Game1::colourStrengths()
{
    // The radio mark alone is hard to see on navy: the chosen strength is
    // yellow, the others white; during a game the group is locked and greyed,
    // the choice still told apart in a dim yellow.
    for (QRadioButton *b : Rad_Tsuyosa) {
        QPalette p = b->palette();
        const bool chosen = b->isChecked();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            p.setColor(g, QPalette::WindowText, chosen ? colour::Yellow : colour::White);
        p.setColor(QPalette::Disabled, QPalette::WindowText, chosen ? QColor(150, 150, 60) : colour::Grey);
        p.setColor(QPalette::Disabled, QPalette::Base, colour::Grey); // the round mark too
        b->setPalette(p);
        QFont f = b->font();
        f.setUnderline(chosen);
        b->setFont(f);
    }
}

int TF_Game1::strengthItem() const
{
    for (int i = 0; i < 3; ++i)
        if (Rad_Tsuyosa[size_t(i)]->isChecked())
            return i;
    return 1;
}

void TF_Game1::FormShow()
{
    FormActivate(); // the hint context is this screen's from its showing on
}

void TF_Game1::FormClose()
{
    Timer1->stop();
    music_.stop();
}

QPixmap TF_Game1::cardBack()
{
    // Navy with a white outline, and a pop picture drawn for this card alone.
    const int s = layout_.pictureSide;
    QPixmap pm(s, s);
    pm.fill(colour::Navy);
    QPainter p(&pm);
    p.setPen(colour::White);
    p.drawRect(0, 0, s - 2, s - 2);
    const QPixmap &pop = services.shell.ImgLst_Pop[size_t(services.random.random(10))];
    if (!pop.isNull())
        p.drawPixmap(1, 1, pop);
    return pm;
}

void TF_Game1::makeCards()
{
    for (int i = 1; i <= games::CardCount; ++i) {
        auto *c = new ClickLabel(Grp_E, i);
        c->setGeometry(layout_.card(i));
        c->setScaledContents(true);
        c->setPixmap(cardBack());
        c->setCursor(services.shell.HandPointer);
        c->setObjectName(QStringLiteral("Btn_E%1").arg(i));
        connect(c, &ClickLabel::clicked, this, &TF_Game1::Btn_EClick);
        Cards[size_t(i)] = c;
    }
    sentence_ = std::make_unique<games::SentenceLine>(this, 88, pointFont(16, true));
    for (int k = 1; k <= 2; ++k) {
        KanjiLabels[size_t(k)] =
            makeLabel(Grp_E, QString(), 0, 0, pixelFont(layout_.kanjiPixels, true), colour::White);
        KanjiLabels[size_t(k)]->setObjectName(QStringLiteral("KanjiLabel%1").arg(k));
        KanjiLabels[size_t(k)]->setProperty("tag", k);
        KanjiLabels[size_t(k)]->hide();
    }
}

void TF_Game1::Btn_StartClick()
{
    if (game_.started)
        return;
    makeCards();
    Grp_Tsuyosa->setEnabled(false);
    services.random.randomize(services.clock);
    game_.start(state.Game1Level, games::Strength(strengthItem() + 1), random());
    for (int i = 1; i <= games::CardCount; ++i)
        Cards[size_t(i)]->show();
    Lbl_Man_ten->setText(QStringLiteral("0"));
    Lbl_Com_ten->setText(QStringLiteral("0"));
    Lbl_Man_ten->adjustSize();
    Lbl_Com_ten->adjustSize();
    Btn_Start->hide();
    Timer1->start();
    setPlayersTurn(game_.ManTurn);
    for (QWidget *b : {Shap_Man_Toku, Shap_Com_Toku}) {
        b->resize(0, b->height());
        b->show();
        b->raise();
    }
    music_.start();
}

void TF_Game1::setPlayersTurn(bool players)
{
    const QByteArray text = players ? games::playerTurnText(state.currentEntry().Name)
                                    : cp932::fromUnicode(QStringLiteral("コンピュータのばん"));
    Lbl_Junban->setText(cp932::toUnicode(text));
    Lbl_Junban->adjustSize();
    // The hint to press a card shows only while the child may press one.
    const QString hint = players ? EGroupHint : QString();
    Grp_E->setToolTip(hint);
    for (int i = 1; i <= games::CardCount; ++i)
        Cards[size_t(i)]->setToolTip(hint);
}

void TF_Game1::showScores()
{
    Lbl_Man_ten->setText(QString::number(game_.ManScore));
    Lbl_Man_ten->adjustSize();
    Lbl_Com_ten->setText(QString::number(game_.ComScore));
    Lbl_Com_ten->adjustSize();
    Shap_Man_Toku->resize(games::scoreBarWidth(game_.ManScore), Shap_Man_Toku->height());
    Shap_Com_Toku->resize(games::scoreBarWidth(game_.ComScore), Shap_Com_Toku->height());
}

bool TF_Game1::turnFaceUp(int card, int pick)
{
    const int kanji = game_.cards.CardKanji[size_t(card)];
    QLabel *l = KanjiLabels[size_t(pick)];
    const bool known = kanji >= 1 && kanji <= MaxKanjiNumber;
    l->setText(known ? cp932::toUnicode(state.Cat.KanjiTable[size_t(kanji)].Glyph) : QString());
    l->adjustSize();
    const QRect place = layout_.card(card);
    l->move(place.left() + (layout_.side - l->width()) / 2, place.top() + (layout_.side - l->height()) / 2);

    games::GameSentence s;
    if (!services.guard(this, [&] { s = games::readGameSentence(state, kanji, random()); })) {
        Timer1->stop();
        return false;
    }
    sentence_->show(s);
    l->show();
    l->raise();
    Cards[size_t(card)]->hide();
    return true;
}

void TF_Game1::Btn_EClick(int card)
{
    const int first = game_.ManPicks.first;
    const games::PlayerPick pick = game_.playerPick(card, random());
    switch (pick) {
    case games::PlayerPick::Ignored:
        return;
    case games::PlayerPick::First:
        // The computer's first step comes 2000 ms after the second pick.
        Timer1->stop();
        turnFaceUp(card, 1);
        return;
    case games::PlayerPick::Miss:
    case games::PlayerPick::Pair:
    case games::PlayerPick::GameOver:
        break;
    }
    if (!turnFaceUp(card, 2))
        return;
    if (pick != games::PlayerPick::Miss) {
        showScores();
        Cards[size_t(first)]->setCursor(Qt::ArrowCursor);
        Cards[size_t(card)]->setCursor(Qt::ArrowCursor);
    }
    if (pick == games::PlayerPick::GameOver) {
        endOfGame();
        return;
    }
    // The child's two cards stay face up until the computer's first step.
    setPlayersTurn(false);
    Timer1->start();
}

void TF_Game1::Timer1Timer()
{
    const games::CardPair manPicks = game_.ManPicks;
    const games::ComputerStep step = game_.computerTick(random());
    const games::CardPair com = game_.ComPicks;
    switch (step.step) {
    case 1:
        KanjiLabels[1]->hide();
        KanjiLabels[2]->hide();
        if (manPicks.first != games::NoCard) {
            Cards[size_t(manPicks.first)]->show();
            Cards[size_t(manPicks.second)]->show();
        }
        turnFaceUp(com.first, 1);
        break;
    case 2:
        if (!turnFaceUp(com.second, 2))
            return;
        if (step.pair) {
            showScores();
            if (step.over) {
                endOfGame();
                return;
            }
        }
        break;
    case 3:
        // A pair the computer took stays hidden and vanishes into the navy
        // with its kanji, as the child's pairs do.
        for (int c : {com.first, com.second})
            if (game_.cards.onBoard(c))
                Cards[size_t(c)]->show();
        KanjiLabels[1]->hide();
        KanjiLabels[2]->hide();
        sentence_->clear();
        setPlayersTurn(true);
        break;
    default:
        break; // the child's turn: nothing to do
    }
}

void TF_Game1::endOfGame()
{
    // Nothing may tick into the boxes and the board.
    Timer1->stop();
    music_.stop();
    const games::GameOutcome outcome =
        games::gameOutcome(game_, state.currentEntry().Name, state.Game1Level, state.CurrentLevel);
    leaving_ = true;
    finishGame(services, this, GameId::Matching, game_.ManScore, outcome.levelRises, outcome.messages);
}

void TF_Game1::Btn_CancelClick()
{
    if (leaving_)
        return;
    leaving_ = true;
    Timer1->stop();
    music_.stop();
    services.nav.back();
}

} // namespace fm
