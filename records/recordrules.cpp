#include "records/recordrules.h"
#include "data/cp932.h"
#include "data/datetime.h"
#include "shell/catalogue.h"
#include "shell/random.h"
#include <QRect>
#include <QVector>
#include <algorithm>

namespace fm::records
{

namespace
{
constexpr int KanjiPerLevel = 20;
constexpr int TitleBytes = 26;
} // namespace

HistoryPage readHistoryPage(int position, int recordCount)
{
    HistoryPage page;
    page.first = std::max(0, position);
    page.count = std::clamp(recordCount - page.first, 0, HistoryPageRows);
    page.position = page.first + page.count;
    page.nextShown = recordCount > page.position;
    page.prevShown = page.position > HistoryPageRows;
    return page;
}

int previousPagePosition(int position)
{
    // The last page may hold fewer than ten records: step back to the start
    // of the page that ends before the shown one begins.
    return std::max(0, (position - 11) / 10 * 10);
}

int lastPagePosition(int recordCount)
{
    return recordCount > 0 ? (recordCount - 1) / HistoryPageRows * HistoryPageRows : 0;
}

QString historyDate(double dayNumber)
{
    return shortDate(dayNumber);
}

QString levelKanji(int level, const Catalogue &catalogue)
{
    QByteArray text;
    const int first = KanjiPerLevel * (level - 1) + 1;
    for (int k = first; k < first + KanjiPerLevel; ++k)
        if (k >= 1 && k <= MaxKanjiNumber)
            text += catalogue.KanjiTable[k].Glyph;
    return cp932::toUnicode(text);
}

QStringList historyRow(const StudyRecord &r, int number, const Catalogue &catalogue)
{
    return {QString::number(number),
            historyDate(r.Time),
            QString::number(r.Level),
            levelKanji(r.Level, catalogue),
            r.Kind == StudyKind::Reading ? QStringLiteral("よむ") : QStringLiteral("かく"),
            r.Mode == StudyMode::Challenge ? QStringLiteral("チャレンジ") : QStringLiteral("れんしゅう"),
            r.Counted != 0 ? QStringLiteral("○") : QStringLiteral("×")};
}

QString historyTitle(const QByteArray &name)
{
    return cp932::toUnicode(
        cp932::cut(name + cp932::fromUnicode(screenTitle(ScreenId::Seiseki2)), TitleBytes));
}

bool levelCleared(bool mastered, int kanji, StudyKind kind, int level, StudyKind currentKind)
{
    if (mastered)
        return true;
    if (currentKind == StudyKind::Writing && kind == StudyKind::Reading)
        return kanji <= KanjiPerLevel * level;
    return kanji <= KanjiPerLevel * (level - 1);
}

int kanjiLevel(int kanji)
{
    return (kanji - 1) / KanjiPerLevel + 1;
}

QPoint listCell(int cell)
{
    return {(cell - 1) / ListCellsPerColumn * ListCellWidth,
            (cell - 1) % ListCellsPerColumn * ListCellHeight};
}

int kanjiAtListPoint(const ListItems &items, QPoint p)
{
    for (int s = 1; s <= ListedKanji; ++s) {
        const ListItem &item = items[size_t(s)];
        if (item.kanji != 0 && QRect(item.target, QSize(ListCellWidth, ListCellHeight)).contains(p))
            return item.kanji;
    }
    return 0;
}

QPoint glidePosition(QPoint start, QPoint target, int tick)
{
    if (tick >= GlideTicks)
        return target;
    // Whole-number arithmetic, so the positions do not depend on rounding.
    const int left = GlideTicks - tick;
    return {target.x() + (start.x() - target.x()) * left / GlideTicks,
            target.y() + (start.y() - target.y()) * left / GlideTicks};
}

ListItems layoutKanjiList(const std::array<bool, ListedKanji + 1> &cleared, Random &random)
{
    ListItems items{};
    QVector<int> free(ListedKanji);
    for (int c = 1; c <= ListedKanji; ++c)
        free[c - 1] = c;
    int front = 1;
    int back = ListedKanji;
    for (int s = 1; s <= ListedKanji; ++s) {
        const int pick = std::clamp(random.random(int(free.size())), 0, int(free.size()) - 1);
        const int startCell = free[pick];
        free.remove(pick);
        ListItem &item = items[startCell];
        item.kanji = s;
        item.cleared = cleared[s];
        item.start = listCell(startCell);
        item.target = listCell(item.cleared ? front++ : back--);
    }
    return items;
}

} // namespace fm::records
