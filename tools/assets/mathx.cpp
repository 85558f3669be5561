#include "tools/assets/mathx.h"

#include <cmath>

namespace art {

namespace {
// Taylor series of sin on [-pi/2, pi/2]; the error is far below 1e-12.
double SinReduced(double x) {
  const double x2 = x * x;
  double term = x;
  double sum = x;
  for (int k = 1; k <= 11; ++k) {
    term = -term * x2 / static_cast<double>((2 * k) * (2 * k + 1));
    sum += term;
  }
  return sum;
}
}  // namespace

double Sin(double x) {
  // Reduce to [-pi, pi], then fold into [-pi/2, pi/2].
  double r = x - kTwoPi * std::floor(x / kTwoPi + 0.5);
  if (r > kPi / 2) r = kPi - r;
  if (r < -kPi / 2) r = -kPi - r;
  return SinReduced(r);
}

double Cos(double x) { return Sin(x + kPi / 2); }

double Exp(double x) {
  if (x < -700.0) return 0.0;
  if (x > 700.0) x = 700.0;
  constexpr double kLn2 = 0.69314718055994530942;
  const double k = std::floor(x / kLn2 + 0.5);
  const double r = x - k * kLn2;
  double term = 1.0;
  double sum = 1.0;
  for (int n = 1; n <= 18; ++n) {
    term = term * r / static_cast<double>(n);
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double Exp2(double x) {
  constexpr double kLn2 = 0.69314718055994530942;
  return Exp(x * kLn2);
}

double NoteHz(double midi) { return 440.0 * Exp2((midi - 69.0) / 12.0); }

int RoundToInt(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }

Rng::Rng(uint32_t seed) {
  // splitmix32 scramble so that nearby seeds give unrelated sequences.
  uint32_t z = seed + 0x9E3779B9u;
  z = (z ^ (z >> 16)) * 0x85EBCA6Bu;
  z = (z ^ (z >> 13)) * 0xC2B2AE35u;
  z ^= z >> 16;
  state_ = z == 0 ? 0x6D2B79F5u : z;
}

uint32_t Rng::Next() {
  uint32_t x = state_;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  state_ = x;
  return x;
}

double Rng::Unit() { return static_cast<double>(Next() >> 8) / 16777216.0; }

double Rng::Signed() { return Unit() * 2.0 - 1.0; }

int Rng::Range(int lo, int hi) {
  const uint32_t span = static_cast<uint32_t>(hi - lo + 1);
  return lo + static_cast<int>(Next() % span);
}

}  // namespace art
