// Deterministic numeric helpers for the asset generator.
//
// Every picture and sound must come out byte-identical on every machine, so
// nothing here calls the C library's transcendental functions (their last
// bits differ between library versions); only +, -, *, / and sqrt, which
// IEEE 754 rounds exactly, are used.
#pragma once

#include <cstdint>

namespace art {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double Sin(double x);
double Cos(double x);
double Exp(double x);
// 2 to the power x.
double Exp2(double x);
// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midi);

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
// Round half away from zero without the C library.
int RoundToInt(double v);

// A small, fixed pseudo-random generator (xorshift32 over a splitmix seed):
// its sequence is part of the assets, so it must never change.
class Rng {
 public:
  explicit Rng(uint32_t seed);
  uint32_t Next();
  double Unit();                // [0, 1)
  double Signed();              // [-1, 1)
  int Range(int lo, int hi);    // lo..hi inclusive

 private:
  uint32_t state_;
};

}  // namespace art
