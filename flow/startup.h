// Start-up: from the process's first instruction to the title.
#pragma once

// Start-up alone: services, variables, arrays and assets. Ends the program
// (after the failure box) when a service cannot start.
void StartUp();

