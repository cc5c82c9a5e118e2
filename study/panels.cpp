#include "study/panels.h"
#include "data/cp932.h"
#include "handwriting/handwriting.h"
#include "handwriting/strokeorder.h"
#include "media/mediafiles.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/pictures.h"
#include "shell/services.h"
#include "shell/writing.h"
#include <QApplication>
#include <QIcon>
#include <QPainter>

namespace fm
{

namespace
{

// A box wide and tall enough for its buttons when large fonts scale them.
void growToFit(QGroupBox *box, const QRect &lastButton)
{
    const int w = std::max(box->width(), lastButton.right() + 11);
    const int h = std::max(box->height(), lastButton.bottom() + 11);
    box->resize(w, h);
}

// A kanji candidate: black on the button face in its font, hidden until it has a kanji.
void makeCandidate(QPushButton *b, const QFont &font)
{
    b->setFont(font);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, colour::Black);
    b->setPalette(p);
    b->hide();
}

} // namespace

AnswerPanels::AnswerPanels(Services &services, QWidget *screen, StudyKind kind, QLabel *title,
                           QPushButton *cancel)
    : QObject(screen), services_(services), screen_(screen), kind_(kind), title_(title), cancel_(cancel),
      line_(kind == StudyKind::Writing ? WritingAnswerLimit : ReadingAnswerLimit)
{
    const QCursor hand = services.shell.HandPointer;

    Grp_Kotae = makeGroupBox(screen, QStringLiteral("こたえ"), QRect(16, 125, 620, 50));
    Lbl_kotae = makeLabel(Grp_Kotae, QString(), 62, 10, pixelFont(28, true, Gothic), colour::White, 267, 31);
    Btn_DelPart = makePushButton(Grp_Kotae, QStringLiteral("さいごのじをけす"), QRect(328, 12, 145, 33), hand,
                                 QStringLiteral("こたえのさいごのじをけす"));
    Btn_Delall = makePushButton(Grp_Kotae, QStringLiteral("ぜんぶけす"), QRect(472, 12, 145, 33), hand,
                                QStringLiteral("こたえのじをぜんぶけす"));
    connect(Btn_DelPart, &QPushButton::clicked, this, [this] { Btn_DelPartClick(); });
    connect(Btn_Delall, &QPushButton::clicked, this, [this] { Btn_DelallClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Btn_CancelClick(); });

    const double scale = layoutScale(services.shell.Layout);
    Grp_Kanji = makeGroupBox(screen,
                             kind == StudyKind::Writing ? QStringLiteral("かんじをえらぶ")
                                                        : QStringLiteral("かなをえらぶ"),
                             QRect(16, 184, 620, 281));
    if (kind == StudyKind::Writing)
        buildWriting(scale);
    else
        buildReading(scale);
    nameControls();
}

void AnswerPanels::nameControls()
{
    auto name = [](QObject *o, const QString &n) {
        if (o)
            o->setObjectName(n);
    };
    auto number = [&name](auto &controls, const QString &n) {
        for (size_t i = 1; i < controls.size(); ++i)
            name(controls[i], n + QString::number(i));
    };
    name(Grp_Kotae, QStringLiteral("Grp_Kotae"));
    name(Lbl_kotae, QStringLiteral("Lbl_kotae"));
    name(Btn_DelPart, QStringLiteral("Btn_DelPart"));
    name(Btn_Delall, QStringLiteral("Btn_Delall"));
    name(Grp_Kanji, QStringLiteral("Grp_Kanji"));
    name(Grp_Bushu, QStringLiteral("Grp_Bushu"));
    name(Grp_Buhin, QStringLiteral("Grp_Buhin"));
    name(Grp_Kakusuu, QStringLiteral("Grp_Kakusuu"));
    number(Btn_Moji, QStringLiteral("Btn_Moji"));
    number(Btn_Bushu, QStringLiteral("Btn_Bushu"));
    number(Btn_Kakusuu, QStringLiteral("Btn_Kakusuu"));
    name(Btn_Gakunen_all, QStringLiteral("Btn_Gakunen_all"));
    number(Btn_Buhin, QStringLiteral("Btn_Buhin"));
    number(Btn_Kanji, QStringLiteral("Btn_Kanji"));
    name(Btn_Kaku, QStringLiteral("Btn_Kaku"));
    name(Grp_Kaku, QStringLiteral("Grp_Kaku"));
    name(Img_Kaku, QStringLiteral("Img_Kaku"));
    name(Lbl_KakuJoutai, QStringLiteral("Lbl_KakuJoutai"));
    number(Btn_Kouho, QStringLiteral("Btn_Kouho"));
    name(Lbl_Kouho, QStringLiteral("Lbl_Kouho"));
    name(Btn_Hitotsu, QStringLiteral("Btn_Hitotsu"));
    name(Btn_Zenbu, QStringLiteral("Btn_Zenbu"));
}

void AnswerPanels::buildReading(double scale)
{
    auto *keys = new KanaKeypad(
        Grp_Kanji, KanaKeyCount, [](int i) { return cp932::toUnicode(kanaKey(i)); },
        [scale](int i) { return panelButtonRect(PanelButton::Kana, i, scale); }, services_.shell.HandPointer);
    connect(keys, &KanaKeypad::pressed, this, &AnswerPanels::Btn_MojiClick);
    for (int i = 1; i <= KanaKeyCount; ++i) {
        Btn_Moji[i] = keys->key(i);
        Btn_Moji[i]->hide();
    }
    growToFit(Grp_Kanji, panelButtonRect(PanelButton::Kana, KanaKeyCount, scale));
}

// Every panel button stands where the 640 x 480 layout puts it, scaled.
QPushButton *AnswerPanels::panelButton(QWidget *box, const QString &text, PanelButton kind, int i,
                                       double scale)
{
    return makePushButton(box, text, panelButtonRect(kind, i, scale), services_.shell.HandPointer);
}

void AnswerPanels::buildWriting(double scale)
{
    Grp_Bushu = makeGroupBox(screen_, QStringLiteral("ぶぶんでえらぶ"), QRect(16, 184, 401, 281));
    Grp_Buhin = makeGroupBox(screen_, QStringLiteral("ぶぶんをえらぶ"), QRect(16, 184, 401, 281));
    Grp_Kakusuu = makeGroupBox(screen_, QStringLiteral("かくすうでえらぶ"), QRect(424, 184, 201, 281));
    buildRadicalGroups(scale);

    for (int s = 1; s <= StrokeButtonCount; ++s) {
        QPushButton *b = panelButton(Grp_Kakusuu, QString::number(s), PanelButton::Strokes, s, scale);
        connect(b, &QPushButton::clicked, this, [this, s] { Btn_KakusuuClick(s); });
        Btn_Kakusuu[s] = b;
    }
    Btn_Gakunen_all = panelButton(Grp_Kakusuu, wholeRangeCaption(services_.state.CurrentLevel),
                                  PanelButton::WholeRange, 1, scale);
    connect(Btn_Gakunen_all, &QPushButton::clicked, this, [this] { Btn_Gakunen_allClick(); });
    growToFit(Grp_Kakusuu, panelButtonRect(PanelButton::WholeRange, 1, scale));

    PartsStrip = services_.pictures.bitmap(QLatin1String(media::kPartsStrip));
    for (int j = 1; j <= PartButtonCount; ++j) {
        QPushButton *b = panelButton(Grp_Buhin, QString(), PanelButton::Part, j, scale);
        b->setIconSize(b->size() - QSize(4, 4));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, j] { Btn_BuhinClick(j); });
        Btn_Buhin[j] = b;
    }
    growToFit(Grp_Buhin, panelButtonRect(PanelButton::Part, PartButtonCount, scale));

    // The candidates use the sample button's font: gothic, 19 px, bold, black.
    const QFont candidateFont = pixelFont(19, true, Gothic);
    for (int i = 1; i <= CandidateCount; ++i) {
        QPushButton *b = panelButton(Grp_Kanji, QString(), PanelButton::Candidate, i, scale);
        makeCandidate(b, candidateFont);
        connect(b, &QPushButton::clicked, this, [this, i] { Btn_KanjiClick(i); });
        takeEveryPress(b);
        Btn_Kanji[i] = b;
    }
    growToFit(Grp_Kanji, panelButtonRect(PanelButton::Candidate, CandidateCount, scale));

    if (writingOffered())
        buildWritingSquare(scale);
}

void AnswerPanels::buildRadicalGroups(double scale)
{
    for (int g = 1; g <= RadicalGroupCount; ++g) {
        QPushButton *b = panelButton(Grp_Bushu, radicalGroupCaption(g), PanelButton::RadicalGroup, g, scale);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, colour::Black);
        b->setPalette(p);
        const QImage picture = services_.pictures.bitmap(radicalGroupPicture(g));
        if (!picture.isNull()) {
            // A missing picture leaves the caption alone; the group still works.
            b->setIcon(QPixmap::fromImage(picture));
            const int side = b->height() - 8;
            b->setIconSize(picture.size().scaled(b->width() / 2, side, Qt::KeepAspectRatio));
        }
        connect(b, &QPushButton::clicked, this, [this, g] { Btn_BushuClick(g); });
        Btn_Bushu[g] = b;
    }
    growToFit(Grp_Bushu, panelButtonRect(PanelButton::RadicalGroup, RadicalGroupCount, scale));
}

bool AnswerPanels::writingOffered() const
{
    return kind_ == StudyKind::Writing && services_.state.Settings.HandwritingEnabled &&
           services_.handwriting.offered();
}

void AnswerPanels::buildWritingSquare(double scale)
{
    const QCursor hand = services_.shell.HandPointer;
    // Beside the radical groups, in the room their two columns leave.
    const QRect lastGroup = panelButtonRect(PanelButton::RadicalGroup, RadicalGroupCount, scale);
    const int x = lastGroup.right() + 9;
    const QRect place(x, 25, std::max(56, Grp_Bushu->width() - x - 9), 240);
    Btn_Kaku = makePushButton(Grp_Bushu, QStringLiteral("かいて\nこたえる"), place, hand,
                              QStringLiteral("かんじを てで かいて こたえる"));
    Btn_Kaku->setFont(pixelFont(18, true, Gothic));
    Btn_Kaku->setIcon(QIcon(writingIcon(48)));
    Btn_Kaku->setIconSize(QSize(48, 48));
    connect(Btn_Kaku, &QPushButton::clicked, this, [this] { Btn_KakuClick(); });

    Grp_Kaku = makeGroupBox(screen_, QStringLiteral("かいてこたえる"), QRect(16, 184, 620, 281));
    Img_Kaku = new WritingSquare(Grp_Kaku);
    Img_Kaku->setGeometry(10, 20, 254, 254);
    connect(Img_Kaku, &WritingSquare::inkChanged, this, [this] {
        inkSincePick_ = Img_Kaku->strokeCount() > 0;
        Img_KakuChanged();
    });

    Lbl_Kouho =
        makeLabel(Grp_Kaku, QStringLiteral("どれかな？"), 280, 22, pixelFont(15, true), colour::White);
    const QFont candidateFont = pixelFont(40, true, Gothic);
    for (int i = 1; i <= WritingCandidateCount; ++i) {
        QPushButton *b = makePushButton(Grp_Kaku, QString(), QRect(280 + 66 * (i - 1), 44, 62, 62), hand);
        makeCandidate(b, candidateFont);
        connect(b, &QPushButton::clicked, this, [this, i] { Btn_KouhoClick(i); });
        Btn_Kouho[i] = b;
    }
    Lbl_KakuJoutai = makeLabel(Grp_Kaku, QString(), 280, 118, pixelFont(16, true), colour::Yellow, 330, 90);
    Lbl_KakuJoutai->setWordWrap(true);
    Lbl_KakuJoutai->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Named for what they do to the drawing, so that neither is taken for
    // the answer line's "ぜんぶけす".
    Btn_Hitotsu = makePushButton(Grp_Kaku, QStringLiteral("ひとつ もどす"), QRect(280, 226, 160, 40), hand,
                                 QStringLiteral("さいごに かいた せんを けす"));
    Btn_Zenbu = makePushButton(Grp_Kaku, QStringLiteral("かきなおす"), QRect(450, 226, 160, 40), hand,
                               QStringLiteral("しかくの せんを ぜんぶ けして かきなおす"));
    // Taking back two strokes is two quick presses.
    takeEveryPress(Btn_Hitotsu);
    connect(Btn_Hitotsu, &QPushButton::clicked, Img_Kaku, &WritingSquare::undoStroke);
    connect(Btn_Zenbu, &QPushButton::clicked, Img_Kaku, &WritingSquare::clearInk);
    connect(&services_.handwriting, &Handwriting::statusChanged, this, [this] { Img_KakuChanged(); });
    Grp_Kaku->hide();
}

void AnswerPanels::Btn_Junbi()
{
    if (kind_ == StudyKind::Writing) {
        forgetWriting();
        Grp_Bushu->show();
        Grp_Buhin->hide();
        Grp_Kakusuu->show();
        Grp_Kanji->setTitle(QStringLiteral("かんじをえらぶ"));
        Grp_Kanji->hide();
        title_->setText(QStringLiteral("あかいじのかんじをえらぼう！"));
    } else {
        Grp_Kanji->setTitle(QStringLiteral("かなをえらぶ"));
        Grp_Kanji->show();
        title_->setText(QStringLiteral("あかいじのかなをえらぼう！"));
        for (int i = 1; i <= KanaKeyCount; ++i)
            Btn_Moji[i]->setVisible(kanaKeyShown(i));
    }
    title_->resize(title_->sizeHint().width(), title_->height());
    nav_.PanelState = Panel::Choice;
}

void AnswerPanels::hidePanels()
{
    for (QGroupBox *box : {Grp_Kanji, Grp_Bushu, Grp_Buhin, Grp_Kakusuu, Grp_Kaku})
        if (box)
            box->hide();
}

void AnswerPanels::resetForQuestion()
{
    nav_.reset();
    if (kind_ != StudyKind::Writing)
        return;
    forgetWriting();
    Grp_Kanji->hide();
    Grp_Buhin->hide();
    Grp_Bushu->show();
    Grp_Kakusuu->show();
    // A child who answers by writing finds the square open again.
    if (answersOnSquare_)
        openSquare();
}

void AnswerPanels::showDeleteButtons(bool shown)
{
    Btn_DelPart->setVisible(shown);
    Btn_Delall->setVisible(shown);
}

QRect AnswerPanels::answerLineRect() const
{
    return QRect(Lbl_kotae->mapTo(screen_, QPoint(0, 0)), Lbl_kotae->size());
}

void AnswerPanels::releasePictures()
{
    PartsStrip = QImage();
}

void AnswerPanels::showAnswer()
{
    Lbl_kotae->setText(cp932::toUnicode(line_.text()));
}

void AnswerPanels::setAnswer(const QByteArray &text)
{
    line_.set(text);
    showAnswer();
}

void AnswerPanels::clearAnswer()
{
    line_.clear();
    showAnswer();
}

void AnswerPanels::Btn_MojiClick(int i)
{
    if (line_.append(kanaKey(i)))
        showAnswer();
}

void AnswerPanels::Btn_KanjiClick(int i)
{
    if (i >= 1 && i <= CandidateCount) {
        const QByteArray glyph = Btn_Kanji[i]->property("glyph").toByteArray();
        // A writing answer is one kanji: a second choice replaces the first
        // instead of making a word that can never be right.
        if (!glyph.isEmpty()) {
            if (kind_ == StudyKind::Writing)
                setAnswer(glyph);
            else if (line_.append(glyph))
                showAnswer();
        }
    }
    cancel_->show();
}

void AnswerPanels::Btn_DelPartClick()
{
    if (line_.deleteLast())
        showAnswer();
    dropChosenIfErased();
}

void AnswerPanels::Btn_DelallClick()
{
    eraseAnswer();
}

void AnswerPanels::eraseAnswer()
{
    clearAnswer();
    dropChosenIfErased();
}

void AnswerPanels::dropChosenIfErased()
{
    if (!Grp_Kaku || chosen_ == 0 || line_.text() == writtenGlyph_)
        return;
    // The pick was erased from the answer line: the drawing is unanswered again.
    markChosen(0);
    inkSincePick_ = Img_Kaku->strokeCount() > 0;
    showWritingStatus();
}

QPixmap AnswerPanels::partPicture(int p) const
{
    QImage cell(PartCellSize, PartCellSize, QImage::Format_RGB32);
    cell.fill(Qt::white);
    const QRect source(PartCellSize * (p - 1), 0, PartCellSize, PartCellSize - 1);
    // A glyph index beyond the strip shows an empty cell rather than garbage.
    if (!PartsStrip.isNull() && p >= 1 && PartsStrip.rect().contains(source)) {
        QPainter painter(&cell);
        painter.drawImage(cell.rect(), PartsStrip, source);
    }
    return QPixmap::fromImage(cell);
}

void AnswerPanels::Btn_BushuClick(int g)
{
    for (int j = 1; j <= PartButtonCount; ++j)
        Btn_Buhin[j]->hide();
    nav_.toParts();
    cancel_->setText(QStringLiteral("もどる"));
    cancel_->show();
    SelectedGroup = g;
    Grp_Bushu->hide();
    Grp_Buhin->show();
    const QVector<int16_t> parts = partsOfGroup(services_.state.Cat, g);
    for (int j = 1; j <= parts.size(); ++j) {
        Btn_Buhin[j]->setIcon(partPicture(parts[j - 1]));
        Btn_Buhin[j]->show();
    }
}

void AnswerPanels::showCandidates(const QVector<int16_t> &kanji)
{
    const auto &table = services_.state.Cat.KanjiTable;
    for (int i = 1; i <= CandidateCount; ++i)
        Btn_Kanji[i]->hide();
    for (int i = 1; i <= kanji.size() && i <= CandidateCount; ++i) {
        const int k = kanji[i - 1];
        const QByteArray glyph = k >= 1 && k < int(table.size()) ? table[k].Glyph : QByteArray();
        Btn_Kanji[i]->setProperty("glyph", glyph);
        Btn_Kanji[i]->setText(cp932::toUnicode(glyph));
        Btn_Kanji[i]->show();
    }
}

void AnswerPanels::Btn_BuhinClick(int j)
{
    SelectedPart = j;
    openList(KanjiListSource::Part, services_.state.Cat.byPart(SelectedGroup, j));
}

void AnswerPanels::Btn_KakusuuClick(int s)
{
    openList(KanjiListSource::Strokes, services_.state.Cat.byStrokes(s));
}

void AnswerPanels::Btn_Gakunen_allClick()
{
    openList(KanjiListSource::WholeRange, wholeRangeList(services_.state.CurrentLevel, services_.random));
}

void AnswerPanels::openList(KanjiListSource source, const QVector<int16_t> &kanji)
{
    services_.state.ListSource = source;
    nav_.toList();
    cancel_->setText(QStringLiteral("もどる"));
    Grp_Bushu->hide();
    Grp_Buhin->hide();
    Grp_Kakusuu->hide();
    Grp_Kanji->show();
    cancel_->show();
    showCandidates(kanji);
}

void AnswerPanels::Btn_CancelClick()
{
    switch (nav_.back()) {
    case PanelNav::Back::Nothing:
        break;
    case PanelNav::Back::ToFirstPanels:
        if (Grp_Kaku && Grp_Kaku->isVisible()) {
            // Leaving the square: the next questions open on the lists.
            Grp_Kaku->hide();
            answersOnSquare_ = false;
        }
        Grp_Bushu->show();
        Grp_Kakusuu->show();
        Grp_Buhin->hide();
        Grp_Kanji->hide();
        cancel_->hide();
        break;
    case PanelNav::Back::ToParts:
        Grp_Buhin->show();
        Grp_Kakusuu->show();
        Grp_Kanji->hide();
        break;
    }
}

// ---- the writing square ----

void AnswerPanels::Btn_KakuClick()
{
    if (!Grp_Kaku)
        return;
    answersOnSquare_ = true;
    openSquare();
}

void AnswerPanels::openSquare()
{
    nav_.toWriting();
    cancel_->setText(QStringLiteral("もどる"));
    cancel_->show();
    Grp_Bushu->hide();
    Grp_Kakusuu->hide();
    Grp_Buhin->hide();
    Grp_Kanji->hide();
    Grp_Kaku->show();
    // The model opens in the background the first time; the square takes
    // strokes at once and the candidates follow when it is ready.
    if (services_.handwriting.status() == Handwriting::Status::Closed)
        services_.handwriting.open();
    Img_KakuChanged();
}

void AnswerPanels::Img_KakuChanged()
{
    if (!Grp_Kaku)
        return;
    written_.clear();
    if (services_.handwriting.status() == Handwriting::Status::Ready && Img_Kaku->strokeCount() > 0)
        written_ = services_.handwriting.candidates(Img_Kaku->ink(), services_.state.CurrentLevel);
    const auto &table = services_.state.Cat.KanjiTable;
    int chosen = 0;
    for (int i = 1; i <= WritingCandidateCount; ++i) {
        const int k = i <= written_.size() ? written_[i - 1] : 0;
        const bool shown = k >= 1 && k < int(table.size()) && !table[size_t(k)].Glyph.isEmpty();
        Btn_Kouho[i]->setText(shown ? cp932::toUnicode(table[size_t(k)].Glyph) : QString());
        Btn_Kouho[i]->setVisible(shown);
        // The answer chosen stays marked while its kanji is still offered.
        if (shown && chosen == 0 && !writtenGlyph_.isEmpty() && table[size_t(k)].Glyph == writtenGlyph_ &&
            line_.text() == writtenGlyph_)
            chosen = i;
    }
    markChosen(chosen);
    showWritingStatus();
}

void AnswerPanels::markChosen(int chosen)
{
    chosen_ = chosen;
    for (int i = 1; i <= WritingCandidateCount; ++i) {
        QPushButton *b = Btn_Kouho[i];
        QPalette p = b->palette();
        p.setColor(QPalette::Button,
                   i == chosen ? colour::Yellow : QApplication::palette().color(QPalette::Button));
        p.setColor(QPalette::ButtonText, i == chosen ? colour::Red : colour::Black);
        b->setPalette(p);
        b->setCheckable(true);
        b->setChecked(i == chosen);
    }
}

bool AnswerPanels::drawingUnchosen() const
{
    return Img_Kaku && Img_Kaku->strokeCount() > 0 && inkSincePick_;
}

void AnswerPanels::showWritingStatus()
{
    QString text;
    switch (services_.handwriting.status()) {
    case Handwriting::Status::Closed:
    case Handwriting::Status::Opening:
        text = QStringLiteral("じゅんびを しているよ。かきはじめて いいよ。");
        break;
    case Handwriting::Status::Ready:
        if (Img_Kaku->strokeCount() == 0)
            text = QStringLiteral("しかくの なかに かんじを かこう。");
        else if (written_.isEmpty())
            text = QStringLiteral("もうすこし かいてみよう。");
        else if (chosen_ != 0)
            text = QStringLiteral("「%1」を こたえに したよ。ちがう ときは ほかの じを おしてね。")
                       .arg(cp932::toUnicode(writtenGlyph_));
        else
            text = QStringLiteral("かいた かんじを えらぼう。");
        break;
    case Handwriting::Status::Unavailable:
    case Handwriting::Status::Failed:
        text =
            QStringLiteral("いまは かいて こたえられないよ。もどるを おして、ほかの さがしかたで えらぼう。");
        break;
    }
    // Lines break between a child's words, never inside one.
    Lbl_KakuJoutai->setText(breakBetweenPhrases(text, Lbl_KakuJoutai->font(), Lbl_KakuJoutai->width()));
}

void AnswerPanels::Btn_KouhoClick(int i)
{
    if (i < 1 || i > written_.size() || !Grp_Kaku)
        return;
    const int k = written_[i - 1];
    const QByteArray glyph = services_.state.Cat.KanjiTable[size_t(k)].Glyph;
    if (glyph.isEmpty())
        return;
    // One answer per question: the new pick replaces whatever was chosen before.
    setAnswer(glyph);
    writtenGlyph_ = glyph;
    inkSincePick_ = false;
    const ReferenceStrokeList reference = services_.handwriting.reference(k);
    strokeOrderDiffers_ =
        !reference.isEmpty() && compareStrokeOrder(Img_Kaku->ink(), reference) != StrokeOrderVerdict::Same;
    markChosen(i);
    showWritingStatus();
}

void AnswerPanels::forgetWriting()
{
    writtenGlyph_.clear();
    strokeOrderDiffers_ = false;
    if (!Grp_Kaku)
        return;
    Grp_Kaku->hide();
    Img_Kaku->clearInk();
    inkSincePick_ = false;
    markChosen(0);
}

} // namespace fm
