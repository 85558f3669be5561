// One frame of play.
#pragma once

void RunPlayFrame();
