#include "study/panels.h"
#include "data/cp932.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/pictures.h"
#include "shell/services.h"
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

} // namespace

AnswerPanels::AnswerPanels(Services &services, QWidget *screen, int kind, QLabel *title, QPushButton *cancel)
    : QObject(screen), services_(services), screen_(screen), kind_(kind), title_(title), cancel_(cancel),
      line_(kind == 2 ? WritingAnswerLimit : ReadingAnswerLimit)
{
    const QCursor hand = services.shell.HandPointer;

    Grp_Kotae = makeGroupBox(screen, QStringLiteral("こたえ"), QRect(16, 125, 620, 50));
    Lbl_kotae = makeLabel(Grp_Kotae, QString(), 62, 10, pixelFont(28, true, Gothic), colour::White, 267, 31);
    Btn_DelPart = new QPushButton(QStringLiteral("さいごのじをけす"), Grp_Kotae);
    Btn_DelPart->setGeometry(328, 12, 145, 33);
    Btn_DelPart->setToolTip(QStringLiteral("こたえのさいごのじをけす"));
    Btn_Delall = new QPushButton(QStringLiteral("ぜんぶけす"), Grp_Kotae);
    Btn_Delall->setGeometry(472, 12, 145, 33);
    Btn_Delall->setToolTip(QStringLiteral("こたえのじをぜんぶけす"));
    for (QPushButton *b : {Btn_DelPart, Btn_Delall})
        b->setCursor(hand);
    connect(Btn_DelPart, &QPushButton::clicked, this, [this] { Btn_DelPartClick(); });
    connect(Btn_Delall, &QPushButton::clicked, this, [this] { Btn_DelallClick(); });

    const double scale = services.shell.FontScale > 0 ? services.shell.FontScale : 1.0;
    Grp_Kanji =
        makeGroupBox(screen, kind == 2 ? QStringLiteral("かんじをえらぶ") : QStringLiteral("かなをえらぶ"),
                     QRect(16, 184, 620, 281));
    if (kind == 2)
        buildWriting(scale);
    else
        buildReading(scale);
}

QPushButton *AnswerPanels::makeButton(QWidget *parent, const QRect &place, int tag)
{
    auto *b = new QPushButton(parent);
    b->setGeometry(place);
    b->setCursor(services_.shell.HandPointer);
    b->setProperty("tag", tag);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
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

void AnswerPanels::buildWriting(double scale)
{
    Grp_Bushu = makeGroupBox(screen_, QStringLiteral("ぶしゅでえらぶ"), QRect(16, 184, 401, 281));
    Grp_Buhin = makeGroupBox(screen_, QStringLiteral("ぶしゅをえらぶ"), QRect(16, 184, 401, 281));
    Grp_Kakusuu = makeGroupBox(screen_, QStringLiteral("かくすうでえらぶ"), QRect(424, 184, 201, 281));

    for (int g = 1; g <= RadicalGroupCount; ++g) {
        QPushButton *b = makeButton(Grp_Bushu, panelButtonRect(PanelButton::RadicalGroup, g, scale), g);
        b->setText(radicalGroupCaption(g));
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

    for (int s = 1; s <= StrokeButtonCount; ++s) {
        QPushButton *b = makeButton(Grp_Kakusuu, panelButtonRect(PanelButton::Strokes, s, scale), s);
        b->setText(QString::number(s));
        connect(b, &QPushButton::clicked, this, [this, s] { Btn_KakusuuClick(s); });
        Btn_Kakusuu[s] = b;
    }
    Btn_Gakunen_all = makeButton(Grp_Kakusuu, panelButtonRect(PanelButton::WholeRange, 1, scale), 0);
    Btn_Gakunen_all->setText(wholeRangeCaption(services_.state.CurrentLevel));
    connect(Btn_Gakunen_all, &QPushButton::clicked, this, [this] { Btn_Gakunen_allClick(); });
    growToFit(Grp_Kakusuu, panelButtonRect(PanelButton::WholeRange, 1, scale));

    PartsStrip = services_.pictures.bitmap(QStringLiteral("BuhinX.bmp"));
    for (int j = 1; j <= PartButtonCount; ++j) {
        QPushButton *b = makeButton(Grp_Buhin, panelButtonRect(PanelButton::Part, j, scale), j);
        b->setIconSize(b->size() - QSize(4, 4));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, j] { Btn_BuhinClick(j); });
        Btn_Buhin[j] = b;
    }
    growToFit(Grp_Buhin, panelButtonRect(PanelButton::Part, PartButtonCount, scale));

    // The candidates use the sample button's font: gothic, 19 px, bold, black.
    const QFont candidateFont = pixelFont(19, true, Gothic);
    for (int i = 1; i <= CandidateCount; ++i) {
        QPushButton *b = makeButton(Grp_Kanji, panelButtonRect(PanelButton::Candidate, i, scale), i);
        b->setFont(candidateFont);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, colour::Black);
        b->setPalette(p);
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, i] { Btn_KanjiClick(i); });
        takeEveryPress(b);
        Btn_Kanji[i] = b;
    }
    growToFit(Grp_Kanji, panelButtonRect(PanelButton::Candidate, CandidateCount, scale));
}

void AnswerPanels::Btn_Junbi()
{
    if (kind_ == 2) {
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
    nav.PanelState = Panel::Choice;
}

void AnswerPanels::hidePanels()
{
    for (QGroupBox *box : {Grp_Kanji, Grp_Bushu, Grp_Buhin, Grp_Kakusuu})
        if (box)
            box->hide();
}

void AnswerPanels::resetForQuestion()
{
    nav.reset();
    if (kind_ != 2)
        return;
    Grp_Kanji->hide();
    Grp_Buhin->hide();
    Grp_Bushu->show();
    Grp_Kakusuu->show();
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
        if (!glyph.isEmpty() && line_.append(glyph))
            showAnswer();
    }
    cancel_->show();
}

void AnswerPanels::Btn_DelPartClick()
{
    if (line_.deleteLast())
        showAnswer();
}

void AnswerPanels::Btn_DelallClick()
{
    clearAnswer();
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
    nav.toParts();
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
    openList(KanjiListSource::Part, kanjiOfPart(services_.state.Cat, SelectedGroup, j));
}

void AnswerPanels::Btn_KakusuuClick(int s)
{
    openList(KanjiListSource::Strokes, kanjiOfStrokes(services_.state.Cat, s));
}

void AnswerPanels::Btn_Gakunen_allClick()
{
    openList(KanjiListSource::WholeRange, wholeRangeList(services_.state.CurrentLevel, services_.random));
}

void AnswerPanels::openList(KanjiListSource source, const QVector<int16_t> &kanji)
{
    services_.state.ListSource = source;
    nav.toList();
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
    switch (nav.back()) {
    case PanelNav::Back::Nothing:
        break;
    case PanelNav::Back::ToFirstPanels:
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

} // namespace fm
