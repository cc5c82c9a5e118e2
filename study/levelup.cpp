#include "study/levelup.h"
#include "data/cp932.h"
#include "handwriting/strokeorderview.h"
#include "media/wmfpicture.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/services.h"
#include "shell/writing.h"
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>

namespace fm
{

QPixmap fudemaruPicture(QSize size)
{
    // Drawn on a 105 x 97 canvas and scaled: a writing brush with a face.
    QPixmap pm(size);
    pm.fill(QColor(255, 250, 230));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / 105.0, size.height() / 97.0);
    // Handle.
    p.setPen(QPen(QColor(90, 50, 20), 1.5));
    p.setBrush(QColor(200, 140, 60));
    p.drawRoundedRect(QRectF(38, 4, 29, 42), 6, 6);
    p.setBrush(QColor(170, 30, 30));
    p.drawRect(QRectF(36, 40, 33, 8));
    // Bristles: a round body tapering to a black tip.
    QPainterPath tuft;
    tuft.moveTo(30, 48);
    tuft.cubicTo(18, 62, 34, 82, 52.5, 94);
    tuft.cubicTo(71, 82, 87, 62, 75, 48);
    tuft.closeSubpath();
    p.setBrush(QColor(250, 250, 250));
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawPath(tuft);
    QPainterPath tip;
    tip.moveTo(40, 80);
    tip.cubicTo(46, 86, 50, 90, 52.5, 94);
    tip.cubicTo(55, 90, 59, 86, 65, 80);
    tip.quadTo(52.5, 84, 40, 80);
    p.setBrush(Qt::black);
    p.drawPath(tip);
    // Face.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(44, 60), 3, 3.5);
    p.drawEllipse(QPointF(61, 60), 3, 3.5);
    p.setBrush(QColor(255, 150, 160));
    p.drawEllipse(QPointF(38, 68), 4, 2.5);
    p.drawEllipse(QPointF(67, 68), 4, 2.5);
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(46, 62, 13, 9), 200 * 16, 140 * 16);
    // Two sparkles.
    p.setPen(QPen(QColor(230, 180, 0), 2, Qt::SolidLine, Qt::RoundCap));
    for (QPointF c : {QPointF(16, 20), QPointF(89, 28)}) {
        p.drawLine(c + QPointF(-5, 0), c + QPointF(5, 0));
        p.drawLine(c + QPointF(0, -5), c + QPointF(0, 5));
    }
    return pm;
}

namespace
{
// Sizes a child can read and press on a 640 x 480 screen.
constexpr int ButtonTextPixels = 18;
constexpr QSize CloseButton{160, 44};
constexpr int AdviceTop = 280;
constexpr int AdviceButtonSide = 40;
} // namespace

TF_Level_Up::TF_Level_Up(Services &sv, QWidget *parent) : QDialog(parent), services(sv)
{
    setFont(pixelFont(16, true));
    setFixedSize(435, 339);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false); // the caller owns it

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 105, 97);
    Image1->setScaledContents(true);
    Image1->setPixmap(fudemaruPicture(Image1->size()));

    auto wrapped = [this](int x, int y, int w, int h, const QColor &colour) {
        auto *l = makeLabel(this, QString(), x, y, pixelFont(16, true), colour, w, h);
        l->setWordWrap(false); // broken by hand, between phrases
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    Lbl_Goukaku_Msg1 = wrapped(112, 0, 305, 41, colour::Black);
    Lbl_Level_Msg1 = wrapped(112, 48, 313, 41, colour::Blue);

    Grp_Title1 = new QGroupBox(this);
    Grp_Title1->setGeometry(8, 112, 409, 161);
    Grp_Title1->setFont(pixelFont(16, true));
    Lbl_Level1 = makeLabel(Grp_Title1, QString(), 16, 32, pixelFont(19, true), colour::Red);
    Lbl_Level2 = makeLabel(Grp_Title1, QString(), 16, 72, pixelFont(19, true), colour::Teal);
    PBar_Level_Cnt = new QProgressBar(Grp_Title1);
    PBar_Level_Cnt->setGeometry(8, 120, 393, 33);
    PBar_Level_Cnt->setMinimum(0);
    PBar_Level_Cnt->setTextVisible(false);

    BitBtn1 = makePushButton(this, QStringLiteral("もどる"),
                             QRect(QPoint(417 - CloseButton.width(), 283), CloseButton),
                             services.shell.HandPointer);
    BitBtn1->setFont(pixelFont(ButtonTextPixels, true));
    BitBtn1->setDefault(true);

    Lbl_Kakijun = makeLabel(this, QStringLiteral("かきじゅんを たしかめよう："), 8, AdviceTop,
                            pixelFont(16, true), colour::Black);
    Lbl_Kakijun->hide();
    for (int i = 1; i <= QuestionsPerTest; ++i) {
        QPushButton *b = makePushButton(
            this, QString(),
            QRect(8 + (i - 1) * (AdviceButtonSide + 2), AdviceTop + 22, AdviceButtonSide, AdviceButtonSide),
            services.shell.HandPointer, QStringLiteral("かきじゅんを みる"));
        b->setFont(pixelFont(24, true, Gothic));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, i] { Btn_KakijunClick(i); });
        Btn_Kakijun[i] = b;
    }
    connect(BitBtn1, &QPushButton::clicked, this, &TF_Level_Up::BitBtn1Click);

    Image1->setObjectName(QStringLiteral("Image1"));
    Lbl_Goukaku_Msg1->setObjectName(QStringLiteral("Lbl_Goukaku_Msg1"));
    Lbl_Level_Msg1->setObjectName(QStringLiteral("Lbl_Level_Msg1"));
    Grp_Title1->setObjectName(QStringLiteral("Grp_Title1"));
    Lbl_Level1->setObjectName(QStringLiteral("Lbl_Level1"));
    Lbl_Level2->setObjectName(QStringLiteral("Lbl_Level2"));
    PBar_Level_Cnt->setObjectName(QStringLiteral("PBar_Level_Cnt"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    Lbl_Kakijun->setObjectName(QStringLiteral("Lbl_Kakijun"));
    for (int i = 1; i <= QuestionsPerTest; ++i)
        Btn_Kakijun[i]->setObjectName(QStringLiteral("Btn_Kakijun%1").arg(i));
    // It opens right after the child's last press of a test or a review.
    shieldOpeningWindow(this, services.clock);

    FormCreate();
}

void TF_Level_Up::FormCreate()
{
    content_ = resultContent(services.state);
    setWindowTitle(content_.title);
    // Lines break between phrases only, never inside a word.
    for (auto [label, text] :
         {std::pair{Lbl_Goukaku_Msg1, content_.message}, std::pair{Lbl_Level_Msg1, content_.levelMessage}})
        label->setText(breakBetweenPhrases(text, label->font(), label->width()));

    if (!content_.picture.isEmpty()) {
        media::WmfError error;
        const auto picture = services.pictures.metafile(content_.picture, &error);
        if (!picture) {
            failed_ = true;
            services.fail(FileError(content_.picture, error.reason), parentWidget());
            return;
        }
        Image1->setPixmap(QPixmap::fromImage(picture->toImage(Image1->size())));
    }

    if (content_.showProgress) {
        Grp_Title1->setTitle(content_.progressCaption);
        Lbl_Level1->setText(content_.levelLine);
        Lbl_Level1->adjustSize();
        Lbl_Level2->setText(content_.kindLine);
        Lbl_Level2->adjustSize();
        PBar_Level_Cnt->setMaximum(PassCount);
        PBar_Level_Cnt->setValue(content_.progress);
    } else {
        Grp_Title1->hide();
        Lbl_Level1->hide();
        Lbl_Level2->hide();
        PBar_Level_Cnt->hide();
    }
    showStrokeOrderAdvice();
}

void TF_Level_Up::showStrokeOrderAdvice()
{
    int shown = 0;
    for (int q = 1; q <= QuestionsPerTest; ++q) {
        const QuestionSlot &slot = services.state.QuestionSlots[q];
        if (!strokeOrderAdvised(slot) || !strokeOrderAvailable(services, slot.Kanji))
            continue;
        QPushButton *b = Btn_Kakijun[q];
        b->setText(cp932::toUnicode(slot.WrittenGlyph));
        b->setProperty("kanji", int(slot.Kanji));
        b->move(8 + shown * (AdviceButtonSide + 2), b->y());
        b->show();
        ++shown;
    }
    if (shown == 0)
        return;
    // The window grows by the advice row; "もどる" moves below it.
    Lbl_Kakijun->show();
    BitBtn1->move(BitBtn1->x(), AdviceTop + 22 + AdviceButtonSide + 8);
    setFixedSize(width(), BitBtn1->geometry().bottom() + 12);
}

void TF_Level_Up::Btn_KakijunClick(int question)
{
    if (question < 1 || question > QuestionsPerTest)
        return;
    showStrokeOrder(services, Btn_Kakijun[question]->property("kanji").toInt(), this);
}

int TF_Level_Up::exec()
{
    if (failed_ || services.nav.quitRequested())
        return QDialog::Rejected;
    return QDialog::exec();
}

void TF_Level_Up::BitBtn1Click()
{
    // The second press of a double click on "もどる" must not reach the
    // screen that shows next (a key of the review, a game on the mode screen).
    if (QWidget *beneath = parentWidget())
        dropFollowingPresses(beneath->window(), services.clock);
    accept();
}

} // namespace fm
