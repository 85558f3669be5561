#include "tools/assets/sequencer.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace art {

namespace {

std::vector<std::string> Tokens(const std::string& part) {
  std::vector<std::string> out;
  std::istringstream in(part);
  std::string t;
  while (in >> t)
    if (t != "|") out.push_back(t);
  return out;
}

}  // namespace

int NoteNumber(const std::string& name) {
  if (name.size() < 2) return -1;
  static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name[0] < 'A' || name[0] > 'G') return -1;
  int n = kBase[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') {
    ++n;
    ++i;
  } else if (name[i] == 'b') {
    --n;
    ++i;
  }
  if (i >= name.size() || name[i] < '0' || name[i] > '9') return -1;
  const int octave = name[i] - '0';
  return 12 * (octave + 1) + n;
}

std::vector<int> ChordNotes(const std::string& name, int octave) {
  std::string root = name.substr(0, 1);
  size_t i = 1;
  if (i < name.size() && (name[i] == '#' || name[i] == 'b')) root += name[i++];
  const int r = NoteNumber(root + std::to_string(octave));
  const std::string quality = name.substr(i);
  std::vector<int> notes = {r, r + (quality.rfind('m', 0) == 0 ? 3 : 4), r + 7};
  if (quality.find('7') != std::string::npos) notes.push_back(r + 10);
  return notes;
}

std::vector<NoteEvent> ParseNotes(const std::string& part) {
  std::vector<NoteEvent> out;
  int step = 0;
  bool open = false;
  for (const std::string& t : Tokens(part)) {
    if (t == "-") {
      if (open) out.back().length++;
    } else if (t == ".") {
      open = false;
    } else {
      const int n = NoteNumber(t);
      if (n >= 0) {
        out.push_back({step, 1, static_cast<double>(n), 1.0});
        open = true;
      }
    }
    ++step;
  }
  return out;
}

std::vector<NoteEvent> ParseHits(const std::string& part) {
  std::vector<NoteEvent> out;
  int step = 0;
  for (const std::string& t : Tokens(part)) {
    if (t == "x") out.push_back({step, 1, 0, 0.75});
    if (t == "X") out.push_back({step, 1, 0, 1.0});
    if (t == "o") out.push_back({step, 1, 0, 0.4});
    ++step;
  }
  return out;
}

Loop::Loop(double bpm, int stepsPerBeat, int steps)
    : stepSamples_(SynthRate() * 60.0 / bpm / stepsPerBeat),
      left_(static_cast<size_t>(steps * stepSamples_ + 0.5)),
      right_(left_.size()) {}

void Loop::Mix(const std::vector<double>& note, size_t start, double gainL, double gainR) {
  const size_t n = left_.size();
  size_t at = start % n;
  size_t i = 0;
  while (i < note.size()) {
    // Straight runs up to the end of the loop, then on from its start.
    const size_t run = std::min(note.size() - i, n - at);
    double* l = left_.data() + at;
    double* r = right_.data() + at;
    const double* src = note.data() + i;
    for (size_t k = 0; k < run; ++k) {
      l[k] += src[k] * gainL;
      r[k] += src[k] * gainR;
    }
    i += run;
    at = 0;
  }
}

const std::vector<double>& Loop::Note(Voice voice, const NoteEvent& e, double gate, uint32_t seed) {
  // Noisy voices get one of four variants so repeated hits are not clones.
  const bool noisy = voice == Voice::Snare || voice == Voice::HatClosed || voice == Voice::HatOpen;
  const auto key = std::make_tuple(static_cast<int>(voice), e.midi, e.length, gate, e.velocity, noisy ? seed % 4 : 0u);
  auto it = notes_.find(key);
  if (it == notes_.end()) {
    const double seconds = e.length * stepSeconds() * gate;
    it = notes_.emplace(key, RenderNote(voice, e.midi > 0 ? NoteHz(e.midi) : 0, seconds, e.velocity, seed)).first;
  }
  return it->second;
}

void Loop::Add(const std::vector<NoteEvent>& events, Voice voice, double gain, double pan, uint32_t seed, double gate,
               const Echo& echo) {
  // A simple linear pan law: the far side keeps 40 %.
  const double gl = gain * (1.0 - 0.5 * (pan + 1.0) * 0.6);
  const double gr = gain * (1.0 - 0.5 * (1.0 - pan) * 0.6);
  uint32_t s = seed;
  for (const NoteEvent& e : events) {
    const std::vector<double>& note = Note(voice, e, gate, s++);
    Mix(note, static_cast<size_t>(e.step * stepSamples_ + 0.5), gl, gr);
    double g = gain;
    for (int r = 1; r <= echo.repeats; ++r) {
      g *= echo.feedback;
      const size_t start = static_cast<size_t>((e.step + r * echo.delaySteps) * stepSamples_ + 0.5);
      if (r % 2 == 1) {
        Mix(note, start, g * 0.3, g);
      } else {
        Mix(note, start, g, g * 0.3);
      }
    }
  }
}

std::vector<int16_t> Loop::Mixdown(double peak) const {
  const size_t n = left_.size();
  std::vector<double> l = left_, r = right_;
  // Remove any DC: a constant shift keeps the seam continuous.
  double ml = 0, mr = 0;
  for (size_t i = 0; i < n; ++i) {
    ml += l[i];
    mr += r[i];
  }
  ml /= static_cast<double>(n);
  mr /= static_cast<double>(n);
  for (size_t i = 0; i < n; ++i) {
    l[i] -= ml;
    r[i] -= mr;
  }
  // No ease at the edges: the notes that ring on past the end are already
  // mixed into the start, so the seam runs on like any other sample, and the
  // mixer eases every start from silence.
  double top = 1e-9;
  for (size_t i = 0; i < n; ++i) top = std::max(top, std::max(std::fabs(l[i]), std::fabs(r[i])));
  const double scale = peak * 32767.0 / top;
  std::vector<int16_t> out(n * 2);
  for (size_t i = 0; i < n; ++i) {
    out[2 * i] = static_cast<int16_t>(RoundToInt(l[i] * scale));
    out[2 * i + 1] = static_cast<int16_t>(RoundToInt(r[i] * scale));
  }
  return out;
}

}  // namespace art
