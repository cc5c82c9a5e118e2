#include "data/stamps.h"
#include "data/errors.h"
#include "data/fileio.h"

namespace fm
{

QString stampFileName(int player)
{
    return QStringLiteral("Hanko%1.dat").arg(player);
}

Stamps loadStamps(const QString &dir, int player)
{
    Stamps stamps{};
    std::optional<QByteArray> bytes;
    try {
        bytes = readWholeFile(dir, stampFileName(player), KanjiCount, Links::Refuse);
    } catch (const FileError &) {
        return stamps; // not a file the program wrote: no stamps
    }
    if (!bytes || bytes->size() != KanjiCount)
        return stamps;
    for (int k = 1; k <= KanjiCount; ++k) {
        const char c = bytes->at(k - 1);
        if (c != '0' && c != '1')
            return Stamps{};
        stamps[size_t(k)] = c == '1';
    }
    return stamps;
}

void saveStamps(const QString &dir, int player, const Stamps &stamps)
{
    QByteArray bytes(KanjiCount, '0');
    for (int k = 1; k <= KanjiCount; ++k)
        if (stamps[size_t(k)])
            bytes[k - 1] = '1';
    writeWholeFileAtomic(dir, stampFileName(player), bytes);
}

bool addStamp(const QString &dir, int player, int kanji)
{
    if (kanji < 1 || kanji > KanjiCount)
        return false;
    Stamps stamps = loadStamps(dir, player);
    if (stamps[size_t(kanji)])
        return false;
    stamps[size_t(kanji)] = true;
    saveStamps(dir, player, stamps);
    return true;
}

} // namespace fm
