// Intro: the logo falls into the picture from above and bounces over a plain background of one
// random dimmed hue. Played once, before the endless sequence; 300 frames at most, no caption.
#pragma once
#include <cstdint>

struct IntroScene {
  int32_t variant;   // 0..3: which bounce the logo makes, drawn once per run
};

extern IntroScene intro_scene;

void intro_run();     // set-up, fade, 300 frames; leaves its last frame on the screen
void intro_setup();   // fade colour, mirror off, music period 160, random dimmed background
// Top row of the logo in frame i (0..299) of the given variant; -63 in the first frame.
int32_t intro_logo_row(int32_t variant, int32_t i);
void intro_draw(int32_t i);   // the logo of frame i, keyed onto the screen
