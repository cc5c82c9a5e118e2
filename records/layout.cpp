#include "records/layout.h"
#include "shell/kana.h"

namespace fm::records
{

QString kanaKeyCaption(int i)
{
    return tableKana(i, KanaOrder::FromFirstRow);
}

QRect kanaKeyRect(int i)
{
    const bool right = i > KanaKeyCount / 2;
    const int xOffset = right ? 220 : 0;
    const int yOffset = right ? -320 : 0;
    int column = i % 5;
    if (column == 0)
        column = 5;
    const int row = (i - 1) / 5;
    return QRect(xOffset + 10 + (column - 1) * KanaKeySize, yOffset + 120 + row * KanaKeySize, KanaKeySize,
                 KanaKeySize);
}

int playerColumnOffset(int player, int width)
{
    return player <= 5 ? 0 : (width - 20) / 2;
}

int playerRow(int player)
{
    return player <= 5 ? player : player - 5;
}

int playerRowTop(int player, int width)
{
    return 80 + playerRow(player) * ((width - 380) / 5);
}

} // namespace fm::records
