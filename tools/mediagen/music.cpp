#include "tools/mediagen/music.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace fm::mediagen
{

namespace
{

struct Token {
    QString text;
    int line;
};

struct Block {
    QString header; // the words after 'pattern' or 'track'
    int line = 0;
    std::vector<Token> tokens;
};

const std::map<QString, int> &drumKeys()
{
    static const std::map<QString, int> keys{{"kick", 36},   {"stick", 37}, {"snare", 38},  {"clap", 39},
                                             {"tom", 45},    {"hat", 42},   {"ohat", 46},   {"htom", 50},
                                             {"crash", 49},  {"ride", 51},  {"tamb", 54},   {"cowbell", 56},
                                             {"shaker", 70}, {"block", 76}, {"lblock", 77}, {"tri", 81}};
    return keys;
}

const std::map<QString, std::vector<int>> &chordShapes()
{
    static const std::map<QString, std::vector<int>> shapes{
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}},   {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus4", {0, 5, 7}}, {"sus2", {0, 2, 7}},    {"dim", {0, 3, 6}},
        {"aug", {0, 4, 8}},    {"6", {0, 4, 7, 9}}, {"add9", {0, 4, 7, 14}}};
    return shapes;
}

int pitchClass(QChar letter, const QString &accidental)
{
    static const int base[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    int pc = base[letter.toLower().unicode() - 'a'];
    if (accidental == "#")
        ++pc;
    else if (accidental == "b")
        --pc;
    return pc;
}

class Builder
{
  public:
    Builder(Score &score, const std::map<QString, Block> &patterns, const QString &file)
        : score_(score), patterns_(patterns), file_(file)
    {
    }

    void buildTrack(const Block &block)
    {
        MidiTrack track;
        parseTrackHeader(block, track);
        track_ = &track;
        time_ = 0;
        lastBar_ = 0;
        velocity_ = 80;
        style_ = QStringLiteral("pad");
        octave_ = 4;
        transpose_ = 0;
        chords_.clear();
        depth_ = 0;
        run(block.tokens);
        flushChords(block.line);
        if (time_ % score_.barTicks() != 0)
            fail(block.line, QStringLiteral("track %1 does not end on a bar line").arg(track.name));
        for (const MidiTrack &other : score_.tracks)
            if (trackLength(other) != time_)
                fail(block.line, QStringLiteral("track %1 lasts %2 bars, track %3 %4 bars")
                                     .arg(track.name)
                                     .arg(time_ / score_.barTicks())
                                     .arg(other.name)
                                     .arg(trackLength(other) / score_.barTicks()));
        lengths_.push_back(time_);
        score_.lengthTicks = std::max(score_.lengthTicks, time_);
        score_.tracks.push_back(std::move(track));
    }

  private:
    [[noreturn]] void fail(int line, const QString &what) const
    {
        throw ScoreError(QStringLiteral("%1:%2: %3").arg(file_).arg(line).arg(what).toStdString());
    }

    int trackLength(const MidiTrack &t) const
    {
        const auto idx = &t - score_.tracks.data();
        return lengths_[size_t(idx)];
    }

    void parseTrackHeader(const Block &block, MidiTrack &track)
    {
        const QStringList w = block.header.split(' ', Qt::SkipEmptyParts);
        if (w.isEmpty())
            fail(block.line, QStringLiteral("a track needs a name"));
        track.name = w[0];
        for (int i = 1; i + 1 < w.size(); i += 2) {
            bool ok = false;
            const int v = w[i + 1].toInt(&ok);
            if (!ok)
                fail(block.line, QStringLiteral("'%1' needs a number").arg(w[i]));
            if (w[i] == "program" && v >= 1 && v <= 128)
                track.program = v - 1; // written 1-based, as General MIDI lists number them
            else if (w[i] == "channel" && v >= 1 && v <= 16)
                track.channel = v - 1;
            else if (w[i] == "volume" && v >= 0 && v <= 127)
                track.volume = v;
            else if (w[i] == "pan" && v >= 0 && v <= 127)
                track.pan = v;
            else if (w[i] == "reverb" && v >= 0 && v <= 127)
                track.reverb = v;
            else
                fail(block.line, QStringLiteral("bad track setting '%1 %2'").arg(w[i], w[i + 1]));
        }
        if (w.size() % 2 == 0)
            fail(block.line, QStringLiteral("track settings come in pairs"));
    }

    void run(const std::vector<Token> &tokens)
    {
        if (++depth_ > 16)
            fail(tokens.empty() ? 0 : tokens.front().line, QStringLiteral("patterns nest too deeply"));
        for (const Token &t : tokens)
            step(t);
        --depth_;
    }

    void step(const Token &t)
    {
        const QString &s = t.text;
        if (s == "|") {
            barLine(t.line);
        } else if (s.startsWith('@')) {
            static const QRegularExpression re(QStringLiteral("^@(\\w+)(?:\\*(\\d+))?$"));
            const auto m = re.match(s);
            if (!m.hasMatch())
                fail(t.line, QStringLiteral("bad pattern call '%1'").arg(s));
            const auto it = patterns_.find(m.captured(1));
            if (it == patterns_.end())
                fail(t.line, QStringLiteral("no pattern '%1'").arg(m.captured(1)));
            const int times = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
            for (int k = 0; k < times; ++k)
                run(it->second.tokens);
        } else if (s.contains('*')) {
            // A note or rest repeated: r/1*8 is eight bars' rest.
            static const QRegularExpression re(QStringLiteral("^([^*]+)\\*(\\d+)$"));
            const auto m = re.match(s);
            if (!m.hasMatch())
                fail(t.line, QStringLiteral("bad repeat '%1'").arg(s));
            for (int k = 0; k < m.captured(2).toInt(); ++k)
                note(Token{m.captured(1), t.line});
        } else if (s.contains('=')) {
            setting(t);
        } else if (s[0].isUpper()) {
            chords_.push_back(t);
        } else {
            note(t);
        }
    }

    void setting(const Token &t)
    {
        const QString key = t.text.section('=', 0, 0), value = t.text.section('=', 1);
        bool ok = true;
        if (key == "v")
            velocity_ = value.toInt(&ok);
        else if (key == "oct")
            octave_ = value.toInt(&ok);
        else if (key == "transpose")
            transpose_ = value.toInt(&ok);
        else if (key == "style") {
            static const QStringList styles{"pad",   "arp",    "arp4", "strum", "offbeat",
                                            "waltz", "oompah", "bass", "bass2", "bass8"};
            ok = styles.contains(value);
            style_ = value;
        } else
            ok = false;
        if (!ok || velocity_ < 1 || velocity_ > 127)
            fail(t.line, QStringLiteral("bad setting '%1'").arg(t.text));
    }

    void barLine(int line)
    {
        if (!chords_.empty()) {
            flushChords(line);
        } else if ((time_ - lastBar_) % score_.barTicks() != 0) {
            fail(line, QStringLiteral("this bar holds %1 ticks, not a multiple of %2")
                           .arg(time_ - lastBar_)
                           .arg(score_.barTicks()));
        }
        lastBar_ = time_;
    }

    int duration(const QString &text, int line) const
    {
        static const QRegularExpression re(QStringLiteral("^(1|2|4|8|16|32)(\\.?)(t?)$"));
        const auto m = re.match(text);
        if (!m.hasMatch())
            fail(line, QStringLiteral("bad length '%1'").arg(text));
        int ticks = Score::kDivision * 4 / m.captured(1).toInt();
        if (!m.captured(2).isEmpty())
            ticks = ticks * 3 / 2;
        if (!m.captured(3).isEmpty())
            ticks = ticks * 2 / 3;
        return ticks;
    }

    int key(const QString &name, int line) const
    {
        if (track_->channel == 9) {
            const auto it = drumKeys().find(name);
            if (it == drumKeys().end())
                fail(line, QStringLiteral("unknown drum '%1'").arg(name));
            return it->second;
        }
        static const QRegularExpression re(QStringLiteral("^([a-g])(#|b)?(-?\\d)$"));
        const auto m = re.match(name);
        if (!m.hasMatch())
            fail(line, QStringLiteral("bad note '%1'").arg(name));
        const int k =
            12 * (m.captured(3).toInt() + 1) + pitchClass(m.captured(1)[0], m.captured(2)) + transpose_;
        if (k < 0 || k > 127)
            fail(line, QStringLiteral("note '%1' is out of range").arg(name));
        return k;
    }

    void note(const Token &t)
    {
        if (!chords_.empty())
            fail(t.line, QStringLiteral("notes and chord symbols share a bar"));
        const int slash = t.text.lastIndexOf('/');
        if (slash <= 0)
            fail(t.line, QStringLiteral("'%1' needs a length, like c5/4").arg(t.text));
        const int len = duration(t.text.mid(slash + 1), t.line);
        const QString pitches = t.text.left(slash);
        if (pitches != "r") {
            // Leave a little air between notes so repeated notes are heard twice.
            const int sounding = std::max(len - std::min(40, len / 8), 1);
            for (const QString &p : pitches.split('+'))
                add(key(p, t.line), sounding, velocity_);
        }
        time_ += len;
    }

    void add(int key, int length, int velocity, int offset = 0)
    {
        const int start = time_ + offset;
        if ((start - lastBar_) % score_.barTicks() == 0)
            velocity += 8; // a gentle accent on the first beat
        track_->notes.push_back(
            MidiNote{start, length, std::clamp(key, 0, 127), std::clamp(velocity, 1, 127)});
    }

    std::vector<int> chordKeys(const Token &t) const
    {
        static const QRegularExpression re(
            QStringLiteral("^([A-G])(#|b)?(maj7|m7|m|7|sus4|sus2|dim|aug|6|add9)?$"));
        const auto m = re.match(t.text);
        if (!m.hasMatch())
            fail(t.line, QStringLiteral("bad chord '%1'").arg(t.text));
        const int root = 12 * (octave_ + 1) + pitchClass(m.captured(1)[0], m.captured(2)) + transpose_;
        std::vector<int> keys;
        for (int interval : chordShapes().at(m.captured(3)))
            keys.push_back(root + interval);
        return keys;
    }

    void flushChords(int line)
    {
        if (chords_.empty())
            return;
        if (time_ != lastBar_)
            fail(line, QStringLiteral("chord symbols must fill a bar of their own"));
        const int bar = score_.barTicks();
        const int n = int(chords_.size());
        if (bar % n != 0)
            fail(line, QStringLiteral("%1 chords do not share the bar evenly").arg(n));
        for (const Token &c : chords_) {
            accompany(chordKeys(c), bar / n);
            time_ += bar / n;
        }
        chords_.clear();
    }

    // Plays one chord for span ticks from time_ in the current style.
    void accompany(const std::vector<int> &tones, int span)
    {
        const int q = Score::kDivision, e = q / 2;
        const int root = tones.front(), fifth = root + 7;
        const auto each = [&](int stepTicks, auto &&play) {
            for (int at = 0, k = 0; at < span; at += stepTicks, ++k)
                play(at, std::min(stepTicks, span - at), k);
        };
        const auto chord = [&](int at, int len, int velocity) {
            for (int key : tones)
                add(key, len, velocity, at);
        };
        const int v = velocity_;
        if (style_ == "pad") {
            chord(0, span - 10, v);
        } else if (style_ == "arp" || style_ == "arp4") {
            std::vector<int> seq(tones.begin(), tones.end());
            seq.push_back(root + 12);
            for (int i = int(tones.size()) - 1; i >= 1; --i)
                seq.push_back(tones[size_t(i)]);
            const int stepTicks = style_ == "arp" ? e : q;
            each(stepTicks, [&](int at, int len, int k) {
                add(seq[size_t(k) % seq.size()], len * 2, k % 2 ? v - 10 : v, at); // let notes ring over
            });
        } else if (style_ == "strum") {
            each(q, [&](int at, int len, int k) { chord(at, len * 4 / 5, k % 2 ? v - 12 : v); });
        } else if (style_ == "offbeat") {
            each(q, [&](int at, int len, int) {
                if (len > e)
                    chord(at + e, e * 4 / 5, v);
            });
        } else if (style_ == "waltz" || style_ == "oompah") {
            each(q, [&](int at, int len, int k) {
                const bool bassBeat = style_ == "waltz" ? k == 0 : k % 2 == 0;
                if (bassBeat)
                    add((k / 2) % 2 ? fifth - 12 : root - 12, len * 9 / 10, v + 5, at);
                else
                    chord(at, len * 3 / 4, v - 15);
            });
        } else if (style_ == "bass" || style_ == "bass2") {
            each(style_ == "bass" ? q : 2 * q,
                 [&](int at, int len, int k) { add(k % 2 ? fifth - 12 : root, len * 9 / 10, v, at); });
        } else if (style_ == "bass8") {
            each(e, [&](int at, int len, int k) {
                add(k % 2 ? root + 12 : root, len * 4 / 5, k % 2 ? v - 12 : v, at);
            });
        }
    }

    Score &score_;
    const std::map<QString, Block> &patterns_;
    QString file_;
    MidiTrack *track_ = nullptr;
    std::vector<int> lengths_;
    int time_ = 0, lastBar_ = 0, velocity_ = 80, octave_ = 4, transpose_ = 0, depth_ = 0;
    QString style_;
    std::vector<Token> chords_;
};

void putVarLen(QByteArray &out, quint32 v)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = char(v & 0x7F);
    while ((v >>= 7) != 0)
        bytes[n++] = char((v & 0x7F) | 0x80);
    while (n > 0)
        out.append(bytes[--n]);
}

void putBE(QByteArray &out, quint32 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

struct Event {
    int tick;
    int order; // at the same tick: meta and controllers, then note-offs, then note-ons
    QByteArray bytes;
};

QByteArray trackChunk(std::vector<Event> events, int endTick)
{
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    QByteArray body;
    int now = 0;
    for (const Event &ev : events) {
        putVarLen(body, quint32(ev.tick - now));
        body += ev.bytes;
        now = ev.tick;
    }
    putVarLen(body, quint32(std::max(0, endTick - now)));
    body += QByteArray("\xFF\x2F\x00", 3);
    QByteArray chunk("MTrk");
    putBE(chunk, quint32(body.size()), 4);
    return chunk + body;
}

QByteArray meta(int type, const QByteArray &data)
{
    QByteArray b;
    b.append(char(0xFF));
    b.append(char(type));
    putVarLen(b, quint32(data.size()));
    return b + data;
}

QByteArray channelMessage(int status, int channel, int a, int b)
{
    QByteArray m;
    m.append(char(status | channel));
    m.append(char(a));
    if (b >= 0)
        m.append(char(b));
    return m;
}

// A line outside a pattern or track: a setting of the score, or the start
// of a block. Returns the block it starts, or null.
Block *readSetting(Score &score, std::map<QString, Block> &patterns, std::vector<Block> &tracks,
                   const QStringList &words, int line)
{
    const auto fail = [&](const QString &what) {
        throw ScoreError(QStringLiteral("%1:%2: %3").arg(score.name).arg(line).arg(what).toStdString());
    };
    if (words[0] == "tempo" && words.size() == 2) {
        score.tempo = words[1].toInt();
        if (score.tempo < 30 || score.tempo > 300)
            fail(QStringLiteral("tempo must lie in 30 ... 300"));
    } else if (words[0] == "meter" && words.size() == 2) {
        const QStringList m = words[1].split('/');
        score.beatsPerBar = m.value(0).toInt();
        score.beatUnit = m.value(1).toInt();
        if (m.size() != 2 || score.beatsPerBar < 1 || score.beatsPerBar > 12 ||
            (score.beatUnit != 2 && score.beatUnit != 4 && score.beatUnit != 8))
            fail(QStringLiteral("bad meter '%1'").arg(words[1]));
    } else if (words[0] == "pattern" && words.size() == 2) {
        if (patterns.count(words[1]))
            fail(QStringLiteral("pattern '%1' is defined twice").arg(words[1]));
        Block *pattern = &patterns[words[1]];
        pattern->line = line;
        return pattern;
    } else if (words[0] == "track" && words.size() >= 2) {
        tracks.push_back(Block{QStringList(words.mid(1)).join(' '), line, {}});
        return &tracks.back();
    } else {
        fail(QStringLiteral("unknown line '%1'").arg(words.join(' ')));
    }
    return nullptr;
}

} // namespace

Score parseScore(const QString &text, const QString &name)
{
    Score score;
    score.name = name;
    std::map<QString, Block> patterns;
    std::vector<Block> tracks;
    Block *open = nullptr;
    const QStringList lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString src = lines[n];
        const int comment = src.indexOf(QRegularExpression(QStringLiteral("(^|\\s)#")));
        if (comment >= 0)
            src.truncate(comment);
        const QStringList words = src.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const int line = n + 1;
        if (!open)
            open = readSetting(score, patterns, tracks, words, line);
        else if (words[0] == "end" && words.size() == 1)
            open = nullptr;
        else
            for (const QString &w : words)
                open->tokens.push_back(Token{w, line});
    }
    if (open)
        throw ScoreError(QStringLiteral("%1: a pattern or track has no 'end'").arg(name).toStdString());
    if (tracks.empty())
        throw ScoreError(QStringLiteral("%1: no tracks").arg(name).toStdString());
    Builder builder(score, patterns, name);
    for (const Block &t : tracks)
        builder.buildTrack(t);
    return score;
}

Score loadScore(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ScoreError(QStringLiteral("%1: %2").arg(path, f.errorString()).toStdString());
    return parseScore(QString::fromUtf8(f.readAll()), QFileInfo(path).fileName());
}

QByteArray toMidiFile(const Score &score)
{
    QByteArray out("MThd");
    putBE(out, 6, 4);
    putBE(out, 1, 2); // format 1
    putBE(out, quint32(score.tracks.size() + 1), 2);
    putBE(out, Score::kDivision, 2);

    std::vector<Event> conductor;
    conductor.push_back({0, 0, meta(0x03, score.name.toUtf8())});
    QByteArray tempo;
    putBE(tempo, quint32(60000000 / score.tempo), 3);
    conductor.push_back({0, 0, meta(0x51, tempo)});
    int log2Unit = 0;
    for (int u = score.beatUnit; u > 1; u /= 2)
        ++log2Unit;
    const char timeSignature[] = {char(score.beatsPerBar), char(log2Unit), 24, 8};
    conductor.push_back({0, 0, meta(0x58, QByteArray(timeSignature, 4))});
    out += trackChunk(conductor, score.lengthTicks);

    for (const MidiTrack &t : score.tracks) {
        std::vector<Event> ev;
        ev.push_back({0, 0, meta(0x03, t.name.toUtf8())});
        if (t.channel != 9)
            ev.push_back({0, 0, channelMessage(0xC0, t.channel, t.program, -1)});
        ev.push_back({0, 0, channelMessage(0xB0, t.channel, 7, t.volume)});
        ev.push_back({0, 0, channelMessage(0xB0, t.channel, 10, t.pan)});
        ev.push_back({0, 0, channelMessage(0xB0, t.channel, 91, t.reverb)});
        for (const MidiNote &n : t.notes) {
            // A looping piece must not hold notes across its end.
            const int end = std::min(n.start + n.length, score.lengthTicks);
            ev.push_back({n.start, 2, channelMessage(0x90, t.channel, n.key, n.velocity)});
            ev.push_back({end, 1, channelMessage(0x80, t.channel, n.key, 0)});
        }
        out += trackChunk(std::move(ev), score.lengthTicks);
    }
    return out;
}

} // namespace fm::mediagen
