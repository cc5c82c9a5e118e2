#include "records/layout.h"

namespace fm::records
{

namespace
{
// Rows of five; the や and わ rows are filled up with い, う and え so that
// every row has five keys.
const QString KanaKeys = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"
                                        "まみむめもやいゆえよらりるれろわいうえをんゃゅょっがぎぐげご"
                                        "ざじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
static_assert(KanaKeyCount == 80);
} // namespace

QString kanaKeyCaption(int i)
{
    if (i < 1 || i > KanaKeys.size())
        return {};
    return KanaKeys.mid(i - 1, 1);
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
