#include "data/roster.h"
#include "data/binio.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "data/stamps.h"
#include "data/studylog.h"
#include <QRegularExpression>

namespace fm
{

namespace
{
const QString kRosterFile = QStringLiteral("Player1.dat");

// Every player in the file must be in the roster at the same number under the
// same name, with game levels no lower (they only ever rise); otherwise a
// save would drop a child, or a level, that another copy wrote.
void requireNoPlayerDropped(const Roster &roster, const QString &dir)
{
    Roster onDisk;
    loadRoster(onDisk, dir);
    for (int n = 1; n <= onDisk.PlayerCount; ++n) {
        const PlayerEntry &there = onDisk.PlayerTable[n];
        if (n > roster.PlayerCount || roster.PlayerTable[n].Name != there.Name)
            throw FileError::changedElsewhere(
                kRosterFile, QStringLiteral("player %1 (%2) in the file is not in this copy's roster; "
                                            "another copy of the program wrote it, so the file is kept")
                                 .arg(n)
                                 .arg(shownName(there.Name)));
        const PlayerEntry &here = roster.PlayerTable[n];
        if (here.Game1Level < there.Game1Level || here.Game2Level < there.Game2Level)
            throw FileError::changedElsewhere(
                kRosterFile, QStringLiteral("player %1 (%2) has a higher game level in the file; another "
                                            "copy of the program wrote it, so the file is kept")
                                 .arg(n)
                                 .arg(shownName(there.Name)));
    }
}
} // namespace

QString rosterFileName()
{
    return kRosterFile;
}

QString logFileName(int player)
{
    return QStringLiteral("Kiroku%1.dat").arg(player);
}

std::optional<int> logFileNumber(const QString &fileName)
{
    static const QRegularExpression log(QStringLiteral("^Kiroku([0-9]+)\\.dat$"));
    const QRegularExpressionMatch m = log.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt();
}

QByteArray encodePlayers(const Roster &roster)
{
    QByteArray out(roster.PlayerCount * PlayerRecordSize, '\0');
    for (int n = 1; n <= roster.PlayerCount; ++n) {
        const PlayerEntry &e = roster.PlayerTable[n];
        char *p = out.data() + (n - 1) * PlayerRecordSize;
        bin::putI16(p, e.Reserved0);
        bin::putI16(p + 2, e.Level);
        bin::putI16(p + 4, e.Game1Level);
        bin::putI16(p + 6, e.Game2Level);
        bin::putI16(p + 8, e.Reserved8);
        bin::putI16(p + 10, e.Reserved10);
        bin::putI16(p + 12, e.Reserved12);
        bin::putI16(p + 14, fileValue(e.Kind));
        // Byte for byte: a stored name is never re-cut (a name read with a lone
        // lead byte at its end keeps it).
        bin::putShortString(p + 16, e.Name, NameBytes);
        bin::putU8(p + 27, e.Padding);
    }
    return out;
}

void decodePlayers(Roster &roster, const QByteArray &bytes)
{
    requireWholeRecords(bytes, PlayerRecordSize, kRosterFile);
    const int count = bytes.size() / PlayerRecordSize;
    if (count > MaxPlayers)
        throw FileError(kRosterFile, QStringLiteral("%1 players, at most %2").arg(count).arg(MaxPlayers));
    Roster loaded;
    for (int n = 1; n <= count; ++n) {
        const char *p = bytes.constData() + (n - 1) * PlayerRecordSize;
        PlayerEntry &e = loaded.PlayerTable[n];
        e.Reserved0 = bin::i16(p);
        e.Level = bin::i16(p + 2);
        e.Game1Level = bin::i16(p + 4);
        e.Game2Level = bin::i16(p + 6);
        e.Reserved8 = bin::i16(p + 8);
        e.Reserved10 = bin::i16(p + 10);
        e.Reserved12 = bin::i16(p + 12);
        e.Kind = StudyKind(bin::i16(p + 14));
        bool ok = true;
        e.Name = bin::shortString(p + 16, NameBytes, &ok);
        if (!ok)
            throw FileError(kRosterFile,
                            QStringLiteral("player %1: name longer than %2 bytes").arg(n).arg(NameBytes));
        e.Padding = bin::u8(p + 27);
    }
    loaded.PlayerCount = static_cast<int16_t>(count);
    roster = loaded;
}

void loadRoster(Roster &roster, const QString &dir)
{
    const auto bytes = readWholeFile(dir, kRosterFile, MaxPlayers * PlayerRecordSize, Links::Refuse);
    roster = Roster{};
    if (bytes)
        decodePlayers(roster, *bytes);
}

void saveRoster(const Roster &roster, const QString &dir)
{
    requireNoPlayerDropped(roster, dir);
    writeWholeFileAtomic(dir, kRosterFile, encodePlayers(roster));
}

int addPlayer(Roster &roster, const QByteArray &name)
{
    if (roster.PlayerCount >= MaxPlayers || name.isEmpty())
        return 0;
    PlayerEntry e;
    e.Name = cp932::cut(name, NameBytes);
    roster.PlayerTable[++roster.PlayerCount] = e;
    return roster.PlayerCount;
}

int registerPlayer(Roster &roster, const QString &dir, const QByteArray &name)
{
    const Roster before = roster;
    const int n = addPlayer(roster, name);
    if (n == 0)
        return 0;
    try {
        // A child registered by another copy at this number has a log that
        // is not to be set aside.
        requireNoPlayerDropped(before, dir);
        // Set aside first: if the roster cannot be saved afterwards, the old
        // log and stamps are kept under new names and no child is handed them.
        setAsideLog(dir, n);
        setAsideOrphan(dir, stampFileName(n));
        saveRoster(roster, dir);
    } catch (...) {
        roster = before;
        throw;
    }
    return n;
}

QString shownName(const QByteArray &name)
{
    // An empty name would be an empty, unclickable label.
    return name.isEmpty() ? QStringLiteral("？") : cp932::toUnicode(name);
}

} // namespace fm
