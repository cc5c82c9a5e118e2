#include "games/game2.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "games/gkiroku.h"
#include "games/glyph.h"
#include "media/mediafiles.h"
#include "shell/dialogs.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/random.h"
#include "shell/sound.h"
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <cmath>

namespace fm
{

namespace
{

constexpr int BarWidth = 150;
// Shorter than a test's mark: the child keeps whacking.
constexpr int MissMarkMs = 500;

const QString StartText = QStringLiteral("ゲームはじめ");
const QString EndText = QStringLiteral("ゲームおわり");

QLabel *makeBar(QWidget *parent, const QRect &place, const QColor &colour)
{
    auto *bar = new QLabel(parent);
    bar->setGeometry(place);
    fillBackground(bar, colour);
    bar->hide();
    return bar;
}

} // namespace

void MoleFieldView::mousePressEvent(QMouseEvent *event)
{
    // Whole layout pixels, as the field's cells are measured.
    const QPointF at = event->position();
    emit pressed(int(std::floor(at.x())), int(std::floor(at.y())));
}

TF_Game2::TF_Game2(Services &sv)
    : ScreenFrame(sv, ScreenId::Game2), SentenceLabels(this, 30, pointFont(20)),
      MP_MO_1(sv, QLatin1String(media::kMoleMusic), this), game_(sv.random)
{
    Label1 = Lbl_Title;
    Label1->setFont(pixelFont(24, true));
    Label1->move(8, 0);
    Label1->adjustSize();
    Label2 = makeLabel(this, QStringLiteral("せいかいの字だけをたたいてね。"), 272, 0, pixelFont(19, true),
                       colour::White);

    Img1 = new MoleFieldView(this);
    Img1->setGeometry(24, 88, mole::ShownSize, mole::ShownSize);
    takeEveryPress(Img1); // two moles in a row may be hit fast
    connect(Img1, &MoleFieldView::pressed, this, &TF_Game2::Img1MouseDown);
    Mark_Miss = new JudgeMark(Img1, mole::cellRect(1, 1));
    Mark_Miss->setShowTime(MissMarkMs);

    const QFont groupFont = pixelFont(19, true);
    buildSpeedBox(groupFont);
    buildScoreBox(groupFont);
    buildStartButton();

    setSentenceVisible(false);

    Img1->setObjectName(QStringLiteral("Img1"));
    Shap_Shutsudai_sumi->setObjectName(QStringLiteral("Shap_Shutsudai_sumi"));
    Lbl_Shutsudai_Seikai->setObjectName(QStringLiteral("Lbl_Shutsudai_Seikai"));
    Shap_Seikai_Sumi->setObjectName(QStringLiteral("Shap_Seikai_Sumi"));
    Lbl_Seikai->setObjectName(QStringLiteral("Lbl_Seikai"));
    Mark_Miss->setObjectName(QStringLiteral("Mark_Miss"));
    TBar_Speed->setObjectName(QStringLiteral("TBar_Speed"));
    Btn_Start->setObjectName(QStringLiteral("Btn_Start"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, &TF_Game2::Timer1Timer);

    services.random.randomize(services.clock);
    loadPictures();
    if (!services.nav.quitRequested()) // a picture is missing: the program is ending
        prepareSounds();
    makeField();
    // Before the first game the holes stand empty.
    field_->draw(game_);
    Img1->setPicture(field_->shown());
}

// The speed slider, slow to fast.
void TF_Game2::buildSpeedBox(const QFont &groupFont)
{
    GroupBox2 = makeGroupBox(this, QStringLiteral("スピード"), QRect(432, 80, 185, 81));
    GroupBox2->setFont(groupFont);
    Label5 = makeLabel(GroupBox2, QStringLiteral("おそい"), 8, 32, pixelFont(12, true), colour::White);
    Label6 = makeLabel(GroupBox2, QStringLiteral("はやい"), 136, 32, pixelFont(12, true), colour::White);
    TBar_Speed = new QSlider(Qt::Horizontal, GroupBox2);
    TBar_Speed->setGeometry(8, 48, 169, 25);
    TBar_Speed->setRange(mole::SlowestSpeed, mole::FastestSpeed);
    TBar_Speed->setSingleStep(1);
    TBar_Speed->setPageStep(1);
    TBar_Speed->setTickPosition(QSlider::TicksBelow);
    TBar_Speed->setTickInterval(1);
    TBar_Speed->setValue(mole::OpeningSpeed);
    TBar_Speed->setCursor(services.shell.HandPointer);
    takeEveryPress(TBar_Speed); // each press on the groove is one step
    // The style draws the tick marks in a shade of the window colour: from
    // the navy ground they would not show.
    QPalette speedPalette = TBar_Speed->palette();
    speedPalette.setColor(QPalette::Window, colour::White);
    TBar_Speed->setPalette(speedPalette);
}

// The bars of questions asked and of right hits, with their counts.
void TF_Game2::buildScoreBox(const QFont &groupFont)
{
    GroupBox1 = makeGroupBox(this, QStringLiteral("とくてん"), QRect(432, 168, 185, 225));
    GroupBox1->setFont(groupFont);
    Label3 = makeLabel(GroupBox1, QStringLiteral("しゅつだいすう"), 16, 32, groupFont, colour::White);
    Shap_Shutsudai = makeBar(GroupBox1, QRect(16, 64, BarWidth, 25), colour::Silver);
    Shap_Shutsudai_sumi = makeBar(GroupBox1, QRect(16, 64, 0, 25), colour::Red);
    Lbl_Shutsudai_Seikai =
        makeLabel(GroupBox1, QString(), 72, 96, pixelFont(21, true), colour::Yellow, 100, 24);
    Label4 = makeLabel(GroupBox1, QStringLiteral("とくてん"), 16, 128, groupFont, colour::White);
    Shap_Seikai = makeBar(GroupBox1, QRect(16, 160, BarWidth, 25), colour::Silver);
    Shap_Seikai_Sumi = makeBar(GroupBox1, QRect(16, 160, 0, 25), colour::Red);
    Lbl_Seikai = makeLabel(GroupBox1, QString(), 72, 192, pixelFont(21, true), colour::Yellow, 100, 24);
}

void TF_Game2::buildStartButton()
{
    Btn_Start = makePushButton(this, StartText, QRect(431, 400, 186, 47), services.shell.HandPointer);
    Btn_Start->setFont(pixelFont(19, true));
    startIcon_ = games::buttonGlyph(services.pictures.bitmap(QLatin1String(media::kGlyphStart)));
    endIcon_ = games::buttonGlyph(services.pictures.bitmap(QLatin1String(media::kGlyphBack)));
    Btn_Start->setIcon(startIcon_);
    Btn_Start->setIconSize(QSize(24, 24));
    // A double click must not end the game its first press started.
    onGuardedClick(Btn_Start, services.clock, [this] {
        if (running_)
            Cancel();
        else if (!leaving_)
            Btn_StartClick();
    });
}

TF_Game2::~TF_Game2()
{
    stopEverything();
}

void TF_Game2::loadPictures()
{
    const auto load = [this](const char *name) {
        const QString file = QLatin1String(name);
        QImage loaded = services.pictures.bitmap(file);
        if (loaded.isNull()) {
            if (!services.nav.quitRequested()) // one message: the first missing file's
                services.guard(this,
                               [&] { throw FileError(file, QStringLiteral("missing or not a picture")); });
            // The program is ending: a plain navy cell keeps the screen whole meanwhile.
            loaded = QImage(mole::PictureSize, mole::PictureSize, QImage::Format_RGB32);
            loaded.fill(colour::Navy);
        }
        return mole::preparePicture(loaded);
    };
    holePicture_ = load(media::kMoleHole);
    hitPicture_ = load(media::kMoleHit);
}

void TF_Game2::makeField()
{
    const qreal ratio = devicePixelRatioF();
    if (field_ && qFuzzyCompare(field_->pixelRatio(), ratio))
        return;
    const double scale = layoutScale(services.shell.Layout);
    const int points = int(48 / scale); // 48, or 38 with large fonts
    const Catalogue &cat = state.Cat;
    field_ = std::make_unique<mole::MoleField>(
        holePicture_, hitPicture_,
        [&cat](int kanji) {
            return kanji >= 1 && kanji <= MaxKanjiNumber
                       ? cp932::toUnicode(cat.KanjiTable[size_t(kanji)].Glyph)
                       : QString();
        },
        points, ratio);
}

void TF_Game2::prepareSounds()
{
    // The hit and miss sounds; with no audio output at all the game is silent.
    // A player that cannot be opened is reported and the ones after it stay unprepared.
    if (!services.sound.hasWaveOutput())
        return;
    for (auto [player, name] :
         {std::pair{&MP_Atari, media::kHitSound}, std::pair{&MP_Hazure, media::kMissSound}}) {
        auto p = services.sound.createWavePlayer();
        const QString file = QLatin1String(name);
        if (!p->open(services.file(file))) {
            services.dialogs.message(this, file + QStringLiteral("でエラーがおこりました。 "));
            return;
        }
        *player = std::move(p);
    }
}

void TF_Game2::Btn_StartClick()
{
    if (running_ || leaving_)
        return;
    game_.start(state.Game2Level);
    makeField();
    field_->prepare(game_.Block);

    TBar_Speed->setEnabled(false);
    TBar_Speed->setCursor(Qt::ArrowCursor);
    Img1->setCursor(services.shell.HandPointer);
    for (int i = 1; i <= header::ButtonCount; ++i)
        if (HeaderButton *b = headerButton(i))
            b->hide();
    setSentenceVisible(true);

    for (QLabel *bar : {Shap_Shutsudai, Shap_Seikai})
        bar->show();
    for (QLabel *bar : {Shap_Shutsudai_sumi, Shap_Seikai_Sumi}) {
        setBarWidth(bar, 0);
        bar->show();
    }
    Btn_Start->setText(EndText);
    Btn_Start->setIcon(endIcon_);
    running_ = true;

    MP_MO_1.start();
    if (!ShowKanjiSentence(game_.stageKanji()))
        return;
    Timer1->setInterval(mole::tickInterval(TBar_Speed->value()));
    Timer1->start();
}

void TF_Game2::setSentenceVisible(bool visible)
{
    for (int i = 1; i <= 3; ++i)
        SentenceLabels.label(i)->setVisible(visible);
}

bool TF_Game2::ShowKanjiSentence(int kanji)
{
    games::GameSentence sentence;
    if (!services.guard(this,
                        [&] { sentence = games::readGameSentence(state, kanji, services.random.fn()); })) {
        // The program is ending: nothing more of this game runs.
        stopEverything();
        return false;
    }
    // A sentence too long for the row is set smaller rather than cut off at the screen's edge.
    const auto width = [this] { return SentenceLabels.label(3)->geometry().right() + 1; };
    for (int points = 20; points == 20 || (width() > DesignWidth - 10 && points >= 10); points -= 2) {
        for (int i = 1; i <= 3; ++i)
            SentenceLabels.label(i)->setFont(pointFont(points));
        SentenceLabels.show(sentence);
    }
    return true;
}

void TF_Game2::Timer1Timer()
{
    if (!running_)
        return;
    const mole::MoleGame::Tick t = game_.beginTick();
    if (t == mole::MoleGame::Tick::Over) {
        endOfGame();
        return;
    }
    if (t == mole::MoleGame::Tick::NewStage && !ShowKanjiSentence(game_.stageKanji()))
        return;
    game_.updateHoles();
    field_->draw(game_);
    Img1->setPicture(field_->shown());
    showCounters();
}

void TF_Game2::setBarWidth(QLabel *bar, int count)
{
    // Three pixels a mole: 50 fill the bar.
    bar->resize(count * (BarWidth / mole::TargetsPerGame), bar->height());
}

void TF_Game2::showCounters()
{
    Lbl_Shutsudai_Seikai->setText(QString::number(game_.TargetsShown));
    Lbl_Seikai->setText(QString::number(game_.HitCount));
    setBarWidth(Shap_Shutsudai_sumi, game_.TargetsShown);
    setBarWidth(Shap_Seikai_Sumi, game_.HitCount);
}

void TF_Game2::Img1MouseDown(int x, int y)
{
    if (!running_ || !Timer1->isActive())
        return;
    const mole::MoleGame::PressResult p = game_.press(x, y);
    if (p.press == mole::Press::Outside)
        return;
    if (p.press == mole::Press::Miss) {
        // Seen as well as heard: without sound a miss would show nothing.
        Mark_Miss->setGeometry(mole::cellRect(p.c, p.r));
        Mark_Miss->showWrong();
        playEffect(MP_Hazure.get(), MP_Atari.get());
        return;
    }
    if (Mark_Miss->geometry() == mole::cellRect(p.c, p.r))
        Mark_Miss->clear(); // the hit picture takes the hole
    // The hit picture stays until the next tick draws the field again.
    field_->drawHit(p.c, p.r);
    Img1->setPicture(field_->shown());
    Lbl_Seikai->setText(QString::number(game_.HitCount));
    setBarWidth(Shap_Seikai_Sumi, game_.HitCount);
    playEffect(MP_Atari.get(), MP_Hazure.get());
}

void TF_Game2::playEffect(MediaPlayer *play, MediaPlayer *silence)
{
    bool ok = true;
    if (silence)
        ok = silence->stop() && ok;
    if (play)
        ok = play->rewind() && play->play() && ok;
    if (ok || waveErrorShown_)
        return;
    // Said once; the game goes on without the sound, and no mole is lost
    // while the box is up.
    waveErrorShown_ = true;
    Timer1->stop();
    services.dialogs.message(this, QStringLiteral("WAVEでエラーがおこりました。 "));
    if (running_ && !services.nav.quitRequested())
        Timer1->start();
}

void TF_Game2::endOfGame()
{
    Timer1->stop();
    running_ = false;
    leaving_ = true;
    Mark_Miss->clear();
    field_->clear();
    Img1->setPicture(field_->shown());
    MP_MO_1.stop();

    const bool passed = mole::passes(game_.HitCount);
    const QString verdict =
        passed ? QStringLiteral("おめでとう！ ごうかくです") : QStringLiteral("ざんねん！ ふごうかくです");
    finishGame(services, this, GameId::WhackAMole, game_.HitCount,
               passed && mole::levelRises(state.Game2Level, state.CurrentLevel), {verdict});
}

void TF_Game2::stopEverything()
{
    Timer1->stop();
    running_ = false;
    MP_MO_1.stop();
    for (auto *player : {&MP_Atari, &MP_Hazure})
        if (*player) {
            (*player)->close();
            player->reset();
        }
}

void TF_Game2::Cancel()
{
    leaving_ = true;
    stopEverything();
    services.nav.back();
}

void TF_Game2::FormClose()
{
    stopEverything();
}

} // namespace fm
