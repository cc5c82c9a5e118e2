#include "records/mode.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/gamescore.h"
#include "data/roster.h"
#include "handwriting/kanjipage.h"
#include "media/mediafiles.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include <QEvent>
#include <QFile>
#include <QMouseEvent>

namespace fm
{

namespace
{

QFont groupFont()
{
    return pixelFont(16, true);
}

// A missing or damaged star picture stops the screen from being built (the
// navigator shows the file's message).
records::StarPictures loadStars(Services &sv)
{
    const QString name = QLatin1String(media::kStars);
    const QImage stars = sv.pictures.bitmap(name);
    if (stars.isNull() || stars.width() < 2 * records::StarPictureSize ||
        stars.height() < records::StarPictureSize)
        throw FileError(name, QStringLiteral("missing or not a picture of two 34 x 34 stars"));
    return records::cutStarPictures(stars);
}

} // namespace

TF_Mode::TF_Mode(Services &sv) : ScreenFrame(sv, ScreenId::Mode)
{
    setMouseTracking(true);

    Grp_gakushu = makeGroup(QStringLiteral("かんじのがくしゅう"), QRect(8, 96, 289, 345));
    Lbl_Level = groupLabel(Grp_gakushu, QStringLiteral("がくしゅうレベル"), 16, 24);
    Lbl_Yomi = groupLabel(Grp_gakushu, QStringLiteral("よむがくしゅう"), 24, 48,
                          QStringLiteral("よむがくしゅうのレベルをしめしています。"));
    Lbl_Kaki = groupLabel(Grp_gakushu, QStringLiteral("かくがくしゅう"), 24, 128,
                          QStringLiteral("かくがくしゅうのレベルをしめしています。"));

    Grp_Game = makeGroup(QStringLiteral("かんじのゲーム"), QRect(320, 96, 297, 345));
    Lbl_GLevel = groupLabel(Grp_Game, QStringLiteral("ゲームのレベル"), 8, 24);
    Lbl_Game1_1 = groupLabel(Grp_Game, QStringLiteral("かんじあわせゲーム"), 16, 48,
                             QStringLiteral("かんじあわせゲームのレベルをしめしています。"));
    Lbl_Game2_1 = groupLabel(Grp_Game, QStringLiteral("かんじもぐらたたきゲーム"), 16, 128,
                             QStringLiteral("もぐらたたきゲームのレベルをしめしています。"));

    // The player's level and kind become the current ones; the games work
    // on their own copies of the game levels.
    const PlayerEntry &e = state.currentEntry();
    state.CurrentKind = kindFromFile(e.Kind);
    state.CurrentLevel = e.Level;
    state.Game1Level = e.Game1Level;
    state.Game2Level = e.Game2Level;

    // Drawn once: a mode screen shown again keeps its stars.
    drawStars(e);
    buildCommandLabels();
    buildGameLabels();

    Lbl_Name = Lbl_Title;
    Lbl_Name->setText(shownName(e.Name) + QStringLiteral("のかんじ名人チャレンジ"));
    Lbl_Name->move(16, 0);
    Lbl_Name->adjustSize();

    Lbl_Name->setObjectName(QStringLiteral("Lbl_Name"));
    Grp_gakushu->setObjectName(QStringLiteral("Grp_gakushu"));
    Grp_Game->setObjectName(QStringLiteral("Grp_Game"));
    Img_Yomi_Level->setObjectName(QStringLiteral("Img_Yomi_Level"));
    Img_Kaki_Level->setObjectName(QStringLiteral("Img_Kaki_Level"));
    Img_Game1_Level->setObjectName(QStringLiteral("Img_Game1_Level"));
    Img_Game2_Level->setObjectName(QStringLiteral("Img_Game2_Level"));
    Lbl_Game1->setObjectName(QStringLiteral("Lbl_Game1"));
    Lbl_Game2->setObjectName(QStringLiteral("Lbl_Game2"));
}

void TF_Mode::drawStars(const PlayerEntry &e)
{
    const records::StarPictures pictures = loadStars(services);
    const records::StudyStars study =
        records::studyStars(state.CurrentLevel, state.CurrentKind, state.LevelCorrectCount);
    Img_Yomi_Level = starImage(Grp_gakushu, QRect(48, 64, 192, 64), study.reading, pictures);
    Img_Kaki_Level = starImage(Grp_gakushu, QRect(48, 144, 192, 64), study.writing, pictures);
    Img_Game1_Level = starImage(Grp_Game, QRect(32, 64, 192, 64), records::gameStars(e.Game1Level), pictures);
    Img_Game2_Level =
        starImage(Grp_Game, QRect(32, 144, 192, 64), records::gameStars(e.Game2Level), pictures);
}

// The four commands of the study group, under the writing stars.
void TF_Mode::buildCommandLabels()
{
    static const char *const commands[] = {"", "かんじのいちらんをみる", "かんじごとのせいせきをみる",
                                           "チャレンジモードでべんきょうする",
                                           "れんしゅうモードでべんきょうする"};
    for (int i = 1; i <= CommandCount; ++i) {
        auto *l = new ClickLabel(Grp_gakushu, i);
        l->setObjectName(QStringLiteral("Lbl_Command%1").arg(i));
        l->setText(QString::fromUtf8(commands[i]));
        l->setToolTip(l->text());
        l->setFont(pointFont(12, true));
        setTextColour(l, colour::White);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->move(Lbl_Kaki->x(), Img_Kaki_Level->geometry().bottom() + 1 + 32 * i - 22);
        l->adjustSize();
        if (!(i == Challenge && challengeInert()))
            l->setCursor(services.shell.HandPointer);
        connect(l, &ClickLabel::clicked, this, &TF_Mode::Lbl_Command1Click);
        connect(l, &ClickLabel::hovered, this, &TF_Mode::Lbl_Command1MouseMove);
        Lbl_Command[i] = l;
    }
}

void TF_Mode::buildGameLabels()
{
    const auto gameLabel = [&](int tag, const QString &text, int y) {
        auto *l = new ClickLabel(Grp_Game, tag);
        l->setText(text);
        l->setToolTip(text);
        l->setFont(groupFont());
        setTextColour(l, colour::White);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->move(16, y);
        l->adjustSize();
        l->setCursor(services.shell.HandPointer);
        connect(l, &ClickLabel::clicked, this, &TF_Mode::Lbl_GameClick);
        connect(l, &ClickLabel::hovered, this, &TF_Mode::Lbl_GameMouseMove);
        return l;
    };
    Lbl_Game1 = gameLabel(int(GameId::Matching), QStringLiteral("かんじあわせにちょうせんする"), 224);
    Lbl_Game2 = gameLabel(int(GameId::WhackAMole), QStringLiteral("かんじもぐらたたきにちょうせんする"), 264);
}

QGroupBox *TF_Mode::makeGroup(const QString &caption, const QRect &geometry)
{
    auto *g = fm::makeGroupBox(this, caption, geometry, fm::colour::Yellow);
    g->setFont(groupFont());
    g->setMouseTracking(true);
    g->installEventFilter(this);
    return g;
}

QLabel *TF_Mode::groupLabel(QWidget *group, const QString &text, int x, int y, const QString &tip)
{
    QLabel *l = makeLabel(group, text, x, y, groupFont(), colour::White);
    if (!tip.isEmpty())
        l->setToolTip(tip);
    return l;
}

QLabel *TF_Mode::starImage(QWidget *group, const QRect &geometry, const records::StarRow &row,
                           const records::StarPictures &pictures)
{
    auto *l = new QLabel(group);
    l->setGeometry(geometry);
    l->setPixmap(QPixmap::fromImage(records::drawStarRow(row, pictures)));
    return l;
}

bool TF_Mode::challengeInert() const
{
    // Every level passed: there is nothing left to challenge.
    return state.currentEntry().Level > LevelCount;
}

void TF_Mode::FormShow()
{
    // Back from a command the pointer is elsewhere: nothing stays lit.
    Grp_gakushuMouseMove();
    // A game or test left without its close handling is closed now; the
    // navigator knows which are still open.
    for (ScreenId id : {ScreenId::Shutsudai, ScreenId::Game1, ScreenId::Game2})
        closeLeftOver(id);
}

void TF_Mode::closeLeftOver(ScreenId id)
{
    const std::vector<Screen *> living = services.nav.screens();
    for (Screen *s : living)
        if (s != this && s->id() == id)
            services.nav.close(s, true);
}

void TF_Mode::BackClick()
{
    // The player list was closed when this screen opened: build it anew.
    services.nav.replace(ScreenId::Player);
}

void TF_Mode::Lbl_Command1Click(int command)
{
    // The kanji list and the per-kanji results show the player's own level
    // and kind, not those a practice test left behind.
    const auto ownLevel = [this] {
        const PlayerEntry &e = state.currentEntry();
        state.CurrentLevel = e.Level;
        state.CurrentKind = kindFromFile(e.Kind);
    };
    switch (command) {
    case KanjiList:
        ownLevel();
        services.nav.open(ScreenId::KIchiran);
        break;
    case KanjiResults:
        ownLevel();
        services.nav.open(ScreenId::KSeiseki1);
        break;
    case Challenge: {
        if (challengeInert())
            return;
        const PlayerEntry &e = state.currentEntry();
        state.ChallengeMode = true;
        state.CurrentLevel = e.Level;
        state.CurrentKind = kindFromFile(e.Kind);
        if (offerNewKanji(services, this))
            break; // the level's pages first; the test waits for the next press
        services.nav.open(ScreenId::Shutsudai);
        break;
    }
    case Practice:
        state.ChallengeMode = false;
        services.nav.open(ScreenId::Renshuu);
        break;
    }
}

void TF_Mode::Lbl_Command1MouseMove(int command)
{
    setTextColour(Lbl_Game1, colour::White);
    setTextColour(Lbl_Game2, colour::White);
    for (int i = 1; i <= CommandCount; ++i) {
        const bool lit = i == command && !(i == Challenge && challengeInert());
        setTextColour(Lbl_Command[i], lit ? colour::Red : colour::White);
    }
}

void TF_Mode::Lbl_GameClick(int game)
{
    services.nav.open(GameId(game) == GameId::Matching ? ScreenId::Game1 : ScreenId::Game2);
}

void TF_Mode::Lbl_GameMouseMove(int game)
{
    for (int i = 1; i <= CommandCount; ++i)
        setTextColour(Lbl_Command[i], colour::White);
    setTextColour(Lbl_Game1, GameId(game) == GameId::Matching ? colour::Red : colour::White);
    setTextColour(Lbl_Game2, GameId(game) == GameId::WhackAMole ? colour::Red : colour::White);
}

void TF_Mode::Grp_gakushuMouseMove()
{
    Lbl_GameMouseMove(0);
}

void TF_Mode::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over a command label reach here too, as the label ignores them.
    if (!qobject_cast<ClickLabel *>(childAt(event->position().toPoint())))
        Grp_gakushuMouseMove();
    ScreenFrame::mouseMoveEvent(event);
}

bool TF_Mode::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && (watched == Grp_gakushu || watched == Grp_Game)) {
        auto *group = static_cast<QWidget *>(watched);
        const auto *move = static_cast<QMouseEvent *>(event);
        if (!qobject_cast<ClickLabel *>(group->childAt(move->position().toPoint())))
            Grp_gakushuMouseMove();
    }
    return ScreenFrame::eventFilter(watched, event);
}

} // namespace fm
