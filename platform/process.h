// Ending the process.
#pragma once

[[noreturn]] void EndProcess(int exitCode);
