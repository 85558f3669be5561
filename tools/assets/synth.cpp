#include "tools/assets/synth.h"

#include <array>
#include <cmath>

namespace art {

namespace {
int gSynthRate = kEffectRate;
}  // namespace

int SynthRate() { return gSynthRate; }
SynthRateScope::SynthRateScope(int rate) : previous_(gSynthRate) { gSynthRate = rate; }
SynthRateScope::~SynthRateScope() { gSynthRate = previous_; }

namespace {

constexpr int kTableSize = 4096;

const std::array<double, kTableSize + 1>& SineTable() {
  static const std::array<double, kTableSize + 1> table = [] {
    std::array<double, kTableSize + 1> t{};
    for (int i = 0; i <= kTableSize; ++i) t[static_cast<size_t>(i)] = Sin(kTwoPi * i / kTableSize);
    return t;
  }();
  return table;
}

double Blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Wrap(double p) { return p - std::floor(p); }

// Attack / hold / release gate, linear ramps, in samples.
double Gate(size_t i, size_t attack, size_t hold, size_t release) {
  if (i < attack) return static_cast<double>(i) / static_cast<double>(attack);
  if (i < hold) return 1.0;
  if (i < hold + release) return 1.0 - static_cast<double>(i - hold) / static_cast<double>(release);
  return 0.0;
}

size_t Samples(double seconds) { return static_cast<size_t>(seconds * SynthRate() + 0.5); }

std::vector<double> Fm(double hz, double seconds, double velocity, double ratio, double index, double indexTau,
                       double ampTau, double release) {
  const size_t hold = Samples(seconds), rel = Samples(release), attack = Samples(0.003);
  std::vector<double> out(hold + rel);
  const double indexDecay = Exp(-1.0 / (indexTau * SynthRate()));
  const double ampDecay = Exp(-1.0 / (ampTau * SynthRate()));
  double idx = index * velocity, amp = velocity;
  double pc = 0, pm = 0;
  const double dc = hz / SynthRate(), dm = hz * ratio / SynthRate();
  for (size_t i = 0; i < out.size(); ++i) {
    const double mod = idx * SineCycles(pm);
    out[i] = amp * Gate(i, attack, hold, rel) * SineCycles(pc + mod / kTwoPi);
    pc = Wrap(pc + dc);
    pm = Wrap(pm + dm);
    idx *= indexDecay;
    amp *= ampDecay;
  }
  return out;
}

std::vector<double> Lead(double hz, double seconds, double velocity) {
  const size_t hold = Samples(seconds), rel = Samples(0.07), attack = Samples(0.006);
  std::vector<double> out(hold + rel);
  Filter f;
  double phase = 0, phase2 = 0.37, vib = 0;
  double cutoff = 4200;
  const double cutoffDecay = Exp(-1.0 / (0.18 * SynthRate()));
  const size_t vibDelay = Samples(0.14);
  for (size_t i = 0; i < out.size(); ++i) {
    const double depth = i < vibDelay ? 0.0 : 0.007 * Clamp((i - vibDelay) / (0.2 * SynthRate()), 0.0, 1.0);
    const double f0 = hz * (1.0 + depth * SineCycles(vib));
    const double dt = f0 / SynthRate();
    const double dt2 = f0 * 1.004 / SynthRate();
    const double osc = 0.55 * SquareWave(phase, dt) + 0.45 * SawWave(phase2, dt2);
    if (i % 16 == 0) f.Set(cutoff, 0.8);
    f.Run(osc);
    // A decaying level toward 75 % sustain gives each note a bite.
    const double level = 0.75 + 0.25 * (cutoff - 1500) / 2700;
    out[i] = velocity * level * Gate(i, attack, hold, rel) * f.low();
    phase = Wrap(phase + dt);
    phase2 = Wrap(phase2 + dt2);
    vib = Wrap(vib + 5.6 / SynthRate());
    cutoff = 1500 + (cutoff - 1500) * cutoffDecay;
  }
  return out;
}

std::vector<double> Bass(double hz, double seconds, double velocity) {
  const size_t hold = Samples(seconds), rel = Samples(0.04), attack = Samples(0.003);
  std::vector<double> out(hold + rel);
  Filter f;
  double phase = 0, sub = 0;
  double env = 1.0;
  const double envDecay = Exp(-1.0 / (0.11 * SynthRate()));
  const double dt = hz / SynthRate();
  for (size_t i = 0; i < out.size(); ++i) {
    if (i % 8 == 0) f.Set(260 + 1500 * env * velocity, 1.1);
    f.Run(SawWave(phase, dt));
    const double body = f.low() + 0.55 * SineCycles(sub);
    out[i] = velocity * (0.8 + 0.2 * env) * Gate(i, attack, hold, rel) * body;
    phase = Wrap(phase + dt);
    sub = Wrap(sub + dt);
    env *= envDecay;
  }
  return out;
}

std::vector<double> Pad(double hz, double seconds, double velocity) {
  const size_t hold = Samples(seconds), rel = Samples(0.45), attack = Samples(0.3);
  std::vector<double> out(hold + rel);
  Filter f;
  f.Set(1100, 0.6);
  double p[3] = {0, 0.33, 0.67};
  const double detune[3] = {0.996, 1.0, 1.0045};
  for (size_t i = 0; i < out.size(); ++i) {
    double osc = 0;
    for (int k = 0; k < 3; ++k) {
      const double dt = hz * detune[k] / SynthRate();
      osc += SawWave(p[k], dt);
      p[k] = Wrap(p[k] + dt);
    }
    f.Run(osc / 3);
    out[i] = velocity * Gate(i, attack, hold, rel) * f.low();
  }
  return out;
}

std::vector<double> Brass(double hz, double seconds, double velocity) {
  const size_t hold = Samples(seconds), rel = Samples(0.12), attack = Samples(0.012);
  std::vector<double> out(hold + rel);
  Filter f;
  double p1 = 0, p2 = 0.5, vib = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / SynthRate();
    // The filter opens fast on the attack, then settles: the brassy "blat".
    const double open = t < 0.03 ? t / 0.03 : 0.6 + 0.4 * Exp(-(t - 0.03) / 0.12);
    if (i % 8 == 0) f.Set(500 + 2600 * open, 0.9);
    const double depth = t < 0.25 ? 0 : 0.005;
    const double f0 = hz * (1 + depth * SineCycles(vib));
    const double dt1 = f0 / SynthRate(), dt2 = f0 * 1.003 / SynthRate();
    f.Run(0.5 * SawWave(p1, dt1) + 0.5 * SawWave(p2, dt2));
    out[i] = velocity * Gate(i, attack, hold, rel) * f.low();
    p1 = Wrap(p1 + dt1);
    p2 = Wrap(p2 + dt2);
    vib = Wrap(vib + 5.2 / SynthRate());
  }
  return out;
}

std::vector<double> Kick(double velocity) {
  const size_t n = Samples(0.38);
  std::vector<double> out(n);
  double phase = 0, amp = velocity, sweep = 1.0;
  const double ampDecay = Exp(-1.0 / (0.2 * SynthRate()));
  const double sweepDecay = Exp(-1.0 / (0.028 * SynthRate()));
  for (size_t i = 0; i < n; ++i) {
    const double hz = 46 + 120 * sweep;
    // Starts at phase zero, so the thump needs no fade-in.
    out[i] = amp * SineCycles(phase);
    phase = Wrap(phase + hz / SynthRate());
    amp *= ampDecay;
    sweep *= sweepDecay;
  }
  return out;
}

std::vector<double> Snare(double velocity, uint32_t seed) {
  const size_t n = Samples(0.26), attack = Samples(0.001);
  std::vector<double> out(n);
  Rng rng(seed);
  Filter f;
  f.Set(2400, 0.7);
  double noiseAmp = 1.0, toneAmp = 0.6, phase = 0;
  const double noiseDecay = Exp(-1.0 / (0.075 * SynthRate()));
  const double toneDecay = Exp(-1.0 / (0.05 * SynthRate()));
  for (size_t i = 0; i < n; ++i) {
    f.Run(rng.Signed());
    const double noise = 0.7 * f.band() + 0.35 * f.high();
    const double a = i < attack ? static_cast<double>(i) / attack : 1.0;
    out[i] = velocity * a * (noiseAmp * noise + toneAmp * SineCycles(phase));
    phase = Wrap(phase + 188.0 / SynthRate());
    noiseAmp *= noiseDecay;
    toneAmp *= toneDecay;
  }
  return out;
}

std::vector<double> Hat(double velocity, double tau, uint32_t seed) {
  const size_t n = Samples(tau * 5), attack = Samples(0.0015);
  std::vector<double> out(n);
  Rng rng(seed);
  Filter f;
  f.Set(7200, 0.7);
  double amp = velocity;
  const double decay = Exp(-1.0 / (tau * SynthRate()));
  for (size_t i = 0; i < n; ++i) {
    f.Run(rng.Signed());
    const double a = i < attack ? static_cast<double>(i) / attack : 1.0;
    out[i] = amp * a * f.high();
    amp *= decay;
  }
  return out;
}

}  // namespace

double SineCycles(double phase) {
  const auto& table = SineTable();
  const double x = (phase - std::floor(phase)) * kTableSize;
  const int i = static_cast<int>(x);
  const double frac = x - i;
  return table[static_cast<size_t>(i)] + (table[static_cast<size_t>(i) + 1] - table[static_cast<size_t>(i)]) * frac;
}

double SawWave(double phase, double dt) { return 2.0 * phase - 1.0 - Blep(phase, dt); }

double SquareWave(double phase, double dt) {
  double v = phase < 0.5 ? 1.0 : -1.0;
  v += Blep(phase, dt);
  v -= Blep(Wrap(phase + 0.5), dt);
  return v;
}

void Filter::Set(double cutoffHz, double q) {
  cutoffHz = Clamp(cutoffHz, 20.0, SynthRate() * 0.45);
  const double w = 0.5 * cutoffHz / SynthRate();  // tan(pi f / rate), phase in cycles
  const double g = SineCycles(w) / SineCycles(w + 0.25);
  k_ = 1.0 / q;
  a1_ = 1.0 / (1.0 + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

void Filter::Run(double in) {
  const double v3 = in - ic2_;
  const double v1 = a1_ * ic1_ + a2_ * v3;
  const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2 * v1 - ic1_;
  ic2_ = 2 * v2 - ic2_;
  low_ = v2;
  band_ = v1;
  high_ = in - k_ * v1 - v2;
}

std::vector<double> RenderNote(Voice voice, double hz, double seconds, double velocity, uint32_t seed) {
  std::vector<double> out;
  switch (voice) {
    case Voice::Bell: out = Fm(hz, seconds, velocity, 3.5, 1.3, 0.12, 0.35, 0.25); break;
    case Voice::Piano: out = Fm(hz, seconds, velocity, 1.0, 1.6, 0.3, 0.8, 0.15); break;
    case Voice::Lead: out = Lead(hz, seconds, velocity); break;
    case Voice::Bass: out = Bass(hz, seconds, velocity); break;
    case Voice::Pad: out = Pad(hz, seconds, velocity); break;
    case Voice::Brass: out = Brass(hz, seconds, velocity); break;
    case Voice::Kick: out = Kick(velocity); break;
    case Voice::Snare: out = Snare(velocity, seed); break;
    case Voice::HatClosed: out = Hat(velocity, 0.025, seed); break;
    case Voice::HatOpen: out = Hat(velocity, 0.11, seed); break;
  }
  FadeEdges(out, 0, static_cast<int>(Samples(0.004)));
  return out;
}

void FadeEdges(std::vector<double>& buf, int fadeIn, int fadeOut) {
  const size_t n = buf.size();
  for (size_t i = 0; i < static_cast<size_t>(fadeIn) && i < n; ++i) buf[i] *= static_cast<double>(i) / fadeIn;
  for (size_t i = 0; i < static_cast<size_t>(fadeOut) && i < n; ++i) buf[n - 1 - i] *= static_cast<double>(i) / fadeOut;
}

}  // namespace art
