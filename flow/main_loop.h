// The process from its first instruction to its end: start-up, then one
// screen's procedure after another.
#pragma once

// Start-up, then the main loop, forever. Ends only through EndProgram.
[[noreturn]] void GameMain();

// Calls the procedure of CurrentState once and reports a change of state.
void RunCurrentState();
