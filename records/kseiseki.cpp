#include "records/kseiseki.h"
#include "data/cp932.h"
#include "handwriting/kanjipage.h"
#include "records/recordrules.h"
#include "shell/look.h"
#include "shell/services.h"

namespace fm
{

namespace
{
constexpr int ClientWidth = 632;
constexpr int ClientHeight = 453;
} // namespace

TF_KSeiseki1::TF_KSeiseki1(Services &sv) : ScreenFrame(sv, ScreenId::KSeiseki1)
{
    const int rows = 2 * records::ListedKanji + 1;
    Grd_Seiseki =
        new records::SeisekiGrid(this, rows,
                                 {QStringLiteral("No"), QStringLiteral("レベル"), QStringLiteral("かんじ"),
                                  QStringLiteral("しゅるい"), QStringLiteral("しけんかいすう"),
                                  QStringLiteral("ごうかくかいすう"), QStringLiteral("レベルクリアー")});
    Grd_Seiseki->setObjectName(QStringLiteral("Grd_Seiseki"));
    const int w = ClientWidth - 10 - 20;
    const int h = ClientHeight - Lbl_Title->height() - 80;
    Grd_Seiseki->setGeometry(10, Lbl_Title->height() + 60, w, h);
    Grd_Seiseki->setFonts(pixelFont(13, true), pixelFont(16, true));
    // About eleven rows show at a time; the rest scroll, the header stays.
    Grd_Seiseki->setRowHeight(h / 12);
    Grd_Seiseki->setColumnWidths({int(w * 0.05), int(w * 0.1), int(w * 0.1), int(w * 0.15), int(w * 0.2),
                                  int(w * 0.2), int(w * 0.15)});
    Grd_Seiseki->setCentred({0, 1, 2, 3, 4, 5, 6});
    // A press on a kanji's row shows its stroke order.
    Grd_Seiseki->setRowPointer(services.shell.HandPointer);
    connect(Grd_Seiseki, &records::SeisekiGrid::rowClicked, this,
            [this](int r) { openKanjiPage(services, (r - 1) / 2 + 1); });

    const int level = state.CurrentLevel;
    for (int j = 1; j <= records::ListedKanji; ++j) {
        const QString glyph = cp932::toUnicode(state.Cat.KanjiTable[j].Glyph);
        const QString levelText = QString::number(records::kanjiLevel(j));
        for (const StudyKind kind : {StudyKind::Reading, StudyKind::Writing}) {
            const int k = fileValue(kind);
            const ProgressCell &cell = state.Progress[j][k];
            const int r = 2 * (j - 1) + k;
            const bool cleared = records::levelCleared(cell.Mastered, j, kind, level, state.CurrentKind);
            Grd_Seiseki->setRow(r,
                                {QString::number(r), levelText, glyph,
                                 kind == StudyKind::Reading ? QStringLiteral("よむ") : QStringLiteral("かく"),
                                 QString::number(cell.AskedCount), QString::number(cell.CorrectCount),
                                 cleared ? QStringLiteral("○") : QString()});
        }
    }
}

} // namespace fm
