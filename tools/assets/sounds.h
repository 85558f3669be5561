// Every sound of the game, synthesised from code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Sound {
  int rate = 44100;
  int channels = 1;
  bool loops = false;             // music: the end must run on into the start
  std::vector<int16_t> samples;   // interleaved 16-bit PCM
};

// Peak levels, as fractions of full scale, chosen together: the game plays
// its music at volume 50 (half amplitude) and its effects at full volume,
// and the music with any two effects on top must stay below full scale:
// 0.5 x 0.70 + 2 x 0.30 = 0.95. Effects reach their loudness through a soft
// limiter rather than through their peaks.
constexpr double kMusicPeak = 0.70;
constexpr double kEffectPeak = 0.30;

Sound TitleMusic();        // Stakko.wav
Sound PlayMusic();         // Nu Battle.wav
Sound ExplosionEffect();   // Explosion.wav
Sound DropEffect();        // Drop.wav
Sound HighScoreFanfare();  // HighScore.wav
Sound MissEffect();        // awwww.wav

// The checks every sound must pass before it is written: whole frames,
// peaks below full scale, silence at the edges of effects and a smooth
// seam for loops.
bool CheckSound(const Sound& s, std::string* problem);

}  // namespace art
