#pragma once
// Shared helpers of the records screens' tests: the kanji of the catalogue
// and study logs written record by record.
#include "data/cp932.h"
#include "data/studylog.h"
#include "recordfixture.h"
#include "records/seisekigrid.h"
#include <QFile>
#include <gtest/gtest.h>

namespace records_test
{

// The 240 kanji in catalogue order.
inline const QString AllKanji = QStringLiteral("一二三四五六七八九十日月火水木金土山川田人口目耳手足子女男力"
                                               "大小中上下右左王百千天空雨気花草竹林森石白青赤犬虫貝"
                                               "玉糸夕円入出立休見生先学校年名字文本音町村車正早父母兄弟姉妹"
                                               "友親家自心毛首体声頭顔言話語牛馬鳥魚羽鳴肉麦米茶食"
                                               "色黄黒弓矢刀丸角形雲雪晴風星光岩谷原野池海地里春夏秋冬明電朝"
                                               "昼夜今時間午前後週曜毎半分何万数算計才東西南北内外"
                                               "遠近方京市店場寺社園門戸公道教室書読聞記科図画絵国紙答考思知"
                                               "線点番組引行来帰走歩止回会合切作売買活用交当通歌多"
                                               "少太細強弱長高広古新同直楽汽船工元台理");

inline QString kanji(int k)
{
    return AllKanji.mid(k - 1, 1);
}

inline void fillCatalogue(fm::AppState &s)
{
    for (int k = 1; k <= 240; ++k)
        s.Cat.KanjiTable[k].Glyph = fm::cp932::fromUnicode(kanji(k));
}

// The catalogue filled and one child, the current player, studying at
// (level, kind) as the file stores the kind.
inline void oneChildStudying(fm::AppState &s, int level, int kind)
{
    fillCatalogue(s);
    addPlayer(s, QStringLiteral("はると"), level, kind);
    s.CurrentPlayer = 1;
    s.CurrentLevel = int16_t(level);
    s.CurrentKind = fm::kindFromFile(kind);
}

// A test at (level, kind) on its level's first ten kanji, the first `right` answered right.
inline fm::StudyRecord studyRecord(int level, int kind, int right, int mode = 1, double day = 45000.5)
{
    fm::StudyRecord r;
    r.Mode = fm::StudyMode(mode);
    r.Level = int16_t(level);
    r.Kind = fm::StudyKind(kind);
    r.Time = day;
    for (int i = 1; i <= 10; ++i) {
        r.Kanji[i] = int16_t(20 * (level - 1) + i);
        r.Correct[i] = i <= right ? 1 : 0;
    }
    r.Counted = right >= 7 ? 1 : 0;
    return r;
}

// A records screen's table, by its name.
inline fm::records::SeisekiGrid *grid(const QObject *screen)
{
    return fm::test::child<fm::records::SeisekiGrid>(screen, "Grd_Seiseki");
}

// A click on row r (1..) of a records table, as a parent clicks it.
inline void clickRow(fm::records::SeisekiGrid *g, int r)
{
    const QModelIndex cell = g->model()->index(r - 1, 1);
    g->scrollTo(cell);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(cell).center());
}

inline void writeLog(const fm::test::TestShell &t, int player, const QVector<fm::StudyRecord> &records)
{
    QFile f(t.file(fm::logFileName(player)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (const fm::StudyRecord &r : records)
        f.write(fm::encodeStudyRecord(r));
}

} // namespace records_test
