#include "data/cp932.h"
#include <QStringDecoder>
#include <QStringEncoder>

namespace fm::cp932
{

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);
}

bool isOneDoubleByteCharacter(const QByteArray &bytes)
{
    if (bytes.size() != 2 || !isLeadByte(static_cast<unsigned char>(bytes[0])))
        return false;
    const auto trail = static_cast<unsigned char>(bytes[1]);
    if (trail < 0x40 || trail == 0x7f || trail > 0xfc)
        return false;
    const QString text = toUnicode(bytes);
    return text.size() == 1 && text[0] != QChar::ReplacementCharacter;
}

QString toUnicode(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

QByteArray fromUnicode(const QString &text)
{
    QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
    QByteArray out = encoder.encode(text);
    if (!encoder.hasError())
        return out;
    // The converter writes its own substitute (FC FC, no character at all)
    // for what cp932 lacks: encode one character at a time and put '?' there.
    out.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder one("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray bytes = one.encode(QStringView(text).mid(i, width));
        out += one.hasError() ? QByteArray("?") : bytes;
        i += width;
    }
    return out;
}

QByteArray cut(const QByteArray &bytes, int maxBytes)
{
    int i = 0;
    while (i < bytes.size()) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + width > maxBytes || i + width > bytes.size())
            break;
        i += width;
    }
    return bytes.left(i);
}

int charCount(const QByteArray &bytes)
{
    int n = 0;
    for (int i = 0; i < bytes.size(); ++n)
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return n;
}

QByteArray charAt(const QByteArray &bytes, int n)
{
    int i = 0;
    for (int k = 0; i < bytes.size(); ++k) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (k == n)
            return bytes.mid(i, width);
        i += width;
    }
    return {};
}

} // namespace fm::cp932
