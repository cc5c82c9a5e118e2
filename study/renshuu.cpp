#include "study/renshuu.h"
#include "data/cp932.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include <QApplication>
#include <QGroupBox>
#include <QPushButton>

namespace fm
{

namespace
{

QGroupBox *makeBox(QWidget *parent, const QString &caption, int x)
{
    auto *box = makeGroupBox(parent, caption, QRect(x, 108, 265, 325));
    box->setFont(pixelFont(16, true));
    return box;
}

} // namespace

TF_Renshuu::TF_Renshuu(Services &sv) : ScreenFrame(sv, ScreenId::Renshuu)
{
    Lbl_Title->move(24, 0);
    GRP_Yomu = makeBox(this, QStringLiteral(" 「よむ」 れんしゅう"), 40);
    GRP_Kaku = makeBox(this, QStringLiteral(" 「かく」 れんしゅう"), 336);
    GRP_Yomu->setObjectName(QStringLiteral("GRP_Yomu"));
    GRP_Kaku->setObjectName(QStringLiteral("GRP_Kaku"));
}

QString TF_Renshuu::levelKanji(const AppState &state, int level)
{
    QByteArray glyphs;
    for (int k = firstKanjiOf(level); k <= lastKanjiOf(level); ++k)
        if (k >= 1 && k <= MaxKanjiNumber)
            glyphs += state.Cat.KanjiTable[k].Glyph;
    return cp932::toUnicode(glyphs);
}

void TF_Renshuu::makeButtons(QGroupBox *box, std::array<QPushButton *, 13> &buttons, StudyKind kind)
{
    for (int n = 1; n <= state.LevelCount && n <= LevelCount; ++n) {
        const QRect place(n <= 6 ? 10 : 110, n <= 6 ? 40 * n : 40 * (n - 6), 80, 40);
        QPushButton *b =
            makePushButton(box, QString::number(n), place, services.shell.HandPointer, levelKanji(state, n));
        b->setProperty("tag", n);
        b->setObjectName((kind == StudyKind::Reading ? QStringLiteral("Btn_Level_Yomu%1")
                                                     : QStringLiteral("Btn_Level_Kaku%1"))
                             .arg(n));
        b->setFont(pixelFont(16, true));
        connect(b, &QPushButton::clicked, this, [this, n, kind] {
            kind == StudyKind::Reading ? Btn_Level_YomuClick(n) : Btn_Level_KakuClick(n);
        });
        b->show();
        buttons[n] = b;
    }
}

void TF_Renshuu::FormShow()
{
    if (built_)
        return;
    built_ = true;
    makeButtons(GRP_Yomu, Btn_Level_Yomu, StudyKind::Reading);
    makeButtons(GRP_Kaku, Btn_Level_Kaku, StudyKind::Writing);
}

void TF_Renshuu::Btn_Level_YomuClick(int level)
{
    startTest(level, StudyKind::Reading);
}

void TF_Renshuu::Btn_Level_KakuClick(int level)
{
    startTest(level, StudyKind::Writing);
}

void TF_Renshuu::startTest(int level, StudyKind kind)
{
    state.CurrentLevel = int16_t(level);
    state.CurrentKind = kind;
    state.ReviewMode = false;
    // Building the test reads its files; the hourglass shows meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyPointer_ = true;
    // The picker closes as the test opens, so the test's back button leads
    // to the mode screen this picker came from.
    services.nav.replace(ScreenId::Shutsudai);
}

void TF_Renshuu::FormClose()
{
    if (busyPointer_) {
        QApplication::restoreOverrideCursor();
        busyPointer_ = false;
    }
}

} // namespace fm
