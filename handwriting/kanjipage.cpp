#include "handwriting/kanjipage.h"
#include "data/cp932.h"
#include "data/levels.h"
#include "data/stamps.h"
#include "data/state.h"
#include "handwriting/handwriting.h"
#include "handwriting/readingbox.h"
#include "handwriting/strokeorderview.h"
#include "shell/dialogs.h"
#include "shell/look.h"
#include "shell/music.h"
#include "shell/navigator.h"
#include "shell/pictures.h"
#include "shell/services.h"
#include "shell/writing.h"
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QTimer>

namespace fm
{

namespace
{

// The names the writing panels give the part groups.
QString partGroupName(int group)
{
    static const char *const names[] = {"",       "へん", "つくり", "かんむり", "あし",
                                        "かまえ", "たれ", "にょう", "その他"};
    return group >= 1 && group <= 8 ? QString::fromUtf8(names[group]) : QString();
}

constexpr int PartCell = 64; // one cell of BuhinX.bmp
const QColor Pale(205, 205, 205);
const QColor StartGreen(40, 170, 70);

QString digits(int n)
{
    // Full-width digits, as the child's books print them.
    QString s = QString::number(n);
    for (QChar &c : s)
        c = QChar(c.unicode() - '0' + 0xFF10);
    return s;
}

} // namespace

// ---- the paper ----

GuidedSquare::GuidedSquare(QWidget *parent) : PaperWidget(parent, PaperMargin, OnHide::DropStroke) {}

void GuidedSquare::show(const QString &glyph, const StrokePaths &paths, Look look, const GuidedStrokes *guide)
{
    glyph_ = glyph;
    paths_ = paths;
    look_ = look;
    guide_ = guide;
    flash_ = -1;
    dropStroke();
    update();
}

void GuidedSquare::setFlash(int stroke)
{
    flash_ = stroke;
    update();
}

void GuidedSquare::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF sq = paper();
    paintPracticePaper(p, sq);
    p.setRenderHint(QPainter::Antialiasing);
    const double pen = penWidth(sq) * 1.4;
    // A model stroke; `mapped`: moved to where the child's strokes put the kanji.
    auto pathOf = [&](const QVector<QPointF> &points, bool mapped) {
        if (!mapped || !guide_)
            return inkPath(points);
        QVector<QPointF> onChild;
        for (const QPointF &q : points)
            onChild << guide_->judge().toChild(q);
        return inkPath(onChild);
    };
    const int done = guide_ ? guide_->next() : 0;
    if (look_ == Look::Kanji) {
        // The kanji as the child's book prints it.
        QFont face = pixelFont(int(sq.height() * 0.82), false, Gothic);
        p.setFont(face);
        p.setPen(colour::Black);
        p.drawText(sq, Qt::AlignCenter, glyph_);
    } else if (look_ == Look::Pale) {
        p.setPen(QPen(Pale, pen * 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (int i = done; i < paths_.size(); ++i)
            p.drawPath(pathOf(paths_[i], false));
    } else if (look_ == Look::StartDots) {
        p.setPen(Qt::NoPen);
        p.setBrush(Pale);
        for (int i = done; i < paths_.size(); ++i)
            p.drawEllipse(toWidget(paths_[i].first()), pen * 0.9, pen * 0.9);
    }
    if (look_ == Look::Kanji)
        return;
    // The strokes already right, neatly in ink where the child wrote them,
    // each with a small red circle: seen without sound.
    const QFont number = pixelFont(std::max(10, int(sq.width() / 18)), true, Gothic);
    p.setFont(number);
    for (int i = 0; i < done && i < paths_.size(); ++i) {
        p.setPen(QPen(colour::Black, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pathOf(paths_[i], true));
        const QPointF end = toWidget(guide_->judge().toChild(paths_[i].last()));
        p.setPen(QPen(colour::Red, 2));
        p.drawEllipse(end + QPointF(pen, -pen), pen * 0.8, pen * 0.8);
    }
    // Where the next stroke starts.
    if (guide_ && !guide_->finished() && flash_ < 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(StartGreen);
        p.drawEllipse(toWidget(guide_->judge().toChild(paths_[done].first())), pen * 0.9, pen * 0.9);
    }
    // After a miss: the right stroke in red with its number.
    if (flash_ >= 0 && flash_ < paths_.size()) {
        p.setPen(QPen(colour::Red, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pathOf(paths_[flash_], true));
        const QPointF start = toWidget(guide_->judge().toChild(paths_[flash_].first()));
        QRectF box(0, 0, number.pixelSize() * 1.6, number.pixelSize() * 1.3);
        box.moveCenter(start + QPointF(-number.pixelSize(), -number.pixelSize()));
        p.setBrush(Qt::white);
        p.setPen(QPen(colour::Red, 1.5));
        p.drawRoundedRect(box, 4, 4);
        p.drawText(box, Qt::AlignCenter, QString::number(flash_ + 1));
    }
    p.setPen(QPen(QColor(60, 60, 60), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(inkPath(strokeInProgress()));
}

// ---- the page ----

TF_KanjiPage::TF_KanjiPage(Services &sv, int kanjiNumber, QVector<int> tour)
    : ScreenFrame(sv, ScreenId::KanjiPage), tour_(std::move(tour))
{
    const QCursor hand = services.shell.HandPointer;
    Img_Paper = new GuidedSquare(this);
    Img_Paper->setObjectName(QStringLiteral("Img_Paper"));
    Img_Paper->setGeometry(16 - GuidedSquare::PaperMargin, 90 - GuidedSquare::PaperMargin,
                           284 + 2 * GuidedSquare::PaperMargin, 284 + 2 * GuidedSquare::PaperMargin);
    Lbl_Message = makeLabel(this, QString(), 16, 378, pixelFont(20, true), colour::Yellow, 290, 40);
    Lbl_Message->setObjectName(QStringLiteral("Lbl_Message"));
    Lbl_Message->setWordWrap(true);

    Lbl_Yomi = new QLabel(this);
    Lbl_Yomi->setObjectName(QStringLiteral("Lbl_Yomi"));
    Lbl_Yomi->setGeometry(316, 36, 308, 160);
    Lbl_Yomi->setTextFormat(Qt::RichText);
    Lbl_Yomi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl_Yomi->setFont(pixelFont(17, true));
    Lbl_Yomi->setAutoFillBackground(true);
    Lbl_Yomi->setMargin(4);
    QPalette pal = Lbl_Yomi->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    Lbl_Yomi->setPalette(pal);

    Lbl_Kakusuu = makeLabel(this, QString(), 316, 198, pixelFont(20, true), colour::White, 110, 28);
    Lbl_Level = makeLabel(this, QString(), 430, 198, pixelFont(20, true), colour::White, 194, 28);
    Lbl_Buhin = makeLabel(this, QString(), 316, 232, pixelFont(16, true), colour::White, 140, 48);
    Lbl_Kakusuu->setObjectName(QStringLiteral("Lbl_Kakusuu"));
    Lbl_Level->setObjectName(QStringLiteral("Lbl_Level"));
    Lbl_Buhin->setObjectName(QStringLiteral("Lbl_Buhin"));
    Lbl_Buhin->setWordWrap(true);
    for (int i = 0; i < 2; ++i) {
        Img_Buhin[i] = new QLabel(this);
        Img_Buhin[i]->setObjectName(QStringLiteral("Img_Buhin%1").arg(i));
        Img_Buhin[i]->setGeometry(460 + i * 56, 230, 50, 50);
    }

    Img_Kakijun = new StrokeOrderView(this, {});
    Img_Kakijun->setGeometry(316, 286, 130, 130);
    Btn_Again = makePushButton(this, QStringLiteral("もういちど"), QRect(454, 286, 170, 40), hand,
                               QStringLiteral("かきじゅんを もういちど みる"));
    Btn_Again->setObjectName(QStringLiteral("Btn_Again"));
    Btn_Again->setFont(pixelFont(18, true));
    Btn_Mae = makePushButton(this, QStringLiteral("◀ まえ"), QRect(454, 334, 82, 40), hand);
    Btn_Mae->setObjectName(QStringLiteral("Btn_Mae"));
    Btn_Tsugi = makePushButton(this, QStringLiteral("つぎ ▶"), QRect(542, 334, 82, 40), hand);
    Btn_Tsugi->setObjectName(QStringLiteral("Btn_Tsugi"));
    for (QPushButton *b : {Btn_Mae, Btn_Tsugi})
        b->setFont(pixelFont(18, true));

    const char *captions[] = {"", "なぞる", "うすく", "かく"};
    for (int r = 1; r <= 3; ++r) {
        Btn_Round[r] = makePushButton(this, QString::fromUtf8(captions[r]),
                                      QRect(16 + (r - 1) * 150, 424, 142, 48), hand);
        Btn_Round[r]->setObjectName(QStringLiteral("Btn_Round%1").arg(r));
        Btn_Round[r]->setFont(pixelFont(22, true));
        connect(Btn_Round[r], &QPushButton::clicked, this, [this, r] { Btn_RoundClick(r); });
    }
    Btn_Round[0] = nullptr;
    Btn_Modoru = makePushButton(this, QStringLiteral("もどる"), QRect(482, 424, 142, 48), hand);
    Btn_Modoru->setObjectName(QStringLiteral("Btn_Modoru"));
    Btn_Modoru->setFont(pixelFont(22, true));
    Mark = new JudgeMark(this, QRect(16, 90, 284, 284));
    Mark->setObjectName(QStringLiteral("Mark"));

    Tim_Flash = new QTimer(this);
    Tim_Flash->setObjectName(QStringLiteral("Tim_Flash"));
    Tim_Flash->setSingleShot(true);
    Tim_Flash->setInterval(FlashMs);
    connect(Tim_Flash, &QTimer::timeout, this, &TF_KanjiPage::Tim_FlashTimer);
    connect(Btn_Again, &QPushButton::clicked, Img_Kakijun, &StrokeOrderView::restart);
    onGuardedClick(Btn_Modoru, services.clock, [this] { BackClick(); });
    onGuardedClick(Btn_Tsugi, services.clock, [this] { Btn_TsugiClick(); });
    onGuardedClick(Btn_Mae, services.clock, [this] { Btn_MaeClick(); });
    connect(Img_Paper, &GuidedSquare::strokeWritten, this, &TF_KanjiPage::Img_PaperStroke);
    connect(&services.handwriting, &Handwriting::statusChanged, this, [this] {
        if (waitingForRecogniser_)
            judgeWholeKanji();
    });
    showKanji(kanjiNumber);
}

void TF_KanjiPage::showKanji(int n)
{
    const auto &table = services.state.Cat.KanjiTable;
    kanji_ = n >= 1 && n <= KanjiCount ? n : 1;
    const KanjiEntry &e = table[size_t(kanji_)];
    glyph_ = cp932::toUnicode(e.Glyph);
    paths_.clear();
    services.guardNonFatal(this, [&] { paths_ = strokePathsOf(services, kanji_); });
    Lbl_Title->setText(QStringLiteral("「%1」の ページ").arg(glyph_));
    Lbl_Title->adjustSize();

    // The reading box: 音 in katakana, 訓 in hiragana with the okurigana
    // apart, and a word under each.
    ReadingBox box;
    services.guardNonFatal(this, [&] { box = ReadingBox::load(services.state.ProgramDir); });
    QString html;
    for (const BoxReading &r : box.of(kanji_)) {
        QString reading = cp932::toUnicode(r.reading).toHtmlEscaped();
        const qsizetype dot = reading.indexOf(QLatin1Char('.'));
        if (dot >= 0)
            reading = reading.left(dot) + QStringLiteral("<span style='color:#888'>") + reading.mid(dot + 1) +
                      QStringLiteral("</span>");
        html += QStringLiteral("<div><span style='color:%1'>%2</span> %3<br>"
                               "<span style='font-size:14px'>　　%4（%5）</span></div>")
                    .arg(r.kind == 1 ? QStringLiteral("#c02020") : QStringLiteral("#2040c0"),
                         r.kind == 1 ? QStringLiteral("音") : QStringLiteral("訓"), reading,
                         cp932::toUnicode(r.word).toHtmlEscaped(),
                         cp932::toUnicode(r.wordReading).toHtmlEscaped());
    }
    Lbl_Yomi->setText(html);
    Lbl_Yomi->setVisible(!html.isEmpty());

    Lbl_Kakusuu->setText(QStringLiteral("%1かく").arg(digits(e.Strokes)));
    Lbl_Level->setText(QStringLiteral("レベル%1").arg(digits((kanji_ - 1) / KanjiPerLevel + 1)));
    const QImage strip = services.pictures.bitmap(QStringLiteral("BuhinX.bmp"));
    QStringList names;
    const int16_t groups[2] = {e.Part1Group, e.Part2Group}, positions[2] = {e.Part1Position, e.Part2Position};
    for (int i = 0; i < 2; ++i) {
        Img_Buhin[i]->clear();
        Img_Buhin[i]->hide();
        const int g = groups[i], pos = positions[i];
        if (g < 1 || g > PartGroupCount || pos < 1 || pos > PartPositionCount)
            continue;
        names << partGroupName(g);
        const int cell = services.state.Cat.RadicalTable[g][pos];
        const QRect source(PartCell * (cell - 1), 0, PartCell, PartCell - 1);
        if (cell >= 1 && !strip.isNull() && strip.rect().contains(source)) {
            Img_Buhin[i]->setPixmap(QPixmap::fromImage(strip.copy(source))
                                        .scaled(50, 50, Qt::KeepAspectRatio, Qt::SmoothTransformation));
            Img_Buhin[i]->show();
        }
    }
    Lbl_Buhin->setText(names.isEmpty() ? QString()
                                       : QStringLiteral("ぶぶん：") + names.join(QStringLiteral("・")));

    delete Img_Kakijun;
    Img_Kakijun = new StrokeOrderView(this, paths_);
    Img_Kakijun->setObjectName(QStringLiteral("Img_Kakijun"));
    Img_Kakijun->setGeometry(316, 286, 130, 130);
    Img_Kakijun->show();
    connect(Btn_Again, &QPushButton::clicked, Img_Kakijun, &StrokeOrderView::restart);

    const int at = int(tour_.indexOf(kanji_));
    Btn_Mae->setVisible(at > 0);
    Btn_Tsugi->setVisible(at >= 0 && at + 1 < tour_.size());
    Btn_RoundClick(Look);
}

void TF_KanjiPage::say(const QString &text, const QColor &c)
{
    Lbl_Message->setText(text);
    QPalette pal = Lbl_Message->palette();
    pal.setColor(QPalette::WindowText, c);
    Lbl_Message->setPalette(pal);
}

void TF_KanjiPage::Btn_RoundClick(int r)
{
    round_ = std::clamp(r, int(Look), int(Kaku));
    Tim_Flash->stop();
    waitingForRecogniser_ = false;
    ink_.clear();
    guide_ = std::make_unique<GuidedStrokes>(paths_, round_ == Kaku ? StrokeJudge::Paper::Blank
                                                                    : StrokeJudge::Paper::OverTheModel);
    static const GuidedSquare::Look looks[] = {GuidedSquare::Look::Kanji, GuidedSquare::Look::Pale,
                                               GuidedSquare::Look::StartDots, GuidedSquare::Look::Blank};
    Img_Paper->show(glyph_, paths_, looks[round_], round_ == Look ? nullptr : guide_.get());
    for (int i = 1; i <= 3; ++i) {
        QFont f = Btn_Round[i]->font();
        f.setUnderline(i == round_);
        Btn_Round[i]->setFont(f);
    }
    if (round_ == Kaku)
        services.handwriting.open(); // the recogniser wakes while the child writes
    if (round_ == Look)
        say(QStringLiteral("「なぞる」を おして かいて みよう"), colour::Yellow);
    else if (paths_.isEmpty())
        say(QStringLiteral("この かんじは かけないよ"), colour::White);
    else
        say(QStringLiteral("みどりの てんから １かくめを かこう"), colour::Yellow);
}

void TF_KanjiPage::Img_PaperStroke(const InkStroke &stroke)
{
    if (round_ == Look || !guide_ || guide_->finished())
        return;
    Tim_Flash->stop();
    Img_Paper->setFlash(-1);
    const int index = guide_->next();
    switch (guide_->write(stroke)) {
    case GuidedStrokes::Outcome::Right:
        ink_.append(stroke);
        services.shell.MaruBatsu.playRight();
        say(QStringLiteral("そう！ %1かくめ できたね").arg(digits(index + 1)), colour::Yellow);
        break;
    case GuidedStrokes::Outcome::TryAgain: {
        const StrokeJudge::Judgement &j = guide_->last();
        QString why = QStringLiteral("もういちど。");
        if (j.verdict == StrokeJudge::Verdict::Backwards)
            why = QStringLiteral("はんたいから かいたよ。");
        else if (j.verdict == StrokeJudge::Verdict::TooShort)
            why = QStringLiteral("もう すこし ながく。");
        else if (j.verdict == StrokeJudge::Verdict::WrongStroke)
            why = QStringLiteral("かく じゅんばんが ちがうよ。");
        say(why + QStringLiteral("あかい せんの %1かくめを かこう").arg(digits(index + 1)), colour::White);
        Img_Paper->setFlash(index);
        Tim_Flash->start();
        break;
    }
    case GuidedStrokes::Outcome::DrawnForChild: {
        // The program writes it: the child's ink gets the neat stroke.
        InkStroke drawn;
        for (const QPointF &q : paths_[index])
            drawn.append(guide_->judge().toChild(q));
        ink_.append(drawn);
        say(QStringLiteral("%1かくめは こう かくよ。つぎへ いこう").arg(digits(index + 1)), colour::White);
        break;
    }
    }
    Img_Paper->update();
    if (guide_->finished())
        finishRound();
}

void TF_KanjiPage::Tim_FlashTimer()
{
    Tim_Flash->stop();
    Img_Paper->setFlash(-1);
}

void TF_KanjiPage::finishRound()
{
    if (round_ == Kaku) {
        judgeWholeKanji();
        return;
    }
    Mark->showRight();
    services.shell.MaruBatsu.playRight();
    say(round_ == Nazoru ? QStringLiteral("できた！ つぎは 「うすく」で かこう")
                         : QStringLiteral("できた！ つぎは 「かく」で かこう"),
        colour::Yellow);
}

void TF_KanjiPage::judgeWholeKanji()
{
    const Handwriting::Status status = services.handwriting.status();
    if (status == Handwriting::Status::Opening || status == Handwriting::Status::Closed) {
        // The answer comes when the recogniser is ready.
        waitingForRecogniser_ = true;
        say(QStringLiteral("みているよ…"), colour::White);
        services.handwriting.open();
        return;
    }
    waitingForRecogniser_ = false;
    bool right;
    if (status == Handwriting::Status::Ready) {
        const QVector<int> found = services.handwriting.candidates(ink_, KanjiCount / KanjiPerLevel);
        right = found.mid(0, 5).contains(kanji_);
    } else {
        // No recogniser on this computer: the strokes' judge has the word.
        right = guide_->helped() == 0;
    }
    if (right) {
        Mark->showRight();
        services.shell.MaruBatsu.playRight();
        say(QStringLiteral("よく かけたね！ はなまる！"), colour::Yellow);
        // Written alone, every stroke: the kanji's stamp in the child's list.
        const int player = services.state.CurrentPlayer;
        if (guide_->helped() == 0 && player >= 1 && player <= services.state.Players.PlayerCount)
            services.guardNonFatal(this, [&] { addStamp(services.state.DataDir, player, kanji_); });
    } else {
        say(QStringLiteral("おしい！ もういちど かいて みよう"), colour::White);
    }
}

void TF_KanjiPage::Btn_TsugiClick()
{
    const int at = int(tour_.indexOf(kanji_));
    if (at >= 0 && at + 1 < tour_.size())
        showKanji(tour_[at + 1]);
}

void TF_KanjiPage::Btn_MaeClick()
{
    const int at = int(tour_.indexOf(kanji_));
    if (at > 0)
        showKanji(tour_[at - 1]);
}

void TF_KanjiPage::BackClick()
{
    Tim_Flash->stop();
    Img_Kakijun->stop();
    services.nav.back();
}

void TF_KanjiPage::FormHide()
{
    Tim_Flash->stop();
    Img_Kakijun->stop();
}

void TF_KanjiPage::FormClose()
{
    FormHide();
    waitingForRecogniser_ = false;
}

bool levelIsNew(const AppState &state, int level)
{
    if (level < 1 || level > LevelCount)
        return false;
    for (int k = firstKanjiOf(level); k <= lastKanjiOf(level); ++k)
        for (int kind = 1; kind <= 2; ++kind)
            if (state.Progress[k][kind].AskedCount > 0)
                return false;
    return true;
}

bool offerNewKanji(Services &services, QWidget *parent)
{
    static QSet<QPair<QByteArray, int>> offered; // a "no" is not asked again
    AppState &state = services.state;
    const int level = state.CurrentLevel;
    if (!levelIsNew(state, level))
        return false;
    const QPair<QByteArray, int> key{state.currentEntry().Name, level};
    if (offered.contains(key))
        return false;
    offered.insert(key);
    if (services.dialogs.question(parent, QStringLiteral("あたらしい かんじが ２０こ あるよ。\n"
                                                         "テストの まえに みて みる？")) != Answer::Yes)
        return false;
    QVector<int> tour;
    for (int k = firstKanjiOf(level); k <= lastKanjiOf(level); ++k)
        tour << k;
    openKanjiPage(services, tour.first(), tour);
    return true;
}

void openKanjiPage(Services &services, int kanjiNumber, QVector<int> tour)
{
    if (kanjiNumber < 1 || kanjiNumber > KanjiCount)
        return;
    // Without its centre lines the page could only teach bent strokes
    // straight: the parent is told which file to mend, and no page opens.
    if (!services.guardNonFatal(services.nav.current(), [&] { strokePathsOf(services, kanjiNumber); }))
        return;
    services.nav.open<TF_KanjiPage>(kanjiNumber, std::move(tour));
}

} // namespace fm
