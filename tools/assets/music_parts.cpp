#include "tools/assets/music_parts.h"

#include <sstream>

namespace art {

std::string Doubled(const std::string& part) {
  std::istringstream in(part);
  std::string t, out;
  while (in >> t) {
    if (t == "|") {
      out += "| ";
    } else if (t == ".") {
      out += ". . ";
    } else {
      out += t + " - ";
    }
  }
  return out;
}

std::vector<NoteEvent> ChordArpeggio(const std::vector<std::string>& chords, int octave, const std::vector<int>& figure,
                                     int stepsPerBar) {
  std::vector<NoteEvent> out;
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    const std::vector<int> tones = ChordNotes(chords[bar], octave);
    for (int s = 0; s < stepsPerBar; ++s) {
      const int f = figure[static_cast<size_t>(s) % figure.size()];
      const int midi = f == 3 ? tones[0] + 12 : tones[static_cast<size_t>(f)];
      out.push_back({static_cast<int>(bar) * stepsPerBar + s, 1, static_cast<double>(midi), s % 2 == 0 ? 1.0 : 0.7});
    }
  }
  return out;
}

std::vector<NoteEvent> ChordPad(const std::vector<std::string>& chords, int octave, int stepsPerBar) {
  std::vector<NoteEvent> out;
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    std::vector<int> tones = ChordNotes(chords[bar], octave);
    // Keep the voicing close: lift low tones above the root's fifth.
    for (size_t i = 0; i < tones.size() && i < 3; ++i)
      out.push_back({static_cast<int>(bar) * stepsPerBar, stepsPerBar, static_cast<double>(tones[i] + (i == 0 ? 12 : 0)), 1.0});
  }
  return out;
}

std::vector<NoteEvent> ChordBass(const std::vector<std::string>& chords, int octave, const std::string& rhythm,
                                 int stepsPerBar) {
  std::vector<NoteEvent> out;
  std::istringstream in(rhythm);
  std::vector<std::string> tokens;
  std::string t;
  while (in >> t) tokens.push_back(t);
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    const int root = ChordNotes(chords[bar], octave)[0];
    bool open = false;
    for (int s = 0; s < stepsPerBar; ++s) {
      const std::string& k = tokens[static_cast<size_t>(s) % tokens.size()];
      const int step = static_cast<int>(bar) * stepsPerBar + s;
      if (k == "-") {
        if (open) out.back().length++;
        continue;
      }
      open = false;
      int midi = -1;
      if (k == "R") midi = root;
      if (k == "O") midi = root + 12;
      if (k == "F") midi = root + 7;
      if (midi < 0) continue;
      out.push_back({step, 1, static_cast<double>(midi), s == 0 ? 1.0 : 0.85});
      open = true;
    }
  }
  return out;
}

Sound LoopedMusic(const Loop& loop) {
  Sound s;
  s.rate = SynthRate();
  s.channels = 2;
  s.loops = true;
  s.samples = loop.Mixdown(kMusicPeak);
  return s;
}

}  // namespace art
