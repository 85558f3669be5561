#include "flow/leave_by_key.h"

#include "flow/globals.h"
#include "platform/input.h"
#include "platform/keycodes.h"

bool LeaveScreenByKey() {
  ExamineKeys();
  if (IsKeyDown(KeyEscape)) {
    G.SavedState = G.CurrentState;
    G.CurrentState = StateConfirmExit;
    return true;
  }
  if (IsKeyDown(KeySpace)) {
    G.CurrentState = StateGetReady;
    return true;
  }
  return false;
}
