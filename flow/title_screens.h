// The title wave, the jewel fountain and the how-to picture.
#pragma once

#include "flow/attract_particle.h"

void RunTitle();
void RunAttract();
void RunHowTo();

// The pieces of the screens above, in the order they run.
void StartTitleMusic();
void PlayTitleWave();
void SpawnAllParticles();
void SpawnParticle(int i);
void RunParticleShow();
void DrawParticleFrame();
