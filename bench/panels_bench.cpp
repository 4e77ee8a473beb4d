// One full panel paint: every cell of the grid filled with the 60 kinds of block, fields set,
// mixed canton states, relief on; the copy of the whole drawing area that follows it; and the
// paint with an overlay open.
#include <benchmark/benchmark.h>

#include "core/surface.h"
#include "core/system.h"
#include "panels/panel_file.h"
#include "panels/panel_render.h"
#include "tools/sim/recording_host.h"

namespace {

void fill_panel(System& sys) {
  load_panels(sys, kPanelFile);  // no file in /tmp/zir-bench-absent: the default colours
  sys.general.relief = 1;
  for (int i = 0; i < kTcoColumns * kTcoRows; ++i) {
    const BlockKind& k = kBlockKinds[i % 60];
    TcoCell& c = sys.panels.cell(0, i % kTcoColumns, i / kTcoColumns);
    c.f[CELL_FAMILY] = k.family;
    c.f[CELL_VARIANT] = k.variant;
    c.f[CELL_CANT] = i % 16;
    c.f[CELL_P1] = i % 7 == 0 ? 305 : i % 64;
    c.f[CELL_P2] = (i + 1) % 64;
    for (int v = 0; v < 4; ++v) c.f[CELL_V1 + v] = 5400 + (i + v) % 4;
    for (int v = 0; v < 4; ++v) c.f[CELL_C1 + v] = (i + v) % 24;
    c.f[CELL_OPT] = i % 30;
    c.f[CELL_SENS] = i % 2;
    set_cell_text(c, "1234 ABC DE 2  FGH 3");
  }
  CantonTable& ct = sys.cantons;
  for (int n = 0; n < 16; ++n) {
    ct.prev_num_train[n] = n % 3 == 0 ? 1 : -1;
    ct.prev_ResvAUTO[n] = n % 5 == 1;
    ct.prev_ResvMANU[n] = n % 5 == 2;
    ct.prev_Res2MANU[n] = n % 5 == 3;
    ct.Vitesse[n] = n * 3 - 20;
    sys.io.det[n] = n % 2;
  }
  sys.logic.var[0] = 1;
  sys.logic.var[2] = 1;
}

void BM_FullPanelPaint(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp/zir-bench-absent");
  fill_panel(sys);
  for (auto _ : state) {
    Surface s(1281, 1001);
    paint_panel(sys, s, 0);
    benchmark::DoNotOptimize(s.image());
  }
}
BENCHMARK(BM_FullPanelPaint)->Unit(benchmark::kMillisecond);

// The paint and the copy to the window's front buffer, as a tick does.
void BM_FullPanelPaintAndCopy(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp/zir-bench-absent");
  fill_panel(sys);
  FrontBuffer front;
  for (auto _ : state) {
    Surface s(1281, 1001);
    paint_panel(sys, s, 0);
    front.present(s, 0, 0, s.width(), s.height());
  }
}
BENCHMARK(BM_FullPanelPaintAndCopy)->Unit(benchmark::kMillisecond);

// The same paint with an overlay open over the panel: the editor at its first position (its
// palette of 60 blocks and the preview of a servo command), the variable help, the settings.
void BM_PanelPaintWithOverlay(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp/zir-bench-absent");
  fill_panel(sys);
  sys.screen.panel_mode = static_cast<char>(state.range(0));
  TcoCell& edited = sys.panels.editor.buffer;
  edited.f[CELL_FAMILY] = 2;
  edited.f[CELL_VARIANT] = 8;
  edited.f[CELL_V1] = 8102;
  for (auto _ : state) {
    Surface s(1281, 1001);
    paint_panel(sys, s, 0);
    benchmark::DoNotOptimize(s.image());
  }
}
BENCHMARK(BM_PanelPaintWithOverlay)->Arg('A')->Arg('H')->Arg('R')->Unit(benchmark::kMillisecond);

}  // namespace
