#include "kanjidic.h"
#include <QFile>
#include <QStringDecoder>

namespace
{

QString hiragana(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return out;
}

bool isKana(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x30FF;
}

} // namespace

QHash<QString, KanjidicEntry> loadKanjidic(const QString &path)
{
    QHash<QString, KanjidicEntry> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QStringDecoder euc("EUC-JP");
    const QString text = euc.decode(f.readAll());
    for (const QString &line : text.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList words = line.section('{', 0, 0).split(' ', Qt::SkipEmptyParts);
        if (words.size() < 2)
            continue;
        KanjidicEntry e;
        bool names = false;
        for (int i = 2; i < words.size(); ++i) {
            const QString &w = words[i];
            if (w == QLatin1String("T1") || w == QLatin1String("T2"))
                names = true; // name readings follow; a child never learns these
            else if (w.size() > 1 && w[0] == 'G' && w[1].isDigit())
                e.grade = w.mid(1).toInt();
            else if (w.size() > 1 && w[0] == 'S' && w[1].isDigit() && e.strokes == 0)
                e.strokes = w.mid(1).toInt();
            else if (w.size() > 1 && (w[0] == 'B' || w[0] == 'C') && w[1].isDigit() &&
                     (w[0] == 'C' || e.radical == 0))
                e.radical = w.mid(1).toInt(); // C, where given, overrides Nelson's B
            else if (!names) {
                // Prefix and suffix readings carry a dash (ほ-, -か): the kana count all the same.
                QString r = hiragana(w);
                while (r.startsWith('-'))
                    r.remove(0, 1);
                while (r.endsWith('-'))
                    r.chop(1);
                if (!r.isEmpty() && isKana(r[0]))
                    e.readings.insert(r.section('.', 0, 0));
            }
        }
        out.insert(words[0], e);
    }
    return out;
}
