// Intro: the logo falls into the picture from above and bounces over a plain background of one
// random dimmed hue. Played once, before the endless sequence; 300 frames at most, no caption.
#pragma once
#include <cstdint>

struct IntroScene {
  int32_t variant;   // 0..3: which bounce the logo makes, drawn at the set-up
  int32_t frame;     // the next frame to draw, 0 first
};

extern IntroScene intro_scene;

void intro_setup();   // fade colour, mirror off, music period 160, random dimmed background, variant
// Top row of the logo in frame i (0..299) of the given variant; -63 in the first frame.
int32_t intro_logo_row(int32_t variant, int32_t i);
void intro_draw();   // the logo of the next frame, keyed onto the screen
