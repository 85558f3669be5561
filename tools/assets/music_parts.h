// Parts derived from a chord chart, shared by both tunes.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/sequencer.h"
#include "tools/assets/sounds.h"

namespace art {

// Each 8th-note token held twice as long (for writing 16th-step tunes in
// eighths).
std::string Doubled(const std::string& part);
// A repeating figure over each bar's chord; figure entries index the chord
// tones (3 = root an octave up).
std::vector<NoteEvent> ChordArpeggio(const std::vector<std::string>& chords, int octave, const std::vector<int>& figure,
                                     int stepsPerBar);
// The finished tune: the loop mixed to the music's peak, stereo, looping.
Sound LoopedMusic(const Loop& loop);
// The chord held for the whole bar.
std::vector<NoteEvent> ChordPad(const std::vector<std::string>& chords, int octave, int stepsPerBar);
// A bass line from a rhythm of "R" (root), "O" (octave), "F" (fifth), "-"
// and "." tokens, repeated in every bar.
std::vector<NoteEvent> ChordBass(const std::vector<std::string>& chords, int octave, const std::string& rhythm,
                                 int stepsPerBar);

}  // namespace art
