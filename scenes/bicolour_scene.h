// Bicolour lines scene: a ribbon of 65 to 320 straight lines whose ends run on their own sine
// curves, each line dithered from one hue to the hue a third of the wheel further on. The scene
// keeps only a few integers, drawn afresh at every visit.
#pragma once
#include <cstdint>

struct BicolourScene {
  int32_t line_phase[4];    // angles 0..1023 of the first line's start column, start row, end column, end row
  int32_t frame_speed[4];   // 1..8: phase advance per frame
  int32_t line_speed[4];    // 1..8: angle advance from one line to the next
  int32_t line_count;       // 64..319: lines line_count down to 0 are drawn
};

extern BicolourScene bicolour_scene;

void bicolour_scene_setup();   // settings, music period 224 and the random ribbon
void bicolour_scene_draw();    // one frame of the ribbon at the frame clock, then the phases move on
