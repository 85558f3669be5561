#include "platform/process.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/backend.h"
#include "platform/internal/stop_signal.h"

namespace {

// Written by the signal handler, read by the game's thread.
volatile std::sig_atomic_t stopSignal = 0;
volatile std::sig_atomic_t blockingWait = 0;
void (*stopAction)(int) = nullptr;
// An end asked for by the game's own thread (the window closed); -1: none.
int endRequested = -1;

extern "C" void OnStopSignal(int signalNumber) {
  stopSignal = signalNumber;
  if (blockingWait != 0) {
#ifdef _WIN32
    std::_Exit(128 + signalNumber);
#else
    _exit(128 + signalNumber);
#endif
  }
}

}  // namespace

void EndProcess(int exitCode) {
  platform::CurrentBackend().EndProcess(exitCode);
  std::abort();  // a backend's EndProcess never comes back
}

namespace platform {

void InstallStopSignals() {
#ifdef _WIN32
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
#else
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes resume, so a save in progress completes.
  action.sa_flags = SA_RESTART;
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaction(signalNumber, &action, nullptr);
#endif
}

void EndIfStopRequested() {
  const int signalNumber = stopSignal;
  int exitCode = endRequested;
  if (signalNumber != 0) exitCode = 128 + signalNumber;
  if (exitCode < 0) return;
  stopSignal = 0;
  endRequested = -1;
  if (stopAction != nullptr) stopAction(exitCode);
  EndProcess(exitCode);
}

void RequestEnd(int exitCode) { endRequested = exitCode; }

void SetStopAction(void (*endWithStatus)(int exitCode)) { stopAction = endWithStatus; }

void RequestStop(int signalNumber) { stopSignal = signalNumber; }

void SetBlockingWait(bool waiting) {
  blockingWait = waiting ? 1 : 0;
  if (waiting && stopSignal != 0) OnStopSignal(stopSignal);
}

}  // namespace platform
