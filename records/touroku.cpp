#include "records/touroku.h"
#include "data/cp932.h"
#include "data/roster.h"
#include "media/mediafiles.h"
#include "records/layout.h"
#include "shell/dialogs.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include <QImage>

namespace fm
{

namespace
{

// The normal look of a two-state glyph (left half), white see-through.
QIcon glyph(const QImage &strip)
{
    if (strip.isNull())
        return {};
    QImage normal = strip.copy(QRect(QPoint(0, 0), media::kGlyphCell)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if ((normal.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                normal.setPixel(x, y, 0);
    return QIcon(QPixmap::fromImage(normal));
}

} // namespace

TF_Touroku::TF_Touroku(Services &sv) : ScreenFrame(sv, ScreenId::Touroku, FrameLayout{42})
{
    Lbl_Title->hide();
    Label1 = makeLabel(this, QStringLiteral("ボタンをおしてなまえをとうろくしてください。"), 24, 8,
                       pixelFont(24, true), colour::Yellow);
    Label1->resize(Label1->width(), 24);
    // The header row stands just below the instruction.
    setHeaderTop(Label1->geometry().bottom() + 1 + 10);

    lbl_Name = makeLabel(this, QString(), 460, 104, pixelFont(27, true, Gothic), colour::White);
    lbl_Name->resize(0, 27);

    // Larger than the screen's 12 px text: these are what a young child reads and aims at.
    keys_ = new KanaKeypad(this, records::KanaKeyCount, records::kanaKeyCaption, records::kanaKeyRect,
                           sv.shell.HandPointer, pixelFont(16));
    connect(keys_, &KanaKeypad::pressed, this, &TF_Touroku::Btn_MojiClick);

    btn_clear =
        makePushButton(this, QStringLiteral("１もじけす"), QRect(512, 340, 113, 37), sv.shell.HandPointer);
    btn_clear->setIcon(glyph(sv.pictures.bitmap(QLatin1String(media::kGlyphClear))));
    btn_clear->hide();
    connect(btn_clear, &QPushButton::clicked, this, &TF_Touroku::btn_clearClick);

    btn_Touroku =
        makePushButton(this, QStringLiteral("とうろくする"), QRect(512, 396, 113, 37), sv.shell.HandPointer);
    btn_Touroku->setIcon(glyph(sv.pictures.bitmap(QLatin1String(media::kGlyphOk))));
    connect(btn_Touroku, &QPushButton::clicked, this, &TF_Touroku::btn_TourokuClick);

    Label1->setObjectName(QStringLiteral("Label1"));
    lbl_Name->setObjectName(QStringLiteral("lbl_Name"));
    btn_clear->setObjectName(QStringLiteral("btn_clear"));
    btn_Touroku->setObjectName(QStringLiteral("btn_Touroku"));
    for (int i = 1; i <= keys_->count(); ++i)
        keys_->key(i)->setObjectName(QStringLiteral("Btn_Moji%1").arg(i));
}

void TF_Touroku::Btn_MojiClick(int key)
{
    if (count_ >= records::MaxNameKana) {
        services.dialogs.message(this, QStringLiteral("名前が長すぎます。"));
        return;
    }
    lbl_Name->setText(lbl_Name->text() + records::kanaKeyCaption(key));
    lbl_Name->adjustSize();
    ++count_;
    btn_clear->show();
}

void TF_Touroku::btn_clearClick()
{
    if (count_ <= 0)
        return;
    --count_;
    lbl_Name->setText(lbl_Name->text().left(count_));
    lbl_Name->adjustSize();
    if (count_ == 0)
        btn_clear->hide();
}

void TF_Touroku::btn_TourokuClick()
{
    const QString name = lbl_Name->text();
    if (name.isEmpty()) {
        services.dialogs.message(this, QStringLiteral("名前を登録してください。"));
    } else {
        // Saved at once: a child's registration must not depend on the
        // program being left through the menu's end button. A log an earlier
        // roster left at the new number is set aside, never handed over.
        if (!services.guard(this,
                            [&] { registerPlayer(state.Players, state.DataDir, cp932::fromUnicode(name)); }))
            return;
    }
    services.nav.showMainMenu();
}

void TF_Touroku::BackClick()
{
    services.nav.showMainMenu();
}

} // namespace fm
