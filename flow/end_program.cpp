#include "flow/end_program.h"

#include "platform/input.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/sound.h"

void EndProgram(int exitCode) {
  StopSoundSystem();
  StopKeyboard();
  StopMouse();
  CloseGameScreen();
  StopScreenSystem();
  EndProcess(exitCode);
}
