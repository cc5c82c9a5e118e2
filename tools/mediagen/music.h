#pragma once
#include <QByteArray>
#include <QString>
#include <map>
#include <stdexcept>
#include <vector>

// A piece of music written as text (content/music/*.score) and turned into a
// standard MIDI file. The format:
//
//   tempo 116                  beats (quarter notes) a minute
//   meter 4/4
//   pattern NAME ... end       a reusable run of tokens
//   track NAME program P channel C volume V [pan P] [reverb R] ... end
//
// Tokens inside patterns and tracks:
//   c5/4  f#4/8.  bb3/2  r/4   a note (name, sharp # or flat b, octave) or a
//                              rest, with its length: 1 2 4 8 16, '.' dotted,
//                              't' triplet
//   c4+e4+g4/2  kick+hat/8     notes sounding together; drum names on channel 10
//   C  Am  G7  Fmaj7  Dm7  Bb  Esus4   chord symbols: the bar they stand in
//                              is shared evenly among them and played in the
//                              current accompaniment style
//   |                          a bar line: checks that whole bars have passed
//   @NAME  @NAME*3             a pattern, once or several times
//   r/1*8  hat/8*4             a note or rest several times
//   v=90  style=arp  oct=4  transpose=12   settings for what follows
//
// Styles: pad, arp (broken chord in eighths), arp4 (in quarters), strum
// (quarter-note chords), offbeat (chords on the off-beats), waltz (bass then
// chords, by quarter notes), oompah (bass and chord alternately), bass (root
// and fifth by quarters), bass2 (root and fifth by halves), bass8 (root and
// octave by eighths).
namespace fm::mediagen
{

struct ScoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct MidiNote {
    int start = 0;  // ticks
    int length = 0; // ticks
    int key = 60;
    int velocity = 80;
};

struct MidiTrack {
    QString name;
    int channel = 0; // 0-based; 9 is percussion
    int program = 0; // 0-based General MIDI program
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    std::vector<MidiNote> notes;
};

struct Score {
    QString name;
    int tempo = 120;
    int beatsPerBar = 4;
    int beatUnit = 4;
    std::vector<MidiTrack> tracks;
    int lengthTicks = 0; // the longest track

    static constexpr int kDivision = 480; // ticks per quarter note
    int barTicks() const { return beatsPerBar * kDivision * 4 / beatUnit; }
    double seconds() const { return lengthTicks / double(kDivision) * 60.0 / tempo; }
};

Score parseScore(const QString &text, const QString &name);
Score loadScore(const QString &path);

// A format 1 standard MIDI file: a tempo track, then one track per part. The
// file lasts exactly the score's length, so a loop restarts on the beat.
QByteArray toMidiFile(const Score &score);

} // namespace fm::mediagen
