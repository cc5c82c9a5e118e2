#include "tools/contentgen/sources.h"
#include "data/cp932.h"
#include "data/hintfile.h"
#include "data/questionbank.h"
#include <QFile>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>

namespace fm::content
{

namespace
{

using RowFn = std::function<void(int row, const QStringList &cols)>;
using TableRowFn = std::function<void(int row, const QString &at, const QStringList &cols)>;

// Calls fn for every row that is neither blank nor a comment.
void forEachRow(const QByteArray &text, const RowFn &fn)
{
    const QStringList lines = QString::fromUtf8(text).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        fn(i + 1, line.split('\t'));
    }
}

QString where(const QString &file, int row)
{
    return QStringLiteral("%1:%2: ").arg(file).arg(row);
}

// The rows of one table: a row whose column count is not one of columns is
// reported with want (its %1, if any, the count found) and skipped; fn gets
// every other row with its place for messages.
void readTable(const QString &file, const QByteArray &text, std::initializer_list<int> columns,
               const QString &want, QStringList &problems, const TableRowFn &fn)
{
    forEachRow(text, [&](int row, const QStringList &c) {
        const QString at = where(file, row);
        if (std::find(columns.begin(), columns.end(), int(c.size())) == columns.end()) {
            problems << at + (want.contains(QLatin1String("%1")) ? want.arg(c.size()) : want);
            return;
        }
        fn(row, at, c);
    });
}

// Each kanji's number by its character.
QHash<QString, int> kanjiNumbers(const QVector<Kanji> &kanji)
{
    QHash<QString, int> number;
    for (const Kanji &k : kanji)
        number.insert(k.glyph, k.number);
    return number;
}

// cp932 bytes of s, or empty when some character has no cp932 code.
QByteArray toCp932(const QString &s)
{
    const QByteArray b = cp932::fromUnicode(s);
    return cp932::toUnicode(b) == s ? b : QByteArray();
}

bool isHiragana(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[\\x{3041}-\\x{3093}ー]+$"));
    return re.match(s).hasMatch();
}

bool isKatakana(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[\\x{30A1}-\\x{30F6}ー]+$"));
    return re.match(s).hasMatch();
}

int groupNumber(const QString &name)
{
    const int i = groupNames().indexOf(name);
    return i < 0 ? 0 : i + 1;
}

const QChar Blank(0x3000);

// The sentence as the child reads it: the three segments in one line.
QString wholeSentence(const Sentence &s)
{
    return s.segments[0] + s.segments[1] + s.segments[2];
}

// A phrase without its closing punctuation.
QString withoutPunctuation(QString phrase)
{
    static const QString marks = QStringLiteral("。、！？「」");
    while (!phrase.isEmpty() && marks.contains(phrase.back()))
        phrase.chop(1);
    return phrase;
}

// A phrase without one particle or copula at its end, keeping at least `keep`
// characters (the target and what precedes it in the phrase).
QString withoutParticle(const QString &phrase, int keep = 1)
{
    static const QStringList particles{
        QStringLiteral("でした"), QStringLiteral("だった"), QStringLiteral("から"), QStringLiteral("まで"),
        QStringLiteral("です"),   QStringLiteral("より"),   QStringLiteral("には"), QStringLiteral("では"),
        QStringLiteral("とは"),   QStringLiteral("へは"),   QStringLiteral("が"),   QStringLiteral("を"),
        QStringLiteral("に"),     QStringLiteral("へ"),     QStringLiteral("で"),   QStringLiteral("と"),
        QStringLiteral("の"),     QStringLiteral("は"),     QStringLiteral("も"),   QStringLiteral("や"),
        QStringLiteral("ね"),     QStringLiteral("よ"),     QStringLiteral("か"),   QStringLiteral("だ")};
    for (const QString &p : particles)
        if (phrase.endsWith(p) && phrase.size() - p.size() >= std::max(keep, 1))
            return phrase.left(phrase.size() - p.size());
    return phrase;
}

// What breaks the phrase spacing of one sentence (full-width blanks).
QStringList spacingProblems(const QString &w)
{
    QStringList out;
    if (w.startsWith(Blank) || w.endsWith(Blank))
        out << QStringLiteral("a blank at the start or the end");
    if (w.contains(QString(2, Blank)))
        out << QStringLiteral("two blanks together");
    static const QRegularExpression beforeMark(QStringLiteral("\\x{3000}[。、！？]"));
    if (w.contains(beforeMark))
        out << QStringLiteral("a blank before a punctuation mark");
    static const QRegularExpression afterWo(QStringLiteral("を[^\\x{3000}。、！？]"));
    if (w.contains(afterWo))
        out << QStringLiteral("no blank after を: a particle ends its phrase");
    // A verb's て form and the helping verb after it are two phrases (ないて いる).
    static const QRegularExpression helper(QStringLiteral(
        "[^\\x{3000}][てで](いる|いた|います|いました|いない|きた|きて|きます|くる|もらう|もらった|"
        "みる|みた|しまう|しまった|あげる|おく)"));
    const auto h = helper.match(w);
    if (h.hasMatch())
        out << QStringLiteral("\"%1\": write the helping verb as a phrase of its own (ないて いる)")
                   .arg(h.captured(0).mid(1));
    // A noun and する make one phrase (さんぽする); after a particle they are two (さんぽを する).
    static const QRegularExpression suru(
        QStringLiteral("([^をにとがはもでへやのく\\x{3000}])\\x{3000}(する|した|して|しない|します|しよう)"));
    const auto m = suru.match(w);
    if (m.hasMatch())
        out << QStringLiteral("\"%1\": a noun and する are one phrase (さんぽする)").arg(m.captured(0));
    return out;
}

} // namespace

QString toHiragana(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return out;
}

bool isRegularSoundChange(const QString &reading, const QString &form)
{
    if (reading.isEmpty() || reading.size() != form.size() || reading == form)
        return false;
    // Gemination: がく → がっ (がっこう), いち → いっ (いっぽん).
    if (reading.size() >= 2 && reading.left(reading.size() - 1) == form.left(form.size() - 1))
        return QStringLiteral("くきつち").contains(reading.back()) && form.back() == QChar(0x3063);
    if (reading.mid(1) != form.mid(1))
        return false;
    // Voicing or half-voicing of the first kana: しゃ → じゃ, ほん → ぼん, ほん → ぽん.
    const char16_t a = reading[0].unicode(), b = form[0].unicode();
    static const QString voiceable = QStringLiteral("かきくけこさしすせそたちつてと");
    static const QString hRow = QStringLiteral("はひふへほ");
    if (voiceable.contains(QChar(a)))
        return b == a + 1;
    if (hRow.contains(QChar(a)))
        return b == a + 1 || b == a + 2;
    return false;
}

bool continuesOkurigana(const QString &okurigana, const QString &kana, bool *potential)
{
    if (potential)
        *potential = false;
    if (okurigana.isEmpty() || kana.isEmpty())
        return false;
    const QString pre = okurigana.chopped(1);
    const QChar last = okurigana.back();
    if (!kana.startsWith(pre))
        return false;
    const QString rest = kana.mid(pre.size());
    if (rest.isEmpty())
        return !pre.isEmpty(); // the stem alone: いれ of いれる
    const QChar r0 = rest[0];
    const QChar r1 = rest.size() > 1 ? rest[1] : QChar();
    const auto in = [](QChar c, const char16_t *set) { return !c.isNull() && QStringView(set).contains(c); };
    if (last == QChar(u'い')) // an adjective: ほそい, ほそく, ほそかった
        return in(r0, u"いくさ") || rest.startsWith(u"かっ") || rest.startsWith(u"けれ") ||
               rest.startsWith(u"そう");
    // The five kana a verb ending in `last` conjugates through (あ い う え お rows).
    static const QStringList rows{
        QStringLiteral("わいうえお"), QStringLiteral("かきくけこ"), QStringLiteral("がぎぐげご"),
        QStringLiteral("さしすせそ"), QStringLiteral("たちつてと"), QStringLiteral("なにぬねの"),
        QStringLiteral("ばびぶべぼ"), QStringLiteral("まみむめも"), QStringLiteral("らりるれろ")};
    QString row;
    for (const QString &r : rows)
        if (r[2] == last)
            row = r;
    if (row.isEmpty())
        return rest.startsWith(okurigana.mid(pre.size()));
    // A verb in える or いる (いれる, おりる) may keep its stem: いれた, いれて.
    static const QString ieRow = QStringLiteral("いきしちにひみりぎじびえけせてねへめれげぜでべ");
    if (last == QChar(u'る') && !pre.isEmpty() && ieRow.contains(pre.back()) &&
        in(r0, u"るれろよなたてまさら"))
        return true;
    const int at = row.indexOf(r0);
    if (at == 0)
        return in(r1, u"なずせれ"); // not, made to, done to
    if (at == 1) // ます stem and the nouns made of it (かえりみち); never a verb's stem before る
        return r1 != QChar(u'る');
    if (at == 2)
        return true; // the plain form
    if (at == 3) {   // if, go!, and the potential form (はいれる)
        if (potential)
            *potential = in(r1, u"るなたてま");
        return r1.isNull() || in(r1, u"ばるなたてま");
    }
    if (at == 4) // let's: かえろう, and nothing else follows in the phrase
        return r1 == QChar(u'う') && (rest.size() == 2 || in(rest[2], u"よとか"));
    if (r0 == QChar(u'っ'))
        return in(last, u"うつる");
    if (r0 == QChar(u'ん'))
        return in(last, u"ぬぶむ");
    if (r0 == QChar(u'い'))
        return in(last, u"くぐ") && in(r1, u"てただで");
    return false;
}

namespace
{

// Where the target starts in the whole sentence.
int targetStart(const Sentence &s)
{
    int start = 0;
    for (int i = 0; i < s.target - 1; ++i)
        start += s.segments[i].size();
    return start;
}

// The kana from `from` up to the end of its phrase, punctuation excluded.
QString restOfPhrase(const QString &w, int from)
{
    int to = from;
    static const QString stops = QStringLiteral("。、！？「」") + Blank;
    while (to < w.size() && !stops.contains(w[to]))
        ++to;
    return w.mid(from, to - from);
}

} // namespace

void checkAnswers(const Sources &s, QStringList &problems)
{
    static const QRegularExpression question(QStringLiteral(
        "^(なに|だれ|どこ|いくつ|なん(じ|さい|にん|ようび|ばん|かい|まい|びき|ぼん|こ))[をがにでへとのは]$"));
    for (const Sentence &x : s.sentences) {
        if (x.kanji < 1 || x.kanji > s.readings.size())
            continue;
        const QString at = QStringLiteral("sentences.tsv:%1: ").arg(x.row);
        const TaughtReadings &t = s.readings[x.kanji - 1];
        const QString w = wholeSentence(x);
        if (x.wholeWord()) {
            if (w.count(x.segments[x.target - 1]) > 1)
                problems << at + QStringLiteral("the answer %1 shows elsewhere in the sentence")
                                     .arg(x.segments[x.target - 1]);
            continue;
        }
        const QString target = x.segments[x.target - 1];
        const int start = targetStart(x);
        const int end = start + target.size();
        const QString after = restOfPhrase(w, end);

        // The kanji and the kana after it read as another taught reading.
        const bool startsPhrase = start == 0 || w[start - 1] == Blank;
        const bool hasObject = w.left(start).contains(QStringLiteral("を") + Blank);
        for (const QString &kun : t.kun) {
            const QString stem = kun.section('.', 0, 0), okurigana = kun.section('.', 1);
            bool potential = false;
            if (!startsPhrase || stem == target || !continuesOkurigana(okurigana, after, &potential))
                continue;
            if (potential && hasObject)
                continue; // an object rules out the potential (おもちゃを いれる, not はいれる)
            problems << at +
                            QStringLiteral("the kanji and \"%1\" also read %2%1 (%3): a child who answers %2 "
                                           "is marked wrong")
                                .arg(after, stem, kun);
        }

        // The answer spelled out elsewhere in the sentence (うたを うたう).
        QString around = w;
        around.replace(start, target.size(), QStringLiteral("|"));
        if (target.size() >= 2 && around.contains(target))
            problems << at + QStringLiteral("the answer %1 shows elsewhere in the sentence").arg(target);

        // A question ends in ？ (or in か。).
        if (!w.endsWith(QChar(u'？')) && !w.endsWith(QStringLiteral("か。")))
            for (const QString &p : w.split(Blank, Qt::SkipEmptyParts))
                if (question.match(p).hasMatch()) {
                    problems << at + QStringLiteral("\"%1\" asks a question: end it with ？").arg(p);
                    break;
                }
    }
}

QString askedWord(const Sentence &s)
{
    const QString w = wholeSentence(s);
    int start = 0;
    for (int i = 0; i < s.target - 1; ++i)
        start += s.segments[i].size();
    const int end = start + s.segments[s.target - 1].size();
    const int from = w.lastIndexOf(Blank, start > 0 ? start - 1 : 0) + 1;
    int to = w.indexOf(Blank, end);
    if (to < 0)
        to = w.size();
    return withoutParticle(withoutPunctuation(w.mid(from, to - from)), end - from);
}

const QStringList &groupNames()
{
    static const QStringList names{QStringLiteral("へん"),     QStringLiteral("つくり"),
                                   QStringLiteral("かんむり"), QStringLiteral("あし"),
                                   QStringLiteral("かまえ"),   QStringLiteral("たれ"),
                                   QStringLiteral("にょう"),   QStringLiteral("その他")};
    return names;
}

QString widenBlanks(const QString &s)
{
    QString out = s;
    out.replace(QChar(' '), QChar(0x3000));
    return out;
}

// The picture column of a part: "-" (the part's own character) or a
// character, either with "@left,top,right,bottom" to show only that area.
// Sets the part's picture and area; a problem, or empty when it is fine.
QString readPartPicture(const QString &column, Part &p)
{
    QString pic = column == QLatin1String("-") ? p.name : column;
    const int atSign = pic.indexOf('@');
    if (atSign >= 0) {
        const QStringList f = pic.mid(atSign + 1).split(',');
        QVector<double> v;
        for (const QString &x : f) {
            bool ok = false;
            const double d = x.toDouble(&ok);
            if (ok && d >= 0 && d <= 1)
                v << d;
        }
        if (v.size() != 4 || v[2] <= v[0] || v[3] <= v[1])
            return QStringLiteral("picture area \"%1\" is not left,top,right,bottom within 0..1")
                .arg(pic.mid(atSign + 1));
        p.clip = QRectF(QPointF(v[0], v[1]), QPointF(v[2], v[3]));
        pic = pic.left(atSign);
    }
    if (pic.isEmpty())
        return QStringLiteral("empty picture");
    p.picture = pic;
    return {};
}

QVector<Part> readParts(const QString &file, const QByteArray &text, QStringList &problems)
{
    QVector<Part> parts;
    QSet<QPair<int, int>> places;
    QSet<QPair<int, QString>> names;
    QHash<QString, int> cells; // picture key -> cell
    readTable(
        file, text, {5}, QStringLiteral("want 5 columns (group, position, part, picture, name), found %1"),
        problems, [&](int row, const QString &at, const QStringList &c) {
            Part p;
            p.row = row;
            p.group = groupNumber(c[0]);
            if (!p.group) {
                problems << at + QStringLiteral("unknown group \"%1\" (want one of %2)")
                                     .arg(c[0], groupNames().join(' '));
                return;
            }
            bool ok = false;
            p.position = c[1].toInt(&ok);
            if (!ok || p.position < 1 || p.position > MaxPartsPerGroup) {
                problems
                    << at + QStringLiteral("position \"%1\" outside 1..%2").arg(c[1]).arg(MaxPartsPerGroup);
                return;
            }
            p.name = c[2];
            if (p.name.isEmpty()) {
                problems << at + QStringLiteral("the part has no character");
                return;
            }
            p.label = c[4];
            if (const QString problem = readPartPicture(c[3], p); !problem.isEmpty()) {
                problems << at + problem;
                return;
            }
            if (places.contains({p.group, p.position})) {
                problems << at + QStringLiteral("%1 position %2 is given twice").arg(c[0]).arg(p.position);
                return;
            }
            if (names.contains({p.group, p.name})) {
                problems << at + QStringLiteral("part %1:%2 is given twice").arg(c[0], p.name);
                return;
            }
            places.insert({p.group, p.position});
            names.insert({p.group, p.name});
            const QString key = c[3] == QLatin1String("-") ? p.name : c[3];
            if (!cells.contains(key))
                cells.insert(key, cells.size() + 1);
            p.cell = cells.value(key);
            parts << p;
        });
    return parts;
}

QVector<Kanji> readKanji(const QString &file, const QByteArray &text, const QVector<Part> &parts,
                         QStringList &problems)
{
    QHash<QString, int> partByRef;
    for (int i = 0; i < parts.size(); ++i)
        partByRef.insert(groupNames()[parts[i].group - 1] + ':' + parts[i].name, i);
    QVector<Kanji> kanji;
    QSet<QString> seen;
    readTable(
        file, text, {5}, QStringLiteral("want 5 columns (no, kanji, strokes, part1, part2), found %1"),
        problems, [&](int row, const QString &at, const QStringList &c) {
            Kanji k;
            k.row = row;
            bool ok = false;
            k.number = c[0].toInt(&ok);
            if (!ok || k.number != kanji.size() + 1) {
                problems << at + QStringLiteral("number \"%1\" out of sequence (want %2)")
                                     .arg(c[0])
                                     .arg(kanji.size() + 1);
                return;
            }
            k.glyph = c[1];
            k.cp932 = toCp932(k.glyph);
            if (k.cp932.size() != 2 || !cp932::isLeadByte(uchar(k.cp932[0]))) {
                problems << at + QStringLiteral("\"%1\" is not one double-byte cp932 character").arg(k.glyph);
                return;
            }
            if (seen.contains(k.glyph)) {
                problems << at + QStringLiteral("%1 is listed twice").arg(k.glyph);
                return;
            }
            seen.insert(k.glyph);
            k.strokes = c[2].toInt(&ok);
            if (!ok || k.strokes < 1 || k.strokes > 20) {
                problems << at + QStringLiteral("strokes \"%1\" outside 1..20").arg(c[2]);
                return;
            }
            for (int i = 0; i < 2; ++i) {
                const QString ref = c[3 + i];
                if (ref == QLatin1String("-"))
                    continue;
                if (!partByRef.contains(ref)) {
                    problems << at + QStringLiteral("part %1 is not in the part table").arg(ref);
                    return;
                }
                k.partIndex[i] = partByRef.value(ref);
            }
            if (k.partIndex[0] < 0 && k.partIndex[1] >= 0) {
                k.partIndex[0] = k.partIndex[1];
                k.partIndex[1] = -1;
            }
            kanji << k;
        });
    if (kanji.size() != KanjiCount)
        problems << QStringLiteral("%1: %2 kanji, want %3").arg(file).arg(kanji.size()).arg(KanjiCount);
    return kanji;
}

// Segment i (0..2) of a sentence into s; a {target} segment becomes the
// sentence's target. A problem, or empty when it is fine.
QString readSegment(QString seg, int i, Sentence &s)
{
    if (seg.startsWith('{') && seg.endsWith('}') && seg.size() >= 2) {
        if (s.target)
            return QStringLiteral("more than one {target} segment");
        s.target = i + 1;
        seg = seg.mid(1, seg.size() - 2);
        if (const int colon = seg.indexOf(':'); colon >= 0) {
            // A word read as a whole: {一日:ついたち}, asked only as a reading question.
            s.word = seg.left(colon);
            seg = seg.mid(colon + 1);
            if (s.word.isEmpty() || isHiragana(s.word))
                return QStringLiteral("whole word \"%1\" has no kanji").arg(s.word);
            if (toCp932(s.word + ':' + seg).size() > SegmentBytes)
                return QStringLiteral("whole word %1:%2 is more than %3 bytes")
                    .arg(s.word, seg)
                    .arg(SegmentBytes);
        }
        if (!isHiragana(seg))
            return QStringLiteral("target \"%1\" is not hiragana only").arg(seg);
        if (seg.size() > MaxTargetKana)
            return QStringLiteral("target \"%1\" has more than %2 kana").arg(seg).arg(MaxTargetKana);
    } else if (seg.contains('{') || seg.contains('}')) {
        return QStringLiteral("braces must enclose a whole segment: \"%1\"").arg(seg);
    }
    seg = widenBlanks(seg);
    const QByteArray bytes = toCp932(seg);
    if (bytes.isEmpty() && !seg.isEmpty())
        return QStringLiteral("segment %1 has a character cp932 lacks").arg(i + 1);
    if (bytes.size() > SegmentBytes)
        return QStringLiteral("segment %1 \"%2\" is %3 bytes, at most %4")
            .arg(i + 1)
            .arg(seg)
            .arg(bytes.size())
            .arg(SegmentBytes);
    s.segments[i] = seg;
    return {};
}

QVector<Sentence> readSentences(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                                QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QMap<int, QVector<Sentence>> byKanji;
    readTable(file, text, {2}, QStringLiteral("want kanji<TAB>sentence"), problems,
              [&](int row, const QString &at, const QStringList &c) {
                  if (!number.contains(c[0])) {
                      problems << at + QStringLiteral("%1 is not in the kanji table").arg(c[0]);
                      return;
                  }
                  Sentence s;
                  s.row = row;
                  s.kanji = number.value(c[0]);
                  const QStringList segs = c[1].split('/');
                  if (segs.size() != 3) {
                      problems << at + QStringLiteral("want three segments separated by /, found %1")
                                           .arg(segs.size());
                      return;
                  }
                  for (int i = 0; i < 3; ++i)
                      if (const QString problem = readSegment(segs[i], i, s); !problem.isEmpty()) {
                          problems << at + problem;
                          return;
                      }
                  if (!s.target) {
                      problems << at + QStringLiteral("no {target} segment");
                      return;
                  }
                  for (const QString &p : spacingProblems(wholeSentence(s)))
                      problems << at + p;
                  byKanji[s.kanji] << s;
              });
    QVector<Sentence> out;
    for (const auto &list : byKanji)
        out += list;
    return out;
}

// The lines of one level of a hint page (column col, lines split by |),
// each at most maxBytes in cp932.
QStringList readHintLines(const QString &at, const QStringList &c, int col, int maxBytes,
                          QStringList &problems)
{
    const QStringList out = c[col].split('|');
    if (out.size() > HintLines) {
        problems << at + QStringLiteral("level %1 has %2 lines, at most %3")
                             .arg(col - 2)
                             .arg(out.size())
                             .arg(HintLines);
        return out;
    }
    for (const QString &l : out) {
        const QByteArray b = toCp932(l);
        if (b.isEmpty() && !l.isEmpty())
            problems
                << at +
                       QStringLiteral("level %1 line \"%2\" has a character cp932 lacks").arg(col - 2).arg(l);
        else if (b.size() > maxBytes)
            problems << at + QStringLiteral("level %1 line \"%2\" is %3 bytes, at most %4")
                                 .arg(col - 2)
                                 .arg(l)
                                 .arg(b.size())
                                 .arg(maxBytes);
    }
    return out;
}

QVector<HintPage> readHints(const QString &file, const QByteArray &text, QStringList &problems)
{
    QVector<HintPage> pages;
    QSet<QString> closed; // contexts whose pages ended
    QString current;
    readTable(
        file, text, {5},
        QStringLiteral("want 5 columns (screen, situation, kind, level 1, level 2), found %1"), problems,
        [&](int row, const QString &at, const QStringList &c) {
            HintPage p;
            p.row = row;
            bool ok1 = false, ok2 = false, ok3 = false;
            p.screen = c[0].toInt(&ok1);
            p.situation = c[1].toInt(&ok2);
            p.kind = c[2].toInt(&ok3);
            if (!ok1 || !ok2 || !ok3 || p.screen < 1 || p.screen > ScreenCount || p.situation < 1 ||
                p.situation > TestSituations || p.kind < 1 || p.kind > 2) {
                problems << at + QStringLiteral("screen %1, situation %2, kind %3: want 1..%4, 1..%5, 1..2")
                                     .arg(c[0], c[1], c[2])
                                     .arg(ScreenCount)
                                     .arg(TestSituations);
                return;
            }
            const QString ctx = c[0] + ',' + c[1] + ',' + c[2];
            if (ctx != current) {
                if (closed.contains(ctx)) {
                    problems
                        << at + QStringLiteral(
                                    "pages of %1 must follow each other (paging stops at another context)")
                                    .arg(ctx);
                    return;
                }
                if (!current.isEmpty())
                    closed.insert(current);
                current = ctx;
            }
            p.level1 = readHintLines(at, c, 3, HintLevel1Bytes, problems);
            p.level2 = readHintLines(at, c, 4, HintLevel2Bytes, problems);
            pages << p;
        });
    if (pages.size() > MaxHintPages)
        problems << QStringLiteral("%1: %2 pages, at most %3").arg(file).arg(pages.size()).arg(MaxHintPages);
    return pages;
}

void checkTogether(const Sources &s, QStringList &problems)
{
    // Kanji per part and per stroke count, as the answer panels list them.
    QMap<int, int> perPart;
    QMap<int, int> perStrokes;
    for (const Kanji &k : s.kanji) {
        ++perStrokes[k.strokes];
        for (int p : k.partIndex)
            if (p >= 0)
                ++perPart[p];
    }
    for (auto it = perPart.cbegin(); it != perPart.cend(); ++it)
        if (it.value() > MaxKanjiPerPart) {
            const Part &p = s.parts[it.key()];
            problems << QStringLiteral("parts.tsv:%1: part %2:%3 has %4 kanji, at most %5")
                            .arg(p.row)
                            .arg(groupNames()[p.group - 1], p.name)
                            .arg(it.value())
                            .arg(MaxKanjiPerPart);
        }
    for (auto it = perStrokes.cbegin(); it != perStrokes.cend(); ++it)
        if (it.value() > MaxKanjiPerStrokes)
            problems << QStringLiteral("kanji.tsv: %1 kanji have %2 strokes, at most %3")
                            .arg(it.value())
                            .arg(it.key())
                            .arg(MaxKanjiPerStrokes);

    if (s.sentences.size() > 32767)
        problems << QStringLiteral("sentences.tsv: %1 sentences, more than a record number holds")
                        .arg(s.sentences.size());

    // Every screen's own context, and every situation and kind of the test.
    QSet<QString> have;
    for (const HintPage &p : s.hints)
        have.insert(QStringLiteral("%1,%2,%3").arg(p.screen).arg(p.situation).arg(p.kind));
    QStringList need;
    for (int screen = 1; screen <= ScreenCount; ++screen)
        need << QStringLiteral("%1,1,1").arg(screen);
    for (int situation = 1; situation <= TestSituations; ++situation)
        for (int kind = 1; kind <= 2; ++kind)
            need << QStringLiteral("%1,%2,%3").arg(TestScreen).arg(situation).arg(kind);
    for (const QString &ctx : need)
        if (!have.contains(ctx))
            problems << QStringLiteral("hints.tsv: no page for screen,situation,kind %1").arg(ctx);
}

// The on, kun and one-word columns of a row of the taught readings into r.
// A problem, or empty when they are fine.
QString readTaughtReadings(const QStringList &c, TaughtReadings &r)
{
    const auto list = [](const QString &col) {
        return col.trimmed() == QLatin1String("-") ? QStringList() : col.split(' ', Qt::SkipEmptyParts);
    };
    for (const QString &on : list(c[1])) {
        if (!isKatakana(on))
            return QStringLiteral("%1: on reading \"%2\" is not katakana").arg(c[0], on);
        if (r.stems.contains(toHiragana(on)))
            return QStringLiteral("%1: %2 is listed twice").arg(c[0], on);
        r.stems << toHiragana(on);
        r.on << on;
    }
    for (const QString &kun : list(c[2])) {
        const QStringList parts = kun.split('.');
        if (parts.size() > 2 || !isHiragana(parts[0]) || (parts.size() == 2 && !isHiragana(parts[1])))
            return QStringLiteral("%1: kun reading \"%2\" is not hiragana with okurigana after one dot")
                .arg(c[0], kun);
        if (r.stems.contains(parts[0]))
            return QStringLiteral("%1: %2 is listed twice").arg(c[0], kun);
        r.stems << parts[0];
        r.kun << kun;
    }
    if (r.stems.isEmpty())
        return QStringLiteral("%1 has no reading").arg(c[0]);
    if (c.size() == 4)
        for (const QString &word : list(c[3])) {
            if (!word.contains(c[0]))
                return QStringLiteral("%1: one word \"%2\" does not show the kanji").arg(c[0], word);
            r.oneWord << word;
        }
    return {};
}

QVector<TaughtReadings> readReadings(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                                     QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QVector<TaughtReadings> out(kanji.size());
    readTable(
        file, text, {3, 4}, QStringLiteral("want 3 or 4 columns (kanji, on, kun, one word), found %1"),
        problems, [&](int row, const QString &at, const QStringList &c) {
            if (!number.contains(c[0])) {
                problems << at + QStringLiteral("%1 is not in the kanji table").arg(c[0]);
                return;
            }
            TaughtReadings &t = out[number.value(c[0]) - 1];
            if (t.row) {
                problems << at + QStringLiteral("%1 already has its readings on row %2").arg(c[0]).arg(t.row);
                return;
            }
            TaughtReadings r;
            r.row = row;
            if (const QString problem = readTaughtReadings(c, r); !problem.isEmpty()) {
                problems << at + problem;
                return;
            }
            t = r;
        });
    for (int i = 0; i < kanji.size(); ++i)
        if (!out[i].row)
            problems << QStringLiteral("%1: %2 (kanji %3) has no row")
                            .arg(file, kanji[i].glyph)
                            .arg(kanji[i].number);
    return out;
}

QVector<SoundChange> readSoundChanges(const QString &file, const QByteArray &text,
                                      const QVector<Kanji> &kanji, const QVector<TaughtReadings> &readings,
                                      QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QVector<SoundChange> out;
    readTable(
        file, text, {4}, QStringLiteral("want 4 columns (kanji, reading, changed form, example), found %1"),
        problems, [&](int row, const QString &at, const QStringList &c) {
            if (!number.contains(c[0])) {
                problems << at + QStringLiteral("%1 is not in the kanji table").arg(c[0]);
                return;
            }
            SoundChange x{number.value(c[0]), c[1], c[2], c[3], row};
            const int i = x.kanji - 1;
            if (i >= readings.size() || !readings[i].stems.contains(x.reading)) {
                problems
                    << at + QStringLiteral("%1: %2 is not one of its taught readings").arg(c[0], x.reading);
                return;
            }
            if (!isHiragana(x.form) || x.form.size() > MaxTargetKana) {
                problems << at + QStringLiteral("%1: \"%2\" is not hiragana of at most %3 kana")
                                     .arg(c[0], x.form)
                                     .arg(MaxTargetKana);
                return;
            }
            if (!isRegularSoundChange(x.reading, x.form)) {
                problems << at + QStringLiteral(
                                     "%1: %2 is no regular sound change of %3 (っ for a final く き つ ち, "
                                     "or a voiced first kana)")
                                     .arg(c[0], x.form, x.reading);
                return;
            }
            if (readings[i].stems.contains(x.form)) {
                problems << at + QStringLiteral("%1: %2 is a taught reading already").arg(c[0], x.form);
                return;
            }
            if (!isHiragana(toHiragana(x.example)) || !toHiragana(x.example).contains(x.form)) {
                problems << at + QStringLiteral("%1: the example \"%2\" does not show %3")
                                     .arg(c[0], x.example, x.form);
                return;
            }
            for (const SoundChange &y : out)
                if (y.kanji == x.kanji && y.form == x.form) {
                    problems << at + QStringLiteral("%1: %2 is listed twice").arg(c[0], x.form);
                    return;
                }
            out << x;
        });
    return out;
}

QVector<SpecialReading> readSpecialReadings(const QString &file, const QByteArray &text,
                                            const QVector<Kanji> &kanji,
                                            const QVector<TaughtReadings> &readings, QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QVector<SpecialReading> out;
    readTable(
        file, text, {4}, QStringLiteral("want 4 columns (kanji, reading, word, source), found %1"), problems,
        [&](int row, const QString &at, const QStringList &c) {
            if (!number.contains(c[0])) {
                problems << at + QStringLiteral("%1 is not in the kanji table").arg(c[0]);
                return;
            }
            SpecialReading x{number.value(c[0]), c[1], c[2], c[3].trimmed(), row};
            if (!isHiragana(x.reading) || x.reading.size() > MaxTargetKana) {
                problems << at + QStringLiteral("%1: \"%2\" is not hiragana of at most %3 kana")
                                     .arg(c[0], x.reading)
                                     .arg(MaxTargetKana);
                return;
            }
            if (!isHiragana(x.word) || !x.word.contains(x.reading) || x.word == x.reading) {
                problems << at + QStringLiteral("%1: the word \"%2\" does not hold %3 with kana around it")
                                     .arg(c[0], x.word, x.reading);
                return;
            }
            if (x.source.isEmpty() || x.source == QLatin1String("-")) {
                problems << at + QStringLiteral("%1: %2 names no source").arg(c[0], x.reading);
                return;
            }
            const int i = x.kanji - 1;
            if (i < readings.size() && readings[i].stems.contains(x.reading)) {
                problems << at + QStringLiteral("%1: %2 is a taught reading already").arg(c[0], x.reading);
                return;
            }
            for (const SpecialReading &y : out)
                if (y.kanji == x.kanji && y.reading == x.reading) {
                    problems << at + QStringLiteral("%1: %2 is listed twice").arg(c[0], x.reading);
                    return;
                }
            out << x;
        });
    return out;
}

namespace
{

// What the sentences of one kanji ask of its readings.
struct KanjiAsks {
    QSet<QString> asked;               // taught readings asked, directly or changed
    QSet<int> changesAsked;            // rows of sound-changes.tsv
    QSet<int> specialsAsked;           // rows of word-readings.tsv
    QMap<QString, QVector<int>> words; // word -> rows asking it
};

// The reading a sentence asks must be taught, a listed sound change of a
// taught one, or a listed special reading inside its own word.
void checkTarget(const Sources &s, const Kanji &k, const TaughtReadings &t, const Sentence &x,
                 KanjiAsks &asks, QStringList &problems)
{
    const QString at = QStringLiteral("sentences.tsv:%1: ").arg(x.row);
    const QString target = x.segments[x.target - 1];
    if (t.stems.contains(target)) {
        asks.asked.insert(target);
        return;
    }
    const SoundChange *change = nullptr;
    for (const SoundChange &c : s.soundChanges)
        if (c.kanji == k.number && c.form == target)
            change = &c;
    const SpecialReading *special = nullptr;
    for (const SpecialReading &c : s.specialReadings)
        if (c.kanji == k.number && c.reading == target)
            special = &c;
    if (change) {
        asks.asked.insert(change->reading);
        asks.changesAsked.insert(change->row);
    } else if (special) {
        // Only inside its word: お/{とう}/さん, never とう alone.
        const int from = targetStart(x) - special->word.indexOf(target);
        if (from < 0 || wholeSentence(x).mid(from, special->word.size()) != special->word)
            problems << at + QStringLiteral("%1 reads %2 only in %3 (%4)")
                                 .arg(k.glyph, target, special->word, special->source);
        asks.specialsAsked.insert(special->row);
    } else {
        problems << at + QStringLiteral("%1 is not a reading %2 is taught with (%3) nor a listed sound "
                                        "change of one")
                             .arg(target, k.glyph, t.stems.join(' '));
    }
}

// The same word split into two phrases here and written as one elsewhere.
void checkSplitWords(const Sentence &x, const QHash<QString, QString> &rawPhrases, QStringList &problems)
{
    const QString at = QStringLiteral("sentences.tsv:%1: ").arg(x.row);
    const QStringList phrases = wholeSentence(x).split(Blank, Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < phrases.size(); ++i) {
        const QString joined = withoutParticle(withoutPunctuation(phrases[i] + phrases[i + 1]), 2);
        if (joined.size() >= 3 && rawPhrases.contains(joined))
            problems << at + QStringLiteral("\"%1 %2\" is written as one phrase elsewhere (\"%3\")")
                                 .arg(phrases[i], phrases[i + 1], rawPhrases.value(joined));
    }
}

// Every reading taught or listed is asked somewhere, and no word too often.
void checkAllAsked(const Sources &s, const Kanji &k, const TaughtReadings &t, const KanjiAsks &asks,
                   QStringList &problems)
{
    for (const QString &stem : t.stems)
        if (!asks.asked.contains(stem))
            problems << QStringLiteral("readings.tsv:%1: %2 is taught as %3, but no sentence asks it")
                            .arg(t.row)
                            .arg(k.glyph, stem);
    for (const SoundChange &c : s.soundChanges)
        if (c.kanji == k.number && !asks.changesAsked.contains(c.row))
            problems << QStringLiteral("sound-changes.tsv:%1: no sentence asks %2 on %3")
                            .arg(c.row)
                            .arg(c.form, k.glyph);
    for (const SpecialReading &c : s.specialReadings)
        if (c.kanji == k.number && !asks.specialsAsked.contains(c.row))
            problems << QStringLiteral("word-readings.tsv:%1: no sentence asks %2 on %3")
                            .arg(c.row)
                            .arg(c.reading, k.glyph);
    for (auto it = asks.words.cbegin(); it != asks.words.cend(); ++it)
        if (it.value().size() > MaxAskedPerWord && !t.oneWord.contains(it.key())) {
            QStringList rows;
            for (int r : it.value())
                rows << QString::number(r);
            problems << QStringLiteral("sentences.tsv:%1: %2 asks %3 in %4 sentences (rows %5), at most %6")
                            .arg(it.value().last())
                            .arg(k.glyph, it.key())
                            .arg(it.value().size())
                            .arg(rows.join(", "))
                            .arg(MaxAskedPerWord);
        }
}

} // namespace

void checkReadings(const Sources &s, QStringList &problems)
{
    if (s.readings.size() != s.kanji.size())
        return;
    QHash<QString, QString> rawPhrases; // every phrase as written, to find one word written two ways
    for (const Sentence &x : s.sentences)
        for (const QString &p : wholeSentence(x).split(Blank, Qt::SkipEmptyParts))
            rawPhrases.insert(withoutParticle(withoutPunctuation(p), 2), p);

    QMap<int, QVector<const Sentence *>> byKanji;
    for (const Sentence &x : s.sentences)
        byKanji[x.kanji] << &x;
    for (const Kanji &k : s.kanji) {
        const TaughtReadings &t = s.readings[k.number - 1];
        if (!t.row)
            continue;
        KanjiAsks asks;
        for (const Sentence *x : byKanji.value(k.number)) {
            if (x->wholeWord())
                continue; // checked with the words it may show
            checkTarget(s, k, t, *x, asks, problems);
            // The word as the reading question shows it (汽車, not き車).
            Sentence shown = *x;
            shown.segments[x->target - 1] = k.glyph;
            asks.words[askedWord(shown)] << x->row;
            checkSplitWords(*x, rawPhrases, problems);
        }
        checkAllAsked(s, k, t, asks, problems);
    }
}

Sources readAll(const QString &dir, QStringList &problems)
{
    const auto read = [&](const QString &name) {
        QFile f(dir + '/' + name);
        if (!f.open(QIODevice::ReadOnly)) {
            problems << QStringLiteral("%1: cannot be read").arg(name);
            return QByteArray();
        }
        return f.readAll();
    };
    Sources s;
    s.parts = readParts(QStringLiteral("parts.tsv"), read(QStringLiteral("parts.tsv")), problems);
    for (const Part &p : s.parts)
        s.cellCount = std::max(s.cellCount, p.cell);
    s.kanji = readKanji(QStringLiteral("kanji.tsv"), read(QStringLiteral("kanji.tsv")), s.parts, problems);
    s.sentences = readSentences(QStringLiteral("sentences.tsv"), read(QStringLiteral("sentences.tsv")),
                                s.kanji, problems);
    s.hints = readHints(QStringLiteral("hints.tsv"), read(QStringLiteral("hints.tsv")), problems);
    s.readings =
        readReadings(QStringLiteral("readings.tsv"), read(QStringLiteral("readings.tsv")), s.kanji, problems);
    s.soundChanges =
        readSoundChanges(QStringLiteral("sound-changes.tsv"), read(QStringLiteral("sound-changes.tsv")),
                         s.kanji, s.readings, problems);
    s.specialReadings =
        readSpecialReadings(QStringLiteral("word-readings.tsv"), read(QStringLiteral("word-readings.tsv")),
                            s.kanji, s.readings, problems);
    s.words = readWords(QStringLiteral("words.tsv"), read(QStringLiteral("words.tsv")), s.kanji, problems);
    s.readingBox = readReadingBox(QStringLiteral("reading-box.tsv"), read(QStringLiteral("reading-box.tsv")),
                                  s.kanji, problems);
    checkTogether(s, problems);
    checkReadings(s, problems);
    checkAnswers(s, problems);
    checkShownKanji(s, problems);
    checkReadingBox(s, problems);
    const QStringList shortfalls = countShortfalls(s);
    if (StrictCounts)
        problems += shortfalls;
    else
        s.shortfalls = shortfalls;
    return s;
}

namespace
{

bool isKanjiChar(QChar c)
{
    return (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) ||
           (c.unicode() >= 0x3400 && c.unicode() <= 0x4DBF) || c.unicode() == 0x3005; // 々
}

// The kanji of a written form, in order.
QStringList kanjiOf(const QString &form)
{
    QStringList out;
    for (QChar c : form)
        if (isKanjiChar(c))
            out << QString(c);
    return out;
}

// Every way of writing a word with some of its kanji in kana and some not
// (学こう, がっ校): what a drill never prints once all its kanji are taught.
QStringList mixedForms(const Word &w)
{
    QStringList out;
    const QStringList ks = kanjiOf(w.form);
    const int n = int(ks.size());
    if (n < 2 || w.parts.size() != n || n > 8)
        return out;
    for (int mask = 1; mask < (1 << n) - 1; ++mask) {
        QString form;
        int i = 0;
        for (QChar c : w.form) {
            if (isKanjiChar(c)) {
                form += (mask >> i & 1) ? w.parts[i] : QString(c);
                ++i;
            } else {
                form += c;
            }
        }
        out << form;
    }
    return out;
}

} // namespace

QVector<Word> readWords(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                        QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QVector<Word> out;
    QSet<QString> seen;
    readTable(file, text, {3},
              QStringLiteral("want word<TAB>reading<TAB>each kanji's part, found %1 columns"), problems,
              [&](int row, const QString &at, const QStringList &c) {
                  Word w;
                  w.row = row;
                  w.form = c[0];
                  w.reading = c[1];
                  const QStringList ks = kanjiOf(w.form);
                  if (ks.isEmpty()) {
                      problems << at + QStringLiteral("%1 has no kanji").arg(w.form);
                      return;
                  }
                  for (const QString &k : ks)
                      if (!number.contains(k)) {
                          problems << at + QStringLiteral("%1 is not one of the kanji taught").arg(k);
                          return;
                      }
                  if (!isHiragana(w.reading)) {
                      problems << at + QStringLiteral("reading \"%1\" is not hiragana").arg(w.reading);
                      return;
                  }
                  if (seen.contains(w.form + '\t' + w.reading)) {
                      problems << at + QStringLiteral("%1 %2 is listed twice").arg(w.form, w.reading);
                      return;
                  }
                  seen.insert(w.form + '\t' + w.reading);
                  if (c[2] != QLatin1String("=")) {
                      w.parts = c[2].split(' ', Qt::SkipEmptyParts);
                      QString spelled;
                      int i = 0;
                      for (QChar ch : w.form)
                          spelled +=
                              isKanjiChar(ch) ? (i < w.parts.size() ? w.parts[i++] : QString()) : QString(ch);
                      if (w.parts.size() != ks.size() || spelled != w.reading) {
                          problems << at + QStringLiteral("the parts \"%1\" do not spell %2 as %3")
                                               .arg(c[2], w.form, w.reading);
                          return;
                      }
                  }
                  out << w;
              });
    return out;
}

QVector<BoxRow> readReadingBox(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                               QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(kanji);
    QVector<BoxRow> out;
    readTable(
        file, text, {5},
        QStringLiteral("want kanji<TAB>kind<TAB>reading<TAB>example word<TAB>its reading, found %1 columns"),
        problems, [&](int row, const QString &at, const QStringList &c) {
            BoxRow b;
            b.row = row;
            b.kanji = number.value(c[0]);
            if (!b.kanji) {
                problems << at + QStringLiteral("%1 is not in the kanji table").arg(c[0]);
                return;
            }
            if (c[1] != QStringLiteral("音") && c[1] != QStringLiteral("訓")) {
                problems << at + QStringLiteral("kind \"%1\" is neither 音 nor 訓").arg(c[1]);
                return;
            }
            b.on = c[1] == QStringLiteral("音");
            b.reading = c[2];
            b.word = c[3];
            b.wordReading = c[4];
            if (!isHiragana(b.wordReading)) {
                problems
                    << at + QStringLiteral("the word's reading \"%1\" is not hiragana").arg(b.wordReading);
                return;
            }
            out << b;
        });
    return out;
}

QString shownForReading(const Sentence &x, const QVector<Kanji> &kanji)
{
    QString out;
    for (int i = 0; i < 3; ++i) {
        if (i + 1 != x.target)
            out += x.segments[i];
        else if (x.wholeWord())
            out += x.word;
        else if (x.kanji >= 1 && x.kanji <= kanji.size())
            out += kanji[x.kanji - 1].glyph;
    }
    return out;
}

void checkShownKanji(const Sources &s, QStringList &problems)
{
    const QHash<QString, int> number = kanjiNumbers(s.kanji);
    struct Split {
        QString mixed;
        const Word *word;
        int level; // all its kanji are taught by this level
    };
    QVector<Split> splits;
    for (const Word &w : s.words) {
        int level = 0;
        for (const QString &k : kanjiOf(w.form))
            level = std::max(level, levelOf(number.value(k)));
        for (const QString &m : mixedForms(w))
            splits.push_back({m, &w, level});
    }
    // How a word is printed at a level: its later kanji in kana (火よう日 at level 1).
    const auto printedAt = [&](const Word &w, int level) {
        QString out;
        int i = 0;
        for (QChar c : w.form) {
            if (isKanjiChar(c)) {
                const bool later = levelOf(number.value(QString(c), KanjiCount)) > level;
                out += later && i < w.parts.size() ? w.parts[i] : QString(c);
                ++i;
            } else {
                out += c;
            }
        }
        return out;
    };
    // True when text[from, from + length) lies inside another word printed as it should be.
    const auto insideAnother = [&](const QString &text, int from, int length, const Word *self, int level) {
        for (const Word &w : s.words) {
            if (&w == self || w.parts.isEmpty())
                continue;
            const QString printed = printedAt(w, level);
            if (printed.size() <= length)
                continue;
            for (int at = text.indexOf(printed); at >= 0; at = text.indexOf(printed, at + 1))
                if (at <= from && from + length <= at + printed.size())
                    return true;
        }
        return false;
    };
    QHash<QString, int> shownBefore; // reading-question text -> row
    for (const Sentence &x : s.sentences) {
        if (x.kanji < 1 || x.kanji > s.kanji.size())
            continue;
        const QString at = QStringLiteral("sentences.tsv:%1: ").arg(x.row);
        const QString glyph = s.kanji[x.kanji - 1].glyph;
        const int level = levelOf(x.kanji);
        const auto checkKanji = [&](const QString &text, bool inTarget) {
            for (QChar c : text) {
                if (!isKanjiChar(c))
                    continue;
                const int n = number.value(QString(c));
                if (!n)
                    problems
                        << at + QStringLiteral("%1 is not one of the kanji taught: write it in kana").arg(c);
                else if (levelOf(n) > level)
                    problems << at + QStringLiteral("%1 is taught at level %2, after this level-%3 sentence: "
                                                    "write it in kana")
                                         .arg(c)
                                         .arg(levelOf(n))
                                         .arg(level);
                else if (!inTarget && QString(c) == glyph && !x.wholeWord())
                    problems << at + QStringLiteral("%1 shows outside the target: the writing question would "
                                                    "give its answer away")
                                         .arg(c);
            }
        };
        for (int i = 0; i < 3; ++i)
            if (i + 1 != x.target)
                checkKanji(x.segments[i], false);
        if (x.wholeWord()) {
            checkKanji(x.word, true);
            if (!x.word.contains(glyph))
                problems << at + QStringLiteral(
                                     "the whole word %1 does not hold %2, the kanji it is asked for")
                                     .arg(x.word, glyph);
            bool listed = false;
            for (const Word &w : s.words)
                listed = listed || (w.form == x.word && w.reading == x.segments[x.target - 1]);
            if (!listed)
                problems << at + QStringLiteral("the whole word %1 %2 is not in words.tsv")
                                     .arg(x.word, x.segments[x.target - 1]);
        }
        const QString shown = shownForReading(x, s.kanji);
        for (const Split &sp : splits) {
            if (sp.level > level)
                continue;
            bool split = false;
            for (int at = shown.indexOf(sp.mixed); at >= 0 && !split; at = shown.indexOf(sp.mixed, at + 1))
                split = !insideAnother(shown, at, int(sp.mixed.size()), sp.word, level);
            if (split)
                problems << at + QStringLiteral(
                                     "\"%1\" splits %2 between kanji and kana: all its kanji are taught "
                                     "by level %3, so print it whole")
                                     .arg(sp.mixed, sp.word->form)
                                     .arg(level);
        }
        const QString plain = QString(shown).remove(Blank);
        if (shownBefore.contains(plain))
            problems << at + QStringLiteral("the same sentence as row %1: give each kanji its own sentence")
                                 .arg(shownBefore.value(plain));
        else
            shownBefore.insert(plain, x.row);
    }
}

void checkReadingBox(const Sources &s, QStringList &problems)
{
    if (s.readings.size() != s.kanji.size())
        return;
    const QHash<QString, int> number = kanjiNumbers(s.kanji);
    QMap<int, QStringList> shownByKanji;
    for (const Sentence &x : s.sentences)
        shownByKanji[x.kanji] << shownForReading(x, s.kanji);
    QHash<QString, int> rowOf; // kanji number and reading -> box row
    for (const BoxRow &b : s.readingBox) {
        const QString at = QStringLiteral("reading-box.tsv:%1: ").arg(b.row);
        const Kanji &k = s.kanji[b.kanji - 1];
        const TaughtReadings &t = s.readings[b.kanji - 1];
        if (!(b.on ? t.on : t.kun).contains(b.reading)) {
            problems << at + QStringLiteral("%1 is not a %2 reading %3 is taught with (readings.tsv)")
                                 .arg(b.reading, b.on ? QStringLiteral("音") : QStringLiteral("訓"), k.glyph);
            continue;
        }
        const QString key = QStringLiteral("%1 %2").arg(b.kanji).arg(b.reading);
        if (rowOf.contains(key))
            problems << at + QStringLiteral("%1 %2 already has row %3")
                                 .arg(k.glyph, b.reading)
                                 .arg(rowOf.value(key));
        rowOf.insert(key, b.row);
        if (!b.word.contains(k.glyph))
            problems << at + QStringLiteral("the example %1 does not show %2").arg(b.word, k.glyph);
        for (QChar c : b.word)
            if (isKanjiChar(c) && levelOf(number.value(QString(c), KanjiCount)) > levelOf(b.kanji))
                problems << at + QStringLiteral("the example %1 shows %2, taught after %3: write it in kana")
                                     .arg(b.word, QString(c), k.glyph);
        // The reading must be heard in the word, as taught or changed (いっ in いっぽん).
        const QString stem = b.on ? toHiragana(b.reading) : b.reading.section('.', 0, 0);
        bool heard = b.wordReading.contains(stem);
        for (const SoundChange &c : s.soundChanges)
            heard = heard || (c.kanji == b.kanji && c.reading == stem && b.wordReading.contains(c.form));
        if (!heard)
            problems
                << at + QStringLiteral("%1 is not heard in %2 (%3)").arg(b.reading, b.word, b.wordReading);
        bool met = false;
        for (const QString &shown : shownByKanji.value(b.kanji))
            met = met || QString(shown).remove(Blank).contains(b.word);
        if (!met)
            problems << at +
                            QStringLiteral("no sentence of %1 shows the example %2: the child never meets it")
                                .arg(k.glyph, b.word);
    }
    for (const Kanji &k : s.kanji) {
        const TaughtReadings &t = s.readings[k.number - 1];
        for (const QString &r : t.on + t.kun)
            if (!rowOf.contains(QStringLiteral("%1 %2").arg(k.number).arg(r)))
                problems << QStringLiteral("reading-box.tsv: %1 %2 has no row").arg(k.glyph, r);
    }
}

QStringList countShortfalls(const Sources &s)
{
    QStringList out;
    if (s.readings.size() != s.kanji.size())
        return out;
    QMap<int, int> sentences;
    QMap<int, QMap<QString, int>> asked; // kanji -> taught reading -> sentences asking it
    for (const Sentence &x : s.sentences) {
        if (x.wholeWord() || x.kanji < 1 || x.kanji > s.kanji.size())
            continue;
        ++sentences[x.kanji];
        const QString target = x.segments[x.target - 1];
        QString reading = target;
        for (const SoundChange &c : s.soundChanges)
            if (c.kanji == x.kanji && c.form == target)
                reading = c.reading;
        ++asked[x.kanji][reading];
    }
    for (const Kanji &k : s.kanji) {
        const int n = sentences.value(k.number);
        if (n < MinSentencesPerKanji)
            out << QStringLiteral("sentences.tsv: %1 (level %2) has %3 sentences, at least %4")
                       .arg(k.glyph)
                       .arg(levelOf(k.number))
                       .arg(n)
                       .arg(MinSentencesPerKanji);
        const TaughtReadings &t = s.readings[k.number - 1];
        for (const QString &stem : t.stems) {
            const int m = asked.value(k.number).value(stem);
            if (m < MinSentencesPerReading)
                out << QStringLiteral("sentences.tsv: %1 %2 is asked in %3 sentence(s), at least %4")
                           .arg(k.glyph, stem)
                           .arg(m)
                           .arg(MinSentencesPerReading);
        }
    }
    return out;
}

} // namespace fm::content
