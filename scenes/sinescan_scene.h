// Sine-scan scene: 256 SineScan rows fill the screen every frame: ramp-coloured bands in the
// lower half whose frequency falls towards the bottom, tinted hue rows in the upper half. The
// scans are built at the start of every visit and freed at its end.
#pragma once

struct List;

struct SineScanScene {
  List* scans;   // 256 SineScan, list index i draws screen row i; null between visits
};

extern SineScanScene sinescan_scene;

void sinescan_scene_setup();        // settings and the 256 scans with their tints, then the row shapes
void sinescan_scene_shape_rows();   // lower half: fixed speeds and falling steps; upper half: tinted
void sinescan_scene_draw();         // one frame: update and draw every row, bottom row first
void sinescan_scene_teardown();     // fade to black, then release
void sinescan_scene_release();      // frees the scans and the list; blur and glare off
