// "Nu Battle", the play tune: E minor at 144 beats a minute in sixteenth
// steps, twenty-four bars (40 s). A driving octave bass and four-on-the-floor
// beat under a square-wave lead with a dotted echo and fast arpeggios.
#include <string>

#include "tools/assets/music_parts.h"
#include "tools/assets/sequencer.h"
#include "tools/assets/sounds.h"
#include "tools/assets/synth.h"

namespace art {

Sound PlayMusic() {
  const SynthRateScope rate(kMusicRate);
  const std::vector<std::string> chords = {"Em", "C",  "D", "Bm", "Em", "C", "D", "B7",
                                           "C",  "D",  "Em", "Em", "Am", "D", "G", "B7",
                                           "Em", "C",  "D", "Bm", "Em", "C", "B7", "B7"};
  const std::string themeA =
      "E5 . B4 E5 G5 - F#5 E5 | G5 - E5 . C5 - D5 E5 | F#5 - D5 . A4 - D5 F#5 | F#5 - - - D5 - B4 - |"
      "E5 . B4 E5 G5 - A5 G5 | E5 - G5 . C6 - B5 A5 |";
  const std::string endA = "B5 - A5 - F#5 - D5 - | D#5 - F#5 - A5 - B5 - |";
  const std::string themeB =
      "E5 - - G5 - - E5 - | F#5 - - A5 - - F#5 - | G5 - F#5 - E5 - D5 - | E5 - - - B4 - - - |"
      "C5 - - E5 - - A5 - | A5 - G5 - F#5 - D5 - | G5 - B5 - D6 - B5 - | A5 - F#5 - D#5 - B4 - |";
  const std::string endA2 = "F#5 - A5 - B5 - D#6 - | B5 - A5 - F#5 - D#5 - |";
  const std::string melody = Doubled(themeA + endA + themeB + themeA + endA2);
  const int bars = static_cast<int>(chords.size());
  Loop loop(144, 4, bars * 16);

  loop.Add(ParseNotes(melody), Voice::Lead, 0.26, -0.1, 101, 0.92, Echo{3, 2, 0.3});
  // Arpeggios: quiet in the first section, brighter afterwards.
  std::vector<NoteEvent> arp = ChordArpeggio(chords, 5, {0, 1, 2, 3}, 16);
  for (NoteEvent& e : arp) e.velocity = e.step < 8 * 16 ? 0.55 : (e.step % 4 == 0 ? 1.0 : 0.75);
  loop.Add(arp, Voice::Bell, 0.09, 0.5, 111);
  loop.Add(ChordPad(chords, 3, 16), Voice::Pad, 0.06, -0.3, 121, 0.97);
  loop.Add(ChordBass(chords, 2, "R . O . R . O . R . O . R . O .", 16), Voice::Bass, 0.34, 0.0, 131);

  std::string kick, snare, hats, open;
  for (int b = 0; b < bars; ++b) {
    const bool fill = b % 8 == 7;
    kick += fill ? "X . . . x . . . X . . x x . . . |" : "X . . . x . . . X . . . x . . . |";
    snare += fill ? ". . . . X . . . X . x o x x X X |" : ". . . . X . . . . . . . X . . o |";
    hats += fill ? "x o x o x o x o . . . . . . . . |" : "x o x o x o x o x o x o x o . o |";
    open += fill ? ". . . . . . . . . . . . . . . . |" : ". . . . . . . . . . . . . . x . |";
  }
  loop.Add(ParseHits(kick), Voice::Kick, 0.62, 0.0, 141);
  loop.Add(ParseHits(snare), Voice::Snare, 0.30, 0.1, 151);
  loop.Add(ParseHits(hats), Voice::HatClosed, 0.12, 0.35, 161);
  loop.Add(ParseHits(open), Voice::HatOpen, 0.10, 0.35, 171);

  return LoopedMusic(loop);
}

}  // namespace art
