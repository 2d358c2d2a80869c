#include "app/app_state.h"

namespace app {

AppState& Globals() {
  static AppState state;
  return state;
}

void ResetGlobals() { Globals() = AppState(); }

}  // namespace app
