// The four one-shot effects. Each is mono, starts and ends in silence and
// is short enough not to mask the next.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/assets/sequencer.h"
#include "tools/assets/sounds.h"
#include "tools/assets/synth.h"

namespace art {

namespace {

size_t Len(double seconds) { return static_cast<size_t>(seconds * SynthRate() + 0.5); }

void AddAt(std::vector<double>& out, const std::vector<double>& part, double atSeconds, double gain) {
  const size_t start = Len(atSeconds);
  for (size_t i = 0; i < part.size() && start + i < out.size(); ++i) out[start + i] += part[i] * gain;
}

// Root mean square of the loudest 300 ms: how loud the effect sounds.
double Loudness(const std::vector<double>& buf) {
  const size_t window = std::min(buf.size(), Len(0.3));
  double sum = 0, best = 0;
  for (size_t i = 0; i < buf.size(); ++i) {
    sum += buf[i] * buf[i];
    if (i >= window) sum -= buf[i - window] * buf[i - window];
    best = std::max(best, sum);
  }
  return std::sqrt(best / static_cast<double>(std::max<size_t>(window, 1)));
}

// A smooth limiter: straight below the knee, then bending toward 1 and never
// reaching it.
double SoftLimit(double x) {
  constexpr double kKnee = 0.55;
  const double a = std::fabs(x);
  if (a <= kKnee) return x;
  const double over = (a - kKnee) / (1 - kKnee);
  const double e = Exp(-2 * over);
  const double bent = kKnee + (1 - kKnee) * (1 - e) / (1 + e);  // tanh
  return x < 0 ? -bent : bent;
}

// Brings the effect to `loudness` (root mean square of its loudest 300 ms,
// as a fraction of full scale) with its peaks held under kEffectPeak. The
// music at volume 50 sounds at about -24 dB, so the effects sit a few
// decibels above it.
Sound Finish(std::vector<double> buf, double loudness, double fadeOutSeconds) {
  double mean = 0;
  for (double v : buf) mean += v;
  mean /= static_cast<double>(buf.size());
  for (double& v : buf) v -= mean;
  FadeEdges(buf, static_cast<int>(Len(0.002)), static_cast<int>(Len(fadeOutSeconds)));
  const double gain = loudness / std::max(Loudness(buf), 1e-9) / kEffectPeak;
  Sound s;
  s.rate = SynthRate();
  s.channels = 1;
  s.samples.resize(buf.size());
  for (size_t i = 0; i < buf.size(); ++i)
    s.samples[i] = static_cast<int16_t>(RoundToInt(SoftLimit(buf[i] * gain) * kEffectPeak * 32767.0));
  return s;
}

}  // namespace

Sound ExplosionEffect() {
  // A bright crack of noise whose colour falls from hiss to a dull roar, a
  // boom under it and a scatter of glassy sparkles: jewels shattering. The
  // boom and the roar stay at 200 Hz and above, with an octave over the boom, so
  // the body sits where laptop and phone speakers still play.
  std::vector<double> out(Len(0.72));
  Rng rng(0xE8u);
  Filter f;
  double amp = 1.0, cutoff = 7000, phase = 0, boom = 0.9, sweep = 1.0;
  const double ampDecay = Exp(-1.0 / (0.16 * SynthRate()));
  const double cutDecay = Exp(-1.0 / (0.12 * SynthRate()));
  const double boomDecay = Exp(-1.0 / (0.18 * SynthRate()));
  const double sweepDecay = Exp(-1.0 / (0.08 * SynthRate()));
  for (size_t i = 0; i < out.size(); ++i) {
    if (i % 8 == 0) f.Set(cutoff, 0.9);
    f.Run(rng.Signed());
    out[i] = amp * (0.8 * f.low() + 0.25 * f.band()) + boom * (SineCycles(phase) + 0.45 * SineCycles(2 * phase));
    phase += (200 + 160 * sweep) / SynthRate();
    phase -= std::floor(phase);
    amp *= ampDecay;
    cutoff = 900 + (cutoff - 900) * cutDecay;
    boom *= boomDecay;
    sweep *= sweepDecay;
  }
  for (int k = 0; k < 10; ++k) {
    const double at = 0.02 + 0.045 * k + 0.02 * rng.Unit();
    const double hz = 1800 + 2200 * rng.Unit();
    std::vector<double> ping(Len(0.05));
    for (size_t i = 0; i < ping.size(); ++i) {
      const double t = static_cast<double>(i) / static_cast<double>(ping.size());
      ping[i] = SineCycles(hz * i / SynthRate()) * (1 - t) * (1 - t) * (i < 20 ? i / 20.0 : 1.0);
    }
    AddAt(out, ping, at, 0.22 * (1.0 - k / 12.0));
  }
  return Finish(out, 0.112, 0.08);  // -19 dB: the loudest, it rewards the player
}

Sound DropEffect() {
  // A short, solid thud with a knock on top. The thud alone lives below
  // 150 Hz, where laptop and phone speakers play almost nothing, so the
  // knock carries the impact: a woody click near 1 kHz and a tick of
  // filtered noise. The thud itself is rounded off a little so that its
  // overtones hint at it on small speakers too.
  std::vector<double> out(Len(0.2));
  Rng rng(0xD7u);
  Filter tick;
  tick.Set(2600, 1.4);
  double phase = 0, knockPhase = 0, amp = 0.8, knock = 1.0, noise = 0.9, sweep = 1.0;
  const double ampDecay = Exp(-1.0 / (0.05 * SynthRate()));
  const double knockDecay = Exp(-1.0 / (0.022 * SynthRate()));
  const double noiseDecay = Exp(-1.0 / (0.006 * SynthRate()));
  const double sweepDecay = Exp(-1.0 / (0.03 * SynthRate()));
  for (size_t i = 0; i < out.size(); ++i) {
    tick.Run(rng.Signed());
    const double thud = SineCycles(phase);
    // Gentle saturation: adds the second and third harmonics of the thud.
    const double body = 1.25 * thud - 0.25 * thud * thud * thud + 0.2 * thud * thud;
    out[i] = amp * body + knock * SineCycles(knockPhase) + noise * tick.band() * 3.0;
    phase += (60 + 120 * sweep) / SynthRate();
    phase -= std::floor(phase);
    knockPhase += (820 + 380 * sweep) / SynthRate();
    knockPhase -= std::floor(knockPhase);
    amp *= ampDecay;
    knock *= knockDecay;
    noise *= noiseDecay;
    sweep *= sweepDecay;
  }
  return Finish(out, 0.079, 0.03);  // -22 dB: heard with every piece, so it stays back
}

Sound HighScoreFanfare() {
  // Da-da-da-daah, da-DAAH: a brass call climbing a C major chord.
  struct Call {
    double at, len;
    const char* note;
    double vel;
  };
  const Call calls[] = {
      {0.00, 0.10, "G4", 0.8}, {0.12, 0.10, "C5", 0.85}, {0.24, 0.10, "E5", 0.9}, {0.36, 0.26, "G5", 1.0},
      {0.66, 0.10, "E5", 0.85}, {0.78, 0.75, "G5", 1.0}, {0.78, 0.75, "C5", 0.7}, {0.78, 0.75, "E5", 0.7},
      {0.78, 0.75, "C4", 0.6},
  };
  std::vector<double> out(Len(1.75));
  uint32_t seed = 1;
  for (const Call& c : calls) {
    AddAt(out, RenderNote(Voice::Brass, NoteHz(NoteNumber(c.note)), c.len, c.vel, seed++), c.at, 0.5);
  }
  // A shimmer of cymbal on the last chord.
  AddAt(out, RenderNote(Voice::HatOpen, 0, 0, 0.5, 77), 0.78, 0.6);
  return Finish(out, 0.10, 0.1);  // -20 dB
}

Sound MissEffect() {
  // A small crowd going "awww": four voices on an open vowel, their pitch
  // sagging as the sound dies away. Each voice is a sum of harmonics shaped
  // by the vowel's formants, so nothing aliases.
  const double seconds = 1.35;
  std::vector<double> out(Len(seconds));
  struct Singer {
    double hz, pan, vib;
  };
  const Singer singers[] = {{196, 0, 5.1}, {233, 0, 5.7}, {262, 0, 4.6}, {175, 0, 5.3}};
  Rng rng(0xA3u);
  for (const Singer& s : singers) {
    double phase = rng.Unit(), vib = rng.Unit();
    const double onset = 0.02 * rng.Unit();
    for (size_t i = 0; i < out.size(); ++i) {
      const double t = static_cast<double>(i) / SynthRate() - onset;
      if (t < 0) continue;
      // Pitch: a small rise, then a long fall to two thirds.
      const double bend = t < 0.12 ? 1.0 + 0.05 * t / 0.12 : 1.05 - 0.4 * Clamp((t - 0.12) / 1.1, 0, 1);
      const double f0 = s.hz * bend * (1 + 0.012 * SineCycles(vib));
      // The vowel closes a little as it ends (aw -> uh).
      const double close = Clamp(t / seconds, 0, 1);
      const double f1 = 620 - 120 * close, f2 = 960 - 160 * close, f3 = 2500;
      double v = 0;
      for (int k = 1; k * f0 < 3800; ++k) {
        const double fk = k * f0;
        const double d1 = (fk - f1) / 110, d2 = (fk - f2) / 140, d3 = (fk - f3) / 200;
        // Harmonics fade out toward the top so none pops in or out as the
        // pitch moves.
        const double top = Clamp((3800 - fk) / 800, 0, 1);
        const double gain = top * (1.0 / (1 + d1 * d1) + 0.55 / (1 + d2 * d2) + 0.12 / (1 + d3 * d3));
        v += gain * SineCycles(phase * k) / (0.6 + 0.4 * k);
      }
      const double env = Clamp(t / 0.08, 0, 1) * (t > 0.7 ? Clamp(1 - (t - 0.7) / 0.6, 0, 1) : 1.0);
      out[i] += v * env * env;
      phase += f0 / SynthRate();
      phase -= std::floor(phase);
      vib += s.vib / SynthRate();
      vib -= std::floor(vib);
    }
  }
  return Finish(out, 0.089, 0.05);  // -21 dB
}

}  // namespace art
