// config_tco.txt: read with both position blocks remembered, the first panel drawn from what was
// read (every field of a cell reaches the renderer as it was stored), then worked as an operator
// would: each block clicked in run mode, then copied and placed again in the editor (the clicks
// act on the stored fields as they are), and the panels written back.
#include <fstream>

#include "core/screens.h"
#include "core/surface.h"
#include "fuzz/fuzz_target.h"
#include "panels/panel_file.h"
#include "panels/panel_overlay.h"
#include "panels/panel_render.h"
#include "runtime/tick.h"
#include "runtime/window_events.h"

namespace {

// Press and release of one button at the centre of the cell (x, y) of panel 0.
void click_cell(System& sys, MouseButton button, int x, int y) {
  sys.screen.screen_mode = 0;  // a screen jump may have left the panel
  const int px = x * 40 + 20, py = y * 40 + 20;
  window_button_press(sys, button, px, py);
  window_button_release(sys, button, px, py);
}

template <typename Act>
void for_each_block(System& sys, Act act) {
  for (int x = 0; x < kTcoColumns; ++x)
    for (int y = 0; y < kTcoRows; ++y)
      if (sys.panels.cell(0, x, y).f[CELL_FAMILY] != FAMILY_EMPTY) act(x, y);
}

}  // namespace

FUZZ_TARGET(panels) {
  FuzzLayout layout("");
  System& sys = layout.sys;
  std::ofstream(work_file(sys, kPanelFile), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  sys.general.memorisation_train = 1;
  sys.general.memorisation_aig = 1;
  load_panels(sys, kPanelFile);
  Surface s(kMaxDrawWidth + 1, kMaxDrawHeight + 1);
  paint_panel(sys, s, 0);
  for_each_block(sys, [&](int x, int y) {
    click_cell(sys, MouseButton::Left, x, y);
    click_cell(sys, MouseButton::Right, x, y);
  });
  tick(sys);
  sys.screen.screen_mode = 0;
  open_overlay_state(sys, kOverlayEditorLast);  // over the right of the panel
  for_each_block(sys, [&](int x, int y) {
    click_cell(sys, MouseButton::Right, x, y);  // copies the block into the edit buffer
    click_cell(sys, MouseButton::Left, x, y);   // places it back, or says why not
  });
  paint_panel(sys, s, 0);
  save_panels(sys, kPanelFile);
  return 0;
}
