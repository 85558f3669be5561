// A small subtractive/FM synthesiser: oscillators, filters and the game's
// instruments. Notes render into plain sample buffers (doubles, nominal
// range -1..1) that the sequencer mixes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assets/mathx.h"

namespace art {

// Effects are rendered at the output's usual 44,100 Hz. The two music loops
// are the bulk of what the browser build downloads, so they are rendered at
// 30,000 Hz: full up to 15 kHz, and the whole Sound folder stays under
// 10 MB. The mixer resamples both to the device's rate.
constexpr int kEffectRate = 44100;
constexpr int kMusicRate = 30000;

// The rate notes and effects are rendered at: kEffectRate unless a
// SynthRateScope says otherwise. The generator runs on one thread.
int SynthRate();
class SynthRateScope {
 public:
  explicit SynthRateScope(int rate);
  ~SynthRateScope();
  SynthRateScope(const SynthRateScope&) = delete;
  SynthRateScope& operator=(const SynthRateScope&) = delete;

 private:
  int previous_;
};

// Sine of a phase given in cycles, from a table (fast and deterministic).
double SineCycles(double phase);

// Band-limited (polyBLEP) sawtooth and square, phase in cycles [0, 1),
// dt = frequency / rate.
double SawWave(double phase, double dt);
double SquareWave(double phase, double dt);

// Topology-preserving state-variable filter: stable at any cutoff.
class Filter {
 public:
  void Set(double cutoffHz, double q);
  // Process one sample; afterwards low(), band() and high() hold the outputs.
  void Run(double in);
  double low() const { return low_; }
  double band() const { return band_; }
  double high() const { return high_; }

 private:
  double a1_ = 0, a2_ = 0, a3_ = 0, k_ = 1;
  double ic1_ = 0, ic2_ = 0;
  double low_ = 0, band_ = 0, high_ = 0;
};

enum class Voice {
  Bell,      // glassy FM chime, for arpeggios
  Piano,     // soft electric piano, for the calm melody
  Lead,      // bright square/saw lead with vibrato
  Bass,      // plucky filtered saw bass
  Pad,       // slow detuned saw pad
  Brass,     // fanfare brass
  Kick,
  Snare,
  HatClosed,
  HatOpen,
};

// One note: `seconds` is how long it is held; the buffer also holds the
// release and always ends in silence.
std::vector<double> RenderNote(Voice voice, double hz, double seconds, double velocity, uint32_t seed);

// Gentle fade of the first and last samples of a buffer.
void FadeEdges(std::vector<double>& buf, int fadeIn, int fadeOut);

}  // namespace art
