// Arch-path scene: walkers on chains of arcs, drawn by one of four renderers.
#include "scenes/archpath_scene.h"

#include <cstdlib>

#include "audio/list.h"
#include "driver/demo.h"
#include "effects/archpath.h"
#include "image/ident.h"
#include "image/img.h"
#include "text/font.h"

namespace {

[[gnu::used]] constexpr Identity kIdentity = {
    "ARCHSCN ", "20150812", "Kelvardo", "C       ", "CODE    "};

constexpr int32_t kTile = 16;

ArchPath* walker_at(int32_t i) {
  return static_cast<ArchPath*>(list_get(archpath_scene.walkers, i));
}

const Image* sheet_of(const Font* font) { return font ? font->sheet : nullptr; }

// Keyed copy of tile t of a 16 x 256 sheet into a 16 x 16 image.
void copy_tile(const Image* sheet, int32_t t, Image* into) {
  img_blit_keyed(sheet, into, 0, kTile * t, 0, 0, kTile, kTile);
}

int32_t walker_count() { return archpath_scene.walkers ? archpath_scene.walkers->count : 0; }

// Walkers treated this frame: a quarter while the fade leaves trails, all otherwise.
int32_t treated(bool quarter) { return quarter ? walker_count() / 4 : walker_count(); }

void step(ArchPath* walker) {
  if (archpath_scene.step) archpath_scene.step(walker);
}

void make_walkers() {
  archpath_scene.walkers = list_new();
  if (!archpath_scene.walkers) return;
  const Image* stars = sheet_of(demo.star_font);
  const Image* balls = sheet_of(demo.ball_font);
  const int32_t n = (std::rand() % 127) + 257;
  for (int32_t i = 0; i < n; ++i) {
    ArchPath* walker = archpath_new();
    if (!walker) continue;   // a walker that cannot be made is left out
    // Star under ball: the disc covers the star's middle, its points show around it; the glow
    // ends at a sixteenth on the points and a quarter on the disc.
    copy_tile(stars, 1 + std::rand() % 11, walker->sprite);
    copy_tile(stars, 1 + std::rand() % 11, walker->glow);
    img_scale_colour(walker->glow, 1, 4);
    copy_tile(balls, 2 + std::rand() % 11, walker->sprite);
    copy_tile(balls, 2 + std::rand() % 11, walker->glow);
    img_scale_colour(walker->glow, 1, 4);
    list_push(archpath_scene.walkers, walker);
  }
}

// Every walker traces walker 0's curve shape from its own place.
void lock_step() {
  ArchPath* lead = walker_at(0);
  if (!lead) return;
  archpath_randomize(lead);
  for (int32_t i = 0; i < walker_count(); ++i) {
    ArchPath* walker = walker_at(i);
    if (!walker) continue;
    walker->angle = lead->angle;
    walker->step = lead->step;
    walker->duration = lead->duration;
    walker->counter = lead->counter;
  }
}

// A radial streak: R dots at radii R, R, R-1, ..., 2 brightening by 0x010101 towards the centre.
void draw_streak(ArchPath* walker, Image* screen) {
  const int32_t radius = walker->radius;
  const uint32_t colour = walker->colour;
  for (int32_t k = radius; k >= 1; --k) {
    archpath_draw_dot(walker, screen);
    walker->radius = k;
    walker->colour += 0x010101u;   // a channel past 255 carries into the next one
  }
  walker->radius = radius;
  walker->colour = colour;
}

}  // namespace

const ArchPathRender archpath_renderers[4] = {archpath_render_dots, archpath_render_streaks,
                                              archpath_render_sprites, archpath_render_glows};
const ArchPathStep archpath_steps[4] = {archpath_step_swing, archpath_step_wander,
                                        archpath_step_bounce, archpath_step_drift};

ArchPathScene archpath_scene;

void archpath_scene_setup() {
  demo.fade_colour = uint32_t(std::rand() & 7) * 0x010101u + 0x040404u;
  demo.blur_on = false;
  demo.glare_on = false;
  demo.fade_on = true;
  demo.mirror_mode = int8_t(std::rand() % 3);
  if (!archpath_scene.walkers) make_walkers();
  if (std::rand() & 1) {
    lock_step();
  } else {
    for (int32_t i = walker_count() - 1; i >= 0; --i) {
      if (ArchPath* walker = walker_at(i)) archpath_randomize(walker);
    }
  }
  archpath_scene.renderer = archpath_renderers[std::rand() % archpath_renderer_count];
  archpath_scene.step = archpath_steps[std::rand() % archpath_step_count];
}

void archpath_render_dots() {
  for (int32_t i = treated(demo.fade_on) - 1; i >= 0; --i) {
    ArchPath* walker = walker_at(i);
    if (!walker) continue;
    for (int k = 0; k < 16; ++k) {
      step(walker);
      archpath_draw_dot(walker, demo.screen);
    }
  }
}

void archpath_render_streaks() {
  for (int32_t i = treated(true) - 1; i >= 0; --i) {
    ArchPath* walker = walker_at(i);
    if (!walker) continue;
    for (int k = 0; k < 16; ++k) {
      step(walker);
      draw_streak(walker, demo.screen);
    }
  }
}

void archpath_render_sprites() {
  for (int32_t i = treated(demo.fade_on) - 1; i >= 0; --i) {
    ArchPath* walker = walker_at(i);
    if (!walker) continue;
    for (int k = 0; k < 16; ++k) {
      step(walker);
      archpath_draw_sprite(walker, demo.screen);
    }
  }
}

void archpath_render_glows() {
  // Cleared to black whenever the fade is off, whatever W chose: the glows add onto black.
  demo.background = 0;
  for (int32_t i = treated(demo.fade_on) - 1; i >= 0; --i) {
    ArchPath* walker = walker_at(i);
    if (!walker) continue;
    for (int k = 0; k < 8; ++k) step(walker);
    archpath_draw_glow(walker, demo.screen);
  }
}

void archpath_scene_draw() {
  if (archpath_scene.renderer) archpath_scene.renderer();
}
