// Sine-scan scene: one wave-coloured line per screen row.
#include "scenes/sinescan_scene.h"

#include <cstdlib>

#include "audio/list.h"
#include "audio/sample.h"
#include "driver/demo.h"
#include "effects/sinescan.h"
#include "image/fixed.h"
#include "image/ident.h"
#include "scenes/scenes.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "SINESCN ", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kRows = 256;
constexpr int32_t kHues = 1536;

SineScan* scan_at(int32_t i) {
  return static_cast<SineScan*>(list_get(sinescan_scene.scans, i));
}

}  // namespace

SineScanScene sinescan_scene;

void sinescan_scene_setup() {
  demo.fade_colour = uint32_t((std::rand() & 7) + 1) * 0x010101u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = false;
  demo.mirror_mode = 0;
  if (!sinescan_scene.scans) {
    sinescan_scene.scans = list_new();
    if (!sinescan_scene.scans) return;
    // Built from the bottom row's tint index down: the scan of row y gets hue 518 + 6y.
    for (int32_t n = kRows - 1; n >= 0; --n) {
      SineScan* scan = sinescan_new();
      list_push(sinescan_scene.scans, scan);
      if (scan) scan->tint = scene_palette_at((2048 - 6 * n) % kHues);
    }
  }
  sinescan_scene_shape_rows();
}

void sinescan_scene_shape_rows() {
  for (int32_t i = kRows - 1; i >= kRows / 2; --i) {
    SineScan* scan = scan_at(i);
    if (!scan) continue;
    scan->y = i;
    const int32_t rise = kRows - i;
    for (int k = 0; k < 3; ++k) {
      scan->waves[k].speed = (16 + 8 * k) << FIX_SHIFT;
      scan->waves[k].step = (rise >> (k + 1)) << FIX_SHIFT;
    }
  }
  for (int32_t i = kRows / 2 - 1; i >= 0; --i) {
    SineScan* scan = scan_at(i);
    if (!scan) continue;
    scan->y = i;
    sample_free(&scan->colour_ramp);
  }
}

void sinescan_scene_draw() {
  if (!sinescan_scene.scans) return;
  for (int32_t i = sinescan_scene.scans->count - 1; i >= 0; --i) {
    SineScan* scan = scan_at(i);
    if (!scan) continue;
    sinescan_update(scan);
    sinescan_draw(scan, demo.screen);
  }
}

void sinescan_scene_release() {
  if (sinescan_scene.scans) {
    for (int32_t i = sinescan_scene.scans->count - 1; i >= 0; --i) {
      SineScan* scan = scan_at(i);
      if (scan) sinescan_free(&scan);
    }
    list_free(&sinescan_scene.scans);
  }
  demo.blur_on = false;
  demo.glare_on = false;
}

void sinescan_scene_teardown() {
  demo_fade_to_black();
  sinescan_scene_release();
}
