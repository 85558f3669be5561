// The title wave, the jewel fountain and the how-to picture.
#pragma once

void RunTitle();
void RunAttract();
void RunHowTo();
