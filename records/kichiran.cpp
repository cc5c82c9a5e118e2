#include "records/kichiran.h"
#include "data/cp932.h"
#include "data/stamps.h"
#include "handwriting/kanjipage.h"
#include "media/mediafiles.h"
#include "records/seisekibuttons.h"
#include "shell/clock.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/random.h"
#include "shell/services.h"
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace fm
{

namespace
{

constexpr int ScatterIntervalMs = 10;
constexpr int GlideIntervalMs = 200;

} // namespace

TF_K_ichiran::TF_K_ichiran(Services &sv)
    : ScreenFrame(sv, ScreenId::KIchiran), MP_KI_1(sv, QLatin1String(media::kListMusic), this)
{
    Lbl_TItle = Lbl_Title;
    Lbl_TItle->move(3, 0);
    Lbl_Setsumei1 = makeLabel(this, QStringLiteral("あかい"), 280, 0, pixelFont(27, true), colour::Red);
    Lbl_Setsumei2 =
        makeLabel(this, QStringLiteral("じはごうかくしたじだよ"), 368, 0, pixelFont(27, true), colour::White);
    Lbl_Setsumei1->hide();
    Lbl_Setsumei2->hide();

    Img_Kanji = new PictureView(this);
    Img_Kanji->setGeometry(8, 88, records::ListWidth, records::ListHeight);
    // Once the kanji stand in order, a press on one shows its stroke order.
    Img_Kanji->installEventFilter(this);

    const auto button = [&](const QString &text, int top, const char *glyph, StudyKind kind) {
        QPushButton *b = records::glyphButton(sv, this, text, QRect(544, top, 81, 33), glyph);
        // A double click starts one list, not two.
        onGuardedClick(b, sv.clock, [this, kind] { BtnClick(kind); });
        return b;
    };
    Btn_Yomi = button(QStringLiteral("よむ"), 376, media::kGlyphYomi, StudyKind::Reading);
    Btn_Kaki = button(QStringLiteral("かく"), 416, media::kGlyphKaki, StudyKind::Writing);

    Lbl_TItle->setObjectName(QStringLiteral("Lbl_TItle"));
    Lbl_Setsumei1->setObjectName(QStringLiteral("Lbl_Setsumei1"));
    Lbl_Setsumei2->setObjectName(QStringLiteral("Lbl_Setsumei2"));
    Img_Kanji->setObjectName(QStringLiteral("Img_Kanji"));
    Btn_Yomi->setObjectName(QStringLiteral("Btn_Yomi"));
    Btn_Kaki->setObjectName(QStringLiteral("Btn_Kaki"));
    Tim_Kanji = new QTimer(this);
    Tim_Kanji->setObjectName(QStringLiteral("Tim_Kanji"));
    connect(Tim_Kanji, &QTimer::timeout, this, &TF_K_ichiran::Tim_KanjiTimer);
    services.random.randomize(services.clock);
}

TF_K_ichiran::~TF_K_ichiran()
{
    Tim_Kanji->stop();
}

void TF_K_ichiran::BtnClick(StudyKind kind)
{
    if (phase_ != 0)
        return; // the buttons are hidden while the kanji move
    std::array<bool, records::ListedKanji + 1> cleared{};
    std::vector<QString> glyphs(records::ListedKanji + 1);
    for (int s = 1; s <= records::ListedKanji; ++s) {
        cleared[s] = records::levelCleared(state.Progress[s][fileValue(kind)].Mastered, s, kind,
                                           state.CurrentLevel, state.CurrentKind);
        glyphs[s] = cp932::toUnicode(state.Cat.KanjiTable[s].Glyph);
    }
    items_ = records::layoutKanjiList(cleared, services.random);
    // Drawn for the display the picture is shown on, so glyphs stay sharp.
    picture_ = records::KanjiListPicture(Img_Kanji->devicePixelRatioF());
    const Stamps stamps = state.CurrentPlayer >= 1 && state.CurrentPlayer <= state.Players.PlayerCount
                              ? loadStamps(state.DataDir, state.CurrentPlayer)
                              : Stamps{};
    picture_.prepare(items_, glyphs, stamps);
    scattered_ = picture_.scattered();

    phase_ = 1;
    tick_ = 0;
    Tim_Kanji->setInterval(ScatterIntervalMs);
    Tim_Kanji->start();
    Btn_Yomi->hide();
    Btn_Kaki->hide();
    Lbl_Setsumei1->show();
    Lbl_Setsumei2->show();
    MP_KI_1.start();
}

void TF_K_ichiran::Tim_KanjiTimer()
{
    ++tick_;
    if (phase_ == 1) {
        Img_Kanji->setPicture(scattered_);
        if (tick_ >= records::ScatterTicks) {
            phase_ = 2;
            tick_ = 0;
            scattered_ = QImage();
            Tim_Kanji->setInterval(GlideIntervalMs);
        }
    } else if (phase_ == 2) {
        picture_.drawGlide(Img_Kanji->canvas(), tick_);
        Img_Kanji->update();
        if (tick_ >= records::GlideTicks)
            stopAnimation();
    }
}

void TF_K_ichiran::stopAnimation()
{
    Tim_Kanji->stop();
    phase_ = 0;
    Btn_Yomi->show();
    Btn_Kaki->show();
    Img_Kanji->setCursor(services.shell.HandPointer);
    Lbl_Setsumei1->hide();
    Lbl_Setsumei2->hide();
    MP_KI_1.stop();
}

bool TF_K_ichiran::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Img_Kanji && event->type() == QEvent::MouseButtonRelease) {
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton && Img_Kanji->rect().contains(e->position().toPoint()))
            Img_KanjiClick(e->position().toPoint());
        return true;
    }
    return ScreenFrame::eventFilter(watched, event);
}

void TF_K_ichiran::Img_KanjiClick(QPoint at)
{
    if (phase_ != 0)
        return; // while the kanji move nothing stands still to be pressed
    const int kanji = records::kanjiAtListPoint(items_, at);
    if (kanji != 0)
        openKanjiPage(services, kanji);
}

void TF_K_ichiran::BackClick()
{
    // At any moment, also while the kanji move: timer and music stop at once.
    Tim_Kanji->stop();
    MP_KI_1.stop();
    services.nav.back();
}

void TF_K_ichiran::FormClose()
{
    Tim_Kanji->stop();
    MP_KI_1.stop();
}

} // namespace fm
