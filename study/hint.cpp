#include "study/hint.h"
#include "data/cp932.h"
#include "data/studylog.h"
#include "handwriting/strokeorderview.h"
#include "shell/helpviewer.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/navigator.h"
#include "shell/services.h"
#include "study/hintrules.h"
#include "study/levelup.h"
#include <QPlainTextEdit>
#include <QPushButton>

namespace fm
{

namespace
{

QPlainTextEdit *makeMemo(QWidget *parent, const QRect &geometry, const QFont &font, const QColor &text,
                         const QColor &ground)
{
    auto *m = new QPlainTextEdit(parent);
    m->setGeometry(geometry);
    m->setFont(font);
    m->setReadOnly(true);
    m->setFrameShape(QFrame::NoFrame);
    m->setFocusPolicy(Qt::NoFocus);
    m->setContextMenuPolicy(Qt::NoContextMenu);
    // Lines may end in blanks; they wrap at the edge instead of scrolling.
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QPalette pal = m->palette();
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Base, ground);
    m->setPalette(pal);
    return m;
}

void setLines(QPlainTextEdit *memo, const QStringList &lines)
{
    memo->setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList unicodeLines(const std::array<QByteArray, HintLines> &lines)
{
    QStringList out;
    for (const QByteArray &l : lines)
        out << cp932::toUnicode(l);
    return out;
}

} // namespace

TF_Hint::TF_Hint(Services &sv, QWidget *parent) : QDialog(parent), services(sv), state(sv.state)
{
    setWindowTitle(QStringLiteral("がんばれ！ ふでまる"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(pixelFont(12));
    setFixedSize(425, 313);

    auto *image = new ClickLabel(this);
    image->setGeometry(0, 0, 105, 97);
    image->setScaledContents(true);
    image->setCursor(services.shell.HandPointer); // it opens the help
    image->setPixmap(fudemaruPicture(image->size()));
    connect(image, &ClickLabel::clicked, this, [this] { Image1Click(); });
    Image1 = image;

    const QColor buttonFace = palette().color(QPalette::Button);
    Mem_Hint_Level1 = makeMemo(this, {112, 2, 313, 127}, pixelFont(16, true), colour::Red, buttonFace);
    Mem_Hint_Level2 = makeMemo(this, {8, 136, 417, 137}, pixelFont(15, true), colour::Blue,
                               palette().color(QPalette::Base));

    auto button = [this](const QString &text, const QRect &place) {
        return makePushButton(this, text, place, services.shell.HandPointer);
    };
    Btn_Kotae_Hint = button(QStringLiteral("こたえのヒント"), {0, 104, 105, 25});
    Btn_Prev = button(QStringLiteral("まえのヒントをみる"), {16, 280, 129, 25});
    Btn_Next = button(QStringLiteral("つぎのヒントをみる"), {152, 280, 129, 25});
    BitBtn1 = button(QStringLiteral("もどる"), {288, 280, 129, 25});
    Btn_Prev->setProperty("tag", 0);
    Btn_Next->setProperty("tag", 1);
    // On a writing question where the answer hint is offered: the kanji's
    // stroke order (a challenge test would give the answer away).
    Btn_Kakijun = button(QStringLiteral("かきじゅん"), {0, 76, 105, 25});
    Btn_Kakijun->hide();
    connect(Btn_Kakijun, &QPushButton::clicked, this, &TF_Hint::Btn_KakijunClick);
    connect(Btn_Kotae_Hint, &QPushButton::clicked, this, &TF_Hint::Btn_Kotae_HintClick);
    connect(Btn_Prev, &QPushButton::clicked, this, [this] { Btn_NextPrevClick(0); });
    connect(Btn_Next, &QPushButton::clicked, this, [this] { Btn_NextPrevClick(1); });
    connect(BitBtn1, &QPushButton::clicked, this, &TF_Hint::BitBtn1Click);

    Image1->setObjectName(QStringLiteral("Image1"));
    Mem_Hint_Level1->setObjectName(QStringLiteral("Mem_Hint_Level1"));
    Mem_Hint_Level2->setObjectName(QStringLiteral("Mem_Hint_Level2"));
    Btn_Kotae_Hint->setObjectName(QStringLiteral("Btn_Kotae_Hint"));
    Btn_Kakijun->setObjectName(QStringLiteral("Btn_Kakijun"));
    Btn_Prev->setObjectName(QStringLiteral("Btn_Prev"));
    Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
}

int TF_Hint::exec()
{
    if (!FormShow())
        return QDialog::Rejected;
    return QDialog::exec();
}

bool TF_Hint::FormShow()
{
    if (failed_ || services.nav.quitRequested())
        return false;
    if (!state.Hints.HintLoaded &&
        !services.guard(parentWidget(), [&] { loadHintIndex(state.Hints, state.ProgramDir); })) {
        failed_ = true;
        return false;
    }
    CurrentHint = firstHintPage(state.Hints, state.HintContext);
    showPage(CurrentHint);
    const bool answerHints = answerHintOffered(state.HintContext, state.ChallengeMode);
    Btn_Kotae_Hint->setVisible(answerHints);
    Btn_Kakijun->setVisible(answerHints && state.HintContext.kind == StudyKind::Writing && hintKanji() != 0 &&
                            strokeOrderAvailable(services, hintKanji()));
    return !failed_;
}

bool TF_Hint::readPage(int page)
{
    HintRecord record;
    bool found = false;
    if (!services.guard(parentWidget(), [&] { found = readHintPage(state.ProgramDir, page, record); })) {
        failed_ = true;
        reject();
        return false;
    }
    if (!found)
        return false; // the file has gone: the window keeps what it shows
    setLines(Mem_Hint_Level1, unicodeLines(record.Level1Lines));
    setLines(Mem_Hint_Level2, unicodeLines(record.Level2Lines));
    return true;
}

void TF_Hint::showPage(int page)
{
    // An empty Hint.dat has no page to show: the window opens blank.
    if (state.Hints.HintLastNumber < 1)
        return;
    readPage(page);
}

void TF_Hint::Btn_NextPrevClick(int tag)
{
    const int next = stepHintPage(state.Hints, state.HintContext, CurrentHint, tag == 1 ? 1 : -1);
    if (next == CurrentHint)
        return;
    CurrentHint = next;
    showPage(CurrentHint);
}

void TF_Hint::Btn_Kotae_HintClick()
{
    const auto hint = answerHint(state, services.random);
    if (!hint)
        return;
    const QStringList blank(5, QString());
    setLines(Mem_Hint_Level1, QStringList{hint->level1} + blank);
    setLines(Mem_Hint_Level2, QStringList{hint->level2} + blank);
}

int TF_Hint::hintKanji() const
{
    const int n = state.HintQuestion;
    return n >= 1 && n <= QuestionsPerTest ? state.QuestionSlots[n].Kanji : 0;
}

void TF_Hint::Btn_KakijunClick()
{
    showStrokeOrder(services, hintKanji(), this);
}

void TF_Hint::Image1Click()
{
    services.help.showHelp(this, help::HintPicture);
}

void TF_Hint::BitBtn1Click()
{
    accept();
}

} // namespace fm
