#include "shell/kana.h"

namespace fm
{

QString tableKana(int i, KanaOrder order)
{
    static const QString table = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"
                                                "まみむめもやいゆえよらりるれろわいうえをんゃゅょっがぎぐげご"
                                                "ざじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ");
    static_assert(KanaTableSize % 5 == 0);
    if (i < 1 || i > KanaTableSize)
        return {};
    const int row = (i - 1) / 5;
    const int at = order == KanaOrder::FromFirstRow ? row : KanaTableSize / 5 - 1 - row;
    return table.mid(at * 5 + (i - 1) % 5, 1);
}

} // namespace fm
