#pragma once
// Where the registration keys and the player list's labels go. Plain
// arithmetic, so that it is checked without building a screen.
#include "shell/kana.h"
#include <QPoint>
#include <QRect>
#include <QString>

namespace fm::records
{

// The registration screen's 80 kana keys, numbered 1..80.
constexpr int KanaKeyCount = KanaTableSize;
constexpr int KanaKeySize = 40;
constexpr int MaxNameKana = 5;

// Caption of key i (1..80): one kana.
QString kanaKeyCaption(int i);
// Geometry of key i: two blocks of 8 rows by 5 keys, the second to the right
// of the first and lifted so that both start at the same top.
QRect kanaKeyRect(int i);

// The player list: players 1..5 in the left column, 6..10 in the right one.
// width is the screen's client width (the layout's 640).
int playerColumnOffset(int player, int width);
int playerRow(int player);
// Top of a player's labels: the row step comes from the width (52 at 640).
int playerRowTop(int player, int width);
constexpr int PlayerTitleTop = 90;

} // namespace fm::records
