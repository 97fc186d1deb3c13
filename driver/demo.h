// The demo driver: the one DemoState of the process, the start-up, the frame skeleton shared by
// every scene (clear or fade, draw, overlays, post effects, present, sound, keys, pacing) and the
// fade-to-black transition.
#pragma once
#include <cstdint>

struct XDpy;
struct XKbd;
struct XSnd;
struct Image;
struct Fps;
struct Sample;
struct Font;
struct LFont;
struct LScrlXyz;
struct Scene;

struct DemoState {
  XDpy* display;
  XKbd* keyboard;
  XSnd* sound;
  Image* screen;
  Image* glare_image;
  Image* blur_image;
  Fps* pacer;
  int32_t clock;            // frames completed since start-up (refreshed by demo_draw_rate)
  bool next_scene;
  bool fade_on, blur_on, glare_on, paused, white_on, show_rate;
  int8_t mirror_mode;       // 0 none, 1 four-way, 2 eight-way
  uint32_t fade_colour;
  uint32_t background;
  Sample* palette;          // 1536-colour hue wheel
  Font* main_font;
  Font* ball_font;
  Font* star_font;
  LFont* small_wire_font;
  LFont* large_wire_font;
  Image* logo;
  LScrlXyz* scroller;
};

extern DemoState demo;

void demo_start();
void demo_clear();
void demo_present();
// Fades the screen to black in demo_fade_steps presents, one step of 1 per channel each.
constexpr int32_t demo_fade_steps = 256;
void demo_fade_to_black();
void demo_poll_keys();
void demo_pause();
void demo_obey_key(int key);   // obeys one key character as the key table says
void demo_draw_rate();
void demo_swaying_caption();
void demo_wobbling_caption();
// Ends the platform's outputs (platform_finish) and exits with the status it gives; the sound
// device is closed on the way out.
[[noreturn]] void demo_exit(int status);

// The palette of the start-up: 1536 hue-wheel colours into `palette` (length set here).
void demo_fill_palette(Sample* palette);

// One visit of a scene: names it to the platform, sets it up, fades in, plays its frames, and
// tears it down.
void demo_play(const Scene& scene);
// The frame skeleton: at most scene.frames frames of clear, draw, rate, caption, present, sound,
// keys and pacing; SPACE (next_scene) ends it after the current frame, a stop request of the
// platform before the next. The drawing runs before the rate display, or after it when the
// scene says so (the intro); the caption after both.
void demo_frame_loop(const Scene& scene);
