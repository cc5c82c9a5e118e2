#include "data/binio.h"
#include <algorithm>

namespace fm::bin
{

QByteArray shortString(const char *p, int cap, bool *ok)
{
    int len = u8(p);
    if (ok)
        *ok = len <= cap;
    len = std::min(len, cap);
    return QByteArray(p + 1, len);
}

void putShortString(char *p, const QByteArray &text, int cap)
{
    const int len = std::min<int>(text.size(), cap);
    putU8(p, static_cast<uint8_t>(len));
    std::fill(p + 1, p + 1 + cap, '\0');
    std::copy_n(text.constData(), len, p + 1);
}

void putFixed(char *p, const QByteArray &text, int width, char pad)
{
    std::fill(p, p + width, pad);
    std::copy_n(text.constData(), std::min<int>(text.size(), width), p);
}

} // namespace fm::bin
