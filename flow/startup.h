// The process from its first instruction to its end.
#pragma once

// Start-up, then the main loop, forever. Ends only through EndProgram.
[[noreturn]] void GameMain();

// Start-up alone: services, variables, arrays and assets. Ends the program
// (after the failure box) when a service cannot start.
void StartUp();

// Calls the procedure of CurrentState once and reports a change of state.
void RunCurrentState();
