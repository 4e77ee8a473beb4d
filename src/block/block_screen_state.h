// What a block screen last painted of the setting shown below its rows (AIGAUTO on the
// automatic-turnout screens, the halt inhibition on the halt screens), so that a change
// repaints it.
#pragma once

#include <cstdint>

struct BlockScreenState {
  int32_t shown_setting = -1;
};
