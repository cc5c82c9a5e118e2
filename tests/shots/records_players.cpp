// The registration, player selection and mode screens with no players, with
// three (the last one has finished level 12) and with a full list of ten,
// with the build's pictures.
#include "records/mode.h"
#include "records/player.h"
#include "records/recordfixture.h"
#include "records/touroku.h"
#include "shots.h"
#include "support/find.h"
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace fm;

namespace
{

void shootPlayers(int players)
{
    records_test::Shell t;
    ASSERT_TRUE(shots::copyFromBuild(
        t, {QStringLiteral("Stars.bmp"), QStringLiteral("GlyphClear.bmp"), QStringLiteral("GlyphOk.bmp")}))
        << "the build has not made the program's pictures";
    shots::loadHeaderIcons(t);

    static const char *const names[] = {"みなと", "はると", "ゆい",   "あおい", "りく",
                                        "めい",   "そうた", "ひまり", "ゆうと", "さくら"};
    for (int i = 0; i < players; ++i) {
        PlayerEntry &e = records_test::addPlayer(t.state, QString::fromUtf8(names[i]),
                                                 i == 2 ? 13 : 1 + (i * 5) % 12, 1 + i % 2);
        e.Game1Level = int16_t(i % 13);
        e.Game2Level = int16_t((i * 7) % 13);
    }

    auto *reg = t.nav.open<TF_Touroku>();
    for (int k : {6, 11, 29})
        t.click(fm::test::child<QPushButton>(reg, "Btn_Moji", k));
    shots::save(reg, QStringLiteral("touroku-%1").arg(players));
    t.nav.showMainMenu();

    auto *list = t.nav.open<TF_Player>();
    if (players > 0)
        QTest::mouseMove(fm::test::child<QLabel>(list, "Lbl_PlayerName", 1), QPoint(5, 5));
    shots::save(list, QStringLiteral("player-%1").arg(players));

    if (players > 0) {
        QTest::mouseClick(fm::test::child<QLabel>(list, "Lbl_PlayerName", players), Qt::LeftButton);
        t.state.LevelCorrectCount = 20; // halfway through the current level
        auto *mode = static_cast<TF_Mode *>(t.nav.replace(ScreenId::Mode));
        QTest::mouseMove(fm::test::child<QLabel>(mode, "Lbl_Command", TF_Mode::Challenge), QPoint(4, 4));
        shots::save(mode, QStringLiteral("mode-%1").arg(players));
    }
}

} // namespace

TEST(PlayerShots, RegistrationPlayerListAndMode)
{
    for (int players : {0, 3, 10})
        shootPlayers(players);
}
