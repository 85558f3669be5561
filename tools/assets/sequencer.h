// Turns written-out parts into a mixed stereo loop. Parts are written one
// token per step: a note ("A4", "C#5", "Bb3"), "." for a rest, "-" to hold
// the previous note one step longer; "|" between bars is ignored. Drum
// parts use "x" (hit), "X" (accent), "o" (ghost) and ".".
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tools/assets/synth.h"

namespace art {

struct NoteEvent {
  int step = 0;
  int length = 1;      // in steps
  double midi = 0;
  double velocity = 1;
};

std::vector<NoteEvent> ParseNotes(const std::string& part);
std::vector<NoteEvent> ParseHits(const std::string& part);
// MIDI note number of a name such as "C#5"; -1 when it is not a note.
int NoteNumber(const std::string& name);
// The notes of a chord name ("Am", "F", "B7", "Em") with its root in `octave`.
std::vector<int> ChordNotes(const std::string& name, int octave);

// Repeats of a part, each `delaySteps` later and `feedback` quieter,
// alternating between the sides.
struct Echo {
  double delaySteps = 0;
  int repeats = 0;
  double feedback = 0;
};

class Loop {
 public:
  Loop(double bpm, int stepsPerBeat, int steps);
  size_t length() const { return left_.size(); }
  double stepSeconds() const { return stepSamples_ / SynthRate(); }

  // Renders every event with the voice and mixes it in; notes that ring on
  // past the end wrap round to the start, as they would when the loop
  // repeats.
  void Add(const std::vector<NoteEvent>& events, Voice voice, double gain, double pan, uint32_t seed,
           double gate = 0.92, const Echo& echo = Echo{});
  // Mixes down to 16-bit stereo, peak at `peak` of full scale, no DC; the
  // end runs on into the start.
  std::vector<int16_t> Mixdown(double peak) const;

 private:
  void Mix(const std::vector<double>& note, size_t start, double gainL, double gainR);
  const std::vector<double>& Note(Voice voice, const NoteEvent& e, double gate, uint32_t seed);
  double stepSamples_;
  // Rendered notes by voice, pitch, length, velocity and noise variant:
  // tunes repeat themselves, so most notes are rendered once.
  std::map<std::tuple<int, double, int, double, double, uint32_t>, std::vector<double>> notes_;
  std::vector<double> left_, right_;
};

}  // namespace art
