// config_tco.txt: read with both position blocks remembered, the first panel drawn from what was
// read (every field of a cell reaches the renderer as it was stored), then written back.
#include <fstream>

#include "core/surface.h"
#include "fuzz/fuzz_target.h"
#include "panels/panel_file.h"
#include "panels/panel_render.h"

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
  save_panels(sys, kPanelFile);
  return 0;
}
