#include "shell/catalogue.h"
#include <array>

namespace fm
{

namespace
{

// In ScreenId order; screenRow() checks that each row stands at its id.
constexpr std::array<ScreenRow, ScreenIdCount> rows{{
    {ScreenId::Main, 1, 31, "", "TF_Main"},
    {ScreenId::Game1, 2, 38, "かんじあわせゲーム", "TF_Game1"},
    {ScreenId::Game2, 3, 39, "かんじもぐらたたき", "TF_Game2"},
    {ScreenId::Mode, 4, 34, "", "TF_Mode"},
    {ScreenId::KIchiran, 5, 310, "かんじのいちらん", "TF_K_ichiran"},
    {ScreenId::KSeiseki1, 6, 10, "かんじべつのせいせきひょう", "TF_KSeiseki1"},
    {ScreenId::Player, 7, 33, "べんきょうするのはだれかな？", "TF_Player"},
    {ScreenId::Renshuu, 8, 10, "れんしゅうするレベルとしゅるいをえらぼう！", "TF_Renshuu"},
    {ScreenId::Saiten, 9, 36, "さあ、なんてんとれたかな？", "TF_Saiten"},
    {ScreenId::Seiseki1, 10, 10, "みんなのせいせきひょう", "TF_Seiseki1"},
    {ScreenId::Seiseki2, 11, 10, "のせいせきひょう", "TF_Seiseki2"},
    {ScreenId::Shutsudai, 12, 35, "", "TF_Shutsudai"},
    {ScreenId::Touroku, 13, 32, "", "TF_Touroku"},
    {ScreenId::KanjiPage, 14, 311, "", "TF_KanjiPage"},
}};

constexpr bool inOrder()
{
    for (int i = 0; i < ScreenIdCount; ++i)
        if (int(rows[i].id) != i)
            return false;
    return true;
}
static_assert(inOrder(), "the catalogue's rows stand in ScreenId order");

} // namespace

const ScreenRow &screenRow(ScreenId id)
{
    return rows[size_t(id)];
}

QString screenTitle(ScreenId id)
{
    return QString::fromUtf8(screenRow(id).title);
}

} // namespace fm
