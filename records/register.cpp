#include "records/register.h"
#include "data/levels.h"
#include "handwriting/kanjipage.h"
#include "records/kichiran.h"
#include "records/kseiseki.h"
#include "records/mode.h"
#include "records/player.h"
#include "records/seiseki.h"
#include "records/touroku.h"

void fm::registerRecordScreens(ScreenRegistry &r)
{
    r.add(ScreenId::Touroku, [](Services &sv) { return new TF_Touroku(sv); });
    r.add(ScreenId::Player, [](Services &sv) { return new TF_Player(sv); });
    r.add(ScreenId::Mode, [](Services &sv) { return new TF_Mode(sv); });
    r.add(ScreenId::Seiseki1, [](Services &sv) { return new TF_Seiseki1(sv); });
    r.add(ScreenId::Seiseki2, [](Services &sv) { return new TF_Seiseki2(sv); });
    r.add(ScreenId::KSeiseki1, [](Services &sv) { return new TF_KSeiseki1(sv); });
    r.add(ScreenId::KIchiran, [](Services &sv) { return new TF_K_ichiran(sv); });
    // Opened by id, the page shows the first kanji of the child's level.
    r.add(ScreenId::KanjiPage, [](Services &sv) {
        return new TF_KanjiPage(sv, firstKanjiOf(std::clamp<int>(sv.state.CurrentLevel, 1, LevelCount)));
    });
}
