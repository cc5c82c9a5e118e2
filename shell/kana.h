#pragma once
// The one table of kana behind both on-screen kana keyboards; QtCore only, so
// the layout rules that use it are checked without a screen.
#include <QString>

namespace fm
{

// The kana of the on-screen keyboards: sixteen rows of five, あいうえお to
// ぱぴぷぺぽ, the や and わ rows filled up with い, う and え. The name keys
// number them from the あ row on; the answer keys, read right to left as the
// kana table is in Japanese, from the ぱ row on.
constexpr int KanaTableSize = 80;
enum class KanaOrder { FromFirstRow, FromLastRow };
// Kana i (1..80) in that order; empty outside.
QString tableKana(int i, KanaOrder order);

} // namespace fm
