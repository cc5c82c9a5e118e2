#include "shell/settei.h"
#include "data/errors.h"
#include "data/gamescore.h"
#include "data/settings.h"
#include "shell/dialogs.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/services.h"
#include <QFile>
#include <QShowEvent>

namespace fm
{

UpDown::UpDown(QWidget *parent, QSpinBox *associate) : QWidget(parent)
{
    Btn_Up = new QPushButton(QStringLiteral("▲"), this);
    Btn_Down = new QPushButton(QStringLiteral("▼"), this);
    Btn_Up->setObjectName(QStringLiteral("Btn_Up"));
    Btn_Down->setObjectName(QStringLiteral("Btn_Down"));
    for (QPushButton *b : {Btn_Up, Btn_Down}) {
        b->setFont(pixelFont(7));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        // Two quick presses are two minutes, as two taps on a kana key are two kana.
        takeEveryPress(b);
    }
    resize(17, associate->height());
    Btn_Up->setGeometry(0, 0, 17, height() / 2);
    Btn_Down->setGeometry(0, height() / 2, 17, height() - height() / 2);
    connect(Btn_Up, &QPushButton::clicked, associate, &QSpinBox::stepUp);
    connect(Btn_Down, &QPushButton::clicked, associate, &QSpinBox::stepDown);
}

namespace
{

QSpinBox *timeField(QWidget *parent, int x, int y)
{
    auto *e = new QSpinBox(parent);
    e->setRange(MinTimeLimit, MaxTimeLimit);
    e->setButtonSymbols(QAbstractSpinBox::NoButtons);
    e->setAlignment(Qt::AlignRight);
    e->setFont(pixelFont(13, true));
    e->setGeometry(x, y, 33, 24);
    e->setToolTip(QStringLiteral("１分間隔で増減します"));
    return e;
}

QPushButton *button(QWidget *parent, const QString &text, int x, int y, int w, int h)
{
    auto *b = new QPushButton(text, parent);
    b->setFont(pixelFont(12, true));
    b->setGeometry(x, y, w, h);
    return b;
}

} // namespace

TF_Settei::TF_Settei(Services &sv, QWidget *parent) : QDialog(parent), services(sv)
{
    setWindowTitle(QStringLiteral("がんばれ！ ふでまる"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(427, 213);
    setFont(pixelFont(12, true));

    Label1 =
        makeLabel(this, QStringLiteral("設定値を変更します。"), 16, 8, pixelFont(16, true), colour::Black);
    Label5 = makeLabel(this, QStringLiteral("このがめんは、おとうさんやおかあさんにやってもらおうね。"), 40,
                       32, pixelFont(13, true), colour::Blue);
    Label2 = makeLabel(this, QStringLiteral("回答時間（分）"), 16, 56, pixelFont(12, true), colour::Black);
    Label3 = makeLabel(this, QStringLiteral("読む問題"), 48, 80, pixelFont(12, true), colour::Black);
    Label4 = makeLabel(this, QStringLiteral("書く問題"), 224, 80, pixelFont(12, true), colour::Black);

    Edt_Yomu_Time = timeField(this, 136, 72);
    Edt_Kaku_Time = timeField(this, 304, 72);
    UD_Yomu_Time = new UpDown(this, Edt_Yomu_Time);
    UD_Yomu_Time->move(136 - UD_Yomu_Time->width(), 72);
    UD_Kaku_Time = new UpDown(this, Edt_Kaku_Time);
    UD_Kaku_Time->move(304 - UD_Kaku_Time->width(), 72);
    UD_Yomu_Time->setToolTip(Edt_Yomu_Time->toolTip());
    UD_Kaku_Time->setToolTip(Edt_Kaku_Time->toolTip());

    Btn_G1_Clear = button(this, QStringLiteral("漢字あわせの記録を消す"), 16, 132, 193, 25);
    Btn_G2_Clear = button(this, QStringLiteral("漢字もぐらたたきの記録を消す"), 216, 132, 201, 25);
    Btn_OK = button(this, QStringLiteral("OK"), 176, 176, 113, 25);
    Btn_OK->setToolTip(QStringLiteral("設定値を変更します"));
    Btn_OK->setDefault(true);
    Btn_Cancel = button(this, QStringLiteral("CANCEL"), 304, 176, 113, 25);
    Btn_Cancel->setToolTip(QStringLiteral("変更せずにメニューにもどる"));
    Btn_OK->setCursor(sv.shell.HandPointer);
    Btn_Cancel->setCursor(sv.shell.HandPointer);

    Chk_Tegaki = new QCheckBox(QStringLiteral("書く問題で、手で書いて答える四角を使う"), this);
    Chk_Tegaki->setFont(pixelFont(12, true));
    Chk_Tegaki->setGeometry(16, 102, 401, 24);
    Chk_Tegaki->setCursor(sv.shell.HandPointer);
    Chk_Tegaki->setToolTip(QStringLiteral("使わないときは、部首・画数・一覧から漢字をえらびます"));

    Edt_Yomu_Time->setObjectName(QStringLiteral("Edt_Yomu_Time"));
    Edt_Kaku_Time->setObjectName(QStringLiteral("Edt_Kaku_Time"));
    UD_Yomu_Time->setObjectName(QStringLiteral("UD_Yomu_Time"));
    UD_Kaku_Time->setObjectName(QStringLiteral("UD_Kaku_Time"));
    Btn_G1_Clear->setObjectName(QStringLiteral("Btn_G1_Clear"));
    Btn_G2_Clear->setObjectName(QStringLiteral("Btn_G2_Clear"));
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Chk_Tegaki->setObjectName(QStringLiteral("Chk_Tegaki"));

    connect(Btn_OK, &QPushButton::clicked, this, &TF_Settei::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TF_Settei::Btn_CancelClick);
    connect(Btn_G1_Clear, &QPushButton::clicked, this, &TF_Settei::Btn_G1_ClearClick);
    connect(Btn_G2_Clear, &QPushButton::clicked, this, &TF_Settei::Btn_G2_ClearClick);
}

void TF_Settei::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_Settei::FormShow()
{
    const AppSettings &s = services.state.Settings;
    Edt_Kaku_Time->setValue(s.WriteTimeLimit);
    Edt_Yomu_Time->setValue(s.ReadTimeLimit);
    Chk_Tegaki->setChecked(s.HandwritingEnabled);
    Btn_G1_Clear->setVisible(QFile::exists(services.dataFile(boardFileName(GameId::Matching))));
    Btn_G2_Clear->setVisible(QFile::exists(services.dataFile(boardFileName(GameId::WhackAMole))));
}

void TF_Settei::Btn_OKClick()
{
    // The program has no pop-up encouragement to switch on: "POPMSG" is always stored "N".
    constexpr bool NoPopUps = false;
    // A value still being typed counts as it stands (the field only holds 1..59).
    Edt_Kaku_Time->interpretText();
    Edt_Yomu_Time->interpretText();
    try {
        writeSettings(services.state.Settings, services.state.SettingsPath, Edt_Kaku_Time->value(),
                      Edt_Yomu_Time->value(), NoPopUps, Chk_Tegaki->isChecked());
    } catch (const FileError &e) {
        // The settings are not needed to run: say so, keep the limits in use
        // and go on.
        services.dialogs.message(this, e.message());
        reject();
        return;
    }
    accept();
}

void TF_Settei::Btn_CancelClick()
{
    reject();
}

void TF_Settei::erase(const QString &question, const QString &file, QPushButton *button)
{
    if (services.dialogs.question(this, question) != Answer::Yes)
        return;
    const QString path = services.dataFile(file);
    if (QFile::exists(path) && !QFile::remove(path)) {
        services.dialogs.message(this, fileErrorMessage(file));
        return;
    }
    button->hide();
}

void TF_Settei::Btn_G1_ClearClick()
{
    erase(QStringLiteral("漢字あわせの記録を全て消します。良いですか？"), boardFileName(GameId::Matching),
          Btn_G1_Clear);
}

void TF_Settei::Btn_G2_ClearClick()
{
    erase(QStringLiteral("漢字もぐらたたきの記録を全て消します。良いですか？"),
          boardFileName(GameId::WhackAMole), Btn_G2_Clear);
}

} // namespace fm
