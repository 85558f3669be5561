// "Stakko", the title tune: A minor at 100 beats a minute, eight-note
// steps, sixteen bars (38.4 s). An electric-piano melody with echoes over a
// chiming arpeggio, a soft pad, a walking bass and a light beat.
#include <string>

#include "tools/assets/music_parts.h"
#include "tools/assets/sequencer.h"
#include "tools/assets/sounds.h"
#include "tools/assets/synth.h"

namespace art {

Sound TitleMusic() {
  const SynthRateScope rate(kMusicRate);
  const std::vector<std::string> chords = {"Am", "F", "C", "G", "Am", "F", "G", "E",
                                           "F",  "G", "Em", "Am", "Dm", "G", "E", "E"};
  const std::string melody =
      "A4 - C5 - E5 - - D5 | C5 - - - A4 - - - | G4 - C5 - E5 - G5 - | F5 - E5 - D5 - - - |"
      "E5 - - A5 - - G5 E5 | F5 - E5 - C5 - A4 - | B4 - D5 - G5 - F5 - | E5 - - - G#4 - - - |"
      "A4 - C5 - F5 - E5 - | D5 - - B4 G4 - - - | E5 - G5 - B5 - A5 G5 | A5 - - - E5 - - - |"
      "F5 - E5 - D5 - A4 - | B4 - D5 - G5 - F5 E5 | E5 - - - D5 - C5 - | B4 - - - G#4 - B4 - |";
  const int bars = static_cast<int>(chords.size());
  Loop loop(100, 2, bars * 8);

  loop.Add(ParseNotes(melody), Voice::Piano, 0.34, 0.15, 11, 0.92, Echo{3, 2, 0.32});
  loop.Add(ChordArpeggio(chords, 4, {0, 1, 2, 3, 2, 1, 0, 1}, 8), Voice::Bell, 0.11, -0.45, 21);
  loop.Add(ChordPad(chords, 3, 8), Voice::Pad, 0.10, 0.0, 31, 0.97);
  loop.Add(ChordBass(chords, 2, "R - - R O - F -", 8), Voice::Bass, 0.36, 0.0, 41);

  std::string kick, snare, hats;
  for (int b = 0; b < bars; ++b) {
    kick += "X . . o x . . . |";
    snare += b == bars - 1 ? ". . x . . . x o |" : ". . x . . . x . |";
    hats += "o x o x o x o x |";
  }
  loop.Add(ParseHits(kick), Voice::Kick, 0.55, 0.0, 51);
  loop.Add(ParseHits(snare), Voice::Snare, 0.22, 0.1, 61);
  loop.Add(ParseHits(hats), Voice::HatClosed, 0.10, 0.3, 71);

  return LoopedMusic(loop);
}

}  // namespace art
